#pragma once
// TStringGrid: a grid of texts, with optional fixed first row and first column.
//
// Coordinates are (column, row) from 0, fixed cells included. The texts live in
// Model(); the view draws only the visible rows. A fixed first row and column are
// shown as frozen headers; the cell (0, 0) shows in the corner. At most one fixed
// row and one fixed column; the grid always keeps at least one row and one column
// beyond the fixed ones, as the counts are clamped to that.
//
// The current cell is never a fixed cell. Before it moves - by the user or by
// SetCurrentCell()/SetRow()/SetCol() - the select-cell handler is called with the
// new cell while Col() and Row() still give the old one; returning false keeps
// the old cell. A move outside the grid or onto a fixed cell is refused without
// calling the handler (SetRow() etc. return false). When a resize removes the
// current cell it moves to the nearest remaining cell without the handler.
//
// In-place editing (SetEditable) writes every keystroke into the cell at once, so
// Cell() always gives what the user sees. The key-down handler sees every key
// pressed in the grid or its editor first and consumes it by returning true; the
// key-press handler then receives each typed character.
//
// Cells hold Windows-1252 text (see TStringGridModel): a typed character outside
// it becomes "?". A large table is shown through a source (SetSource): the grid
// then reads the cells it draws from it and holds only the texts set on it.
// Filling many cells: wrap the changes in BeginUpdate()/EndUpdate() so that the
// view is rebuilt once; single changes outside a bracket are cheap too.

#include <QPointer>
#include <QTableView>
#include <functional>
#include <string>
#include <string_view>

class TGridSource;
class TStringGridModel;

class TStringGrid : public QTableView {
  Q_OBJECT

 public:
  using TSelectCellHandler = std::function<bool(int col, int row)>;
  using TKeyDownHandler = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;
  using TKeyPressHandler = std::function<void(QChar c)>;

  explicit TStringGrid(QWidget* parent = nullptr);
  ~TStringGrid() override;

  TStringGridModel* Model() const { return model_; }

  int ColCount() const;
  int RowCount() const;
  void SetColCount(int cols);
  void SetRowCount(int rows);
  void SetSize(int cols, int rows);
  int FixedCols() const;
  int FixedRows() const;
  void SetFixedCols(int cols);  // 0 or 1
  void SetFixedRows(int rows);  // 0 or 1

  QString Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& text);
  // The same cells as Windows-1252 bytes, without conversion: the fast way to
  // fill a grid from a table and to read it back.
  std::string CellAnsi(int col, int row) const;
  void SetCellAnsi(int col, int row, std::string_view bytes);
  void BeginUpdate();
  void EndUpdate();
  // The texts of the cells nobody set (see TGridSource); not owned.
  void SetSource(const TGridSource* source);
  // Drops the texts set on rows from `firstRow` down: they show the source's
  // texts again, drawn anew.
  void ForgetRows(int firstRow);
  // True when a text was set on the cell (typed or SetCell) other than the source's.
  bool HasOwnText(int col, int row) const;

  int Col() const { return col_; }
  int Row() const { return row_; }
  bool SetCol(int col) { return SetCurrentCell(col, row_); }
  bool SetRow(int row) { return SetCurrentCell(col_, row); }
  bool SetCurrentCell(int col, int row);

  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  // The pixels of a column that no text can use (the grid line and the cell's
  // margins): a column shows a text whole when it is at least the text's width
  // plus these.
  int CellMargins() const;
  // Widens `col`, never narrows it, so that the record numbers up to
  // `largest` show whole in it (the fixed column of a long table).
  void FitNumbers(int col, int largest);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int width);  // applies to every column
  int RowHeight() const { return rowHeight_; }
  void SetRowHeight(int height);

  bool Editable() const;
  void SetEditable(bool editable);
  // Gives the keyboard to the current cell: to its editor when one is open,
  // otherwise to the grid.
  void FocusCurrentCell();

  // Width and height of a text in the grid's font, or in any font, on the screen.
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;
  static int TextWidth(const QFont& font, const QString& text);

  void SetSelectCellHandler(TSelectCellHandler handler) { selectCell_ = std::move(handler); }
  void SetKeyDownHandler(TKeyDownHandler handler) { keyDown_ = std::move(handler); }
  void SetKeyPressHandler(TKeyPressHandler handler) { keyPress_ = std::move(handler); }
  // Called whenever the user changes an editor's text: typing, but also a
  // paste (Ctrl+V, the editor's menu) or a cut, which press no printable key.
  void SetEditedHandler(std::function<void()> handler) { edited_ = std::move(handler); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles = QList<int>()) override;

 private:
  class SelectionModel;
  class Delegate;
  friend class SelectionModel;
  friend class Delegate;

  // Called by the selection model before a move; false refuses it.
  bool AllowMove(int col, int row);
  // Dispatches a key to the handlers; true when the key-down handler consumed it.
  bool HandleKey(QKeyEvent* event);
  void WatchEditor(QWidget* editor);
  void SyncLayout();   // fixed row/column, widths and heights onto the view
  void SyncCurrent();  // clamps the current cell and shows it, without the handler
  void ApplyColWidth(int col);
  void PaintCorner();

  TStringGridModel* model_;
  SelectionModel* selection_;
  QWidget* corner_ = nullptr;
  QPointer<QWidget> editor_;  // the last cell editor made
  std::vector<int> colWidths_;
  int defaultColWidth_ = 64;
  int rowHeight_ = 24;
  int col_ = 0;
  int row_ = 0;
  bool moving_ = false;     // a move by the program, handler already asked
  bool silent_ = false;     // a move by a resize: no handler
  bool inViewKey_ = false;  // the view is forwarding a key to a new editor
  bool resetting_ = false;  // the headers forget their sizes during a model reset
  TSelectCellHandler selectCell_;
  TKeyDownHandler keyDown_;
  TKeyPressHandler keyPress_;
  std::function<void()> edited_;
};
