#include "TXBase.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

const unsigned char kDescriptorEnd = 0x0D;
const char kEndOfText = 0x1A;
const char kSoftBreak = static_cast<char>(141);
const int kMemoChunk = 512;
const size_t kWindow = 64 * 1024;  // at least one record (kRecordBufferSize)

uint32_t Le16(const unsigned char* p) {
  return p[0] | (p[1] << 8);
}

uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// The block number stored in a memo field: decimal text between blanks. Junk
// and blanks give 0; a number too large for any block gives -1.
int64_t MemoBlock(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  bool negative = false;
  if (b < e && (text[b] == '+' || text[b] == '-')) {
    negative = text[b] == '-';
    ++b;
  }
  if (b == e) return 0;
  int64_t value = 0;
  for (size_t i = b; i < e; ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    if (value <= INT32_MAX) value = value * 10 + (text[i] - '0');
  }
  if (negative) return 0;
  return value > INT32_MAX ? -1 : value;
}

}  // namespace

TXBase::TXBase(IFileSystem& fileSystem) : fs_(fileSystem), data_(fileSystem), memo_(fileSystem) {}

TXBase::~TXBase() {
  Close();
}

std::string TXBase::Filename() const {
  return baseName_ + dataExt_;
}

bool TXBase::Exists(const std::string& path) const {
  const int fd = fs_.OpenRead(path);
  if (fd < 0) return false;
  fs_.Close(fd);
  return true;
}

void TXBase::SetFilename(const std::string& value) {
  size_t slash = value.rfind('/');
  size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = value.rfind('.');
  std::string ext;
  if (dot != std::string::npos && dot >= nameStart) {
    baseName_ = value.substr(0, dot);
    ext = value.substr(dot);
  } else {
    baseName_ = value;
  }
  std::string folded = ext;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  dataExt_ = folded == ".dbf" ? ext : std::string(".dbf");
  if (open_ && !Exists(Filename())) Close();
}

TStatus TXBase::SetActive(bool value) {
  if (!value) {
    if (open_) Close();
    return TStatus::Ok();
  }
  return open_ ? TStatus::Ok() : Open();
}

TStatus TXBase::Open() {
  if (!data_.Open(Filename())) return TStatus(data_.Failure(), Filename());
  open_ = true;
  TStatus status = ReadHeader();
  if (status) status = OpenMemo();
  if (!status) Close();
  return status;
}

void TXBase::Close() {
  data_.Close();
  memo_.Close();
  open_ = false;
  hasMemo_ = false;
  dataSize_ = memoSize_ = 0;
  window_.clear();
  windowStart_ = 0;
  memoBlockSize_ = 512;
  header_.fill(0);
  headerLength_ = recordLength_ = 0;
  fields_.clear();
  recno_ = recordCount_ = 0;
  modified_ = false;
}

TStatus TXBase::ReadFailed(const TFileReader& file, TFailure cause) {
  return TStatus(file.Failed() ? file.Failure() : cause);
}

TStatus TXBase::ReadHeader() {
  const TStatus unreadable(TFailure::DbfHeaderUnreadable);
  dataSize_ = std::max<long long>(data_.Size(), 0);
  if (data_.ReadAt(0, header_.data(), 32) != 32)
    return ReadFailed(data_, TFailure::DbfHeaderUnreadable);
  recordCount_ = Le32(&header_[4]);
  headerLength_ = Le16(&header_[8]);
  recordLength_ = Le16(&header_[10]);
  if (recordLength_ > kRecordBufferSize) return TStatus(TFailure::DbfRecordTooLong);
  if (headerLength_ < 32 || recordLength_ < 1) return unreadable;

  // The descriptor area as far as the file holds it.
  std::vector<unsigned char> area(std::min(headerLength_, dataSize_));
  if (data_.ReadAt(0, area.data(), area.size()) != static_cast<long>(area.size()))
    return ReadFailed(data_, TFailure::DbfHeaderUnreadable);

  // Later writers put more than the descriptors in the header, so the
  // terminator is the count to trust; the length formula is for files that
  // lack one.
  int64_t count = -1;
  for (size_t i = 1; 32 * i < area.size(); ++i) {
    if (area[32 * i] == kDescriptorEnd) {
      count = static_cast<int64_t>(i) - 1;
      break;
    }
  }
  if (count < 0) count = static_cast<int64_t>(std::nearbyint((headerLength_ - 34) / 32.0));
  if (count > kMaxFields) return TStatus(TFailure::DbfTooManyFields);
  if (count < 0 || 32 * (count + 1) > static_cast<int64_t>(area.size())) return unreadable;

  int position = 2;
  for (int64_t i = 1; i <= count; ++i) {
    const unsigned char* d = &area[32 * i];
    TField f;
    size_t nameLength = 0;
    while (nameLength < 11 && d[nameLength] != 0) ++nameLength;
    f.name.assign(reinterpret_cast<const char*>(d), nameLength);
    f.type = static_cast<char>(d[11]);
    f.position = position;
    f.length = d[16];
    if (position - 1 + f.length > recordLength_) return unreadable;
    position += f.length;
    fields_.push_back(f);
  }

  record_.fill(' ');
  if (recordCount_ > 0 && !ReadRecord(1)) return ReadFailed(data_, TFailure::DbfHeaderUnreadable);
  return TStatus::Ok();
}

