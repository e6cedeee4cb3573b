#include "TKBaseList.h"

#include <utility>

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
