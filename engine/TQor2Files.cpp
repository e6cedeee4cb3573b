// The file operations of TQor2: the binary .qor format and the two semicolon
// text formats. Every loader reads the file a piece at a time into a scratch
// table, its values going straight into record blocks (TRecordBuilder), and
// only takes it over when the whole file has been read. Every saver writes a
// piece at a time, so that neither holds a second copy of a large table.

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "RecordWalk.h"
#include "TAtomicFile.h"
#include "TFileReader.h"
#include "TQor2.h"
#include "TRecordBuilder.h"
#include "TXlsWriter.h"
#include "TXmlWriter.h"

namespace {

const char kOpenQor[] = "4-Unable to open file for reading";
const char kOpenText[] = "1-Unable to open the file for reading";
const char kTruncated[] = "5-Unexpected end of file";
const char kTooLarge[] = "6-Record too large";

// Reads a file front to back through a window of its bytes: [Data(), End())
// holds what was read and not yet consumed.
class ChunkReader {
 public:
  explicit ChunkReader(IFileSystem& fileSystem) : file_(fileSystem) {}
  // False when the file cannot be opened or is a folder (Failure says why).
  // A file without a size (a pipe) is read whole at once, so that its size
  // is known.
  bool Open(const std::string& path) {
    if (!file_.Open(path)) return false;
    const long long size = file_.Size();
    if (size < 0) return false;
    if (size > 0) {
      size_ = static_cast<size_t>(size);
    } else {
      while (Fill(buf_.size() + 1)) {
      }
      size_ = buf_.size() - pos_;
    }
    return !file_.Failed();
  }
  size_t FileSize() const { return size_; }
  size_t Consumed() const { return consumed_; }
  // Bytes the file still holds by its size, read or not.
  size_t Remaining() const { return size_ > consumed_ ? size_ - consumed_ : 0; }
  bool Failed() const { return file_.Failed(); }
  // Why opening or reading failed; None while neither did.
  TFailure Failure() const { return file_.Failure(); }

  const char* Data() const { return buf_.data() + pos_; }
  const char* End() const { return buf_.data() + buf_.size(); }
  size_t Available() const { return buf_.size() - pos_; }
  void Consume(size_t n) {
    pos_ += n;
    consumed_ += n;
  }
  // Reads until at least n bytes are available; false at the end of the file
  // (or on a read error) with fewer.
  bool Fill(size_t n) {
    if (Available() >= n) return true;
    if (pos_ > 0) {
      buf_.erase(0, pos_);
      pos_ = 0;
    }
    while (buf_.size() < n && !atEnd_) {
      const size_t want = std::max(n - buf_.size(), kPiece);
      const size_t old = buf_.size();
      buf_.resize(old + want);
      const long got = file_.Read(&buf_[old], want);
      if (got < static_cast<long>(want)) atEnd_ = true;
      buf_.resize(old + static_cast<size_t>(std::max<long>(got, 0)));
    }
    return buf_.size() >= n;
  }

 private:
  static constexpr size_t kPiece = size_t{1} << 18;
  TFileReader file_;
  std::string buf_;
  size_t pos_ = 0;
  size_t size_ = 0;
  size_t consumed_ = 0;
  bool atEnd_ = false;
};

uint8_t ByteOrderMark() {
  const uint16_t probe = 0xFF00;
  uint8_t bytes[2];
  std::memcpy(bytes, &probe, 2);
  return bytes[1] == 0xFF ? 1 : 0;
}

// Reads integers and strings from a .qor file, in the byte order the file
// declares, never past its end.
class QorReader {
 public:
  explicit QorReader(ChunkReader& in) : in_(in) {}
  void SetSwapped(bool swapped) { swapped_ = swapped; }
  size_t Remaining() const { return in_.Remaining(); }
  bool ok() const { return ok_; }

