#pragma once
// The order in which the classic exchange sort leaves records (for every pair
// i < j, exchange when key(i) > key(j), or < when descending), computed from
// keys read once into one array, in linear time for keys that are all
// different and in O(n log n) for groups of equal keys, plus a count over
// blocks of the table (n / 65,536 of them) for each record of such a group.
//
// Each record has one TSortKey: an 80-bit unsigned number (`high` holds the
// upper 16 bits) that orders the keys, and, for keys the number cannot tell
// apart, a three-way comparison of two records (`tie`; may be empty when equal
// numbers mean equal keys).

#include <cstdint>
#include <functional>

#include "LargeMemory.h"

struct TSortKey {
  uint64_t low;
  uint32_t index;  // the record, 0-based
  uint32_t high;   // 16 bits used
};

using TTieCompare = std::function<int(uint32_t a, uint32_t b)>;

// `keys` come in any order, each record once, and are reordered in place;
// they cost least in record order (keys[i].index == i). Answers the record indexes in their final order.
TLargeVector<int> ExchangeOrder(TLargeVector<TSortKey>& keys, bool ascending,
                                const TTieCompare& tie);
