#pragma once
// TRecordBlock: the values of many records, all with the same number of
// values, in three allocations: the bytes of every value one after another,
// the offset where each value starts in them (4 bytes a value, so a block holds
// less than 4 GB of bytes), and the records, TKStringList spans that read them
// in place (sixteen bytes each). Built and handed out by TRecordBuilder; each
// record handed out (TRecord) shares the ownership of the whole block, which
// goes with the last. The block owns its bytes and offsets from the moment it
// is given them: a constructor that fails for want of memory frees them.
//
// Byte layout: value v of record k is
//   text[starts[k * fields + v] .. starts[k * fields + v + 1])
// and starts has records * fields + 1 entries.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "LargeMemory.h"
#include "TKStringList.h"

class TRecordBlock {
 public:
  ~TRecordBlock();
  TRecordBlock(const TRecordBlock&) = delete;
  TRecordBlock& operator=(const TRecordBlock&) = delete;

  int Fields() const { return span_.fields; }
  size_t RecordCount() const { return records_.size(); }
  const TKStringList& Record(size_t k) const { return records_[k]; }

 private:
  friend class TRecordBuilder;
  // Takes the bytes and offsets (LargeAlloc'd) of `records` records and makes
  // the records; gives back unused room.
  TRecordBlock(int fields, TLargePtr<char> text, size_t textSize, TLargePtr<uint32_t> starts,
               size_t records);

  TLargePtr<char> text_;
  TLargePtr<uint32_t> starts_;
  TKStringList::Span span_;  // what the records read
  TLargeVector<TKStringList> records_;
};
