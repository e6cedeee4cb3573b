#include "TTextReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "IFileSystem.h"

namespace {

const char kCandidates[] = {';', '\t', ',', '|'};
constexpr size_t kSampleRecords = 100;
constexpr size_t kSampleValueBytes = 256;
constexpr size_t kNameBytes = 1024;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsBlank(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

// Counts the values of each record, for the choice of the separator.
class CountingSink : public ITextSink {
 public:
  void Append(const char*, size_t) override {}
  void EndValue() override { ++values_; }
  bool EndRecord() override {
    counts.push_back(values_);
    values_ = 0;
    return counts.size() < kSampleRecords;
  }
  std::vector<int> counts;

 private:
  int values_ = 0;
};

// Keeps the records' values, each cut at `valueBytes`, at most kMaxFields of
// a record; stops after `records` records.
class CollectingSink : public ITextSink {
 public:
  CollectingSink(size_t records, size_t valueBytes) : records_(records), valueBytes_(valueBytes) {}
  void Append(const char* p, size_t n) override {
    if (values_.size() >= TTextReader::kMaxFields) return;
    const size_t room = valueBytes_ - std::min(valueBytes_, value_.size());
    value_.append(p, std::min(n, room));
  }
  void EndValue() override {
    if (values_.size() < TTextReader::kMaxFields) values_.push_back(std::move(value_));
    value_.clear();
  }
  bool EndRecord() override {
    result.push_back(std::move(values_));
    values_.clear();
    return result.size() < records_;
  }
  std::vector<std::vector<std::string>> result;

 private:
  size_t records_, valueBytes_;
  std::string value_;
  std::vector<std::string> values_;
};

// How well a separator splits the sample: the share of its records that have
// the most frequent number of values, that number being 2 or more.
struct Split {
  int agreeing = 0;
  int records = 0;
  int width = 0;  // the most values of a record
  bool usable = false;
};

Split SplitWith(char separator, const char* text, size_t size, bool whole) {
  TDelimitedParser parser(separator);
  CountingSink counter;
  parser.Feed(text, size, counter);
  // A record cut by the end of the sample says nothing, unless it is all there is.
  if (whole || counter.counts.empty()) parser.Finish(counter);
  Split s;
  std::map<int, int> frequency;
  for (const int c : counter.counts) {
    ++frequency[c];
    s.width = std::max(s.width, c);
  }
  int mode = 0;
  for (const auto& [count, times] : frequency)
    if (times >= s.agreeing) {
      s.agreeing = times;
      mode = count;
    }
  s.records = static_cast<int>(counter.counts.size());
  s.usable = mode >= 2;
  return s;
}

// True when the values of `first` are names of distinct target fields.
bool NamesTheTargets(const std::vector<std::string>& first,
                     const std::vector<std::string>& targets) {
  std::vector<std::string> keys;
  for (const std::string& t : targets) keys.push_back(NameKey(t));
  bool any = false;
  for (const std::string& v : first) {
    if (IsBlank(v)) continue;
    const auto k = std::find(keys.begin(), keys.end(), NameKey(v));
    if (k == keys.end()) return false;
    k->clear();  // taken
    any = true;
  }
  return any;
}

// `exported`: the file is in the form spreadsheet programs export a sheet in,
// which always starts with the sheet's first row, its names.
bool LooksLikeHeader(const std::vector<std::vector<std::string>>& records,
                     const std::vector<std::string>& targets, bool exported) {
  if (records.empty()) return false;
  const std::vector<std::string>& first = records[0];
  if (!targets.empty() && NamesTheTargets(first, targets)) return true;
  bool text = false, blank = false;
  for (const std::string& v : first) {
    if (IsNumberText(v, false)) return false;
    text = text || !IsBlank(v);
    blank = blank || IsBlank(v);
  }
  if (!text) return false;
  // Without a column of numbers below them, nothing in the values tells names
  // from a record: an all-text table exported for spreadsheets would come
  // back with its names as its first record. Such names name every column.
  if (exported && !blank) {
    size_t widest = 0;
    for (size_t r = 1; r < records.size(); ++r) widest = std::max(widest, records[r].size());
    if (first.size() >= widest) return true;
  }
  for (size_t col = 0; col < first.size(); ++col) {
    bool numbers = false, others = false;
    for (size_t r = 1; r < records.size() && !others; ++r) {
      if (col >= records[r].size() || records[r][col].empty()) continue;
      if (IsNumberText(records[r][col], false))
        numbers = true;
      else
        others = true;
    }
    if (numbers && !others) return true;
  }
  return false;
}

// The header's names; stops after the first record.
class NamesSink : public ITextSink {
 public:
  explicit NamesSink(std::vector<std::string>& names) : names_(names) {}
  void Append(const char* p, size_t n) override {
    const size_t room = kNameBytes - std::min(kNameBytes, name_.size());
    name_.append(p, std::min(n, room));
  }
  void EndValue() override {
    if (names_.size() < TTextReader::kMaxFields) names_.push_back(name_);
    name_.clear();
  }
  bool EndRecord() override { return false; }

 private:
  std::vector<std::string>& names_;
  std::string name_;
};

}  // namespace

int FilledWidth(const std::vector<std::string>& values) {
  int n = static_cast<int>(values.size());
  while (n > 0 && values[static_cast<size_t>(n) - 1].empty()) --n;
  return n;
}

bool IsNumberText(std::string_view t, bool codesAreText) {
  const size_t n = t.size();
  size_t i = 0;
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  const size_t start = i;
  while (i < n && IsDigit(t[i])) ++i;
  const size_t firstGroup = i - start;
  if (firstGroup == 0) return false;
  bool grouped = false;
  while (i + 3 < n && (t[i] == ' ' || t[i] == '\xA0') && IsDigit(t[i + 1]) && IsDigit(t[i + 2]) &&
         IsDigit(t[i + 3]) && (i + 4 == n || !IsDigit(t[i + 4]))) {
    i += 4;
    grouped = true;
  }
  if (grouped && firstGroup > 3) return false;
  if (codesAreText && t[start] == '0' && (firstGroup > 1 || grouped)) return false;
  if (i < n && (t[i] == ',' || t[i] == '.')) {
    const size_t fraction = ++i;
    while (i < n && IsDigit(t[i])) ++i;
    if (i == fraction) return false;
  }
  return i == n;
}

std::string NameKey(std::string_view name) {
  const size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  const size_t last = name.find_last_not_of(' ');
  std::string key(name.substr(first, last - first + 1));
  for (char& c : key) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
      c = static_cast<char>(u - 0x20);
    else if (u == 0x9A || u == 0x9C || u == 0x9E)
      c = static_cast<char>(u - 0x10);
    else if (u == 0xFF)
      c = '\x9F';
  }
  return key;
}