  uint8_t U8() {
    if (!Need(1)) return 0;
    const uint8_t v = static_cast<uint8_t>(*in_.Data());
    in_.Consume(1);
    return v;
  }
  uint16_t U16() {
    if (!Need(2)) return 0;
    uint16_t v;
    std::memcpy(&v, in_.Data(), 2);
    in_.Consume(2);
    return swapped_ ? static_cast<uint16_t>((v >> 8) | (v << 8)) : v;
  }
  uint32_t U32() {
    if (!Need(4)) return 0;
    uint32_t v;
    std::memcpy(&v, in_.Data(), 4);
    in_.Consume(4);
    return swapped_ ? __builtin_bswap32(v) : v;
  }
  // A length-prefixed string, cut at its first zero byte.
  std::string Str() {
    std::string s;
    const uint32_t n = U32();
    if (!ok_ || !Need(n)) return s;
    s.assign(in_.Data(), n);
    in_.Consume(n);
    s.resize(std::strlen(s.c_str()));
    return s;
  }
  // The same into the open value of `to` (which cuts it at the zero byte);
  // skipped when `to` is null.
  void Value(TRecordBuilder* to) {
    if (ok_ && in_.Available() >= 4) {
      // Most values lie whole in the bytes read: no further checks.
      uint32_t n;
      std::memcpy(&n, in_.Data(), 4);
      if (swapped_) n = __builtin_bswap32(n);
      if (in_.Available() - 4 >= n && Remaining() - 4 >= n) {
        const char* p = in_.Data() + 4;
        if (to) to->Append(p, n);
        in_.Consume(4 + size_t{n});
        return;
      }
    }
    size_t n = U32();
    if (!ok_ || n > Remaining()) {
      ok_ = false;
      return;
    }
    while (n > 0) {
      if (!in_.Fill(1)) {
        ok_ = false;
        return;
      }
      const size_t k = std::min(n, in_.Available());
      if (to) to->Append(in_.Data(), k);
      in_.Consume(k);
      n -= k;
    }
  }

 private:
  bool Need(size_t n) {
    if (!ok_ || Remaining() < n || !in_.Fill(n)) ok_ = false;
    return ok_;
  }
  ChunkReader& in_;
  bool swapped_ = false;
  bool ok_ = true;
};

void PutU16(std::string& out, uint16_t v) {
  out.append(reinterpret_cast<const char*>(&v), 2);
}
void PutU32(std::string& out, uint32_t v) {
  out.append(reinterpret_cast<const char*>(&v), 4);
}
void PutStr(std::string& out, std::string_view s) {
  PutU32(out, static_cast<uint32_t>(s.size()));
  out.append(s.data(), s.size());
}

// Splits one line of escaped text into values.
void SplitEscaped(const char* p, const char* end, std::vector<std::string>& values) {
  values.clear();
  values.emplace_back();
  for (; p < end; ++p) {
    const char c = *p;
    if (c == '\\') {
      if (p + 1 == end) {
        values.back().push_back('\\');
      } else {
        ++p;
        if (*p == 'n' || *p == 'N')
          values.back() += "\r\n";
        else
          values.back().push_back(*p);
      }
    } else if (c == ';') {
      values.emplace_back();
    } else {
      values.back().push_back(c);
    }
  }
}

// The same straight into the values of a record.
void SplitEscaped(const char* p, const char* end, TRecordBuilder& to) {
  while (p < end) {
    const char* q = p;
    while (q < end && *q != '\\' && *q != ';') ++q;
    to.Append(p, static_cast<size_t>(q - p));
    if (q == end) break;
    if (*q == ';') {
      to.EndValue();
    } else if (q + 1 == end) {
      to.Append('\\');
    } else {
      ++q;
      if (*q == 'n' || *q == 'N')
        to.Append("\r\n", 2);
      else
        to.Append(*q);
    }
    p = q + 1;
  }
  to.EndValue();
}

// The tokenizer of the quoted text format. A token ends at ";" or a line end
// (its terminator, CR for any line end: CR LF, LF or CR) or at the end of the
// file; outside quotes spaces are dropped; inside quotes everything is kept
// and "" stands for one quote.
class TxtTokenizer {
 public:
  explicit TxtTokenizer(ChunkReader& in) : in_(in) {}
  bool AtEnd() { return !in_.Fill(1); }
  char terminator = ' ';
  bool wasQuoted = false;
  bool empty = true;

