#include "ExchangeOrder.h"

#include <algorithm>
#include <vector>

namespace {

// Fenwick tree of counts.
class Fenwick {
 public:
  void Reset(size_t n) { t_.assign(n + 1, 0); }
  // Every position of [0, n) counted once.
  void ResetAllOnes(size_t n) {
    t_.resize(n + 1);
    t_[0] = 0;
    for (size_t i = 1; i <= n; ++i) t_[i] = static_cast<int>(i & (~i + 1));
  }
  void Add(size_t i, int d) {
    for (++i; i < t_.size(); i += i & (~i + 1)) t_[i] += d;
  }
  // Sum over [0, i).
  int Prefix(size_t i) const {
    int s = 0;
    for (; i > 0; i -= i & (~i + 1)) s += t_[i];
    return s;
  }
  // Smallest index whose prefix sum including it reaches k (k >= 1).
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
    return pos;
  }

 private:
  std::vector<int> t_;
};

// The positions already placed: one bit each, and a Fenwick tree over the
// 64-bit words, small enough to stay in the cache.
class PlacedSet {
 public:
  explicit PlacedSet(size_t n) : bits_((n + 63) / 64 + 1, 0) { words_.Reset(bits_.size()); }
  void Add(size_t p) {
    bits_[p >> 6] |= uint64_t{1} << (p & 63);
    words_.Add(p >> 6, 1);
  }
  // Placed positions in [0, p).
  int Before(size_t p) const {
    const uint64_t below = bits_[p >> 6] & ((uint64_t{1} << (p & 63)) - 1);
    return words_.Prefix(p >> 6) + __builtin_popcountll(below);
  }
  int Range(size_t from, size_t to) const { return to > from ? Before(to) - Before(from) : 0; }

 private:
  std::vector<uint64_t> bits_;
  Fenwick words_;
};

// LSD radix sort on the 80-bit numbers, 11 bits at a time; a digit that all
// keys share costs no pass. Stable, so equal numbers keep record order.
void RadixSort(TLargeVector<TSortKey>& keys) {
  constexpr int kDigits = 8;
  constexpr int kBuckets = 2048;
  // Digits 0 to 5 from `low` (the last has 9 bits), 6 and 7 from `high`.
  auto digit = [](const TSortKey& k, int d) -> uint32_t {
    return d < 6 ? static_cast<uint32_t>((k.low >> (11 * d)) & (kBuckets - 1))
                 : (k.high >> (8 * (d - 6))) & 0xFF;
  };
  std::vector<uint32_t> counts(static_cast<size_t>(kDigits) * kBuckets, 0);
  for (const TSortKey& k : keys)
    for (int d = 0; d < kDigits; ++d) ++counts[static_cast<size_t>(d) * kBuckets + digit(k, d)];
  TLargeVector<TSortKey> other;
  for (int d = 0; d < kDigits; ++d) {
    uint32_t* c = counts.data() + static_cast<size_t>(d) * kBuckets;
    if (std::count(c, c + kBuckets, 0u) >= kBuckets - 1) continue;  // one value
    uint32_t sum = 0;
    for (int b = 0; b < kBuckets; ++b) {
      const uint32_t n = c[b];
      c[b] = sum;
      sum += n;
    }
    if (other.size() != keys.size()) other.resize(keys.size());
    for (const TSortKey& k : keys) other[c[digit(k, d)]++] = k;
    keys.swap(other);
  }
}

bool SameNumber(const TSortKey& a, const TSortKey& b) {
  return a.low == b.low && a.high == b.high;
}

}  // namespace

// The groups of equal keys come in key order; inside the group of key K the
// order is that of a queue fed by one scan of the records: a record of key K
// joins the back, a record that sorts before K moves the front record to the
// back. Rotations are counted over the positions of the records already
// placed, and each group's queue is rebuilt from its insertion points offline.
// A key of its own needs none of that.
TLargeVector<int> ExchangeOrder(TLargeVector<TSortKey>& keys, bool ascending,
                                const TTieCompare& tie) {
  const size_t n = keys.size();
  RadixSort(keys);

  // Equal numbers that are not equal keys: order them, keeping record order
  // among equal keys. Runs of one key (the usual case) are left as they are.
  std::vector<char> newGroup(n + 1, 1);
  for (size_t b = 0; b < n;) {
    size_t e = b + 1;
    while (e < n && SameNumber(keys[b], keys[e])) ++e;
    if (e - b > 1 && tie) {
      bool allEqual = true;
      for (size_t k = b + 1; allEqual && k < e; ++k)
        allEqual = tie(keys[b].index, keys[k].index) == 0;
      if (!allEqual)
        std::stable_sort(
            keys.begin() + b, keys.begin() + e,
            [&](const TSortKey& x, const TSortKey& y) { return tie(x.index, y.index) < 0; });
      for (size_t k = b + 1; k < e; ++k)
        newGroup[k] = allEqual ? 0 : tie(keys[k - 1].index, keys[k].index) != 0;
    } else {
      for (size_t k = b + 1; k < e; ++k) newGroup[k] = 0;
    }
    b = e;
  }

  // The groups are the runs between group starts, taken from the smallest
  // key or from the largest. Positions only matter to a group of more than
  // one record coming later.
  size_t firstShared = n, lastShared = 0;  // starts of the first and last such group
  for (size_t b = 0; b < n;) {
    size_t e = b + 1;
    while (!newGroup[e]) ++e;
    if (e - b > 1) {
      firstShared = std::min(firstShared, b);
      lastShared = b;
    }
    b = e;
  }

  TLargeVector<int> order;
  order.reserve(n);
  PlacedSet placed(n);
  Fenwick freeSlots;
  std::vector<int> pos, insertAt, slots;
  size_t b = ascending ? 0 : n, e = b;
  while (ascending ? b < n : e > 0) {
    if (ascending) {
      e = b + 1;
      while (!newGroup[e]) ++e;
    } else {
      b = e - 1;
      while (!newGroup[b]) --b;
    }
    const size_t m = e - b;
    const TSortKey* run = keys.data() + b;
    const bool later = ascending ? b < lastShared : b > firstShared;
    if (ascending)
      b = e;
    else
      e = b;
    if (m == 1) {
      order.push_back(static_cast<int>(run[0].index));
      if (later) placed.Add(run[0].index);
      continue;
    }
    pos.resize(m);
    for (size_t t = 0; t < m; ++t) pos[t] = static_cast<int>(run[t].index);
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
    freeSlots.ResetAllOnes(m);
    slots.assign(m, 0);
    for (size_t t = m; t-- > 0;) {
      const size_t s = freeSlots.FindKth(insertAt[t] + 1);
      slots[s] = pos[t];
      freeSlots.Add(s, -1);
    }
    for (size_t k = 0; k < m; ++k) order.push_back(slots[(h + k) % m]);
    if (later)
      for (size_t k = 0; k < m; ++k) placed.Add(static_cast<size_t>(pos[k]));
  }
  return order;
}
