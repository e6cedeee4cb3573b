// Comparison, search and sort of TQor2.

#include <algorithm>
#include <numeric>

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

// Fenwick tree counting marked positions.
class Fenwick {
 public:
  explicit Fenwick(size_t n) : t_(n + 1, 0) {}
  void Add(size_t i, int d) {
    for (++i; i < t_.size(); i += i & (~i + 1)) t_[i] += d;
  }
  // Marks in [0, i).
  int Prefix(size_t i) const {
    int s = 0;
    for (; i > 0; i -= i & (~i + 1)) s += t_[i];
    return s;
  }
  int Range(size_t from, size_t to) const { return to > from ? Prefix(to) - Prefix(from) : 0; }
  // Smallest index whose prefix count including it reaches k (k >= 1).
  size_t FindKth(int k) const {
    size_t pos = 0;
    size_t step = 1;
    while (step * 2 < t_.size()) step *= 2;
    for (; step > 0; step /= 2) {
      if (pos + step < t_.size() && t_[pos + step] < k) {
        pos += step;
        k -= t_[pos];
      }
    }
    return pos;  // 0-based index
  }

 private:
  std::vector<int> t_;
};

// The order in which the classic exchange sort (for i < j: exchange when
// key(i) > key(j), or < when descending) leaves the records, given one rank per
// record (equal keys, equal ranks). The groups of equal keys come in key order;
// inside the group of key K the order is that of a queue fed by one scan of the
// records: a record of key K joins the back, a record that sorts before K moves
// the front record to the back. Rotations are counted with a Fenwick tree over
// the positions of the records already placed, and each group's queue is rebuilt
// from its insertion points offline.
std::vector<int> ExchangeSortOrder(const std::vector<int>& rank, int groups, bool ascending) {
  const size_t n = rank.size();
  std::vector<std::vector<int>> byRank(groups);
  for (size_t p = 0; p < n; ++p) byRank[rank[p]].push_back(static_cast<int>(p));

  std::vector<int> order;
  order.reserve(n);
  Fenwick placed(n);
  std::vector<int> insertAt, slots;
  for (int gi = 0; gi < groups; ++gi) {
    const std::vector<int>& pos = byRank[ascending ? gi : groups - 1 - gi];
    const size_t m = pos.size();
    if (m == 0) continue;
    // Queue as a list L with head h: queue = L[h..] + L[..h). Appending inserts
    // at h and moves h one on; rotating by r moves h by r.
    insertAt.assign(m, 0);
    size_t h = 0;
    for (size_t t = 0; t < m; ++t) {
      insertAt[t] = static_cast<int>(h);
      const size_t size = t + 1;
      h = h + 1;
      const size_t to = t + 1 < m ? static_cast<size_t>(pos[t + 1]) : n;
      const int before = placed.Range(static_cast<size_t>(pos[t]) + 1, to);
      h = (h + static_cast<size_t>(before) % size) % size;
    }
    // Final list positions: the last insertion keeps its index; earlier ones
    // take the free slot of their index among those left.
    Fenwick freeSlots(m);
    for (size_t i = 0; i < m; ++i) freeSlots.Add(i, 1);
    slots.assign(m, 0);
    for (size_t t = m; t-- > 0;) {
      const size_t s = freeSlots.FindKth(insertAt[t] + 1);
      slots[s] = pos[t];
      freeSlots.Add(s, -1);
    }
    for (size_t k = 0; k < m; ++k) order.push_back(slots[(h + k) % m]);
    for (int p : pos) placed.Add(static_cast<size_t>(p), 1);
  }
  return order;
}

template <typename Key>
int RankKeys(const std::vector<Key>& keys, std::vector<int>& rank) {
  const size_t n = keys.size();
  std::vector<int> idx(n);
  std::iota(idx.begin(), idx.end(), 0);
  std::sort(idx.begin(), idx.end(), [&](int a, int b) { return keys[a] < keys[b]; });
  rank.assign(n, 0);
  int r = -1;
  for (size_t k = 0; k < n; ++k) {
    if (k == 0 || keys[idx[k - 1]] < keys[idx[k]]) ++r;
    rank[idx[k]] = r;
  }
  return r + 1;
}

}  // namespace

bool TQor2::MatchText(const std::string& fieldName, const std::string& op,
                      const std::string& value) const {
  return TestRecord(currentIndex_, FieldIndex(fieldName), op, value);
}

bool TQor2::TestRecord(int index, int fieldNo, const std::string& op,
                       const std::string& value) const {
  const std::string& v = GetCell(fieldNo, index + 1);
  bool known;
  const bool r = Compare(v, op, value, known);
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

void TQor2::ApplyOrder(const std::vector<int>& order) {
  std::vector<TRecord>& items = Records.Items();
  std::vector<TRecord> sorted;
  sorted.reserve(items.size());
  for (int i : order) sorted.push_back(std::move(items[i]));
  items.swap(sorted);
}

bool TQor2::SortText(const std::string& fieldName, bool ascending) {
  const int n = RecordCount();
  const int f = FieldIndex(fieldName);
  if (n < 2 || f == 0) return true;
  std::vector<const std::string*> keys(n);
  for (int i = 0; i < n; ++i) keys[i] = &Records.Get(i)->Get(f - 1);
  struct Ref {
    const std::string* s;
    bool operator<(const Ref& o) const { return *s < *o.s; }
  };
  std::vector<Ref> refs(n);
  for (int i = 0; i < n; ++i) refs[i].s = keys[i];
  std::vector<int> rank;
  const int groups = RankKeys(refs, rank);
  ApplyOrder(ExchangeSortOrder(rank, groups, ascending));
  return true;
}

bool TQor2::SortFloat(const std::string& fieldName, bool ascending) {
  const int n = RecordCount();
  const int f = FieldIndex(fieldName);
  if (n < 2 || f == 0) return true;
  std::vector<Extended> keys(n);
  for (int i = 0; i < n; ++i) keys[i] = ::TextToFloat(Records.Get(i)->Get(f - 1));
  std::vector<int> rank;
  const int groups = RankKeys(keys, rank);
  ApplyOrder(ExchangeSortOrder(rank, groups, ascending));
  return true;
}

bool TQor2::SortByField(const std::string& fieldName, bool ascending) {
  const int f = FieldIndex(fieldName);
  if (f == 0) return false;
  return GetFieldType(f) == "FLOAT" ? SortFloat(fieldName, ascending)
                                    : SortText(fieldName, ascending);
}