TStatus TXBase::OpenMemo() {
  unsigned char version = header_[0];
  if (version != 131 && version != 132 && version != 139) return TStatus::Ok();
  // The memo's extension follows the letter case of the table's, with the
  // lower-case name as the fallback.
  std::string sameCase = baseName_ + dataExt_.substr(0, 3) + (dataExt_[3] == 'F' ? 'T' : 't');
  std::string path = sameCase;
  if (!Exists(sameCase) && Exists(baseName_ + ".dbt")) path = baseName_ + ".dbt";
  if (!memo_.Open(path)) return TStatus(TFailure::DbfMemoFileUnreadable, path);
  hasMemo_ = true;
  memoSize_ = std::max<long long>(memo_.Size(), 0);
  memoHeader_.fill(0);
  if (memo_.ReadAt(0, memoHeader_.data(), kMemoHeaderSize) < 0)
    return ReadFailed(memo_, TFailure::DbfMemoUnreadable);
  memoBlockSize_ = 512;
  if (version != 131 && memoSize_ >= 22) {
    uint32_t size = Le16(&memoHeader_[20]);
    if (size != 0) memoBlockSize_ = size;
  }
  return TStatus::Ok();
}

bool TXBase::ReadRecord(int64_t recNo) {
  if (recNo < 1 || recNo > recordCount_) return false;
  const int64_t offset = headerLength_ + (recNo - 1) * recordLength_;
  if (offset + recordLength_ > dataSize_) return false;
  const int64_t windowEnd = windowStart_ + static_cast<int64_t>(window_.size());
  if (offset < windowStart_ || offset + recordLength_ > windowEnd) {
    // The window moves to start at the record and reads on from there.
    window_.resize(static_cast<size_t>(std::min<int64_t>(kWindow, dataSize_ - offset)));
    const long got = data_.ReadAt(offset, window_.data(), window_.size());
    if (got < recordLength_) {
      window_.clear();
      return false;
    }
    window_.resize(static_cast<size_t>(got));
    windowStart_ = offset;
  }
  std::memcpy(record_.data(), window_.data() + (offset - windowStart_), recordLength_);
  recno_ = recNo;
  modified_ = false;
  return true;
}

bool TXBase::AskChanging() {
  bool allowed = true;
  if (OnChanging) OnChanging(*this, allowed);
  return allowed;
}

TStatus TXBase::First() {
  if (!open_) return TStatus(TFailure::DbfNotOpen);
  if (recordCount_ == 0 || !AskChanging()) return TStatus::Ok();
  if (!ReadRecord(1)) return ReadFailed(data_, TFailure::DbfRecordUnreadable);
  return TStatus::Ok();
}

TStatus TXBase::Next() {
  if (!open_) return TStatus(TFailure::DbfNotOpen);
  if (recno_ >= recordCount_ || !AskChanging()) return TStatus::Ok();
  if (!ReadRecord(recno_ + 1)) return ReadFailed(data_, TFailure::DbfRecordUnreadable);
  return TStatus::Ok();
}

bool TXBase::Deleted() const {
  return open_ && recno_ > 0 && record_[0] == '*';
}