TTextReader::TTextReader(size_t pieceSize) : pieceSize_(std::max<size_t>(pieceSize, 1)) {}

TTextReader::~TTextReader() {
  Close();
}

void TTextReader::Close() {
  if (fd_ >= 0) FileSystem().Close(fd_);
  fd_ = -1;
}

long TTextReader::ReadRaw(char* to, size_t size) {
  if (byteLimit_ >= 0) {
    size =
        static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(size), byteLimit_ - bytesRead_));
    if (size == 0) {
      dialect_.cut = fileSize_ < 0 || bytesRead_ < fileSize_;
      return 0;
    }
  }
  const long got = FileSystem().Read(fd_, to, size);
  if (got > 0) bytesRead_ += got;
  return got;
}

TStatus TTextReader::Open(const std::string& path, const TTextOptions& options) {
  fd_ = FileSystem().OpenRead(path);
  if (fd_ < 0) return TStatus(ReadFailure(errno));
  fileSize_ = FileSystem().Size(fd_);
  byteLimit_ = options.byteLimit;

  // The first 64 KB, and more up to a megabyte while they hold fewer than
  // three lines: a wide file's first lines are needed whole to settle its
  // header.
  size_t raw = 0;
  for (size_t want = kSampleSize; !fileEnded_ && raw < want;) {
    sample_.resize(want);
    const long got = ReadRaw(sample_.data() + raw, want - raw);
    if (got < 0) return TStatus(ReadFailure(errno));
    fileEnded_ = got == 0;
    raw += static_cast<size_t>(got);
    if (raw == want && want < kLongSampleSize &&
        std::count(sample_.begin(), sample_.end(), '\n') +
                std::count(sample_.begin(), sample_.end(), '\r') <
            3)
      want *= 2;
  }
  sample_.resize(raw);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(sample_.data());

  TTextEncoding mark = TTextEncoding::Auto;
  size_t markSize = 0;
  if (raw >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    mark = TTextEncoding::Utf8;
    markSize = 3;
  } else if (raw >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    mark = TTextEncoding::Utf16LE;
    markSize = 2;
  } else if (raw >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
    mark = TTextEncoding::Utf16BE;
    markSize = 2;
  }
  TTextEncoding encoding = options.encoding;
  dialect_.encodingDetected = encoding == TTextEncoding::Auto || encoding == TTextEncoding::Ascii;
  if (dialect_.encodingDetected) encoding = mark;
  // A mark that says another encoding than the one given is part of the text.
  if (encoding != mark) markSize = 0;
  dialect_.byteOrderMark = markSize > 0;
  sampleUsed_ = markSize;

  // A zero byte (a zero character in UTF-16) is in no text.
  const bool utf16 = encoding == TTextEncoding::Utf16LE || encoding == TTextEncoding::Utf16BE;
  for (size_t i = markSize; i < std::min(raw, kSampleSize); i += utf16 ? 2 : 1)
    if (b[i] == 0 && (!utf16 || (i + 1 < raw && b[i + 1] == 0))) return TStatus(TFailure::NotText);

  // The sample decoded aside settles what the options leave open, and the
  // encoding the file is then read in.
  std::vector<char> text(sample_.begin() + static_cast<long>(markSize), sample_.end());
  TTextDecoder sampleDecoder(encoding);
  text.resize(sampleDecoder.Decode(text.data(), text.size(), fileEnded_));
  decoder_ = TTextDecoder(sampleDecoder.Encoding());
  dialect_.encoding = decoder_.Encoding();
  Settle(options, text.data(), text.size(), fileEnded_);
  parser_ = TDelimitedParser(dialect_.separator);
  buffer_.resize(pieceSize_ + 4);

  if (dialect_.header) {
    NamesSink names(headerNames_);
    return Read(names);
  }
  return TStatus();
}

