#include "LargeMemory.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// Below this the advice is not worth a system call.
constexpr size_t kAdviseFrom = 2 * kHugePage;

TAllocationLimit* limit = nullptr;

}  // namespace

TAllocationLimit::TAllocationLimit(size_t allocations, size_t bytes)
    : outer_(limit), allocations_(allocations), bytes_(bytes) {
  limit = this;
}

TAllocationLimit::~TAllocationLimit() {
  limit = outer_;
}

// Takes `bytes` from the innermost limit, if any; false when it has run out.
bool AllocationAllowed(size_t bytes) {
  if (!limit) return true;
  if (limit->allocations_ == 0 || bytes > limit->bytes_) {
    limit->allocations_ = 0;
    return false;
  }
  --limit->allocations_;
  limit->bytes_ -= bytes;
  return true;
}

void AdviseHugePages(const void* p, size_t bytes) {
#ifdef MADV_HUGEPAGE
  if (!p || bytes < kAdviseFrom) return;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kHugePage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)p;
  (void)bytes;
#endif
}

void* LargeAlloc(size_t bytes) {
  if (!AllocationAllowed(bytes)) return nullptr;
  void* p = std::malloc(bytes ? bytes : 1);
  AdviseHugePages(p, bytes);
  return p;
}

void* LargeRealloc(void* p, size_t bytes) {
  if (!AllocationAllowed(bytes)) return nullptr;
  void* q = std::realloc(p, bytes ? bytes : 1);
  AdviseHugePages(q, bytes);
  return q;
}
