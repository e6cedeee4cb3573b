#include "LargeMemory.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// Below this the advice is not worth a system call.
constexpr size_t kAdviseFrom = 2 * kHugePage;

}  // namespace

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
  void* p = std::malloc(bytes ? bytes : 1);
  AdviseHugePages(p, bytes);
  return p;
}

void* LargeRealloc(void* p, size_t bytes) {
  void* q = std::realloc(p, bytes ? bytes : 1);
  AdviseHugePages(q, bytes);
  return q;
}
