#pragma once
// Large arrays of the engine (a loaded table's bytes, the keys of a sort) ask
// the system for huge pages where it grants them on request: touching fresh
// memory a small page at a time costs more than reading the file that fills
// it. Nothing else changes: the memory is the allocator's as usual.
//
// They are also where a load, an import or a sort asks for most of its
// memory, and so where tests make memory run out (TAllocationLimit): the
// engine answers a lack of memory with its OutOfMemory status, never by
// ending the program.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

// Marks the whole 2 MB pages inside [p, p + bytes) for huge pages; nothing for
// smaller ranges or where the system does not take the advice.
void AdviseHugePages(const void* p, size_t bytes);

// std::malloc and std::realloc that advise huge pages for large blocks; null
// when there is no memory (LargeRealloc then leaves p as it was).
void* LargeAlloc(size_t bytes);
void* LargeRealloc(void* p, size_t bytes);

// Memory from LargeAlloc, freed with std::free when its owner goes.
struct TLargeFree {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using TLargePtr = std::unique_ptr<T, TLargeFree>;

// The seam through which tests run out of memory: while one lives, LargeAlloc
// and LargeRealloc succeed `allocations` more times, for `bytes` more bytes in
// all, and then answer null as a machine without memory does. Limits nest;
// the innermost holds. Single-threaded, as the engine is.
class TAllocationLimit {
 public:
  explicit TAllocationLimit(size_t allocations, size_t bytes = SIZE_MAX);
  ~TAllocationLimit();
  TAllocationLimit(const TAllocationLimit&) = delete;
  TAllocationLimit& operator=(const TAllocationLimit&) = delete;

 private:
  TAllocationLimit* outer_;
  size_t allocations_, bytes_;
  friend bool AllocationAllowed(size_t bytes);
};

// A std::allocator for large temporary arrays (TLargeVector).
template <typename T>
struct TLargeAllocator {
  using value_type = T;
  TLargeAllocator() = default;
  template <typename U>
  TLargeAllocator(const TLargeAllocator<U>&) {}
  T* allocate(size_t n) {
    void* p = LargeAlloc(n * sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t) { std::free(p); }
  template <typename U>
  bool operator==(const TLargeAllocator<U>&) const {
    return true;
  }
  template <typename U>
  bool operator!=(const TLargeAllocator<U>&) const {
    return false;
  }
};

template <typename T>
using TLargeVector = std::vector<T, TLargeAllocator<T>>;