void TXBase::SetDeleted(bool value) {
  if (!open_ || recno_ == 0) return;
  if (!value) {
    record_[0] = ' ';
    return;
  }
  bool allowed = true;
  if (OnDeleting) OnDeleting(*this, allowed);
  if (allowed) record_[0] = '*';
}

int TXBase::FieldKind(int fieldNo) const {
  if (!ValidField(fieldNo)) return kOther;
  switch (fields_[fieldNo - 1].type) {
    case 'C':
      return kCharacter;
    case 'D':
      return kDate;
    case 'N':
      return kNumeric;
    case 'L':
      return kLogical;
    case 'M':
      return kMemo;
    default:
      return kOther;
  }
}

std::string TXBase::FieldName(int fieldNo) const {
  return ValidField(fieldNo) ? fields_[fieldNo - 1].name : std::string();
}

char TXBase::FieldType(int fieldNo) const {
  return ValidField(fieldNo) ? fields_[fieldNo - 1].type : '\0';
}

int TXBase::FieldLength(int fieldNo) const {
  return ValidField(fieldNo) ? fields_[fieldNo - 1].length : 0;
}

TStatus TXBase::GetField(int fieldNo, std::string& text) {
  text.clear();
  if (!ValidField(fieldNo) || recno_ == 0) return TStatus::Ok();
  const TField& f = fields_[fieldNo - 1];
  text.assign(record_.data() + f.position - 1, f.length);
  if (FieldKind(fieldNo) == kMemo) {
    const int64_t block = MemoBlock(text);
    text.clear();
    if (block < 0) return TStatus(TFailure::DbfMemoUnreadable);
    return block < 1 ? TStatus::Ok() : ReadMemo(block, text);
  }
  size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
  return TStatus::Ok();
}

TStatus TXBase::ReadMemo(int64_t block, std::string& text) {
  const TStatus unreadable(TFailure::DbfMemoUnreadable);
  if (!hasMemo_) return unreadable;
  const int64_t start = block * memoBlockSize_;
  if (start >= memoSize_) return unreadable;
  unsigned char head[8];
  const long got = memo_.ReadAt(start, head, 8);
  if (got < 0) return ReadFailed(memo_, TFailure::DbfMemoUnreadable);
  static const unsigned char kMarker[4] = {0xFF, 0xFF, 0x08, 0x00};
  const TStatus read = got == 8 && std::memcmp(head, kMarker, 4) == 0
                           ? ReadMemoIV(start, head, text)
                           : ReadMemoIII(start, text);
  if (!read) {
    text.clear();
    return read;
  }
  for (char& c : text)
    if (c == kSoftBreak) c = '\r';
  return TStatus::Ok();
}

TStatus TXBase::ReadMemoIV(int64_t start, const unsigned char* head, std::string& text) {
  const int64_t length = Le32(head + 4);
  if (length < 8 || start + length > memoSize_) return TStatus(TFailure::DbfMemoUnreadable);
  text.assign(static_cast<size_t>(length - 8), '\0');
  if (memo_.ReadAt(start + 8, &text[0], text.size()) != static_cast<long>(text.size()))
    return ReadFailed(memo_, TFailure::DbfMemoUnreadable);
  return TStatus::Ok();
}

// The text runs to the first pair of end-of-text bytes, even when the pair is
// split across two blocks, or to the end of the file.
TStatus TXBase::ReadMemoIII(int64_t start, std::string& text) {
  int64_t offset = start;
  while (offset < memoSize_) {
    const size_t old = text.size();
    const int64_t want = std::min<int64_t>(kMemoChunk, memoSize_ - offset);
    text.resize(old + static_cast<size_t>(want));
    const long got = memo_.ReadAt(offset, &text[old], static_cast<size_t>(want));
    if (got < 0) return ReadFailed(memo_, TFailure::DbfMemoUnreadable);
    text.resize(old + static_cast<size_t>(got));
    const size_t end = text.find(std::string(2, kEndOfText), old == 0 ? 0 : old - 1);
    if (end != std::string::npos) {
      text.resize(end);
      break;
    }
    if (got < kMemoChunk) break;
    offset += got;
  }
  return TStatus::Ok();
}
