#include "TStringGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <cmath>
#include <limits>
#include <optional>

#include "THourglass.h"
#include "TStringGridModel.h"

// Asks the grid before the current cell moves, and keeps the selection where it
// is when the move was refused (a refused mouse press must not select either).
class TStringGrid::SelectionModel : public QItemSelectionModel {
 public:
  SelectionModel(QAbstractItemModel* model, TStringGrid* grid)
      : QItemSelectionModel(model, grid), grid_(grid) {}

  using QItemSelectionModel::select;

  void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
    if (!grid_->silent_ && !grid_->moving_ && index.isValid() &&
        (index.column() != grid_->col_ || index.row() != grid_->row_)) {
      if (!grid_->AllowMove(index.column(), index.row())) {
        refused_ = true;
        return;
      }
    }
    refused_ = false;
    QItemSelectionModel::setCurrentIndex(index, command);
  }

  void select(const QItemSelection& selection, SelectionFlags command) override {
    if (refused_ && !grid_->silent_) return;
    QItemSelectionModel::select(selection, command);
  }

 private:
  TStringGrid* grid_;
  bool refused_ = false;
};

// Line editors that write every keystroke into the model and report keys to the grid.
class TStringGrid::Delegate : public QStyledItemDelegate {
 public:
  explicit Delegate(TStringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      // The whole value is edited, however long: a line edit would cut it
      // at 32,767 characters.
      line->setMaxLength(std::numeric_limits<int>::max());
      auto* self = const_cast<Delegate*>(this);
      connect(line, &QLineEdit::textEdited, self, [self, line] {
        emit self->commitData(line);
        if (self->grid_->edited_) self->grid_->edited_();
      });
    }
    grid_->WatchEditor(editor);
    return editor;
  }

  // Every keystroke comes back from the model: leave the editor alone when it
  // already shows the text, or its cursor would jump to the end.
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* line = qobject_cast<QLineEdit*>(editor))
      if (line->text() == index.data(Qt::EditRole).toString()) return;
    // A line edit lays out its whole text at once: a value of megabytes takes
    // seconds, which the hourglass owns up to.
    std::optional<THourglass> wait;
    if (index.data(Qt::EditRole).toString().size() > kLongEdit) wait.emplace();
    QStyledItemDelegate::setEditorData(editor, index);
  }

 private:
  static constexpr int kLongEdit = 100000;
  TStringGrid* grid_;
};

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent), model_(new TStringGridModel(this)) {
  model_->SetSize(5, 5);
  model_->SetFixed(1, 1);
  setModel(model_);
  QItemSelectionModel* initial = selectionModel();
  selection_ = new SelectionModel(model_, this);
  setSelectionModel(selection_);
  delete initial;
  // The column headers show no selection (their sections are neither
  // highlighted nor clickable). Given the grid's, they would ask at every paint
  // whether the fixed column is selected: a pass over every row.
  horizontalHeader()->setSelectionModel(new QItemSelectionModel(model_, this));
  setItemDelegate(new Delegate(this));

  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  setTabKeyNavigation(true);

  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(1);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

  corner_ = findChild<QAbstractButton*>();
  if (corner_) corner_->installEventFilter(this);

  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
    if (resetting_ || model_->Updating()) return;
    if (col >= 0 && col < static_cast<int>(colWidths_.size()) && !(col == 0 && FixedCols() > 0))
      colWidths_[col] = size;
  });
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { resetting_ = true; });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    resetting_ = false;
    SyncLayout();
    SyncCurrent();
  });
  connect(model_, &QAbstractItemModel::columnsInserted, this, [this] {
    SyncLayout();
    SyncCurrent();
  });
  connect(model_, &QAbstractItemModel::columnsRemoved, this, [this] {
    SyncLayout();
    SyncCurrent();
  });
  connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { SyncCurrent(); });

  SyncLayout();
  SyncCurrent();
}

TStringGrid::~TStringGrid() = default;

