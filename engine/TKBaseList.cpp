#include "TKBaseList.h"

#include <utility>

#include "LargeMemory.h"

const TKStringList* TKBaseList::Get(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return items_[i].get();
}

TRecord TKBaseList::GetShared(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return items_[i];
}

bool TKBaseList::Delete(int i) {
  if (i < 0 || i >= Count()) return false;
  items_.erase(items_.begin() + i);
  return true;
}

bool TKBaseList::Exchange(int i, int j) {
  if (i < 0 || i >= Count() || j < 0 || j >= Count()) return false;
  std::swap(items_[i], items_[j]);
  return true;
}

void TKBaseList::Reserve(int n) {
  if (n <= 0 || static_cast<size_t>(n) <= items_.capacity()) return;
  items_.reserve(static_cast<size_t>(n));
  AdviseHugePages(items_.data(), items_.capacity() * sizeof(TRecord));
}
