#pragma once
// TKStringList: an ordered list of byte strings with 0-based positions. Holds the
// field names, the field types and the values of one record. Out-of-range reads
// give '' and out-of-range writes are ignored, so callers never need to check.
//
// A list holds its values in one of two ways. Built by Add and Put, it owns
// them as strings. A record of a loaded table is instead a span of a
// TRecordBlock: its values are read in place from the block's bytes, and the
// block, kept alive by whoever holds the record (TRecord), outlives it. A span
// is never written: the table copies a record before writing into it, and a
// copy of a list always owns its values. Get returns a view (TValueView) that
// stays valid until that value is written or the list goes away.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TValueView.h"

class TKStringList {
 public:
  TKStringList() = default;
  TKStringList(const TKStringList& o);
  TKStringList& operator=(const TKStringList& o);
  TKStringList(TKStringList&&) noexcept = default;
  TKStringList& operator=(TKStringList&&) noexcept = default;

  int Count() const { return own_ ? static_cast<int>(own_->size()) : count_; }
  TValueView Get(int i) const {
    if (i < 0 || i >= Count()) return {};
    if (own_) return TValueView((*own_)[static_cast<size_t>(i)]);
    return TValueView(text_ + starts_[i], starts_[i + 1] - starts_[i]);
  }
  void Put(int i, const std::string& s);
  void Put(int i, std::string&& s);
  void Clear();
  int IndexOf(const std::string& s) const;
  void Add(const std::string& s);
  void Add(std::string&& s);
  bool Delete(int i);

  void Reserve(int n);
  void Resize(int n);
  // A copy of the values, in order.
  std::vector<std::string> Items() const;
  bool operator==(const TKStringList& o) const;
  bool operator!=(const TKStringList& o) const { return !(*this == o); }

  // True for a span of a block: the table copies such a record before writing.
  bool IsSpan() const { return !own_ && text_ != nullptr; }
  // For walks over many records in an order their memory does not follow:
  // asks for the offsets Get(i) reads without waiting for them.
  void PrefetchOffsets(int i) const {
    if (!own_ && starts_) __builtin_prefetch(starts_ + i);
  }
  // For a span, the bytes of all its values one after another (value i ends
  // where value i + 1 starts); empty for an owned list.
  std::string_view SpanBytes() const {
    return IsSpan() ? std::string_view(text_ + starts_[0], starts_[count_] - starts_[0])
                    : std::string_view();
  }

 private:
  friend class TRecordBlock;
  // A span over `count` values: value i is text[starts[i] .. starts[i + 1]).
  TKStringList(const char* text, const uint32_t* starts, int count)
      : text_(text), starts_(starts), count_(count) {}
  std::vector<std::string>& Own();  // the owned strings, made from a span first

  std::unique_ptr<std::vector<std::string>> own_;
  const char* text_ = nullptr;
  const uint32_t* starts_ = nullptr;
  int count_ = 0;
};
