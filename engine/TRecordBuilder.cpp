#include "TRecordBuilder.h"

#include <algorithm>
#include <new>
#include <string>

#include "LargeMemory.h"
#include "TRecordBlock.h"

namespace {

// p resized to `count` items; on failure p keeps what it had and std::bad_alloc
// is thrown.
template <typename T>
void Resize(TLargePtr<T>& p, size_t count) {
  void* q = LargeRealloc(p.get(), std::max<size_t>(count, 1) * sizeof(T));
  if (!q) throw std::bad_alloc();
  p.release();
  p.reset(static_cast<T*>(q));
}

// The same for a shrink, which may keep the larger room when it must.
template <typename T>
void Shrink(TLargePtr<T>& p, size_t count) {
  if (void* q = LargeRealloc(p.get(), std::max<size_t>(count, 1) * sizeof(T))) {
    p.release();
    p.reset(static_cast<T*>(q));
  }
}

// The length of [p, p + n) up to its first zero byte.
size_t UpToZero(const char* p, size_t n) {
  const void* zero = n ? std::memchr(p, 0, n) : nullptr;
  return zero ? static_cast<size_t>(static_cast<const char*>(zero) - p) : n;
}

}  // namespace

TRecordBlock::TRecordBlock(int fields, TLargePtr<char> text, size_t textSize,
                           TLargePtr<uint32_t> starts, size_t records)
    : text_(std::move(text)), starts_(std::move(starts)) {
  // Exact sizes: shrinking a large block gives its pages back without a copy.
  Shrink(text_, textSize);
  Shrink(starts_, records * static_cast<size_t>(fields) + 1);
  span_.text = text_.get();
  span_.starts = starts_.get();
  span_.fields = fields;
  records_.reserve(records);
  AdviseHugePages(records_.data(), records * sizeof(TKStringList));
  for (size_t k = 0; k < records; ++k)
    records_.push_back(TKStringList(&span_, static_cast<uint32_t>(k)));
}

// The records go first (members are destroyed in reverse order), then the
// bytes they read.
TRecordBlock::~TRecordBlock() = default;

TRecordBuilder::TRecordBuilder(int fields, size_t textHint, size_t recordHint, size_t blockLimit)
    : fields_(std::max(fields, 0)), blockLimit_(std::min(blockLimit, kBlockLimit)) {
  OpenBlock(textHint, recordHint);
}

TRecordBuilder::~TRecordBuilder() = default;

size_t TRecordBuilder::Records() const {
  return recordsDone_ + recordsInBlock_;
}

void TRecordBuilder::OpenBlock(size_t text, size_t records) {
  textRoom_ = std::min(std::max<size_t>(text, 64), blockLimit_);
  Resize(text_, textRoom_);
  textSize_ = valueStart_ = recordStart_ = 0;
  startRoom_ = std::max<size_t>(records * static_cast<size_t>(fields_) + 1, 64);
  Resize(starts_, startRoom_);
  starts_.get()[0] = 0;
  startCount_ = 1;
  recordsInBlock_ = 0;
}

void TRecordBuilder::CloseBlock(size_t records, size_t textSize) {
  char* text = text_.get();
  uint32_t* starts = starts_.get();
  if (cutAtZero_ && UpToZero(text, textSize) < textSize) {
    // Each value keeps its bytes up to its first zero; the values close up.
    const size_t values = records * static_cast<size_t>(fields_);
    size_t written = 0;
    uint32_t start = starts[0];
    for (size_t v = 0; v < values; ++v) {
      const uint32_t end = starts[v + 1];
      const size_t n = UpToZero(text + start, end - start);
      std::memmove(text + written, text + start, n);
      written += n;
      starts[v + 1] = static_cast<uint32_t>(written);
      start = end;
    }
    textSize = written;
  }
  // From here the block owns the bytes, also when making it fails.
  std::unique_ptr<TRecordBlock> block(
      new TRecordBlock(fields_, std::move(text_), textSize, std::move(starts_), records));
  textRoom_ = startRoom_ = startCount_ = 0;
  done_.push_back(std::move(block));
  recordsDone_ += records;
  recordsInBlock_ = 0;
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
  Resize(text_, room);
  textRoom_ = room;
}

void TRecordBuilder::GrowStarts() {
  const size_t room = std::max<size_t>(2 * startRoom_, 1024);
  Resize(starts_, room);
  startRoom_ = room;
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
  std::string carried(text_.get() + recordStart_, partial);
  std::vector<uint32_t> ends(starts_.get() + firstEnd, starts_.get() + firstEnd + kept);
  const size_t start = recordStart_, values = valueStart_ - recordStart_;
  const size_t room = std::max(partial, textRoom_ / 2);

  CloseBlock(recordsInBlock_, recordStart_);
  OpenBlock(room, 0);
  if (partial) std::memcpy(text_.get(), carried.data(), partial);
  textSize_ = partial;
  for (const uint32_t end : ends) PushStart(end - static_cast<uint32_t>(start));
  valueStart_ = values;
}

bool TRecordBuilder::Finish(TKBaseList& into) {
  if (values_ > 0) EndRecord();
  if (failed_) {
    done_.clear();
    text_.reset();
    starts_.reset();
    return false;
  }
  CloseBlock(recordsInBlock_, textSize_);
  // Everything that allocates comes before the first record goes into `into`.
  std::vector<std::shared_ptr<const TRecordBlock>> holders;
  holders.reserve(done_.size());
  for (std::unique_ptr<TRecordBlock>& b : done_) holders.emplace_back(std::move(b));
  done_.clear();
  std::vector<TRecord>& items = into.Items();
  if (items.capacity() < items.size() + recordsDone_) {
    items.reserve(items.size() + recordsDone_);
    AdviseHugePages(items.data(), items.capacity() * sizeof(TRecord));
  }
  for (const std::shared_ptr<const TRecordBlock>& holder : holders)
    for (size_t k = 0; k < holder->RecordCount(); ++k)
      items.emplace_back(holder, &holder->Record(k));
  recordsDone_ = 0;
  return true;
}
