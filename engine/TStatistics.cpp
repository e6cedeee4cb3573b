#include "TStatistics.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>
#include <string_view>

#include "RecordWalk.h"
#include "TQor2.h"

namespace {

// Records walked between two calls of the progress function.
constexpr int64_t kSlice = int64_t{1} << 16;

uint64_t Mix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return h;
}

uint64_t Hash(std::string_view s) {
  uint64_t h = 0x9E3779B97F4A7C15ULL ^ s.size();
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    h = Mix(h ^ w) * 0xc4ceb9fe1a85ec53ULL;
  }
  if (i < s.size()) {
    uint64_t w = 0;
    std::memcpy(&w, s.data() + i, s.size() - i);
    h = Mix(h ^ w) * 0xc4ceb9fe1a85ec53ULL;
  }
  return Mix(h);
}

// The groups by value: open addressing over the positions of `groups`. A
// slot holds the position + 1 in its low half and the upper half of the
// value's hash in its high half, so that a look-up reads a group only when
// it very likely is the one; the hashes are also kept in group order, so that
// growing reads no group either.
class TGroupIndex {
 public:
  explicit TGroupIndex(std::vector<TStatsGroup>& groups) : groups_(groups) {
    groups_.reserve(1024);
    hashes_.reserve(1024);
    Grow(2048);
  }

  TStatsGroup& Find(std::string_view key) {
    const uint64_t h = Hash(key);
    const uint64_t tag = h & kHigh;
    size_t slot = h & mask_;
    for (;;) {
      const uint64_t at = slots_[slot];
      if (at == 0) break;
      if ((at & kHigh) == tag) {
        TStatsGroup& g = groups_[(at & ~kHigh) - 1];
        if (g.key == key) return g;
      }
      slot = (slot + 1) & mask_;
    }
    groups_.emplace_back();
    groups_.back().key.assign(key.data(), key.size());
    hashes_.push_back(h);
    slots_[slot] = tag | groups_.size();
    if (groups_.size() * 2 > slots_.size()) Grow(slots_.size() * 2);
    return groups_.back();
  }

 private:
  static constexpr uint64_t kHigh = 0xFFFFFFFF00000000ULL;

  void Grow(size_t size) {
    slots_.assign(size, 0);
    mask_ = size - 1;
    for (size_t g = 0; g < hashes_.size(); ++g) {
      size_t slot = hashes_[g] & mask_;
      while (slots_[slot] != 0) slot = (slot + 1) & mask_;
      slots_[slot] = (hashes_[g] & kHigh) | (g + 1);
    }
  }

  std::vector<TStatsGroup>& groups_;
  std::vector<uint64_t> hashes_;  // of each group, in group order
  std::vector<uint64_t> slots_;   // 0 for a free slot
  size_t mask_ = 0;
};

// A text's first eight bytes as a big-endian number: the numbers of two texts
// are in their text order, or equal when the texts share those bytes.
uint64_t Prefix(const std::string& s) {
  unsigned char b[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  std::memcpy(b, s.data(), std::min<size_t>(s.size(), 8));
  uint64_t v = 0;
  for (const unsigned char c : b) v = (v << 8) | c;
  return v;
}

// Sorts by the numbers, in four passes of sixteen bits from the lowest; a
// pass where every number has the same sixteen bits is skipped. Keeps the
// order of equal numbers.
void RadixSort(std::vector<std::pair<uint64_t, uint32_t>>& keys) {
  std::vector<std::pair<uint64_t, uint32_t>> pass(keys.size());
  std::vector<size_t> count(65537);
  for (int shift = 0; shift < 64; shift += 16) {
    std::fill(count.begin(), count.end(), 0);
    for (const auto& k : keys) ++count[((k.first >> shift) & 0xFFFF) + 1];
    if (std::find(count.begin(), count.end(), keys.size()) != count.end()) continue;
    for (size_t b = 1; b < count.size(); ++b) count[b] += count[b - 1];
    for (const auto& k : keys) pass[count[(k.first >> shift) & 0xFFFF]++] = k;
    keys.swap(pass);
  }
}

// Puts the groups in order of their value. Texts are sorted on their first
// eight bytes held beside their position, so that most comparisons read no
// group (at a million groups each would be a cache miss).
void SortGroups(TStatsResult& r) {
  const auto& g = r.groups;
  std::vector<uint32_t> order(g.size());
  if (r.groupIsFloat) {
    std::iota(order.begin(), order.end(), 0u);
    std::vector<long double> numbers(g.size());
    for (size_t i = 0; i < g.size(); ++i) numbers[i] = TextToFloat(g[i].key);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      if (numbers[a] != numbers[b]) return numbers[a] < numbers[b];
      return g[a].key < g[b].key;
    });
  } else {
    std::vector<std::pair<uint64_t, uint32_t>> keys(g.size());
    for (size_t i = 0; i < g.size(); ++i) keys[i] = {Prefix(g[i].key), static_cast<uint32_t>(i)};
    RadixSort(keys);
    // Texts that share their first eight bytes, by the rest.
    for (size_t i = 0; i < keys.size();) {
      size_t j = i + 1;
      while (j < keys.size() && keys[j].first == keys[i].first) ++j;
      if (j - i > 1)
        std::sort(keys.begin() + static_cast<long>(i), keys.begin() + static_cast<long>(j),
                  [&](const auto& a, const auto& b) { return g[a.second].key < g[b.second].key; });
      i = j;
    }
    for (size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].second;
  }
  // The permutation applied in place, cycle by cycle: no second copy of
  // groups that may take a hundred megabytes.
  for (size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    TStatsGroup moving = std::move(r.groups[start]);
    size_t at = start;
    while (order[at] != start) {
      const size_t from = order[at];
      r.groups[at] = std::move(r.groups[from]);
      order[at] = static_cast<uint32_t>(at);
      at = from;
    }
    r.groups[at] = std::move(moving);
    order[at] = static_cast<uint32_t>(at);
  }
}