void TTextReader::Settle(const TTextOptions& options, const char* text, size_t size, bool whole) {
  dialect_.separatorDetected = options.separator == 0;
  dialect_.separator = options.separator;
  if (dialect_.separatorDetected) {
    dialect_.separator = kCandidates[0];
    Split best;
    for (const char c : kCandidates) {
      const Split s = SplitWith(c, text, size, whole);
      // More agreeing records, as a share of the records read, wins.
      if (s.usable && (!best.usable ||
                       int64_t{s.agreeing} * best.records > int64_t{best.agreeing} * s.records)) {
        best = s;
        dialect_.separator = c;
      }
    }
  }
  TDelimitedParser parser(dialect_.separator);
  CollectingSink sample(kSampleRecords, kSampleValueBytes);
  parser.Feed(text, size, sample);
  if (whole || sample.result.empty()) parser.Finish(sample);
  dialect_.headerDetected = options.header == TTextHeader::Auto;
  const bool exported = dialect_.byteOrderMark && dialect_.encoding == TTextEncoding::Utf8 &&
                        dialect_.separator == ';';
  dialect_.header = dialect_.headerDetected
                        ? LooksLikeHeader(sample.result, options.targetNames, exported)
                        : options.header == TTextHeader::Yes;
  for (size_t r = dialect_.header ? 1 : 0; r < sample.result.size(); ++r)
    sampleWidth_ = std::max(sampleWidth_, FilledWidth(sample.result[r]));
}

TStatus TTextReader::Fill() {
  const size_t kept = decoder_.TakeCarry(buffer_.data());
  size_t got = 0;
  if (sampleUsed_ < sample_.size()) {
    got = std::min(pieceSize_, sample_.size() - sampleUsed_);
    std::memcpy(buffer_.data() + kept, sample_.data() + sampleUsed_, got);
    sampleUsed_ += got;
    lastPiece_ = sampleUsed_ == sample_.size() && fileEnded_;
    if (sampleUsed_ == sample_.size()) std::vector<char>().swap(sample_);
    sampleUsed_ = sample_.empty() ? 0 : sampleUsed_;
  } else if (!fileEnded_) {
    const long r = ReadRaw(buffer_.data() + kept, pieceSize_);
    if (r < 0) return TStatus(ReadFailure(errno));
    got = static_cast<size_t>(r);
    fileEnded_ = r == 0;
    lastPiece_ = fileEnded_;
  } else {
    lastPiece_ = true;
  }
  pos_ = 0;
  end_ = decoder_.Decode(buffer_.data(), kept + got, lastPiece_);
  dialect_.encoding = decoder_.Encoding();
  dialect_.replaced = decoder_.Replaced();
  return TStatus();
}

TStatus TTextReader::Read(ITextSink& sink) {
  while (!finished_) {
    if (pos_ < end_) {
      pos_ += parser_.Feed(buffer_.data() + pos_, end_ - pos_, sink);
      if (parser_.Stopped()) return TStatus();
      continue;
    }
    if (lastPiece_) {
      parser_.Finish(sink);
      dialect_.openQuoteLine = dialect_.cut ? 0 : parser_.OpenQuoteLine();
      finished_ = true;
      Close();
      break;
    }
    const TStatus s = Fill();
    if (!s) return s;
  }
  return TStatus();
}
