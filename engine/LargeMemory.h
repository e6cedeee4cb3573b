#pragma once
// Large arrays of the engine (a loaded table's bytes, the keys of a sort) ask
// the system for huge pages where it grants them on request: touching fresh
// memory a small page at a time costs more than reading the file that fills
// it. Nothing else changes: the memory is the allocator's as usual.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <vector>

// Marks the whole 2 MB pages inside [p, p + bytes) for huge pages; nothing for
// smaller ranges or where the system does not take the advice.
void AdviseHugePages(const void* p, size_t bytes);

// std::malloc and std::realloc that advise huge pages for large blocks; null
// when there is no memory.
void* LargeAlloc(size_t bytes);
void* LargeRealloc(void* p, size_t bytes);

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
