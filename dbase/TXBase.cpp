#include "TXBase.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

const char kHeaderError[] = "Error Reading Header Info.";
const char kRecordError[] = "Error Reading Record";
const char kMemoError[] = "Error Reading Memo Record";
const char kNotOpen[] = "Data File Not Open";
const char kBadField[] = "Invalid Field Number";
const char kTooLong[] = "Record too long";
const char kTooManyFields[] = "Too many fields";

const unsigned char kDescriptorEnd = 0x0D;
const char kEndOfText = 0x1A;
const char kSoftBreak = static_cast<char>(141);
const int kMemoChunk = 512;

uint32_t Le16(const unsigned char* p) {
  return p[0] | (p[1] << 8);
}

uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// Reads up to n bytes at offset; returns how many were read. Leaves the stream
// usable for the next call whatever happened.
int64_t ReadAt(std::ifstream& in, int64_t offset, char* buffer, int64_t n) {
  in.clear();
  in.seekg(offset, std::ios::beg);
  if (!in) {
    in.clear();
    return 0;
  }
  in.read(buffer, n);
  int64_t got = in.gcount();
  in.clear();
  return got;
}

int64_t StreamSize(std::ifstream& in) {
  in.clear();
  in.seekg(0, std::ios::end);
  int64_t size = in.tellg();
  in.clear();
  return size < 0 ? 0 : size;
}

void OpenReadOnly(std::ifstream& in, const std::string& path) {
  errno = 0;
  in.open(path, std::ios::in | std::ios::binary);
  if (!in.is_open()) {
    std::string reason = errno ? std::strerror(errno) : "unknown error";
    throw EXBaseException("Cannot open file \"" + path + "\". " + reason);
  }
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

TXBase::TXBase() = default;

TXBase::~TXBase() {
  Close();
}

std::string TXBase::Filename() const {
  return baseName_ + dataExt_;
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
  if (open_ && !IsFile(Filename())) Close();
}

void TXBase::SetActive(bool value) {
  if (value) {
    if (!open_ && IsFile(Filename())) Open();
  } else if (open_) {
    Close();
  }
}

void TXBase::Open() {
  OpenReadOnly(data_, Filename());
  open_ = true;
  try {
    ReadHeader();
    OpenMemo();
  } catch (...) {
    Close();
    throw;
  }
}

void TXBase::Close() {
  data_.close();
  data_.clear();
  memo_.close();
  memo_.clear();
  open_ = false;
  hasMemo_ = false;
  dataSize_ = memoSize_ = 0;
  memoBlockSize_ = 512;
  header_.fill(0);
  headerLength_ = recordLength_ = 0;
  fields_.clear();
  recno_ = recordCount_ = 0;
  modified_ = false;
}

void TXBase::ReadHeader() {
  dataPos_ = -1;
  dataSize_ = StreamSize(data_);
  if (ReadAt(data_, 0, reinterpret_cast<char*>(header_.data()), 32) != 32)
    throw EXBaseException(kHeaderError);
  recordCount_ = Le32(&header_[4]);
  headerLength_ = Le16(&header_[8]);
  recordLength_ = Le16(&header_[10]);
  if (recordLength_ > kRecordBufferSize) throw EXBaseException(kTooLong);
  if (headerLength_ < 32 || recordLength_ < 1) throw EXBaseException(kHeaderError);

  // The descriptor area as far as the file holds it.
  std::vector<unsigned char> area(std::min(headerLength_, dataSize_));
  if (ReadAt(data_, 0, reinterpret_cast<char*>(area.data()), area.size()) !=
      static_cast<int64_t>(area.size()))
    throw EXBaseException(kHeaderError);

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
  if (count > kMaxFields) throw EXBaseException(kTooManyFields);
  if (count < 0 || 32 * (count + 1) > static_cast<int64_t>(area.size()))
    throw EXBaseException(kHeaderError);

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
    if (position - 1 + f.length > recordLength_) throw EXBaseException(kHeaderError);
    position += f.length;
    fields_.push_back(f);
  }

  record_.fill(' ');
  if (recordCount_ > 0 && !ReadRecord(1)) throw EXBaseException(kHeaderError);
}

void TXBase::OpenMemo() {
  unsigned char version = header_[0];
  if (version != 131 && version != 132 && version != 139) return;
  // The memo's extension follows the letter case of the table's, with the
  // lower-case name as the fallback.
  std::string sameCase = baseName_ + dataExt_.substr(0, 3) + (dataExt_[3] == 'F' ? 'T' : 't');
  std::string path = sameCase;
  if (!IsFile(sameCase) && IsFile(baseName_ + ".dbt")) path = baseName_ + ".dbt";
  OpenReadOnly(memo_, path);
  hasMemo_ = true;
  memoSize_ = StreamSize(memo_);
  memoHeader_.fill(0);
  ReadAt(memo_, 0, reinterpret_cast<char*>(memoHeader_.data()), kMemoHeaderSize);
  memoBlockSize_ = 512;
  if (version != 131 && memoSize_ >= 22) {
    uint32_t size = Le16(&memoHeader_[20]);
    if (size != 0) memoBlockSize_ = size;
  }
}

