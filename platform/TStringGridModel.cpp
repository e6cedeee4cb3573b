#include "TStringGridModel.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "AnsiCodec.h"

TStringGridModel::TStringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

namespace {

// Buffers below these sizes are not worth a pass over the cells to reclaim.
constexpr size_t kMinGarbage = 64 * 1024;
constexpr size_t kMinSlack = 4096;
constexpr size_t kLimit = std::numeric_limits<uint32_t>::max();

uint32_t Load32(const char* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

// A quarter more at a time, so that a grid grown row by row neither copies its
// index at every row nor keeps twice the room it needs.
template <typename T>
void Resize(std::vector<T>& v, size_t size) {
  const size_t capacity = v.capacity();
  if (size > capacity) v.reserve(std::max(size, capacity + capacity / 4));
  v.resize(size);
}

template <typename T>
void ShrinkSpare(std::vector<T>& v, size_t slack) {
  if (v.capacity() - v.size() > v.size() / 8 + slack) v.shrink_to_fit();
}

}  // namespace

size_t TStringGridModel::Size(uint8_t meta, const char* at) {
  if (meta < kLead) return meta;
  if (meta < kLong) return 1 + (meta - kLead);
  return 1 + sizeof(uint32_t) + Load32(at + 1);
}

TStringGridModel::Text TStringGridModel::Decode(uint8_t meta, const char* at) {
  if (meta == 0) return {0, std::string_view()};
  if (meta < kLead) return {0, std::string_view(at, meta)};
  const size_t lead = static_cast<unsigned char>(at[0]);
  if (meta < kLong) return {lead, std::string_view(at + 1, meta - kLead)};
  return {lead, std::string_view(at + 1 + sizeof(uint32_t), Load32(at + 1))};
}

TStringGridModel::Text TStringGridModel::Find(int col, int row, size_t* at) const {
  const size_t cell = static_cast<size_t>(row) * cols_ + col;
  size_t pos = offsets_[BlockOf(col, row)];
  for (size_t i = cell - col % kBlock; i < cell; ++i) pos += Size(meta_[i], bytes_.data() + pos);
  if (at) *at = pos;
  return Decode(meta_[cell], bytes_.data() + pos);
}

size_t TStringGridModel::BlockSize(size_t block, size_t firstCell, int cells) const {
  const size_t start = offsets_[block];
  size_t pos = start;
  for (size_t i = firstCell; i < firstCell + cells; ++i) pos += Size(meta_[i], bytes_.data() + pos);
  return pos - start;
}

void TStringGridModel::Grow(size_t size) {
  const size_t at = bytes_.size();
  if (at + size > bytes_.capacity()) {
    // Doubling inside an update (EndUpdate gives the spare back); a quarter
    // outside, where nothing later trims it.
    const size_t spare = updating_ > 0 ? at : at / 4;
    bytes_.reserve(at + size + std::max(spare, kMinSlack));
  }
  bytes_.resize(at + size);
}

QString TStringGridModel::ToQString(const Text& text, size_t length) {
  const size_t lead = std::min(text.lead, length);
  const size_t rest = std::min(text.rest.size(), length - lead);
  if (lead == 0) return FromAnsi(text.rest.data(), rest);
  QString out(static_cast<qsizetype>(lead + rest), Qt::Uninitialized);
  QChar* dst = out.data();
  std::fill(dst, dst + lead, QChar(u' '));
  dst += lead;
  for (size_t i = 0; i < rest; ++i) *dst++ = AnsiToChar(static_cast<unsigned char>(text.rest[i]));
  return out;
}

QString TStringGridModel::Cell(int col, int row) const {
  if (!Inside(col, row)) return QString();
  return ToQString(Find(col, row), std::numeric_limits<size_t>::max());
}

QString TStringGridModel::ShownCell(int col, int row) const {
  if (!Inside(col, row)) return QString();
  return ToQString(Find(col, row), kShownLength);
}

std::string TStringGridModel::CellAnsi(int col, int row) const {
  if (!Inside(col, row)) return std::string();
  const Text text = Find(col, row);
  std::string out;
  out.reserve(text.lead + text.rest.size());
  out.assign(text.lead, ' ');
  out.append(text.rest.data(), text.rest.size());
  return out;
}

void TStringGridModel::SetCell(int col, int row, const QString& text) {
  SetCellAnsi(col, row, ToAnsi(text));
}

void TStringGridModel::SetCellAnsi(int col, int row, std::string_view text) {
  if (!Inside(col, row)) return;
  size_t lead = 0;
  while (lead < text.size() && lead < 255 && text[lead] == ' ') ++lead;
  // An empty view may carry a null pointer: it never reaches memcpy or memcmp.
  const std::string_view rest = lead < text.size() ? text.substr(lead) : std::string_view();
  size_t at;
  const Text old = Find(col, row, &at);
  if (old.lead == lead && old.rest.size() == rest.size() &&
      (rest.empty() || std::memcmp(old.rest.data(), rest.data(), rest.size()) == 0))
    return;

  uint8_t meta;
  size_t size;
  if (lead == 0 && rest.size() < kLead) {
    meta = static_cast<uint8_t>(rest.size());
    size = rest.size();
  } else if (rest.size() < kLong - kLead) {
    meta = static_cast<uint8_t>(kLead + rest.size());
    size = 1 + rest.size();
  } else {
    meta = kLong;
    size = 1 + sizeof(uint32_t) + rest.size();
  }
  const size_t cell = static_cast<size_t>(row) * cols_ + col;
  const size_t first = cell - col % kBlock;
  const int cells = std::min(kBlock, cols_ - col / kBlock * kBlock);
  const size_t block = BlockOf(col, row);
  const size_t had = Size(meta_[cell], bytes_.data() + at);
  const size_t blockSize = BlockSize(block, first, cells);
  if (blockSize == 0) offsets_[block] = static_cast<uint32_t>(at = bytes_.size());
  const size_t start = offsets_[block];
  const size_t tail = start + blockSize - (at + had);
  const bool last = start + blockSize == bytes_.size();
  const size_t more =
      last ? (size > had ? size - had : 0) : (size > had ? blockSize - had + size : 0);
  if (bytes_.size() + more > kLimit) {
    // Beyond 4 GiB of text: reclaimed if that makes room, refused otherwise.
    Compact();
    if (bytes_.size() + more <= kLimit) SetCellAnsi(col, row, text);
    return;
  }

  char* dst;
  if (last || size <= had) {
    // The block's run is at the end of the buffer, or the text fits: the cells
    // after it move up or down in place.
    if (size > had) Grow(size - had);
    char* base = bytes_.data();
    std::memmove(base + at + size, base + at + had, tail);
    if (last)
      bytes_.resize(bytes_.size() - (had - std::min(had, size)));
    else
      garbage_ += had - size;
    dst = bytes_.data() + at;
  } else {
    // The run moves to the end, with the new text in place of the old.
    const size_t end = bytes_.size();
    Grow(more);
    char* base = bytes_.data();
    char* moved = base + end;
    const size_t before = at - start;
    std::memcpy(moved, base + start, before);
    std::memcpy(moved + before + size, base + at + had, tail);
    offsets_[block] = static_cast<uint32_t>(moved - base);
    garbage_ += blockSize;
    dst = moved + before;
  }
  if (meta >= kLead) *dst++ = static_cast<char>(lead);
  if (meta == kLong) {
    const uint32_t length = static_cast<uint32_t>(rest.size());
    std::memcpy(dst, &length, sizeof length);
    dst += sizeof length;
  }
  if (!rest.empty()) std::memcpy(dst, rest.data(), rest.size());
  meta_[cell] = meta;

  MaybeCompact();
  if (updating_ > 0) return;
  const QModelIndex i = index(row, col);
  emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

// Reclaims the dead bytes once they outweigh the live ones (and the cells, so
// that the pass over them is paid for).
void TStringGridModel::MaybeCompact() {
  const size_t live = bytes_.size() - garbage_;
  if (garbage_ > std::max({live, meta_.size(), kMinGarbage})) Compact();
}

void TStringGridModel::Compact() {
  std::vector<char> next;
  next.reserve(bytes_.size() - garbage_);
  const int blocks = Blocks(cols_);
  size_t block = 0;
  for (int r = 0; r < rows_; ++r)
    for (int k = 0; k < blocks; ++k, ++block) {
      const size_t first = static_cast<size_t>(r) * cols_ + k * kBlock;
      const size_t size = BlockSize(block, first, std::min(kBlock, cols_ - k * kBlock));
      const char* from = bytes_.data() + offsets_[block];
      offsets_[block] = size ? static_cast<uint32_t>(next.size()) : 0;
      next.insert(next.end(), from, from + size);
    }
  bytes_.swap(next);
  garbage_ = 0;
}

// Leaves the buffer and the index close to their live size.
void TStringGridModel::Trim() {
  const size_t size = bytes_.size();
  if (garbage_ > size / 8)
    Compact();
  else
    ShrinkSpare(bytes_, kMinSlack);
  ShrinkSpare(meta_, 64);
  ShrinkSpare(offsets_, 16);
}

size_t TStringGridModel::HeldBytes() const {
  return bytes_.capacity() + meta_.capacity() + offsets_.capacity() * sizeof(uint32_t);
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
  Trim();
  endResetModel();
}

void TStringGridModel::Reshape(int cols, int rows) {
  const int blocks = Blocks(cols);
  if (cols == cols_) {
    for (size_t b = static_cast<size_t>(rows) * blocks; b < offsets_.size(); ++b) {
      const int k = static_cast<int>(b % blocks);
      const size_t first = b / blocks * cols + k * kBlock;
      garbage_ += BlockSize(b, first, std::min(kBlock, cols - k * kBlock));
    }
    Resize(meta_, static_cast<size_t>(cols) * rows);
    Resize(offsets_, static_cast<size_t>(blocks) * rows);
  } else {
    // Other columns regroup every row: the kept cells are copied into new runs.
    std::vector<uint8_t> meta(static_cast<size_t>(cols) * rows);
    std::vector<uint32_t> offsets(static_cast<size_t>(blocks) * rows);
    std::vector<char> bytes;
    bytes.reserve(bytes_.size() - garbage_);
    const int keepCols = std::min(cols, cols_);
    std::vector<size_t> at(static_cast<size_t>(cols_));
    for (int r = 0; r < std::min(rows, rows_); ++r) {
      for (int c = 0; c < keepCols; ++c) Find(c, r, &at[c]);
      for (int k = 0; k < blocks; ++k) {
        const size_t start = bytes.size();
        for (int c = k * kBlock; c < std::min(keepCols, (k + 1) * kBlock); ++c) {
          const uint8_t m = meta_[static_cast<size_t>(r) * cols_ + c];
          const char* from = bytes_.data() + at[c];
          bytes.insert(bytes.end(), from, from + Size(m, from));
          meta[static_cast<size_t>(r) * cols + c] = m;
        }
        offsets[static_cast<size_t>(r) * blocks + k] =
            bytes.size() > start ? static_cast<uint32_t>(start) : 0;
      }
    }
    bytes.shrink_to_fit();
    meta_.swap(meta);
    offsets_.swap(offsets);
    bytes_.swap(bytes);
    garbage_ = 0;
  }
  cols_ = cols;
  rows_ = rows;
  if (!bytes_.empty() && garbage_ == bytes_.size()) {
    // Nothing live: start the buffer afresh, keeping its room only for a fill
    // under way.
    if (updating_ > 0)
      bytes_.clear();
    else
      std::vector<char>().swap(bytes_);
    garbage_ = 0;
    std::fill(offsets_.begin(), offsets_.end(), 0);
  }
  MaybeCompact();
  if (updating_ == 0) {
    if (meta_.capacity() > 2 * meta_.size() + 64) meta_.shrink_to_fit();
    if (offsets_.capacity() > 2 * offsets_.size() + 16) offsets_.shrink_to_fit();
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