void AddNumber(TStatsGroup& g, const TDecimal& d) {
  const long double v = d.Value();
  if (g.numbers == 0 || v < g.min) g.min = v;
  if (g.numbers == 0 || v > g.max) g.max = v;
  g.sum += d;
  ++g.numbers;
}

// Thrown out of the walk when the progress function says stop.
struct TStopped {};

}  // namespace

TStatus ComputeStats(const TQor2& table, const TStatsRequest& request, TStatsResult& result,
                     const TStatsProgress& progress) {
  result = TStatsResult();
  result.groupField = request.groupField;
  result.numberField = request.numberField;
  result.grouped = !request.groupField.empty();
  result.numeric = !request.numberField.empty();
  const int groupNo = result.grouped ? table.FieldIndex(request.groupField) : 0;
  const int numberNo = result.numeric ? table.FieldIndex(request.numberField) : 0;
  result.groupIsFloat = groupNo > 0 && table.GetFieldType(groupNo) == "FLOAT";
  const int filterNo = request.useFilter ? table.FieldIndex(request.filter.Field) : 0;

  const std::vector<TRecord>& records = table.RecordList().Items();
  const size_t from = static_cast<size_t>(std::max(request.from, 1)) - 1;
  const size_t to = std::min(static_cast<size_t>(std::max(request.to, 0)), records.size());
  const int64_t total = to > from ? static_cast<int64_t>(to - from) : 0;
  try {
    TGroupIndex index(result.groups);
    TStatsGroup* only = nullptr;
    if (!result.grouped) only = &index.Find(std::string_view());
    const bool keep = request.keepValues && result.numeric;
    int64_t walked = 0;
    auto visit = [&](size_t i, const TKStringList& record) {
      if (i < from || i >= to) return;
      if ((++walked & (kSlice - 1)) == 0 && progress && !progress(walked, total)) throw TStopped();
      if (request.useFilter && !table.MatchRecord(static_cast<int>(i) + 1, filterNo,
                                                  request.filter.Operator, request.filter.Value))
        return;
      TStatsGroup& g = only ? *only : index.Find(record.Get(groupNo - 1));
      ++g.count;
      ++result.records;
      if (!result.numeric) return;
      TDecimal d;
      switch (TDecimal::Read(record.Get(numberNo - 1), d)) {
        case TNumberKind::Blank:
          ++result.blank;
          break;
        case TNumberKind::NotANumber:
          ++result.nonNumeric;
          break;
        case TNumberKind::Number:
          AddNumber(g, d);
          if (keep) result.values.push_back(static_cast<double>(d.Value()));
          break;
      }
    };
    if (progress && !progress(0, total)) throw TStopped();
    // Most of the table: in the order of the records' memory, which a sort
    // leaves scattered; a few records: just those.
    const int walkField = std::max(result.grouped ? groupNo : numberNo, 1) - 1;
    if (2 * static_cast<size_t>(total) >= records.size()) {
      WalkRecordsInMemoryOrder(records, walkField, visit);
    } else {
      for (size_t i = from; i < to; ++i) {
        if (i + 8 < to) __builtin_prefetch(records[i + 8].get());
        visit(i, *records[i]);
      }
    }
    SortGroups(result);
  } catch (const std::bad_alloc&) {
    result = TStatsResult();
    return TStatus(TFailure::OutOfMemory);
  } catch (const TStopped&) {
    result = TStatsResult();
    return TStatus(TFailure::Other, "calcul interrompu");
  }
  if (progress) progress(total, total);
  return TStatus::Ok();
}

