#include "TStatistics.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>
#include <stdexcept>
#include <string_view>

#include "TQor2.h"

namespace {

// Records walked between two calls of the progress function.
constexpr size_t kSlice = size_t{1} << 16;

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

// The groups by value: open addressing over the positions of `groups`.
class TGroupIndex {
 public:
  explicit TGroupIndex(std::vector<TStatsGroup>& groups) : groups_(groups) { Grow(64); }

  TStatsGroup& Find(std::string_view key) {
    const uint64_t h = Hash(key);
    size_t slot = h & mask_;
    for (;;) {
      const uint32_t at = slots_[slot];
      if (at == 0) break;
      if (hashes_[at - 1] == h && groups_[at - 1].key == key) return groups_[at - 1];
      slot = (slot + 1) & mask_;
    }
    groups_.emplace_back();
    groups_.back().key.assign(key.data(), key.size());
    hashes_.push_back(h);
    slots_[slot] = static_cast<uint32_t>(groups_.size());
    if (groups_.size() * 2 > slots_.size()) Grow(slots_.size() * 2);
    return groups_.back();
  }

 private:
  void Grow(size_t size) {
    slots_.assign(size, 0);
    mask_ = size - 1;
    for (size_t g = 0; g < hashes_.size(); ++g) {
      size_t slot = hashes_[g] & mask_;
      while (slots_[slot] != 0) slot = (slot + 1) & mask_;
      slots_[slot] = static_cast<uint32_t>(g + 1);
    }
  }

  std::vector<TStatsGroup>& groups_;
  std::vector<uint32_t> slots_;  // group position + 1; 0 for a free slot
  std::vector<uint64_t> hashes_;
  size_t mask_ = 0;
};

// Puts the groups in order of their value.
void SortGroups(TStatsResult& r) {
  std::vector<uint32_t> order(r.groups.size());
  std::iota(order.begin(), order.end(), 0u);
  const auto& g = r.groups;
  if (r.groupIsFloat) {
    std::vector<long double> numbers(g.size());
    for (size_t i = 0; i < g.size(); ++i) numbers[i] = TextToFloat(g[i].key);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      if (numbers[a] != numbers[b]) return numbers[a] < numbers[b];
      return g[a].key < g[b].key;
    });
  } else {
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return g[a].key < g[b].key; });
  }
  std::vector<TStatsGroup> sorted;
  sorted.reserve(g.size());
  for (const uint32_t i : order) sorted.push_back(std::move(r.groups[i]));
  r.groups.swap(sorted);
}

void AddNumber(TStatsGroup& g, const TDecimal& d) {
  const long double v = d.Value();
  if (g.numbers == 0 || v < g.min) g.min = v;
  if (g.numbers == 0 || v > g.max) g.max = v;
  g.sum += d;
  ++g.numbers;
}

std::string Decimals2(const TDecimal& d, char thousands) {
  return d.Text(2, thousands);
}

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
  const int filterNo = request.useFilter ? table.FieldIndex(request.filter.field) : 0;

  const std::vector<TRecord>& records = table.RecordList().Items();
  const size_t from = static_cast<size_t>(std::max(request.from, 1)) - 1;
  const size_t to = std::min(static_cast<size_t>(std::max(request.to, 0)), records.size());
  try {
    TGroupIndex index(result.groups);
    TStatsGroup* only = nullptr;
    if (!result.grouped) only = &index.Find(std::string_view());
    const bool keep = request.keepValues && result.numeric;
    for (size_t begin = from; begin < to; begin += kSlice) {
      if (progress &&
          !progress(static_cast<int64_t>(begin - from), static_cast<int64_t>(to - from)))
        throw std::runtime_error("interrompu");
      const size_t end = std::min(begin + kSlice, to);
      for (size_t i = begin; i < end; ++i) {
        if (i + 8 < end) __builtin_prefetch(records[i + 8].get());
        const TKStringList& record = *records[i];
        if (request.useFilter && !table.MatchRecord(static_cast<int>(i) + 1, filterNo,
                                                    request.filter.op, request.filter.value))
          continue;
        TStatsGroup& g = only ? *only : index.Find(record.Get(groupNo - 1));
        ++g.count;
        ++result.records;
        if (!result.numeric) continue;
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
      }
    }
    SortGroups(result);
  } catch (const std::bad_alloc&) {
    result = TStatsResult();
    return TStatus(TFailure::OutOfMemory);
  } catch (const std::runtime_error&) {
    result = TStatsResult();
    return TStatus(TFailure::Other, "calcul interrompu");
  }
  if (progress)
    progress(static_cast<int64_t>(to > from ? to - from : 0),
             static_cast<int64_t>(to > from ? to - from : 0));
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
      return Decimals2(group.sum, thousands);
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
        return cmp(x.sum.Value() / x.numbers, y.sum.Value() / y.numbers);
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
