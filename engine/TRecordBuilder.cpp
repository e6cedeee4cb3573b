#include "TRecordBuilder.h"

#include <algorithm>
#include <new>
#include <string>

#include "LargeMemory.h"
#include "TRecordBlock.h"

namespace {

template <typename T>
T* Resized(T* p, size_t count) {
  void* q = LargeRealloc(p, std::max<size_t>(count, 1) * sizeof(T));
  if (!q) throw std::bad_alloc();
  return static_cast<T*>(q);
}

// The length of [p, p + n) up to its first zero byte.
size_t UpToZero(const char* p, size_t n) {
  const void* zero = n ? std::memchr(p, 0, n) : nullptr;
  return zero ? static_cast<size_t>(static_cast<const char*>(zero) - p) : n;
}

}  // namespace

TRecordBlock::TRecordBlock(int fields, char* text, size_t textSize, uint32_t* starts,
                           size_t records) {
  // Exact sizes: shrinking a large block gives its pages back without a copy.
  text_ = Resized(text, textSize);
  starts_ = Resized(starts, records * static_cast<size_t>(fields) + 1);
  span_.text = text_;
  span_.starts = starts_;
  span_.fields = fields;
  records_.reserve(records);
  AdviseHugePages(records_.data(), records * sizeof(TKStringList));
  for (size_t k = 0; k < records; ++k)
    records_.push_back(TKStringList(&span_, static_cast<uint32_t>(k)));
}

TRecordBlock::~TRecordBlock() {
  records_.clear();
  std::free(text_);
  std::free(starts_);
}

TRecordBuilder::TRecordBuilder(int fields, size_t textHint, size_t recordHint, size_t blockLimit)
    : fields_(std::max(fields, 0)), blockLimit_(std::min(blockLimit, kBlockLimit)) {
  OpenBlock(textHint, recordHint);
}

TRecordBuilder::~TRecordBuilder() {
  std::free(text_);
  std::free(starts_);
}

size_t TRecordBuilder::Records() const {
  return recordsDone_ + recordsInBlock_;
}

void TRecordBuilder::OpenBlock(size_t text, size_t records) {
  textRoom_ = std::min(std::max<size_t>(text, 64), blockLimit_);
  text_ = Resized<char>(nullptr, textRoom_);
  textSize_ = valueStart_ = recordStart_ = 0;
  startRoom_ = std::max<size_t>(records * static_cast<size_t>(fields_) + 1, 64);
  starts_ = Resized<uint32_t>(nullptr, startRoom_);
  starts_[0] = 0;
  startCount_ = 1;
  recordsInBlock_ = 0;
}

void TRecordBuilder::CloseBlock(size_t records, size_t textSize) {
  if (cutAtZero_ && UpToZero(text_, textSize) < textSize) {
    // Each value keeps its bytes up to its first zero; the values close up.
    const size_t values = records * static_cast<size_t>(fields_);
    size_t written = 0;
    uint32_t start = starts_[0];
    for (size_t v = 0; v < values; ++v) {
      const uint32_t end = starts_[v + 1];
      const size_t n = UpToZero(text_ + start, end - start);
      std::memmove(text_ + written, text_ + start, n);
      written += n;
      starts_[v + 1] = static_cast<uint32_t>(written);
      start = end;
    }
    textSize = written;
  }
  done_.emplace_back(new TRecordBlock(fields_, text_, textSize, starts_, records));
  text_ = nullptr;
  starts_ = nullptr;
  recordsDone_ += records;
}

void TRecordBuilder::Grow(size_t n) {
  if (!failed_ && textSize_ + n > blockLimit_) {
    if (recordsInBlock_ > 0) Spill();
    if (textSize_ + n > blockLimit_) failed_ = true;
  }
  if (failed_) {
    // Nothing is kept any more: the bytes only need somewhere to go.
    textSize_ = valueStart_ = recordStart_ = 0;
    if (textRoom_ >= n) return;
  }
  const size_t need = textSize_ + n;
  size_t room = std::max<size_t>({need, 2 * textRoom_, 64 * 1024});
  if (!failed_) room = std::min(room, std::max(need, blockLimit_));
  text_ = Resized(text_, room);
  textRoom_ = room;
}

void TRecordBuilder::GrowStarts() {
  startRoom_ = std::max<size_t>(2 * startRoom_, 1024);
  starts_ = Resized(starts_, startRoom_);
}

void TRecordBuilder::EndRecord() {
  textSize_ = valueStart_;  // bytes of a value never closed
  for (int v = values_; v < fields_; ++v) PushStart(static_cast<uint32_t>(textSize_));
  values_ = 0;
  ++recordsInBlock_;
  recordStart_ = valueStart_ = textSize_;
  if (failed_) startCount_ = 1;  // nothing is kept
}

void TRecordBuilder::Spill() {
  // The open record so far: its bytes and the ends of the values it kept.
  const size_t kept = static_cast<size_t>(std::min(values_, fields_));
  const size_t partial = textSize_ - recordStart_;
  const size_t firstEnd = recordsInBlock_ * static_cast<size_t>(fields_) + 1;
  std::string carried(text_ + recordStart_, partial);
  std::vector<uint32_t> ends(starts_ + firstEnd, starts_ + firstEnd + kept);
  const size_t start = recordStart_, values = valueStart_ - recordStart_;

  CloseBlock(recordsInBlock_, recordStart_);
  OpenBlock(std::max(partial, textRoom_ / 2), 0);
  if (partial) std::memcpy(text_, carried.data(), partial);
  textSize_ = partial;
  for (const uint32_t end : ends) PushStart(end - static_cast<uint32_t>(start));
  valueStart_ = values;
}

bool TRecordBuilder::Finish(TKBaseList& into) {
  if (values_ > 0) EndRecord();
  const bool ok = !failed_;
  if (ok) {
    CloseBlock(recordsInBlock_, textSize_);
    std::vector<TRecord>& items = into.Items();
    const size_t total = recordsDone_;
    if (items.capacity() < items.size() + total) {
      items.reserve(items.size() + total);
      AdviseHugePages(items.data(), items.capacity() * sizeof(TRecord));
    }
    for (std::unique_ptr<TRecordBlock>& b : done_) {
      std::shared_ptr<const TRecordBlock> holder(b.release());
      for (size_t k = 0; k < holder->RecordCount(); ++k)
        items.emplace_back(holder, &holder->Record(k));
    }
  }
  // Back to an empty builder.
  done_.clear();
  std::free(text_);
  std::free(starts_);
  recordsDone_ = 0;
  values_ = 0;
  failed_ = false;
  OpenBlock(0, 0);
  return ok;
}