  // Appends the token's bytes to `to` (a std::string or a TRecordBuilder).
  template <typename To>
  bool ReadToken(To& to) {
    wasQuoted = false;
    empty = true;
    terminator = ' ';
    bool inQuotes = false;
    while (in_.Fill(1)) {
      const char c = *in_.Data();
      in_.Consume(1);
      const bool afterCr = afterCr_;
      afterCr_ = false;
      if (!inQuotes) {
        if (c == '"') {
          inQuotes = wasQuoted = true;
        } else if (c == ' ' || (c == '\n' && afterCr)) {
          // dropped; an LF right after a CR belongs to its line end
        } else if (c == ';' || c == '\r' || c == '\n') {
          terminator = c == ';' ? ';' : '\r';
          afterCr_ = c == '\r';
          return true;
        } else {
          Put(to, c);
        }
      } else if (c == '"') {
        if (in_.Fill(1) && *in_.Data() == '"') {
          Put(to, '"');
          in_.Consume(1);
        } else {
          inQuotes = false;
        }
      } else {
        // The bytes up to the next quote go in one piece.
        const char* p = in_.Data() - 1;
        const char* q = static_cast<const char*>(std::memchr(p, '"', in_.End() - p));
        const size_t n = static_cast<size_t>((q ? q : in_.End()) - p);
        Put(to, p, n);
        in_.Consume(n - 1);
      }
    }
    return !empty || wasQuoted;
  }

 private:
  void Put(std::string& to, char c) {
    to.push_back(c);
    empty = false;
  }
  void Put(TRecordBuilder& to, char c) {
    to.Append(c);
    empty = false;
  }
  void Put(std::string& to, const char* p, size_t n) {
    to.append(p, n);
    empty = false;
  }
  void Put(TRecordBuilder& to, const char* p, size_t n) {
    to.Append(p, n);
    empty = false;
  }
  ChunkReader& in_;
  bool afterCr_ = false;  // the last character read was a CR ending a token
};

// The memory a load or a save needs could not be had: the table, or the
// previous file, stays as it was.
const char kOutOfMemory[] = "7-Out of memory";

template <typename Produce>
TStatus SaveInPieces(TQor2& t, const std::string& fileName, Produce produce) {
  t.ClearError();
  try {
    const TStatus written = WriteFileInPieces(fileName, produce);
    return written ? written : t.SetError(3, written);
  } catch (const std::bad_alloc&) {
    return t.SetError(3, kOutOfMemory, TFailure::OutOfMemory);
  }
}

// The bytes of one record as the .qor format stores it, without its size.
size_t QorRecordSize(const TKStringList& r) {
  if (r.IsSpan()) return 4 * static_cast<size_t>(r.Count()) + r.SpanBytes().size();
  size_t n = 0;
  for (int i = 0; i < r.Count(); ++i) n += 4 + r.Get(i).size();
  return n;
}

template <typename Flush>
void ProduceQor(const TQor2& t, std::string& out, Flush flush) {
  const TKStringList& names = t.Names();
  const TKStringList& types = t.Types();
  const std::vector<TRecord>& records = t.RecordList().Items();
  // The block size comes before the records: count them first.
  size_t block = 2 + 4 + t.TableName.size() + 4 + 4;
  for (int i = 0; i < names.Count(); ++i) block += 1 + 4 + names.Get(i).size();
  for (const TRecord& rec : records) block += 4 + QorRecordSize(*rec);

  out += "QOR";
  out.push_back(2);
  out.push_back(0);
  out.push_back(static_cast<char>(ByteOrderMark()));
  PutU16(out, 1);
  PutU16(out, 0);
  PutU16(out, 0);
  PutU32(out, static_cast<uint32_t>(block));
  PutU16(out, 0);
  PutStr(out, t.TableName);
  PutU32(out, static_cast<uint32_t>(names.Count()));
  PutU32(out, static_cast<uint32_t>(t.RecordCount()));
  for (int i = 0; i < names.Count(); ++i) {
    out.push_back(types.Get(i) == "FLOAT" ? 1 : 0);
    PutStr(out, names.Get(i));
  }
  WalkRecords(records, 0, [&](size_t, const TKStringList& rec) {
    // The record's bytes written in place: its size, then each value's.
    const size_t size = QorRecordSize(rec);
    const size_t at = out.size();
    out.resize(at + 4 + size);
    char* p = &out[at];
    const uint32_t n32 = static_cast<uint32_t>(size);
    std::memcpy(p, &n32, 4);
    p += 4;
    for (int i = 0; i < rec.Count(); ++i) {
      const TValueView v = rec.Get(i);
      const uint32_t len = static_cast<uint32_t>(v.size());
      std::memcpy(p, &len, 4);
      if (len) std::memcpy(p + 4, v.data(), len);
      p += 4 + len;
    }
    flush();
  });
}

template <typename Flush>
void ProduceCsv(const TQor2& t, std::string& out, Flush flush) {
  const TKStringList& names = t.Names();
  if (names.Count() > 0) {
    for (int i = 0; i < names.Count(); ++i) {
      if (i) out += t.Separator;
      out += names.Get(i);
    }
    out += "\r\n";
  }
  WalkRecords(t.RecordList().Items(), 0, [&](size_t, const TKStringList& rec) {
    for (int i = 0; i < rec.Count(); ++i) {
      if (i) out += t.Separator;
      t.Parser.EscapeTo(rec.Get(i), out);
    }
    out += "\r\n";
    flush();
  });
}

template <typename Flush>
void ProduceTxt(const TQor2& t, std::string& out, Flush flush) {
  const TKStringList& names = t.Names();
  if (names.Count() > 0) {
    for (int i = 0; i < names.Count(); ++i) {
      if (i) out += t.Separator;
      out += t.QuoteChar + names.Get(i) + t.QuoteChar;
    }
    out += "\r\n";
  }
  std::vector<char> isString(static_cast<size_t>(names.Count()));
  for (int i = 0; i < names.Count(); ++i) isString[i] = t.Types().Get(i) == "STRING";
  WalkRecords(t.RecordList().Items(), 0, [&](size_t, const TKStringList& rec) {
    for (int i = 0; i < rec.Count(); ++i) {
      if (i) out += t.Separator;
      const TValueView v = rec.Get(i);
      if (i < static_cast<int>(isString.size()) && isString[i]) {
        out.push_back('"');
        for (char c : v) {
          out.push_back(c);
          if (c == '"') out.push_back('"');
        }
        out.push_back('"');
      } else {
        out.append(v.data(), v.size());
      }
    }
    out += "\r\n";
    flush();
  });
}

}  // namespace

