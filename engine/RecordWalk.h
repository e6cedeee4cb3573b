#pragma once
// A walk over the records of a table in table order. After a sort that order
// no longer follows the records' memory, and each record costs a chain of
// cache misses (the record, the offsets of its values, their bytes). The walk
// asks for the next records' memory a few steps ahead, so that those misses
// overlap instead of following one another.

#include <vector>

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
