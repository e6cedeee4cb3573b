#include "TStatsModel.h"

#include "AnsiCodec.h"

TStatsModel::TStatsModel(QObject* parent)
    : QAbstractTableModel(parent),
      result_(std::make_shared<TStatsResult>()),
      order_(std::make_shared<std::vector<uint32_t>>()) {}

void TStatsModel::Set(std::shared_ptr<const TStatsResult> result,
                      std::shared_ptr<const std::vector<uint32_t>> order) {
  beginResetModel();
  result_ = std::move(result);
  order_ = std::move(order);
  columns_ = StatsColumns(*result_);
  endResetModel();
}

TStatsColumn TStatsModel::Column(int section) const {
  return section >= 0 && section < static_cast<int>(columns_.size())
             ? columns_[static_cast<size_t>(section)]
             : TStatsColumn::Group;
}

int TStatsModel::Section(TStatsColumn column) const {
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i] == column) return static_cast<int>(i);
  return -1;
}

QString TStatsModel::TabText() const {
  QString text;
  for (size_t c = 0; c < columns_.size(); ++c)
    text += (c ? QStringLiteral("\t") : QString()) + FromAnsi(StatsHeader(*result_, columns_[c]));
  text += QLatin1Char('\n');
  for (const uint32_t i : *order_) {
    for (size_t c = 0; c < columns_.size(); ++c)
      text += (c ? QStringLiteral("\t") : QString()) +
              FromAnsi(StatsCell(*result_, result_->groups[i], columns_[c], 0));
    text += QLatin1Char('\n');
  }
  return text;
}

int TStatsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(order_->size());
}

int TStatsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TStatsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
    return QVariant();
  const TStatsColumn column = Column(index.column());
  if (role == Qt::TextAlignmentRole)
    return column == TStatsColumn::Group ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                         : int(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return QVariant();
  const TStatsGroup& g = result_->groups[(*order_)[static_cast<size_t>(index.row())]];
  if (column == TStatsColumn::Group) return FromAnsi(StatsLabel(g));
  return FromAnsi(StatsCell(*result_, g, column, ' '));
}

QVariant TStatsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // A first click on a number's header puts the largest first.
  if (role == Qt::InitialSortOrderRole && orientation == Qt::Horizontal)
    return Column(section) == TStatsColumn::Group ? Qt::AscendingOrder : Qt::DescendingOrder;
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= columnCount()) return QVariant();
  return FromAnsi(StatsHeader(*result_, Column(section)));
}

void TStatsModel::sort(int column, Qt::SortOrder order) {
  if (sortRequest_ && column >= 0 && column < columnCount())
    sortRequest_(Column(column), order == Qt::AscendingOrder);
}
