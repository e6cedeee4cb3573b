#pragma once
// TStringGridModel: the cell texts of one TStringGrid, addressed (column, row) like
// the grid.
//
// Texts are held as Windows-1252 bytes, the form in which they come from and go to
// the tables, in one contiguous buffer; a row-major vector of (offset, length)
// spans points into it. A character that Windows-1252 cannot hold is stored as "?".
// Filling a cell is one copy of its bytes; overwritten bytes are reclaimed when
// they outgrow the live ones. Only the cells asked for by the view are converted.
//
// Every cell of the grid is an item, fixed ones included; fixed cells are enabled
// but neither selectable nor editable, and their texts are also the header data
// (row 0 for the horizontal header, column 0 for the vertical one) so that a view
// can show them as frozen headers. A change of a fixed cell is announced by
// dataChanged() on that cell only (announcing it as a header change costs the
// headers a pass over every section). Reads outside the grid give "" and writes
// outside it are ignored.
//
// Resizing keeps the cells that stay inside the grid and empties the new ones.
// Between BeginUpdate() and EndUpdate() changes send no signal of their own; the
// outermost EndUpdate() ends one model reset. Outside them every change sends the
// precise insert, remove or dataChanged signal.

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStringGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TStringGridModel(QObject* parent = nullptr);

  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }
  void SetSize(int cols, int rows);

  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  void SetFixed(int cols, int rows);

  QString Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& text);
  std::string CellAnsi(int col, int row) const;
  void SetCellAnsi(int col, int row, std::string_view bytes);

  bool Editable() const { return editable_; }
  void SetEditable(bool editable);

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updating_ > 0; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  bool Inside(int col, int row) const { return col >= 0 && row >= 0 && col < cols_ && row < rows_; }
  bool Fixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
  void Reshape(int cols, int rows);
  void ChangeRows(int rows);
  void ChangeCols(int cols);

  struct Span {
    uint32_t offset = 0;
    uint32_t length = 0;
  };
  Span& At(int col, int row) { return spans_[static_cast<size_t>(row) * cols_ + col]; }
  const Span& At(int col, int row) const { return spans_[static_cast<size_t>(row) * cols_ + col]; }
  void Compact();

  std::string bytes_;
  std::vector<Span> spans_;
  size_t garbage_ = 0;  // bytes of bytes_ that no span points to
  int cols_ = 0;
  int rows_ = 0;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
  bool editable_ = false;
  int updating_ = 0;
};