bool TXBase::ReadRecord(int64_t recNo) {
  if (recNo < 1 || recNo > recordCount_) return false;
  int64_t offset = headerLength_ + (recNo - 1) * recordLength_;
  if (offset + recordLength_ > dataSize_) return false;
  std::array<char, kRecordBufferSize> buffer;
  // Reading on where the last record ended lets the stream's buffer serve a
  // walk through the table without a system call per record.
  int64_t got;
  if (offset == dataPos_) {
    data_.read(buffer.data(), recordLength_);
    got = data_.gcount();
    data_.clear();
  } else {
    got = ReadAt(data_, offset, buffer.data(), recordLength_);
  }
  dataPos_ = got == recordLength_ ? offset + got : -1;
  if (got != recordLength_) return false;
  std::memcpy(record_.data(), buffer.data(), recordLength_);
  recno_ = recNo;
  modified_ = false;
  return true;
}

bool TXBase::AskChanging() {
  bool allowed = true;
  if (OnChanging) OnChanging(*this, allowed);
  return allowed;
}

void TXBase::First() {
  if (!open_) throw EXBaseException(kNotOpen);
  if (recordCount_ == 0 || !AskChanging()) return;
  if (!ReadRecord(1)) throw EXBaseException(kRecordError);
}

void TXBase::Next() {
  if (!open_) throw EXBaseException(kNotOpen);
  if (recno_ >= recordCount_ || !AskChanging()) return;
  if (!ReadRecord(recno_ + 1)) throw EXBaseException(kRecordError);
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

void TXBase::CheckField(int fieldNo) const {
  if (fieldNo < 1 || fieldNo > FieldCount()) throw EXBaseException(kBadField);
}

int TXBase::FieldKind(int fieldNo) const {
  if (fieldNo < 1 || fieldNo > FieldCount())
    throw EXBaseException(std::string(kBadField) + ": " + std::to_string(fieldNo));
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
  CheckField(fieldNo);
  return fields_[fieldNo - 1].name;
}

char TXBase::FieldType(int fieldNo) const {
  CheckField(fieldNo);
  return fields_[fieldNo - 1].type;
}

int TXBase::FieldLength(int fieldNo) const {
  CheckField(fieldNo);
  return fields_[fieldNo - 1].length;
}

std::string TXBase::GetField(int fieldNo) {
  CheckField(fieldNo);
  if (recno_ == 0) return std::string();
  const TField& f = fields_[fieldNo - 1];
  std::string text(record_.data() + f.position - 1, f.length);
  if (FieldKind(fieldNo) == kMemo) {
    int64_t block = MemoBlock(text);
    if (block < 0) throw EXBaseException(kMemoError);
    return block < 1 ? std::string() : ReadMemo(block);
  }
  size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
  return text;
}

std::string TXBase::ReadMemo(int64_t block) {
  if (!hasMemo_) throw EXBaseException(kMemoError);
  int64_t start = block * memoBlockSize_;
  if (start >= memoSize_) throw EXBaseException(kMemoError);
  unsigned char head[8];
  int64_t got = ReadAt(memo_, start, reinterpret_cast<char*>(head), 8);
  static const unsigned char kMarker[4] = {0xFF, 0xFF, 0x08, 0x00};
  std::string text =
      got == 8 && std::memcmp(head, kMarker, 4) == 0 ? ReadMemoIV(start, head) : ReadMemoIII(start);
  for (char& c : text)
    if (c == kSoftBreak) c = '\r';
  return text;
}

std::string TXBase::ReadMemoIV(int64_t start, const unsigned char* head) {
  int64_t length = Le32(head + 4);
  if (length < 8 || start + length > memoSize_) throw EXBaseException(kMemoError);
  std::string text(length - 8, '\0');
  if (ReadAt(memo_, start + 8, &text[0], length - 8) != length - 8)
    throw EXBaseException(kMemoError);
  return text;
}

// The text runs to the first pair of end-of-text bytes, even when the pair is
// split across two blocks, or to the end of the file.
std::string TXBase::ReadMemoIII(int64_t start) {
  std::string text;
  int64_t offset = start;
  while (offset < memoSize_) {
    size_t old = text.size();
    int64_t want = std::min<int64_t>(kMemoChunk, memoSize_ - offset);
    text.resize(old + want);
    int64_t got = ReadAt(memo_, offset, &text[old], want);
    text.resize(old + got);
    size_t end = text.find(std::string(2, kEndOfText), old == 0 ? 0 : old - 1);
    if (end != std::string::npos) {
      text.resize(end);
      break;
    }
    if (got < kMemoChunk) break;
    offset += got;
  }
  return text;
}
