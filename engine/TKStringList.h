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
// copy of a list always owns its values. Get returns a view (TValueView); for
// a table's lists the rule of TQor2.h holds.

#include <cstdint>
#include <string>
#include <vector>

#include "TValueView.h"

class TKStringList {
 public:
  // The values a block holds for all its records, each record `fields` of
  // them: value v of record k is text[starts[k * fields + v] .. starts[k *
  // fields + v + 1]). The block owns it and keeps it in place.
  struct Span {
    const char* text = nullptr;
    const uint32_t* starts = nullptr;
    int fields = 0;
  };

  TKStringList() = default;
  ~TKStringList() { Clear(); }
  TKStringList(const TKStringList& o);
  TKStringList& operator=(const TKStringList& o);
  TKStringList(TKStringList&& o) noexcept { TakeFrom(o); }
  TKStringList& operator=(TKStringList&& o) noexcept;

  int Count() const {
    return kind_ == kOwned ? static_cast<int>(own_->size()) : kind_ == kSpan ? span_->fields : 0;
  }
  TValueView Get(int i) const {
    if (i < 0 || i >= Count()) return {};
    if (kind_ == kOwned) return TValueView((*own_)[static_cast<size_t>(i)]);
    const uint32_t* s = Starts() + i;
    return TValueView(span_->text + s[0], s[1] - s[0]);
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
  bool IsSpan() const { return kind_ == kSpan; }
  // For walks over many records in an order their memory does not follow:
  // asks for the offsets Get(i) reads without waiting for them.
  void PrefetchOffsets(int i) const {
    if (kind_ == kSpan) __builtin_prefetch(Starts() + i);
  }
  // For a span, the bytes of all its values one after another (value i ends
  // where value i + 1 starts); empty for an owned list.
  std::string_view SpanBytes() const {
    if (kind_ != kSpan) return std::string_view();
    const uint32_t* s = Starts();
    return std::string_view(span_->text + s[0], s[span_->fields] - s[0]);
  }

 private:
  friend class TRecordBlock;
  // Record `index` of the block whose values `span` describes.
  TKStringList(const Span* span, uint32_t index) : span_(span), index_(index), kind_(kSpan) {}
  const uint32_t* Starts() const {
    return span_->starts + static_cast<size_t>(index_) * static_cast<size_t>(span_->fields);
  }
  std::vector<std::string>& Own();  // the owned strings, made from a span first
  // Takes o's values, reading only the member of the union that o's kind says
  // is in use; o is left empty. *this must hold nothing.
  void TakeFrom(TKStringList& o) noexcept {
    if (o.kind_ == kOwned) {
      own_ = o.own_;
    } else if (o.kind_ == kSpan) {
      span_ = o.span_;
      index_ = o.index_;
    }
    kind_ = o.kind_;
    o.kind_ = kEmpty;
  }

  // Sixteen bytes a record: a loaded table has one list for each.
  enum Kind : uint32_t { kEmpty, kOwned, kSpan };
  union {
    std::vector<std::string>* own_ = nullptr;  // kOwned: the list's own values
    const Span* span_;                         // kSpan
  };
  uint32_t index_ = 0;  // kSpan: the record in the block
  Kind kind_ = kEmpty;
};
