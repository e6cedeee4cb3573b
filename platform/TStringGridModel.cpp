#include "TStringGridModel.h"

#include <algorithm>
#include <limits>

#include "AnsiCodec.h"
#include "TGridSource.h"

TStringGridModel::TStringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

std::string_view TStringGridModel::Text(int col, int row, size_t limit) const {
  if (!own_.empty()) {
    const auto it = own_.find(Key(col, row));
    if (it != own_.end()) return std::string_view(it->second).substr(0, limit);
  }
  scratch_.clear();
  if (source_) {
    source_->Text(col, row, limit, scratch_);
    if (scratch_.size() > limit) scratch_.resize(limit);
  }
  return scratch_;
}

QString TStringGridModel::Cell(int col, int row) const {
  if (!Inside(col, row)) return QString();
  const std::string_view text = Text(col, row, std::numeric_limits<size_t>::max());
  return FromAnsi(text.data(), text.size());
}

QString TStringGridModel::ShownCell(int col, int row) const {
  if (!Inside(col, row)) return QString();
  const std::string_view text = Text(col, row, kShownLength);
  return FromAnsi(text.data(), text.size());
}

std::string TStringGridModel::CellAnsi(int col, int row) const {
  if (!Inside(col, row)) return std::string();
  return std::string(Text(col, row, std::numeric_limits<size_t>::max()));
}

void TStringGridModel::SetCell(int col, int row, const QString& text) {
  SetCellAnsi(col, row, ToAnsi(text));
}

void TStringGridModel::SetCellAnsi(int col, int row, std::string_view text) {
  if (!Inside(col, row)) return;
  const uint64_t key = Key(col, row);
  const auto it = own_.find(key);
  if (it != own_.end() && it->second == text) return;
  // The source's own text needs no copy; the cell is drawn anew all the same,
  // as the source may have changed since it was last drawn.
  scratch_.clear();
  if (source_) source_->Text(col, row, std::numeric_limits<size_t>::max(), scratch_);
  if (scratch_ == text) {
    if (it == own_.end() && !source_) return;  // an empty cell stays empty
    if (it != own_.end()) own_.erase(it);
  } else if (it != own_.end()) {
    it->second.assign(text.data(), text.size());
  } else {
    own_.emplace(key, std::string(text));
  }
  if (updating_ == 0) Announce(col, row, col, row);
}

void TStringGridModel::SetSource(const TGridSource* source) {
  source_ = source;
  if (updating_ == 0) Announce(0, 0, cols_ - 1, rows_ - 1);
}

void TStringGridModel::ForgetRows(int firstRow) {
  firstRow = std::max(firstRow, 0);
  for (auto it = own_.begin(); it != own_.end();)
    it = RowOf(it->first) >= firstRow ? own_.erase(it) : std::next(it);
  ShrinkTable();
  if (updating_ == 0 && firstRow < rows_) Announce(0, firstRow, cols_ - 1, rows_ - 1);
}

bool TStringGridModel::HasOwnText(int col, int row) const {
  return own_.find(Key(col, row)) != own_.end();
}

void TStringGridModel::Announce(int col, int row, int lastCol, int lastRow) {
  if (lastCol < col || lastRow < row) return;
  emit dataChanged(index(row, col), index(lastRow, lastCol), {Qt::DisplayRole, Qt::EditRole});
}

// The buckets of many texts dropped at once are given back.
void TStringGridModel::ShrinkTable() {
  if (own_.bucket_count() > 4 * own_.size() + 64) own_.rehash(0);
}

size_t TStringGridModel::HeldBytes() const {
  // A node holds its key, its string and the link to the next node.
  size_t bytes = own_.bucket_count() * sizeof(void*);
  const std::string empty;
  for (const auto& [key, text] : own_) {
    bytes += sizeof(key) + sizeof(text) + sizeof(void*);
    if (text.capacity() > empty.capacity()) bytes += text.capacity() + 1;
  }
  return bytes;
}

void TStringGridModel::SetEditable(bool editable) {
  editable_ = editable;
}

void TStringGridModel::BeginUpdate() {
  if (updating_++ == 0) beginResetModel();
}

void TStringGridModel::EndUpdate() {
  if (updating_ == 0) return;
  if (--updating_ > 0) return;
  endResetModel();
}

void TStringGridModel::Reshape(int cols, int rows) {
  if (cols < cols_ || rows < rows_) {
    for (auto it = own_.begin(); it != own_.end();)
      it = ColOf(it->first) >= cols || RowOf(it->first) >= rows ? own_.erase(it) : std::next(it);
    ShrinkTable();
  }
  cols_ = cols;
  rows_ = rows;
}

void TStringGridModel::ChangeRows(int rows) {
  if (rows > rows_) {
    beginInsertRows(QModelIndex(), rows_, rows - 1);
    Reshape(cols_, rows);
    endInsertRows();
  } else if (rows < rows_) {
    beginRemoveRows(QModelIndex(), rows, rows_ - 1);
    Reshape(cols_, rows);
    endRemoveRows();
  }
}

void TStringGridModel::ChangeCols(int cols) {
  if (cols > cols_) {
    beginInsertColumns(QModelIndex(), cols_, cols - 1);
    Reshape(cols, rows_);
    endInsertColumns();
  } else if (cols < cols_) {
    beginRemoveColumns(QModelIndex(), cols, cols_ - 1);
    Reshape(cols, rows_);
    endRemoveColumns();
  }
}

void TStringGridModel::SetSize(int cols, int rows) {
  cols = std::max(cols, fixedCols_ + 1);
  rows = std::max(rows, fixedRows_ + 1);
  if (updating_ > 0) {
    Reshape(cols, rows);
    return;
  }
  ChangeCols(cols);
  ChangeRows(rows);
}

void TStringGridModel::SetFixed(int cols, int rows) {
  cols = std::clamp(cols, 0, 1);
  rows = std::clamp(rows, 0, 1);
  if (cols == fixedCols_ && rows == fixedRows_) return;
  BeginUpdate();
  fixedCols_ = cols;
  fixedRows_ = rows;
  Reshape(std::max(cols_, cols + 1), std::max(rows_, rows + 1));
  EndUpdate();
}

int TStringGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int TStringGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_;
}

QVariant TStringGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  if (role == Qt::DisplayRole) return ShownCell(index.column(), index.row());
  if (role == Qt::EditRole) return Cell(index.column(), index.row());
  return QVariant();
}

bool TStringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !Inside(index.column(), index.row()))
    return false;
  SetCell(index.column(), index.row(), value.toString());
  return true;
}

Qt::ItemFlags TStringGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (Fixed(index.column(), index.row())) return Qt::ItemIsEnabled;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable_) f |= Qt::ItemIsEditable;
  return f;
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Horizontal) {
    if (fixedRows_ == 0 || section < 0 || section >= cols_) return QVariant();
    return ShownCell(section, 0);
  }
  if (fixedCols_ == 0 || section < 0 || section >= rows_) return QVariant();
  return ShownCell(0, section);
}
