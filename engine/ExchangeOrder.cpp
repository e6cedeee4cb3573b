#include "ExchangeOrder.h"

#include <algorithm>
#include <type_traits>
#include <vector>

namespace {

// Set bits of a word. The compiler's own may call a library routine on
// processors it cannot assume to count bits.
inline uint32_t Ones(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ULL);
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<uint32_t>((x * 0x0101010101010101ULL) >> 56);
}

// Fenwick tree of counts.
class Fenwick {
 public:
  // Every position of [0, n) counted once.
  void ResetAllOnes(size_t n) {
    t_.resize(n + 1);
    t_[0] = 0;
    for (size_t i = 1; i <= n; ++i) t_[i] = static_cast<int>(i & (~i + 1));
  }
  void Add(size_t i, int d) {
    for (++i; i < t_.size(); i += i & (~i + 1)) t_[i] += d;
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

// The positions already placed: one bit each, with counts per block of 1,024
// positions and per run of 64 blocks. Placing costs three increments; a count
// of the positions before p adds a few dozen counts that sit side by side.
class PlacedSet {
 public:
  explicit PlacedSet(size_t n)
      : bits_((n >> 6) + 1, 0), blocks_((n >> kBlock) + 1, 0), runs_((n >> kRun) + 1, 0) {}
  void Add(size_t p) {
    bits_[p >> 6] |= uint64_t{1} << (p & 63);
    ++blocks_[p >> kBlock];
    ++runs_[p >> kRun];
  }
  // Placed positions in [0, p).
  uint32_t Before(size_t p) const {
    uint32_t s = 0;
    for (size_t r = 0, e = p >> kRun; r < e; ++r) s += runs_[r];
    for (size_t b = (p >> kRun) << (kRun - kBlock), e = p >> kBlock; b < e; ++b) s += blocks_[b];
    for (size_t w = (p >> kBlock) << (kBlock - 6), e = p >> 6; w < e; ++w)
      s += Ones(bits_[w]);
    return s + Ones(bits_[p >> 6] & Below(p));
  }
  // Placed positions in [a, b), a <= b; near ones counted bit by bit.
  uint32_t Range(size_t a, size_t b) const {
    const size_t wa = a >> 6, wb = b >> 6;
    if (wb - wa > 16) return Before(b) - Before(a);
    if (wa == wb) return Ones(bits_[wa] & ~Below(a) & Below(b));
    uint32_t s = Ones(bits_[wa] & ~Below(a));
    for (size_t w = wa + 1; w < wb; ++w) s += Ones(bits_[w]);
    return s + Ones(bits_[wb] & Below(b));
  }

 private:
  static uint64_t Below(size_t p) { return (uint64_t{1} << (p & 63)) - 1; }
  static constexpr int kBlock = 10, kRun = 16;
  std::vector<uint64_t> bits_;
  std::vector<uint32_t> blocks_, runs_;
};

// The parts of a key a radix digit is taken from.
enum TPart { kIndex, kLow, kHigh };

template <TPart part>
uint64_t PartOf(const TSortKey& k) {
  return part == kIndex ? k.index : part == kLow ? k.low : k.high;
}

// LSD radix sort on the 80-bit numbers, at most 11 bits at a time; a digit
// that all keys share costs no pass. Stable; keys that do not come in record
// order are first put in it by the digits of their index, so that equal
// numbers end in record order.
void RadixSort(TLargeVector<TSortKey>& keys) {
  constexpr uint32_t kBuckets = 2048;
  struct Digit {
    TPart part;
    int shift;
    uint32_t mask;
  };
  std::vector<Digit> digits;
  const size_t n = keys.size();
  bool inOrder = true;
  for (size_t i = 0; inOrder && i < n; ++i) inOrder = keys[i].index == i;
  if (!inOrder) {
    int bits = 1;
    while (bits < 32 && (n - 1) >> bits) ++bits;
    const int passes = (bits + 10) / 11;
    for (int d = 0; d < passes; ++d) {
      const int from = bits * d / passes, to = bits * (d + 1) / passes;
      digits.push_back({kIndex, from, (1u << (to - from)) - 1});
    }
  }
  for (int d = 0; d < 6; ++d) digits.push_back({kLow, 11 * d, kBuckets - 1});  // the last: 9 bits
  digits.push_back({kHigh, 0, 0xFF});
  digits.push_back({kHigh, 8, 0xFF});

  // All digits counted in one pass: those of the index first, then six of
  // `low` and two of `high`.
  const size_t ofIndex = digits.size() - 8;
  std::vector<uint32_t> counts(digits.size() * kBuckets, 0);
  uint32_t* const lowCounts = counts.data() + ofIndex * kBuckets;
  for (const TSortKey& k : keys) {
    for (size_t d = 0; d < ofIndex; ++d)
      ++counts[d * kBuckets + ((k.index >> digits[d].shift) & digits[d].mask)];
    for (int d = 0; d < 6; ++d) ++lowCounts[d * kBuckets + ((k.low >> (11 * d)) & (kBuckets - 1))];
    ++lowCounts[6 * kBuckets + (k.high & 0xFF)];
    ++lowCounts[7 * kBuckets + ((k.high >> 8) & 0xFF)];
  }

  TLargeVector<TSortKey> other;
  for (size_t d = 0; d < digits.size(); ++d) {
    uint32_t* c = counts.data() + d * kBuckets;
    if (std::count(c, c + kBuckets, 0u) >= kBuckets - 1) continue;  // one value
    uint32_t sum = 0;
    for (uint32_t b = 0; b < kBuckets; ++b) {
      const uint32_t m = c[b];
      c[b] = sum;
      sum += m;
    }
    if (other.size() != n) other.resize(n);
    const int shift = digits[d].shift;
    const uint32_t mask = digits[d].mask;
    auto scatter = [&](auto part) {
      for (const TSortKey& k : keys) other[c[(PartOf<decltype(part)::value>(k) >> shift) & mask]++] = k;
    };
    if (digits[d].part == kIndex)
      scatter(std::integral_constant<TPart, kIndex>());
    else if (digits[d].part == kLow)
      scatter(std::integral_constant<TPart, kLow>());
    else
      scatter(std::integral_constant<TPart, kHigh>());
    keys.swap(other);
  }
}

bool SameNumber(const TSortKey& a, const TSortKey& b) {
  return a.low == b.low && a.high == b.high;
}

// The queue of a group, played: records join a ring of the group's size and
// each turn moves the nearer end, front records to the back or back records
// to the front. For groups whose turns are short.
void TurnQueue(const std::vector<int>& pos, const std::vector<uint32_t>& turns,
               TLargeVector<int>& order) {
  const size_t m = pos.size();
  std::vector<int> ring(m);
  size_t head = 0, size = 0;
  auto next = [m](size_t i) { return i + 1 == m ? 0 : i + 1; };
  auto previous = [m](size_t i) { return i == 0 ? m - 1 : i - 1; };
  for (size_t t = 0; t < m; ++t) {
    size_t back = head + size >= m ? head + size - m : head + size;
    ring[back] = pos[t];
    ++size;
    const uint32_t r = turns[t];
    if (r == 0) continue;
    if (size == m) {
      head = head + r >= m ? head + r - m : head + r;
    } else if (r <= size - r) {
      back = next(back);
      for (uint32_t i = 0; i < r; ++i, head = next(head), back = next(back)) ring[back] = ring[head];
    } else {
      size_t last = back;
      for (uint32_t i = 0; i < size - r; ++i) {
        head = previous(head);
        ring[head] = ring[last];
        last = previous(last);
      }
    }
  }
  for (size_t k = 0; k < m; ++k, head = next(head)) order.push_back(ring[head]);
}

// The same queue rebuilt offline, for groups whose turns are long: as a list
// L with head h (queue = L[h..] + L[..h)), a record joining inserts at h and
// moves h one on, a turn by r moves h by r. The last insertion keeps its
// index; earlier ones take the free slot of their index among those left.
void RebuildQueue(const std::vector<int>& pos, const std::vector<uint32_t>& turns,
                  TLargeVector<int>& order) {
  const size_t m = pos.size();
  std::vector<uint32_t> insertAt(m);
  uint32_t h = 0;
  for (size_t t = 0; t < m; ++t) {
    insertAt[t] = h;
    const auto size = static_cast<uint32_t>(t + 1);
    h = h + 1 == size ? 0 : h + 1;
    h = h + turns[t] >= size ? h + turns[t] - size : h + turns[t];
  }
  Fenwick freeSlots;
  freeSlots.ResetAllOnes(m);
  std::vector<int> slots(m);
  for (size_t t = m; t-- > 0;) {
    const size_t s = freeSlots.FindKth(static_cast<int>(insertAt[t]) + 1);
    slots[s] = pos[t];
    freeSlots.Add(s, -1);
  }
  order.insert(order.end(), slots.begin() + h, slots.end());
  order.insert(order.end(), slots.begin(), slots.begin() + h);
}

}  // namespace

// The groups of equal keys come in key order; inside the group of key K the
// order is that of a queue fed by one scan of the records: a record of key K
// joins the back, a record that sorts before K moves the front record to the
// back. Rotations are counted over the positions of the records already
// placed; each group's queue is then played, or rebuilt offline when its
// turns are long.
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
  std::vector<int> pos;
  std::vector<uint32_t> turns;
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
    // How far the queue turns after each record of the group joins it: once
    // per record placed before the next one, modulo the queue's length.
    turns.resize(m);
    size_t moves = 0;
    for (size_t t = 0; t < m; ++t) {
      const auto size = static_cast<uint32_t>(t + 1);
      const size_t to = t + 1 < m ? static_cast<size_t>(pos[t + 1]) : n;
      uint32_t r = placed.Range(static_cast<size_t>(pos[t]) + 1, to);
      if (r >= size) r %= size;
      turns[t] = r;
      moves += std::min(r, size - r);
    }
    if (moves <= 32 * m)
      TurnQueue(pos, turns, order);
    else
      RebuildQueue(pos, turns, order);
    if (later)
      for (size_t k = 0; k < m; ++k) placed.Add(static_cast<size_t>(pos[k]));
  }
  return order;
}