size_t TQor2::ContentSize() const {
  size_t n = 0;
  for (const TRecord& rec : Records.Items()) {
    if (rec->IsSpan()) {
      n += rec->SpanBytes().size();
    } else {
      for (int i = 0; i < rec->Count(); ++i) n += rec->Get(i).size();
    }
  }
  return n;
}

std::string TQor2::FileKind(const std::string& fileName) {
  if (fileName.size() < 3) return std::string();
  std::string k = fileName.substr(fileName.size() - 3);
  for (char& c : k)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return k;
}

TStatus TQor2::LoadFromFile(const std::string& fileName, IFileSystem& fileSystem) {
  ClearError();
  const std::string kind = FileKind(fileName);
  if (kind == "TXT") return LoadTxtFile(fileName, fileSystem);
  if (kind == "QOR") return LoadQorFile(fileName, fileSystem);
  return LoadCsvFile(fileName, fileSystem);
}

TStatus TQor2::SaveToFile(const std::string& fileName) {
  const std::string kind = FileKind(fileName);
  if (kind == "TXT") return SaveTxtFile(fileName);
  if (kind == "QOR") return SaveQorFile(fileName);
  if (kind == "XLS") return SaveXlsFile(*this, fileName);
  if (kind == "XML") return SaveXmlFile(*this, fileName);
  return SaveCsvFile(fileName);
}

