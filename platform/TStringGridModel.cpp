#include "TStringGridModel.h"

#include <algorithm>

namespace {
const QString kEmpty;
}

TStringGridModel::TStringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

const QString& TStringGridModel::Cell(int col, int row) const {
  if (!Inside(col, row)) return kEmpty;
  return cells_[static_cast<size_t>(row) * cols_ + col];
}

void TStringGridModel::SetCell(int col, int row, const QString& text) {
  SetCell(col, row, QString(text));
}

void TStringGridModel::SetCell(int col, int row, QString&& text) {
  if (!Inside(col, row)) return;
  QString& cell = cells_[static_cast<size_t>(row) * cols_ + col];
  if (updating_ > 0) {
    cell = std::move(text);
    return;
  }
  if (cell == text) return;
  cell = std::move(text);
  const QModelIndex i = index(row, col);
  emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
  if (row < fixedRows_) emit headerDataChanged(Qt::Horizontal, col, col);
  if (col < fixedCols_) emit headerDataChanged(Qt::Vertical, row, row);
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
  if (cols == cols_) {
    cells_.resize(static_cast<size_t>(cols) * rows);
  } else {
    std::vector<QString> next(static_cast<size_t>(cols) * rows);
    const int keepCols = std::min(cols, cols_);
    const int keepRows = std::min(rows, rows_);
    for (int r = 0; r < keepRows; ++r)
      for (int c = 0; c < keepCols; ++c)
        next[static_cast<size_t>(r) * cols + c] =
            std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
    cells_.swap(next);
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
