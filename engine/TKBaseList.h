#pragma once
// TKBaseList: the records of a table in table order, 0-based. A record is a
// TKStringList held through a shared pointer so that two tables (the document's
// table and its undo snapshot) can share the records neither has changed; the
// table detaches a shared record before writing into it (copy on write), which
// makes a shared snapshot behave exactly as a full copy.

#include <memory>
#include <vector>

#include "TKStringList.h"

using TRecord = std::shared_ptr<TKStringList>;

class TKBaseList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // nullptr out of range. Read-only: records may be shared with another table,
  // so writes go through TQor2, which detaches them first.
  const TKStringList* Get(int i) const;
  const TRecord& GetShared(int i) const { return items_[i]; }
  void Clear() { items_.clear(); }
  void Add(TRecord r) { items_.push_back(std::move(r)); }
  bool Delete(int i);
  bool Exchange(int i, int j);

  void Reserve(int n) { items_.reserve(n); }
  std::vector<TRecord>& Items() { return items_; }
  const std::vector<TRecord>& Items() const { return items_; }

 private:
  std::vector<TRecord> items_;
};