TStatus TQor2::LoadQorFile(const std::string& fileName, IFileSystem& fileSystem) try {
  ClearError();
  ChunkReader file(fileSystem);
  if (!file.Open(fileName)) return SetError(3, kOpenQor, file.Failure());
  if (!file.Fill(3) || std::memcmp(file.Data(), "QOR", 3) != 0) {
    if (file.Failed()) return SetError(3, kOpenQor, file.Failure());
    return SetError(2, "1-File's Signature must be QOR", TFailure::NotATable);
  }
  file.Consume(3);
  QorReader in(file);
  in.U8();
  in.U8();
  const uint8_t order = in.U8();
  in.SetSwapped(order != ByteOrderMark());
  const uint16_t tables = in.U16();
  if (in.ok() && tables == 0)
    return SetError(2, "2-number of tables must be at least 1", TFailure::NotATable);
  in.U16();
  const uint16_t kind = in.U16();
  if (in.ok() && kind != 0)
    return SetError(2, "3-First Block must be a TABLE", TFailure::NotATable);

  TQor2 tmp;
  in.U32();
  in.U16();
  tmp.TableName = in.Str();
  const int32_t f = static_cast<int32_t>(in.U32());
  const int32_t r = static_cast<int32_t>(in.U32());
  const size_t fields = f < 1 ? 0 : static_cast<size_t>(f);
  const size_t records = r < 1 ? 0 : static_cast<size_t>(r);
  // Each descriptor takes at least 5 bytes and each record 4 + 4 per field:
  // counts the file cannot hold are refused before anything is allocated.
  bool ok = in.ok() && fields <= in.Remaining() / 5;
  for (size_t i = 1; ok && i <= fields; ++i) {
    const uint8_t code = in.U8();
    tmp.AddField(in.Str());
    tmp.SetFieldType(static_cast<int>(i), code == 1 ? "FLOAT" : "STRING");
    ok = in.ok();
  }
  ok = ok && records <= in.Remaining() / (4 + 4 * fields);
  bool tooLarge = false;
  if (ok) {
    // Values go to the field of the same descriptor number; those beyond the
    // fields actually made (a refused name) are read and dropped.
    const size_t kept = static_cast<size_t>(tmp.FieldCount());
    const size_t text = in.Remaining() - records * (4 + 4 * fields);
    TRecordBuilder builder(static_cast<int>(kept), text, records);
    builder.SetCutAtZero();
    for (size_t k = 0; ok && k < records; ++k) {
      in.U32();
      for (size_t i = 0; i < fields; ++i) {
        in.Value(i < kept ? &builder : nullptr);
        if (i < kept) builder.EndValue();
      }
      builder.EndRecord();
      ok = in.ok();
    }
    tooLarge = builder.Failed();
    ok = ok && builder.Finish(tmp.Records);
  }
  if (!ok) {
    if (file.Failed()) return SetError(3, kOpenQor, file.Failure());
    if (tooLarge) return SetError(2, kTooLarge, TFailure::ReadError);
    return SetError(2, kTruncated, TFailure::Truncated);
  }
  TakeContent(tmp);
  return TStatus::Ok();
} catch (const std::bad_alloc&) {
  return SetError(3, kOutOfMemory, TFailure::OutOfMemory);
}

TStatus TQor2::SaveQorFile(const std::string& fileName) {
  return SaveInPieces(*this, fileName,
                      [this](std::string& out, auto flush) { ProduceQor(*this, out, flush); });
}

