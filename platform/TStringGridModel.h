#pragma once
// TStringGridModel: the cell texts of one TStringGrid, addressed (column, row) like
// the grid.
//
// Texts are held as Windows-1252 bytes, the form in which they come from and go to
// the tables; a character that Windows-1252 cannot hold is stored as "?". The cells
// of a row go by blocks of up to 16, each block's texts side by side in one shared
// buffer, so that the index costs a byte per cell and an offset per block. A cell's
// leading spaces (the right alignment of numbers) are kept as a count, up to 255,
// not as bytes; Cell() and CellAnsi() give every text back exactly as written.
// Filling a cell copies the bytes of its block at most; overwritten bytes are
// reclaimed once they outgrow the live ones, and the outermost EndUpdate() returns
// spare room, so the storage stays near the size of the live text. Only the cells
// asked for by the view are converted.
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

  bool Editable() const { return editable_; }
  void SetEditable(bool editable);

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updating_ > 0; }

  // Heap bytes the cell storage holds (text buffer and index, spare capacity
  // included): what the grid's content costs.
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
  void Reshape(int cols, int rows);
  void ChangeRows(int rows);
  void ChangeCols(int cols);

  // A cell is its meta byte and its bytes in its block's run, which are:
  //   meta < 128: the text, `meta` bytes long, with no leading space;
  //   128 <= meta < 255: a count of leading spaces, then `meta - 128` bytes of text;
  //   meta == 255: the count, the text's length in 4 bytes, then the text.
  struct Text {
    size_t lead;
    std::string_view rest;  // what follows the leading spaces
  };
  static constexpr int kBlock = 16;
  static constexpr uint8_t kLead = 128;
  static constexpr uint8_t kLong = 255;
  static size_t Size(uint8_t meta, const char* at);  // the cell's bytes in the buffer
  static Text Decode(uint8_t meta, const char* at);
  int Blocks(int cols) const { return (cols + kBlock - 1) / kBlock; }
  size_t BlockOf(int col, int row) const {
    return static_cast<size_t>(row) * Blocks(cols_) + col / kBlock;
  }
  // The cell's text and where its bytes start in the buffer.
  Text Find(int col, int row, size_t* at = nullptr) const;
  static QString ToQString(const Text& text, size_t length);  // its first `length` characters
  size_t BlockSize(size_t block, size_t firstCell, int cells) const;
  void Grow(size_t size);  // `size` more bytes at the end of the buffer
  void MaybeCompact();
  void Compact();
  void Trim();

  std::vector<char> bytes_;
  std::vector<uint8_t> meta_;      // per cell, row by row
  std::vector<uint32_t> offsets_;  // per block, row by row
  size_t garbage_ = 0;             // bytes of bytes_ that no block holds
  int cols_ = 0;
  int rows_ = 0;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
  bool editable_ = false;
  int updating_ = 0;
};