int TStringGrid::ColCount() const {
  return model_->ColCount();
}
int TStringGrid::RowCount() const {
  return model_->RowCount();
}
void TStringGrid::SetColCount(int cols) {
  model_->SetSize(cols, RowCount());
}
void TStringGrid::SetRowCount(int rows) {
  model_->SetSize(ColCount(), rows);
}
void TStringGrid::SetSize(int cols, int rows) {
  model_->SetSize(cols, rows);
}
int TStringGrid::FixedCols() const {
  return model_->FixedCols();
}
int TStringGrid::FixedRows() const {
  return model_->FixedRows();
}
void TStringGrid::SetFixedCols(int cols) {
  model_->SetFixed(cols, FixedRows());
}
void TStringGrid::SetFixedRows(int rows) {
  model_->SetFixed(FixedCols(), rows);
}

QString TStringGrid::Cell(int col, int row) const {
  return model_->Cell(col, row);
}
void TStringGrid::SetCell(int col, int row, const QString& text) {
  model_->SetCell(col, row, text);
}
std::string TStringGrid::CellAnsi(int col, int row) const {
  return model_->CellAnsi(col, row);
}
void TStringGrid::SetCellAnsi(int col, int row, std::string_view bytes) {
  model_->SetCellAnsi(col, row, bytes);
}
void TStringGrid::BeginUpdate() {
  model_->BeginUpdate();
}
void TStringGrid::EndUpdate() {
  model_->EndUpdate();
}
void TStringGrid::SetSource(const TGridSource* source) {
  model_->SetSource(source);
}
void TStringGrid::ForgetRows(int firstRow) {
  model_->ForgetRows(firstRow);
}
bool TStringGrid::HasOwnText(int col, int row) const {
  return model_->HasOwnText(col, row);
}

bool TStringGrid::Editable() const {
  return model_->Editable();
}

void TStringGrid::SetEditable(bool editable) {
  model_->SetEditable(editable);
  setEditTriggers(editable
                      ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                      : QAbstractItemView::NoEditTriggers);
}

bool TStringGrid::AllowMove(int col, int row) {
  if (col < FixedCols() || row < FixedRows() || col >= ColCount() || row >= RowCount())
    return false;
  return !selectCell_ || selectCell_(col, row);
}

bool TStringGrid::SetCurrentCell(int col, int row) {
  if (col == col_ && row == row_) return true;
  if (!AllowMove(col, row)) return false;
  if (model_->Updating()) {
    // The selection model is being reset; EndUpdate() shows the cell.
    col_ = col;
    row_ = row;
    return true;
  }
  moving_ = true;
  const QModelIndex index = model_->index(row, col);
  selection_->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  moving_ = false;
  col_ = col;
  row_ = row;
  scrollTo(index);
  return true;
}

void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (current.isValid()) {
    col_ = current.column();
    row_ = current.row();
  }
  QTableView::currentChanged(current, previous);
}

// The base class locates every changed cell on the screen, which after a row
// insertion makes the headers recount all their sections: filling a large grid
// cell by cell would be quadratic. A repaint of what is visible is enough, except
// for the cell being edited, whose editor must follow the model.
void TStringGrid::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                              const QList<int>& roles) {
  if (state() == QAbstractItemView::EditingState && currentIndex().isValid() &&
      topLeft.row() <= currentIndex().row() && currentIndex().row() <= bottomRight.row() &&
      topLeft.column() <= currentIndex().column() &&
      currentIndex().column() <= bottomRight.column()) {
    QTableView::dataChanged(topLeft, bottomRight, roles);
    return;
  }
  viewport()->update();
  if (topLeft.row() < FixedRows()) horizontalHeader()->viewport()->update();
  if (topLeft.column() < FixedCols()) verticalHeader()->viewport()->update();
  if (topLeft.row() < FixedRows() && topLeft.column() < FixedCols() && corner_) corner_->update();
}

void TStringGrid::SyncCurrent() {
  if (model_->Updating()) return;
  col_ = std::clamp(col_, FixedCols(), ColCount() - 1);
  row_ = std::clamp(row_, FixedRows(), RowCount() - 1);
  const QModelIndex index = model_->index(row_, col_);
  if (selection_->currentIndex() == index) return;
  silent_ = true;
  selection_->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  silent_ = false;
}

void TStringGrid::SyncLayout() {
  if (model_->Updating()) return;
  colWidths_.resize(static_cast<size_t>(ColCount()), defaultColWidth_);
  horizontalHeader()->setVisible(FixedRows() > 0);
  verticalHeader()->setVisible(FixedCols() > 0);
  setRowHidden(0, FixedRows() > 0);
  setColumnHidden(0, FixedCols() > 0);
  horizontalHeader()->setFixedHeight(rowHeight_);
  verticalHeader()->setDefaultSectionSize(rowHeight_);
  for (int c = 0; c < ColCount(); ++c) ApplyColWidth(c);
}

