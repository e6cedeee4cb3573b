#pragma once
// TStringGridModel: the cell texts of one TStringGrid, addressed (column, row) like
// the grid.
//
// Texts are Windows-1252 bytes, the form in which they come from and go to the
// tables; a character that Windows-1252 cannot hold is stored as "?". A cell
// shows the text set on it (SetCell, SetCellAnsi, or typed by the user) when it
// has one, otherwise the text of the grid's source (TGridSource), read when the
// cell is drawn or asked for, otherwise nothing. The set texts are held one by
// one in a hash table, so a grid over a source costs what was set on it, not
// what it shows; a grid without a source holds every text it shows that way.
// Setting a cell to what the source gives it keeps no text of its own.
//
// A view shows at most the first kShownLength characters of a cell (the display
// role and the headers), so that a huge value costs its view no more than a
// long one; the edit role, Cell() and CellAnsi() give the whole text.
//
// Every cell of the grid is an item, fixed ones included; fixed cells are enabled
// but neither selectable nor editable, and their texts are also the header data
// (row 0 for the horizontal header, column 0 for the vertical one) so that a view
// can show them as frozen headers. A change of a fixed cell is announced by
// dataChanged() on that cell only (announcing it as a header change costs the
// headers a pass over every section). Reads outside the grid give "" and writes
// outside it are ignored.
//
// Resizing drops the texts set on cells that leave the grid; new cells show the
// source's texts, or nothing. Between BeginUpdate() and EndUpdate() changes send
// no signal of their own; the outermost EndUpdate() ends one model reset.
// Outside them every change sends the precise insert, remove or dataChanged
// signal. A source changing under the grid sends nothing: its owner calls
// ForgetRows() or SetSource() to have the change drawn.

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class TGridSource;

class TStringGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kShownLength = 1000;

  explicit TStringGridModel(QObject* parent = nullptr);

  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }
  void SetSize(int cols, int rows);

  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  void SetFixed(int cols, int rows);

  QString Cell(int col, int row) const;
  QString ShownCell(int col, int row) const;  // the first kShownLength characters
  void SetCell(int col, int row, const QString& text);
  std::string CellAnsi(int col, int row) const;
  void SetCellAnsi(int col, int row, std::string_view bytes);

  // The source of the cells without a text of their own (null: none). Not
  // owned; the caller keeps it alive while it is set.
  void SetSource(const TGridSource* source);
  const TGridSource* Source() const { return source_; }
  // Drops the texts set on the rows from `firstRow` down, which show the
  // source's texts again (a refill), and has them drawn anew.
  void ForgetRows(int firstRow);
  // True when the cell holds a text set on it (typed, or SetCell) that differs
  // from the source's.
  bool HasOwnText(int col, int row) const;

  bool Editable() const { return editable_; }
  void SetEditable(bool editable);

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updating_ > 0; }

  // Heap bytes the texts set on cells take (an estimate of the hash table's
  // nodes and buckets included): what the grid's own content costs.
  size_t HeldBytes() const;

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
  static uint64_t Key(int col, int row) {
    return static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32 | static_cast<uint32_t>(col);
  }
  static int RowOf(uint64_t key) { return static_cast<int>(key >> 32); }
  static int ColOf(uint64_t key) { return static_cast<int>(key & 0xFFFFFFFFu); }
  // The cell's text, at most `limit` bytes; points into own_ or into scratch_,
  // valid until the next call.
  std::string_view Text(int col, int row, size_t limit) const;
  void Reshape(int cols, int rows);
  void ChangeRows(int rows);
  void ChangeCols(int cols);
  void Announce(int col, int row, int lastCol, int lastRow);
  void ShrinkTable();

  std::unordered_map<uint64_t, std::string> own_;  // texts set on cells
  const TGridSource* source_ = nullptr;
  mutable std::string scratch_;
  int cols_ = 0;
  int rows_ = 0;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
  bool editable_ = false;
  int updating_ = 0;
};