std::vector<TStatsColumn> StatsColumns(const TStatsResult& result) {
  std::vector<TStatsColumn> columns;
  if (result.grouped) columns.push_back(TStatsColumn::Group);
  columns.push_back(TStatsColumn::Count);
  if (result.numeric)
    for (TStatsColumn c :
         {TStatsColumn::Sum, TStatsColumn::Mean, TStatsColumn::Minimum, TStatsColumn::Maximum})
      columns.push_back(c);
  columns.push_back(TStatsColumn::Share);
  return columns;
}

std::string StatsHeader(const TStatsResult& result, TStatsColumn column) {
  switch (column) {
    case TStatsColumn::Group:
      return result.groupField;
    case TStatsColumn::Count:
      return "Nombre";
    case TStatsColumn::Sum:
      return "Somme";
    case TStatsColumn::Mean:
      return "Moyenne";
    case TStatsColumn::Minimum:
      return "Minimum";
    case TStatsColumn::Maximum:
      return "Maximum";
    case TStatsColumn::Share:
      return "Part (%)";
  }
  return std::string();
}

std::string StatsCell(const TStatsResult& result, const TStatsGroup& group, TStatsColumn column,
                      char thousands) {
  switch (column) {
    case TStatsColumn::Group:
      return group.key;
    case TStatsColumn::Count:
      return TDecimal::IntegerText(group.count, thousands);
    case TStatsColumn::Sum:
      return group.sum.Text(2, thousands);
    case TStatsColumn::Mean:
      return group.numbers ? group.sum.QuotientText(group.numbers, 2, thousands) : std::string();
    case TStatsColumn::Minimum:
      return group.numbers ? TDecimal::LongDoubleText(group.min, 2, thousands) : std::string();
    case TStatsColumn::Maximum:
      return group.numbers ? TDecimal::LongDoubleText(group.max, 2, thousands) : std::string();
    case TStatsColumn::Share:
      return result.records ? TDecimal::FromInteger(int64_t{group.count} * 100)
                                  .QuotientText(result.records, 2, thousands)
                            : std::string();
  }
  return std::string();
}

std::string StatsLabel(const TStatsGroup& group) {
  return group.key.empty() ? "(vide)" : group.key;
}

std::vector<uint32_t> StatsOrder(const TStatsResult& result, TStatsColumn column, bool ascending) {
  std::vector<uint32_t> order(result.groups.size());
  std::iota(order.begin(), order.end(), 0u);
  const auto& g = result.groups;
  // -1, 0 or 1 for groups a and b in the column's order.
  auto compare = [&](uint32_t a, uint32_t b) -> int {
    const TStatsGroup &x = g[a], &y = g[b];
    auto cmp = [](auto u, auto v) { return u < v ? -1 : v < u ? 1 : 0; };
    auto ordered = [](long double x) { return TDecimal::Ordered(x); };
    switch (column) {
      case TStatsColumn::Group:
        return cmp(a, b);
      case TStatsColumn::Count:
      case TStatsColumn::Share:
        return cmp(x.count, y.count);
      case TStatsColumn::Sum:
        return x.sum.Compare(y.sum);
      case TStatsColumn::Mean:
      case TStatsColumn::Minimum:
      case TStatsColumn::Maximum: {
        if (!x.numbers || !y.numbers) return cmp(x.numbers != 0, y.numbers != 0);
        if (column == TStatsColumn::Minimum) return cmp(x.min, y.min);
        if (column == TStatsColumn::Maximum) return cmp(x.max, y.max);
        return cmp(ordered(x.sum.Value() / x.numbers), ordered(y.sum.Value() / y.numbers));
      }
    }
    return 0;
  };
  if (column == TStatsColumn::Group) {
    if (!ascending) std::reverse(order.begin(), order.end());
    return order;
  }
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int c = compare(a, b);
    return ascending ? c < 0 : c > 0;
  });
  return order;
}

void StatsTable(const TStatsResult& result, const std::vector<uint32_t>& order, TQor2& out) {
  out.Clear();
  const std::vector<TStatsColumn> columns = StatsColumns(result);
  std::vector<TFieldSource> fields;
  for (const TStatsColumn c : columns) {
    std::string name = StatsHeader(result, c);
    // A grouping field called like a column, or with no visible name, keeps a
    // column of its own.
    if (c == TStatsColumn::Group) {
      for (const TStatsColumn other : columns)
        if (other != c && StatsHeader(result, other) == name) name = "Groupe " + name;
      if (TrimBlanks(name).empty()) name = "Groupe";
    }
    fields.push_back({name, c == TStatsColumn::Group ? "STRING" : "FLOAT", 0});
  }
  out.Restructure(fields);
  for (const uint32_t i : order) {
    if (i >= result.groups.size()) continue;
    out.Append();
    for (size_t c = 0; c < columns.size(); ++c)
      out.SetFieldValue(static_cast<int>(c) + 1,
                        StatsCell(result, result.groups[i], columns[c], 0));
  }
  out.First();
}
