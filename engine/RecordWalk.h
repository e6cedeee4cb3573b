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
  uintptr_t lo = UINTPTR_MAX, hi = 0, previous = 0;
  size_t backwards = 0;
  for (const TRecord& r : records) {
    const auto a = reinterpret_cast<uintptr_t>(r.get());
    lo = a < lo ? a : lo;
    hi = a > hi ? a : hi;
    backwards += a < previous;
    previous = a;
  }
  // Records are at least 16 bytes apart: two 16-bit digits of the address
  // over 16 sort them, when they span less than 64 GB.
  constexpr int kDigit = 16;
  if (backwards < n / 8 || ((hi - lo) >> 4) >> (2 * kDigit) != 0 || n > UINT32_MAX) {
    WalkRecords(records, field, visit);
    return;
  }
  auto digit = [lo](const TKStringList* r, int d) {
    return static_cast<size_t>(((reinterpret_cast<uintptr_t>(r) - lo) >> 4) >> (d * kDigit)) &
           ((size_t{1} << kDigit) - 1);
  };
  // A two-pass radix sort of the record indexes by address.
  TLargeVector<uint32_t> order(n), pass(n);
  TLargeVector<const TKStringList*> at(n);
  std::vector<size_t> count((size_t{1} << kDigit) + 1);
  for (const TRecord& r : records) ++count[digit(r.get(), 0) + 1];
  for (size_t b = 1; b < count.size(); ++b) count[b] += count[b - 1];
  for (size_t i = 0; i < n; ++i)
    pass[count[digit(records[i].get(), 0)]++] = static_cast<uint32_t>(i);
  std::fill(count.begin(), count.end(), 0);
  for (const TRecord& r : records) ++count[digit(r.get(), 1) + 1];
  for (size_t b = 1; b < count.size(); ++b) count[b] += count[b - 1];
  for (const uint32_t i : pass) {
    const size_t k = count[digit(records[i].get(), 1)]++;
    order[k] = i;
    at[k] = records[i].get();
  }
  constexpr size_t kAhead = 8;
  for (size_t k = 0; k < n; ++k) {
    if (k + kAhead < n) __builtin_prefetch(at[k + kAhead]->Get(field).data());
    visit(order[k], *at[k]);
  }
}
