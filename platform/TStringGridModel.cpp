#include "TStringGridModel.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "AnsiCodec.h"

TStringGridModel::TStringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

QString TStringGridModel::Cell(int col, int row) const {
  if (!Inside(col, row)) return QString();
  const Span& span = At(col, row);
  return FromAnsi(bytes_.data() + span.offset, span.length);
}

std::string TStringGridModel::CellAnsi(int col, int row) const {
  if (!Inside(col, row)) return std::string();
  const Span& span = At(col, row);
  return bytes_.substr(span.offset, span.length);
}

void TStringGridModel::SetCell(int col, int row, const QString& text) {
  SetCellAnsi(col, row, ToAnsi(text));
}

void TStringGridModel::SetCellAnsi(int col, int row, std::string_view text) {
  if (!Inside(col, row)) return;
  Span& span = At(col, row);
  if (std::string_view(bytes_.data() + span.offset, span.length) == text) return;
  if (text.size() <= span.length) {
    // Shorter texts overwrite in place; the tail becomes garbage.
    std::memmove(&bytes_[span.offset], text.data(), text.size());
    garbage_ += span.length - text.size();
    span.length = static_cast<uint32_t>(text.size());
  } else {
    const size_t limit = std::numeric_limits<uint32_t>::max();
    if (bytes_.size() + text.size() > limit) Compact();
    if (bytes_.size() + text.size() > limit) return;  // beyond 4 GiB of text: refused
    garbage_ += span.length;
    span.offset = static_cast<uint32_t>(bytes_.size());
    span.length = static_cast<uint32_t>(text.size());
    bytes_.append(text.data(), text.size());
  }
  if (garbage_ > (1u << 20) && garbage_ > bytes_.size() / 2) Compact();
  if (updating_ > 0) return;
  const QModelIndex i = index(row, col);
  emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void TStringGridModel::Compact() {
  std::string next;
  next.reserve(bytes_.size() - garbage_);
  for (Span& span : spans_) {
    const uint32_t offset = static_cast<uint32_t>(next.size());
    next.append(bytes_, span.offset, span.length);
    span.offset = span.length ? offset : 0;
  }
  bytes_.swap(next);
  garbage_ = 0;
}

void TStringGridModel::SetEditable(bool editable) {
  editable_ = editable;
}

void TStringGridModel::BeginUpdate() {
  if (updating_++ == 0) beginResetModel();
}

void TStringGridModel::EndUpdate() {
  if (updating_ == 0) return;
  if (--updating_ == 0) endResetModel();
}

void TStringGridModel::Reshape(int cols, int rows) {
  const size_t size = static_cast<size_t>(cols) * rows;
  if (cols == cols_) {
    for (size_t i = size; i < spans_.size(); ++i) garbage_ += spans_[i].length;
    spans_.resize(size);
  } else {
    std::vector<Span> next(size);
    const int keepCols = std::min(cols, cols_);
    for (int r = 0; r < rows_; ++r)
      for (int c = 0; c < cols_; ++c) {
        const Span& span = At(c, r);
        if (c < keepCols && r < rows)
          next[static_cast<size_t>(r) * cols + c] = span;
        else
          garbage_ += span.length;
      }
    spans_.swap(next);
  }
  cols_ = cols;
  rows_ = rows;
  if (spans_.empty() || garbage_ == bytes_.size()) {
    bytes_.clear();
    garbage_ = 0;
    for (Span& span : spans_) span = Span();
  }
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
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
  return Cell(index.column(), index.row());
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
    return Cell(section, 0);
  }
  if (fixedCols_ == 0 || section < 0 || section >= rows_) return QVariant();
  return Cell(0, section);
}
