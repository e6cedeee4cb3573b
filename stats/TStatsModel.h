#pragma once
// TStatsModel: the results of the statistics window as the table shows them,
// one row per group in the order given, one column per TStatsColumn of the
// results (StatsColumns): the group's value ("(vide)" for the empty one),
// then the numbers in the table's number format, "12 450,50", right-aligned.
// It reads the results it is given and keeps them alive; nothing is copied
// per row, so a million groups show at once.
//
// Sorting (a click on a header) is asked of whoever set OnSort: the window
// orders the results off the interface thread and sets them again. A first
// click on the group's header sorts it ascending, on a number's descending.

#include <QAbstractTableModel>
#include <functional>
#include <memory>
#include <vector>

#include "TStatistics.h"

class TStatsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using TSortRequest = std::function<void(TStatsColumn column, bool ascending)>;

  explicit TStatsModel(QObject* parent = nullptr);

  void Set(std::shared_ptr<const TStatsResult> result,
           std::shared_ptr<const std::vector<uint32_t>> order);
  void OnSort(TSortRequest request) { sortRequest_ = std::move(request); }

  const TStatsResult* Result() const { return result_.get(); }
  const std::vector<uint32_t>& Order() const { return *order_; }
  TStatsColumn Column(int section) const;
  // The column's position, -1 when the results have no such column.
  int Section(TStatsColumn column) const;

  // The whole table as tab-separated text, header first, lines ended by
  // "\n", numbers without thousands separators: what a spreadsheet pasted
  // into reads as numbers.
  QString TabText() const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  std::shared_ptr<const TStatsResult> result_;
  std::shared_ptr<const std::vector<uint32_t>> order_;
  std::vector<TStatsColumn> columns_;
  TSortRequest sortRequest_;
};
