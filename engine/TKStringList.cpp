#include "TKStringList.h"

#include <cstring>

TKStringList::TKStringList(const TKStringList& o) {
  *this = o;
}

TKStringList& TKStringList::operator=(const TKStringList& o) {
  if (this == &o) return *this;
  // A copy owns its values: a span's block may go before the copy does.
  auto* own = new std::vector<std::string>();
  own->reserve(static_cast<size_t>(o.Count()));
  for (int i = 0; i < o.Count(); ++i) own->emplace_back(o.Get(i));
  Clear();
  own_ = own;
  kind_ = kOwned;
  return *this;
}

TKStringList& TKStringList::operator=(TKStringList&& o) noexcept {
  if (this == &o) return *this;
  Clear();
  TakeFrom(o);
  return *this;
}

std::vector<std::string>& TKStringList::Own() {
  if (kind_ != kOwned) {
    auto* own = new std::vector<std::string>();
    own->reserve(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i) own->emplace_back(Get(i));
    own_ = own;
    kind_ = kOwned;
  }
  return *own_;
}

void TKStringList::Put(int i, const std::string& s) {
  if (i >= 0 && i < Count()) Own()[static_cast<size_t>(i)] = s;
}

void TKStringList::Put(int i, std::string&& s) {
  if (i >= 0 && i < Count()) Own()[static_cast<size_t>(i)] = std::move(s);
}

void TKStringList::Clear() {
  if (kind_ == kOwned) delete own_;
  kind_ = kEmpty;
}

int TKStringList::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (Get(i) == s) return i;
  return -1;
}

void TKStringList::Add(const std::string& s) {
  Own().push_back(s);
}

void TKStringList::Add(std::string&& s) {
  Own().push_back(std::move(s));
}

bool TKStringList::Delete(int i) {
  if (i < 0 || i >= Count()) return false;
  std::vector<std::string>& own = Own();
  own.erase(own.begin() + i);
  return true;
}

void TKStringList::Reserve(int n) {
  if (n > 0) Own().reserve(static_cast<size_t>(n));
}

void TKStringList::Resize(int n) {
  Own().resize(n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<std::string> TKStringList::Items() const {
  std::vector<std::string> items;
  items.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) items.emplace_back(Get(i));
  return items;
}

bool TKStringList::operator==(const TKStringList& o) const {
  const int n = Count();
  if (n != o.Count()) return false;
  if (IsSpan() && o.IsSpan()) {
    // Same lengths value by value and the same bytes make the same values.
    const std::string_view a = SpanBytes(), b = o.SpanBytes();
    if (a.size() != b.size()) return false;
    const uint32_t *sa = Starts(), *sb = o.Starts();
    for (int i = 1; i < n; ++i)
      if (sa[i] - sa[0] != sb[i] - sb[0]) return false;
    return std::memcmp(a.data(), b.data(), a.size()) == 0;
  }
  for (int i = 0; i < n; ++i)
    if (Get(i) != o.Get(i)) return false;
  return true;
}
