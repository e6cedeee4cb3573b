#include "TSheetBuilder.h"

#include <algorithm>
#include <new>

#include "NumberText.h"
#include "TQor2.h"
#include "TRecordBuilder.h"
#include "TextTable.h"

namespace {

constexpr size_t kPiece = size_t{4} << 20;

void PutLength(std::string& out, size_t n) {
  while (n >= 0x80) {
    out.push_back(static_cast<char>(0x80 | (n & 0x7F)));
    n >>= 7;
  }
  out.push_back(static_cast<char>(n));
}

size_t GetLength(const char*& p) {
  size_t n = 0;
  for (int shift = 0;; shift += 7) {
    const unsigned char b = static_cast<unsigned char>(*p++);
    n |= static_cast<size_t>(b & 0x7F) << shift;
    if (b < 0x80) return n;
  }
}

}  // namespace

TSheetBuilder::TSheetBuilder() = default;
TSheetBuilder::~TSheetBuilder() = default;

TStatus TSheetBuilder::Cell(uint32_t column, TCellKind kind, std::string_view value, bool bold) {
  if (column >= kMaxColumns) return TStatus(TFailure::TooManyColumns);
  if (value.size() > kMaxCell) return TStatus(TFailure::CellTooLarge);
  if (column < rowColumns_ || kind == TCellKind::Empty || value.empty()) return TStatus::Ok();
  for (; rowColumns_ < column; ++rowColumns_) {
    row_.push_back(0);
    if (rows_ == 0) rowKinds_.push_back(TCellKind::Empty);
  }
  PutLength(row_, value.size());
  row_.append(value);
  ++rowColumns_;
  rowEmpty_ = false;
  rowBold_ = rowBold_ && bold;
  if (rows_ == 0) {
    double v;
    firstText_.resize(column + 1, false);
    firstText_[column] = kind == TCellKind::Text;
    rowKinds_.push_back(kind == TCellKind::Text && !ParseTableNumber(value, v) ? TCellKind::Text
                                                                               : TCellKind::Number);
  } else {
    if (columns_.size() <= column) columns_.resize(column + 1);
    (kind == TCellKind::Number ? columns_[column].number : columns_[column].text) = true;
  }
  return TStatus::Ok();
}

void TSheetBuilder::Store(const std::string& row) {
  if (pieces_.empty() || pieces_.back()->capacity() - pieces_.back()->size() < row.size() + 10) {
    pieces_.push_back(std::make_unique<std::string>());
    pieces_.back()->reserve(std::max(kPiece, row.size() + 10));
  }
  PutLength(*pieces_.back(), rowColumns_);
  pieces_.back()->append(row);
}

TStatus TSheetBuilder::EndRow(uint32_t repeat) {
  if (!rowEmpty_ && repeat > 0) {
    if (rows_ + repeat > kMaxRows) return TStatus(TFailure::TooManyRows);
    const uint64_t width = std::max(width_, rowColumns_);
    if ((rows_ + repeat) * width > kMaxValues ||
        textBytes_ + uint64_t{repeat} * row_.size() > kMaxText)
      return TStatus(TFailure::OutOfMemory);
    try {
      for (uint32_t i = 0; i < repeat; ++i) Store(row_);
    } catch (const std::bad_alloc&) {
      return TStatus(TFailure::OutOfMemory);
    }
    if (rows_ == 0) {
      firstKinds_ = rowKinds_;
      firstBold_ = rowBold_;
    }
    // A repeated first line repeats below it too.
    if (rows_ == 0 && repeat > 1) {
      for (uint32_t c = 0; c < firstKinds_.size(); ++c) {
        if (firstKinds_[c] == TCellKind::Empty) continue;
        if (columns_.size() <= c) columns_.resize(c + 1);
        const bool text = c < firstText_.size() && firstText_[c];
        (text ? columns_[c].text : columns_[c].number) = true;
      }
    }
    rows_ += repeat;
    textBytes_ += repeat * row_.size();
    width_ = std::max(width_, rowColumns_);
  }
  row_.clear();
  rowColumns_ = 0;
  rowEmpty_ = true;
  rowBold_ = true;
  rowKinds_.clear();
  return TStatus::Ok();
}

TStatus TSheetBuilder::Finish(const std::string& tableName, TQor2& table) {
  if (!row_.empty()) {
    const TStatus s = EndRow();
    if (!s) return s;
  }
  bool numberColumn = false;
  for (const Column& c : columns_) numberColumn = numberColumn || (c.number && !c.text);
  // A line the sheet marks as its header names the fields when it holds
  // texts only, be they numbers written as text ("2024").
  bool marked = (headerMarked_ || firstBold_) && rows_ > 0;
  for (uint32_t c = 0; c < firstKinds_.size() && marked; ++c)
    marked = firstKinds_[c] == TCellKind::Empty || (c < firstText_.size() && firstText_[c]);
  const bool header = marked || IsHeaderRow(firstKinds_, numberColumn);
  std::vector<std::pair<std::string, std::string>> fields(width_);
  if (!header) {
    for (uint32_t c = 0; c < firstKinds_.size(); ++c) {
      if (firstKinds_[c] == TCellKind::Empty) continue;
      if (columns_.size() <= c) columns_.resize(c + 1);
      (c < firstText_.size() && firstText_[c] ? columns_[c].text : columns_[c].number) = true;
    }
  }
  for (uint32_t c = 0; c < width_; ++c) {
    const bool number = c < columns_.size() && columns_[c].number && !columns_[c].text;
    fields[c].second = number ? "FLOAT" : "STRING";
  }
  try {
    const char* p = nullptr;
    const char* end = nullptr;
    size_t piece = 0;
    auto nextRow = [&]() -> bool {
      while (p == end) {
        if (piece > 0) pieces_[piece - 1].reset();  // made into records already
        if (piece == pieces_.size()) return false;
        p = pieces_[piece]->data();
        end = p + pieces_[piece]->size();
        ++piece;
      }
      return true;
    };
    size_t records = rows_;
    std::vector<std::string> names;
    if (header && nextRow()) {
      const size_t n = GetLength(p);
      for (size_t c = 0; c < n; ++c) {
        const size_t len = GetLength(p);
        names.emplace_back(p, len);
        p += len;
      }
      --records;
    }
    const std::vector<std::string> unique = UniqueFieldNames(names, width_);
    for (uint32_t c = 0; c < width_; ++c) fields[c].first = unique[c];
    TRecordBuilder builder(static_cast<int>(width_), textBytes_, records);
    while (nextRow()) {
      const size_t n = GetLength(p);
      for (size_t c = 0; c < n; ++c) {
        const size_t len = GetLength(p);
        builder.Append(p, len);
        builder.EndValue();
        p += len;
      }
      builder.EndRecord();
    }
    pieces_.clear();
    if (!table.TakeRecords(tableName, fields, builder)) return TStatus(TFailure::OutOfMemory);
  } catch (const std::bad_alloc&) {
    return TStatus(TFailure::OutOfMemory);
  }
  return TStatus::Ok();
}
