#pragma once
// TKBaseList: the records of a table in table order, 0-based. A record is a
// TKStringList held through a shared pointer so that two tables (the document's
// table and its undo snapshot) can share the records neither has changed.
//
// Records are handed out only as pointers to const: nothing outside the table
// can write into a record that may be shared. The table writes through
// TQor2::WritableRecord, which first gives a shared record a copy of its own
// (copy on write), so a shared snapshot behaves exactly as a full copy.
//
// The records of a loaded table live in TRecordBlocks: each such TRecord shares
// the ownership of its whole block (the aliasing form of shared_ptr), so its
// use_count counts the holders of the block, not of the record.

#include <memory>
#include <vector>

#include "TKStringList.h"

using TRecord = std::shared_ptr<const TKStringList>;

class TKBaseList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Both nullptr out of range.
  const TKStringList* Get(int i) const;
  TRecord GetShared(int i) const;
  void Clear() { items_.clear(); }
  void Add(TRecord r) { items_.push_back(std::move(r)); }
  bool Delete(int i);
  bool Exchange(int i, int j);

  void Reserve(int n);
  std::vector<TRecord>& Items() { return items_; }
  const std::vector<TRecord>& Items() const { return items_; }

 private:
  std::vector<TRecord> items_;
};