void TStringGrid::ApplyColWidth(int col) {
  if (col < 0 || col >= static_cast<int>(colWidths_.size())) return;
  const int width = colWidths_[col];
  if (col == 0 && FixedCols() > 0)
    verticalHeader()->setFixedWidth(width);
  else if (horizontalHeader()->sectionSize(col) != width)
    horizontalHeader()->resizeSection(col, width);
}

int TStringGrid::ColWidth(int col) const {
  if (col < 0 || col >= static_cast<int>(colWidths_.size())) return 0;
  return colWidths_[col];
}

void TStringGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= static_cast<int>(colWidths_.size())) return;
  colWidths_[col] = std::max(0, width);
  ApplyColWidth(col);
}

int TStringGrid::CellMargins() const {
  // The style draws a cell's text inside a margin on either side, and the
  // grid line takes one pixel off the cell.
  const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
  return 2 * margin + (showGrid() ? 1 : 0);
}

void TStringGrid::FitNumbers(int col, int largest) {
  const qreal digits = QFontMetricsF(font()).horizontalAdvance(QString::number(largest));
  const int needed = static_cast<int>(std::ceil(digits)) + CellMargins();
  if (needed > ColWidth(col)) SetColWidth(col, needed);
}

void TStringGrid::SetDefaultColWidth(int width) {
  defaultColWidth_ = std::max(0, width);
  horizontalHeader()->setDefaultSectionSize(defaultColWidth_);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  for (int c = 0; c < ColCount(); ++c) ApplyColWidth(c);
}

void TStringGrid::SetRowHeight(int height) {
  rowHeight_ = std::max(1, height);
  horizontalHeader()->setFixedHeight(rowHeight_);
  verticalHeader()->setDefaultSectionSize(rowHeight_);
}

int TStringGrid::TextWidth(const QString& text) const {
  return TextWidth(font(), text);
}

int TStringGrid::TextHeight(const QString& text) const {
  return QFontMetrics(font()).height();
}

int TStringGrid::TextWidth(const QFont& font, const QString& text) {
  return QFontMetrics(font).horizontalAdvance(text);
}

bool TStringGrid::HandleKey(QKeyEvent* event) {
  if (keyDown_ && keyDown_(event->key(), event->modifiers())) return true;
  if (keyPress_)
    for (QChar c : event->text()) keyPress_(c);
  return false;
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
  // A key the editor did not take comes up here; the editor's filter has seen it.
  QWidget* focus = QApplication::focusWidget();
  const bool fromEditor = focus && focus != this && isAncestorOf(focus);
  if (!fromEditor && HandleKey(event)) {
    event->accept();
    return;
  }
  inViewKey_ = true;
  QTableView::keyPressEvent(event);
  inViewKey_ = false;
}

void TStringGrid::WatchEditor(QWidget* editor) {
  if (editor) editor->installEventFilter(this);
  editor_ = editor;
}

void TStringGrid::FocusCurrentCell() {
  if (state() == QAbstractItemView::EditingState && editor_ && editor_->isVisible())
    editor_->setFocus();
  else
    setFocus();
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_) {
    if (event->type() == QEvent::Paint) {
      PaintCorner();
      return true;
    }
    return QTableView::eventFilter(watched, event);
  }
  if (event->type() == QEvent::KeyPress && !inViewKey_ && watched->isWidgetType() &&
      isAncestorOf(static_cast<QWidget*>(watched))) {
    if (HandleKey(static_cast<QKeyEvent*>(event))) return true;
  }
  return QTableView::eventFilter(watched, event);
}

void TStringGrid::PaintCorner() {
  QPainter painter(corner_);
  QStyleOptionHeader option;
  option.initFrom(corner_);
  option.rect = corner_->rect();
  option.state |= QStyle::State_Enabled;  // the button is disabled, its text is not
  option.palette.setCurrentColorGroup(QPalette::Active);
  option.position = QStyleOptionHeader::OnlyOneSection;
  option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  option.text = Cell(0, 0);
  style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
}
