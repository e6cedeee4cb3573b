// Comparison, search and sort of TQor2.

#include <algorithm>
#include <cstring>
#include <limits>

#include "ExchangeOrder.h"
#include "LargeMemory.h"
#include "RecordWalk.h"
#include "TQor2.h"

namespace {

bool IsLike(const std::string& op) {
  if (op.size() != 4) return false;
  std::string u = op;
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u == "LIKE";
}

template <typename T>
bool Compare(const T& a, const std::string& op, const T& b, bool& known) {
  known = true;
  if (op == "<") return a < b;
  if (op == ">") return a > b;
  if (op == "=") return a == b;
  if (op == "<=") return a <= b;
  if (op == ">=") return a >= b;
  known = false;
  return false;
}

// A text key: its first eight bytes as a big-endian number, zeros after a
// shorter key; keys with the same first eight bytes are compared whole.
uint64_t BigEndianPrefix(const char* p, size_t n) {
  unsigned char b[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  if (n) std::memcpy(b, p, std::min<size_t>(n, 8));
  uint64_t v = 0;
  for (const unsigned char c : b) v = (v << 8) | c;
  return v;
}

// A number key: for the 80-bit Extended, its bits turned into an unsigned
// number of the same order (sign bit set for the positive numbers, every bit
// inverted for the negative ones, -0 made +0).
constexpr bool kX87Extended = std::numeric_limits<Extended>::digits == 64 &&
                              std::numeric_limits<Extended>::max_exponent == 16384;

TSortKey NumberKey(Extended x, uint32_t index) {
  if (x == 0) x = 0;
  uint64_t mantissa;
  uint16_t signExponent;
  std::memcpy(&mantissa, &x, 8);
  std::memcpy(&signExponent, reinterpret_cast<const char*>(&x) + 8, 2);
  if (signExponent & 0x8000) {
    mantissa = ~mantissa;
    signExponent = static_cast<uint16_t>(~signExponent);
  } else {
    signExponent |= 0x8000;
  }
  return {mantissa, index, signExponent};
}

}  // namespace

bool TQor2::MatchText(const std::string& fieldName, const std::string& op,
                      const std::string& value) const {
  return TestRecord(currentIndex_, FieldIndex(fieldName), op, value);
}

TStatus TQor2::CheckCondition(const TCondition& c) const {
  if (FieldIndex(c.Field) == 0) return TStatus(TFailure::NoSuchField, c.Field);
  if (c.Operator.empty()) return TStatus(TFailure::NoOperator);
  bool known;
  Compare<int>(0, c.Operator, 0, known);
  if (!known && !IsLike(c.Operator)) return TStatus(TFailure::UnknownOperator, c.Operator);
  return TStatus();
}

bool TQor2::TestRecord(int index, int fieldNo, const std::string& op,
                       const std::string& value) const {
  const TValueView v = GetCell(fieldNo, index + 1);
  bool known;
  const bool r = Compare<std::string_view>(v, op, value, known);
  if (known) return r;
  return IsLike(op) && Matcher.Matches(value, v);
}

bool TQor2::MatchFloat(const std::string& fieldName, const std::string& op, Extended value) const {
  bool known;
  return Compare(GetFloatByName(fieldName), op, value, known);
}

bool TQor2::BeginSearch(bool forward) {
  SearchForward = forward;
  if (IsEmpty()) return false;
  SearchStarting = true;
  return true;
}

bool TQor2::FindNext(const std::string& fieldName, const std::string& op,
                     const std::string& value) {
  if (IsEmpty()) return false;
  const int remembered = RecNo();
  const int step = SearchForward ? 1 : -1;
  const int count = RecordCount();
  const int fieldNo = FieldIndex(fieldName);
  int idx;
  if (currentIndex_ < 0 || currentIndex_ >= count)
    idx = 0;
  else
    idx = SearchStarting ? currentIndex_ : currentIndex_ + step;
  bool found = false;
  for (; idx >= 0 && idx < count; idx += step) {
    if (TestRecord(idx, fieldNo, op, value)) {
      found = true;
      break;
    }
  }
  SearchStarting = false;
  if (found) {
    currentIndex_ = idx;
    return true;
  }
  GoToRecord(remembered);
  return false;
}

bool TQor2::EndSearch() {
  if (IsEmpty()) return false;
  if (currentIndex_ < 0 || currentIndex_ >= RecordCount()) Last();
  SearchStarting = false;
  return true;
}

void TQor2::ApplyOrder(const TLargeVector<int>& order) {
  // The one allocation comes first: from the first move on nothing can fail.
  std::vector<TRecord>& items = Records.Items();
  std::vector<TRecord> sorted;
  sorted.reserve(items.size());
  AdviseHugePages(sorted.data(), sorted.capacity() * sizeof(TRecord));
  for (const int i : order) sorted.push_back(std::move(items[static_cast<size_t>(i)]));
  items.swap(sorted);
  Reshaped();
}

TStatus TQor2::SortText(const std::string& fieldName, bool ascending) try {
  const int f = FieldIndex(fieldName);
  if (RecordCount() < 2 || f == 0) return TStatus::Ok();
  // The keys are read once, straight from the records: their first eight
  // bytes as the number that orders them, the next eight for ties. Only keys
  // alike in their first sixteen bytes read their records again.
  // Two keys of sixteen bytes or fewer, without a zero byte, are the same
  // text when both their numbers are equal: such ties need no record.
  const std::vector<TRecord>& items = Records.Items();
  TLargeVector<TSortKey> keys(items.size());
  TLargeVector<uint64_t> next(items.size());
  TLargeVector<char> whole(items.size());
  // Keys are written in the order the records are read.
  size_t k = 0;
  WalkRecordsInMemoryOrder(items, f - 1, [&](size_t i, const TKStringList& r) {
    const TValueView v = r.Get(f - 1);
    keys[k++] = {BigEndianPrefix(v.data(), v.size()), static_cast<uint32_t>(i), 0};
    next[i] = v.size() > 8 ? BigEndianPrefix(v.data() + 8, v.size() - 8) : 0;
    whole[i] = v.size() <= 16 && std::memchr(v.data(), 0, v.size()) == nullptr;
  });
  TLargeVector<int> order = ExchangeOrder(keys, ascending, [&](uint32_t a, uint32_t b) {
    if (next[a] != next[b]) return next[a] < next[b] ? -1 : 1;
    if (whole[a] && whole[b]) return 0;
    return items[a]->Get(f - 1).compare(items[b]->Get(f - 1));
  });
  ApplyOrder(order);
  return TStatus::Ok();
} catch (const std::bad_alloc&) {
  // Every allocation comes before the first record moves.
  return TStatus(TFailure::OutOfMemory);
}

TStatus TQor2::SortFloat(const std::string& fieldName, bool ascending) try {
  const int f = FieldIndex(fieldName);
  if (RecordCount() < 2 || f == 0) return TStatus::Ok();
  const size_t n = Records.Items().size();
  TLargeVector<TSortKey> keys(n);
  TLargeVector<Extended> values;
  if constexpr (!kX87Extended) values.resize(n);
  size_t k = 0;  // keys are written in the order the records are read
  WalkRecordsInMemoryOrder(Records.Items(), f - 1, [&](size_t i, const TKStringList& r) {
    const Extended x = ::TextToFloat(std::string_view(r.Get(f - 1)));
    if constexpr (kX87Extended)
      keys[k++] = NumberKey(x, static_cast<uint32_t>(i));
    else
      values[i] = x;
  });
  if constexpr (!kX87Extended) {
    // Elsewhere the keys are the ranks of the numbers.
    TLargeVector<uint32_t> byValue(n);
    for (size_t i = 0; i < n; ++i) byValue[i] = static_cast<uint32_t>(i);
    std::sort(byValue.begin(), byValue.end(),
              [&](uint32_t a, uint32_t b) { return values[a] < values[b]; });
    uint64_t rank = 0;
    for (size_t j = 0; j < n; ++j) {
      if (j > 0 && values[byValue[j - 1]] < values[byValue[j]]) ++rank;
      keys[byValue[j]] = {rank, byValue[j], 0};
    }
  }
  TLargeVector<int> order = ExchangeOrder(keys, ascending, nullptr);
  ApplyOrder(order);
  return TStatus::Ok();
} catch (const std::bad_alloc&) {
  return TStatus(TFailure::OutOfMemory);
}

TStatus TQor2::SortByField(const std::string& fieldName, bool ascending) {
  const int f = FieldIndex(fieldName);
  if (f == 0) return TStatus(TFailure::NoSuchField, fieldName);
  return GetFieldType(f) == "FLOAT" ? SortFloat(fieldName, ascending)
                                    : SortText(fieldName, ascending);
}
