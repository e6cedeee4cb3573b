#pragma once
// TRecordBuilder: makes the records of a load or a rebuild, value by value in
// record order, into TRecordBlocks, so that a table of a million records takes
// a handful of allocations instead of one per value.
//
// Every record gets exactly `fields` values: EndRecord makes the missing ones
// empty, and the values given beyond `fields` are dropped. Bytes go to the
// open value by Append; EndValue closes it.
//
// A block holds less than `blockLimit` bytes (4 GB); the records beyond go to
// further blocks. A single record that does not fit in an empty block sets
// Failed, and from then on nothing more is kept. Running out of memory throws
// std::bad_alloc, as the standard containers do; what the builder holds is
// freed with it, exactly once. Finish is its last use.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "LargeMemory.h"
#include "TKBaseList.h"

class TRecordBlock;

class TRecordBuilder {
 public:
  static constexpr size_t kBlockLimit = UINT32_MAX;

  // The hints size the first allocations: the bytes of all values and the
  // number of records, when known; over-estimates are given back by Finish.
  explicit TRecordBuilder(int fields, size_t textHint = 0, size_t recordHint = 0,
                          size_t blockLimit = kBlockLimit);
  ~TRecordBuilder();
  TRecordBuilder(const TRecordBuilder&) = delete;
  TRecordBuilder& operator=(const TRecordBuilder&) = delete;

  void Append(const char* p, size_t n) {
    if (n == 0 || values_ >= fields_) return;
    std::memcpy(Room(n), p, n);
    textSize_ += n;
  }
  void Append(char c) {
    if (values_ >= fields_) return;
    *Room(1) = c;
    ++textSize_;
  }
  // Every value ends at its first zero byte, as a .qor file is read. The cut
  // is made when a block is complete, in one pass over its bytes, and only
  // when they hold a zero byte at all.
  void SetCutAtZero() { cutAtZero_ = true; }

  void EndValue() {
    if (values_ < fields_)
      PushStart(static_cast<uint32_t>(textSize_));
    else
      textSize_ = valueStart_;  // beyond the fields: dropped
    ++values_;
    valueStart_ = textSize_;
  }
  void EndRecord();
  size_t Records() const;  // records closed
  bool Failed() const { return failed_; }

  // Appends the records made to `into`, in order, and answers true; when
  // Failed, appends nothing and answers false. The builder is empty after and
  // takes nothing more. A std::bad_alloc leaves `into` as it was.
  bool Finish(TKBaseList& into);

 private:
  char* Room(size_t n) {
    if (textRoom_ - textSize_ < n) Grow(n);
    return text_.get() + textSize_;
  }
  void Grow(size_t n);
  void PushStart(uint32_t offset) {
    if (startCount_ == startRoom_) GrowStarts();
    starts_.get()[startCount_++] = offset;
  }
  void GrowStarts();
  // Starts a block with room for about `text` bytes and `records` records.
  void OpenBlock(size_t text, size_t records);
  // The first `records` records of the open block become a block of their own.
  void CloseBlock(size_t records, size_t textSize);
  void Spill();  // the open record moves to a new block

  int fields_;
  size_t blockLimit_;
  std::vector<std::unique_ptr<TRecordBlock>> done_;
  // The open block: its bytes and the offset where each value ends.
  TLargePtr<char> text_;
  size_t textSize_ = 0, textRoom_ = 0;
  TLargePtr<uint32_t> starts_;
  size_t startCount_ = 0, startRoom_ = 0;
  size_t valueStart_ = 0;   // where the open value starts
  size_t recordStart_ = 0;  // where the open record starts
  size_t recordsInBlock_ = 0;
  size_t recordsDone_ = 0;
  int values_ = 0;
  bool failed_ = false;
  bool cutAtZero_ = false;
};