TStatus TQor2::LoadCsvFile(const std::string& fileName, IFileSystem& fileSystem) try {
  ClearError();
  ChunkReader file(fileSystem);
  if (TrimBlanks(fileName).empty()) return SetError(3, kOpenText, TFailure::NotFound);
  if (!file.Open(fileName)) return SetError(3, kOpenText, file.Failure());
  TQor2 tmp;
  tmp.SetNameFromFile(fileName);
  std::unique_ptr<TRecordBuilder> builder;
  // Lines end at CR LF, LF or CR; the text ends at the file's end or at its
  // first byte 26.
  bool header = true, last = false;
  size_t scanned = 0;  // bytes of the window known to hold no line end and no 26
  while (!last) {
    const bool more = file.Fill(scanned + 1);
    const char* p = file.Data();
    const char* end = file.End();
    const char* lineEnd = p + scanned;
    while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n' && *lineEnd != '\x1A') ++lineEnd;
    if (lineEnd == end && more) {
      scanned = static_cast<size_t>(end - p);
      continue;  // the line goes on in the next piece
    }
    scanned = 0;
    last = lineEnd == end || *lineEnd == '\x1A';
    if (lineEnd == end && p == end) break;
    if (header) {
      std::vector<std::string> names;
      SplitEscaped(p, lineEnd, names);
      for (const std::string& name : names) tmp.AddField(name);
      builder.reset(new TRecordBuilder(tmp.FieldCount(), file.Remaining()));
      header = false;
    } else {
      const char* q = p;
      while (q < lineEnd && *q == ' ') ++q;
      if (q < lineEnd) {
        SplitEscaped(p, lineEnd, *builder);
        builder->EndRecord();
      }
    }
    file.Consume(static_cast<size_t>(lineEnd - p));
    if (!last) {
      const bool cr = *lineEnd == '\r';
      file.Consume(1);
      if (cr && file.Fill(1) && *file.Data() == '\n') file.Consume(1);
    }
  }
  if (file.Failed()) return SetError(3, kOpenText, file.Failure());
  if (builder && !builder->Finish(tmp.Records)) return SetError(2, kTooLarge, TFailure::ReadError);
  TakeContent(tmp);
  return TStatus::Ok();
} catch (const std::bad_alloc&) {
  return SetError(3, kOutOfMemory, TFailure::OutOfMemory);
}

std::string TQor2::CsvText() const {
  std::string out;
  out.reserve(ContentSize() + 4 * Records.Count() * (FieldCount() + 1));
  ProduceCsv(*this, out, [] {});
  return out;
}

TStatus TQor2::SaveCsvFile(const std::string& fileName) {
  return SaveInPieces(*this, fileName,
                      [this](std::string& out, auto flush) { ProduceCsv(*this, out, flush); });
}

TStatus TQor2::LoadTxtFile(const std::string& fileName, IFileSystem& fileSystem) try {
  ClearError();
  ChunkReader file(fileSystem);
  if (!file.Open(fileName)) return SetError(3, kOpenText, file.Failure());
  TQor2 tmp;
  tmp.SetNameFromFile(fileName);
  TxtTokenizer tk(file);
  std::string name;
  while (tk.ReadToken(name)) {
    if (!name.empty()) tmp.AddField(name);
    name.clear();
    if (tk.terminator == '\r') break;
  }
  // A field is "FLOAT" when its values came bare (unquoted) at least once and
  // never quoted, which is how the quoted format writes such a field.
  const int fields = tmp.FieldCount();
  std::vector<char> quoted(fields, 0), bare(fields, 0);
  TRecordBuilder builder(fields, file.Remaining());
  while (!tk.AtEnd()) {
    bool inRecord = false;
    int n = 0;
    while (tk.ReadToken(builder)) {
      inRecord = true;
      if (n < fields) {
        if (tk.wasQuoted)
          quoted[n] = 1;
        else if (!tk.empty)
          bare[n] = 1;
      }
      builder.EndValue();
      ++n;
      if (tk.terminator == '\r') break;
    }
    if (inRecord) builder.EndRecord();
  }
  if (file.Failed()) return SetError(3, kOpenText, file.Failure());
  if (!builder.Finish(tmp.Records)) return SetError(2, kTooLarge, TFailure::ReadError);
  for (int i = 0; i < fields; ++i)
    if (bare[i] && !quoted[i]) tmp.SetFieldType(i + 1, "FLOAT");
  TakeContent(tmp);
  return TStatus::Ok();
} catch (const std::bad_alloc&) {
  return SetError(3, kOutOfMemory, TFailure::OutOfMemory);
}

std::string TQor2::TxtText() const {
  std::string out;
  out.reserve(ContentSize() + 8 * Records.Count() * (FieldCount() + 1));
  ProduceTxt(*this, out, [] {});
  return out;
}

TStatus TQor2::SaveTxtFile(const std::string& fileName) {
  return SaveInPieces(*this, fileName,
                      [this](std::string& out, auto flush) { ProduceTxt(*this, out, flush); });
}
