#pragma once
// A walk over the records of a table in table order. After a sort that order
// no longer follows the records' memory, and each record costs a chain of
// cache misses (the record, the offsets of its values, their bytes). The walk
// asks for the next records' memory a few steps ahead, so that those misses
// overlap instead of following one another.

#include <cstdint>
#include <vector>

#include "LargeMemory.h"
#include "TKBaseList.h"

// The walk in memory order numbers the records of a block by their distance
// over 16 and finds them again at lo + 16 * slot: a record, side by side with
// the others of its block, must take exactly sixteen bytes.
static_assert(sizeof(TKStringList) == 16, "the records of a block lie sixteen bytes apart");

// Calls visit(i, record) for every record, in order. `field` (0-based) is the
// value whose bytes are fetched ahead; the first one for a whole record.
template <typename Visit>
void WalkRecords(const std::vector<TRecord>& records, int field, Visit visit) {
  // Three steps, each waiting for nothing: the record, then the offsets it
  // names, then the bytes they name.
  constexpr size_t kAhead = 8;
  const size_t n = records.size();
  for (size_t i = 0; i < n; ++i) {
    if (i + 3 * kAhead < n) __builtin_prefetch(records[i + 3 * kAhead].get());
    if (i + 2 * kAhead < n) records[i + 2 * kAhead]->PrefetchOffsets(field);
    if (i + kAhead < n) __builtin_prefetch(records[i + kAhead]->Get(field).data());
    visit(i, *records[i]);
  }
}

// Calls visit(i, record) once for every record, in no given order: in the
// order of the records' memory when a sort has scattered them, so that the
// walk reads memory forward, as it does over a table just loaded, instead of
// waiting for a cache miss per record (at a million records the table is many
// times the cache). For work whose result does not depend on the order.
template <typename Visit>
void WalkRecordsInMemoryOrder(const std::vector<TRecord>& records, int field, Visit visit) {
  const size_t n = records.size();
  uintptr_t lo = UINTPTR_MAX, hi = 0, previous = 0, lowBits = 0;
  size_t backwards = 0;
  for (const TRecord& r : records) {
    const auto a = reinterpret_cast<uintptr_t>(r.get());
    lo = a < lo ? a : lo;
    hi = a > hi ? a : hi;
    backwards += a < previous;
    previous = a;
    lowBits |= a ^ reinterpret_cast<uintptr_t>(records.front().get());
  }
  // Records are at least 16 bytes apart: their distance to the lowest over
  // 16 numbers them, when they span less than 64 GB.
  const uintptr_t span = (hi - lo) >> 4;
  if (backwards < n / 8 || span >> 32 != 0 || n > UINT32_MAX) {
    WalkRecords(records, field, visit);
    return;
  }
  auto slotOf = [lo](const TKStringList* r) {
    return static_cast<uint32_t>((reinterpret_cast<uintptr_t>(r) - lo) >> 4);
  };
  constexpr size_t kAhead = 8;
  constexpr uint32_t kNone = UINT32_MAX;
  if (span < 4 * n && (lowBits & 15) == 0) {
    // Records side by side, as a loaded table has them: one slot each, the
    // record at lo + 16 * slot.
    TLargeVector<uint32_t> at(span + 1, kNone);
    for (size_t i = 0; i < n; ++i) {
      uint32_t& slot = at[slotOf(records[i].get())];
      if (slot != kNone) {  // a record listed twice: walk in table order
        WalkRecords(records, field, visit);
        return;
      }
      slot = static_cast<uint32_t>(i);
    }
    auto record = [lo](size_t slot) { return reinterpret_cast<const TKStringList*>(lo + 16 * slot); };
    for (size_t s = 0; s <= span; ++s) {
      if (s + kAhead <= span && at[s + kAhead] != kNone)
        __builtin_prefetch(record(s + kAhead)->Get(field).data());
      if (at[s] != kNone) visit(at[s], *record(s));
    }
    return;
  }
  // Elsewhere a two-pass radix sort of (slot, index) pairs by slot.
  int bits = 1;
  while (bits < 32 && span >> bits) ++bits;
  const int low = bits / 2, highBits = bits - low;
  TLargeVector<uint64_t> pairs(n), pass(n);
  std::vector<size_t> count((size_t{1} << highBits) + 1);
  std::fill(count.begin(), count.begin() + (size_t{1} << low) + 1, 0);
  for (size_t i = 0; i < n; ++i) {
    pairs[i] = (uint64_t{slotOf(records[i].get())} << 32) | i;
    ++count[((pairs[i] >> 32) & ((uint64_t{1} << low) - 1)) + 1];
  }
  for (size_t b = 1; b <= (size_t{1} << low); ++b) count[b] += count[b - 1];
  for (const uint64_t p : pairs) pass[count[(p >> 32) & ((uint64_t{1} << low) - 1)]++] = p;
  std::fill(count.begin(), count.end(), 0);
  for (const uint64_t p : pass) ++count[(p >> (32 + low)) + 1];
  for (size_t b = 1; b < count.size(); ++b) count[b] += count[b - 1];
  for (const uint64_t p : pass) pairs[count[p >> (32 + low)]++] = p;
  const bool aligned = (lowBits & 15) == 0;
  auto record = [&](uint64_t p) {
    return aligned ? reinterpret_cast<const TKStringList*>(lo + 16 * (p >> 32))
                   : records[static_cast<uint32_t>(p)].get();
  };
  for (size_t k = 0; k < n; ++k) {
    if (k + kAhead < n) __builtin_prefetch(record(pairs[k + kAhead])->Get(field).data());
    visit(static_cast<uint32_t>(pairs[k]), *record(pairs[k]));
  }
}
