#include "TKStringList.h"

namespace {
const std::string kEmpty;
}

const std::string& TKStringList::Get(int i) const {
  if (i < 0 || i >= Count()) return kEmpty;
  return items_[i];
}

void TKStringList::Put(int i, const std::string& s) {
  if (i >= 0 && i < Count()) items_[i] = s;
}

void TKStringList::Put(int i, std::string&& s) {
  if (i >= 0 && i < Count()) items_[i] = std::move(s);
}

int TKStringList::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i] == s) return i;
  return -1;
}

bool TKStringList::Delete(int i) {
  if (i < 0 || i >= Count()) return false;
  items_.erase(items_.begin() + i);
  return true;
}
