// The file operations of TQor2: the binary .qor format and the two semicolon
// text formats. Every loader builds the new content in a scratch table and only
// takes it over when the whole file has been read.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "TAtomicFile.h"
#include "TQor2.h"
#include "TXlsWriter.h"
#include "TXmlWriter.h"

namespace {

const char kOpenQor[] = "4-Unable to open file for reading";
const char kOpenText[] = "1-Unable to open the file for reading";
const char kTruncated[] = "5-Unexpected end of file";

// TFailure::None, or why the file cannot be opened or read (a folder opens
// but cannot be read).
TFailure ReadWholeFile(const std::string& path, std::string& data) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return ReadFailure(errno);
  data.clear();
  char buf[1 << 16];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  const TFailure failure = std::ferror(f) ? ReadFailure(errno) : TFailure::None;
  std::fclose(f);
  return failure;
}

uint8_t ByteOrderMark() {
  const uint16_t probe = 0xFF00;
  uint8_t bytes[2];
  std::memcpy(bytes, &probe, 2);
  return bytes[1] == 0xFF ? 1 : 0;
}

// Reads integers and strings from a .qor image, in the byte order the file
// declares, never past its end.
class QorReader {
 public:
  QorReader(const std::string& data, size_t pos) : d_(data), pos_(pos) {}
  void SetSwapped(bool swapped) { swapped_ = swapped; }
  size_t Remaining() const { return d_.size() - pos_; }
  bool ok() const { return ok_; }

  uint8_t U8() {
    if (!Need(1)) return 0;
    return static_cast<uint8_t>(d_[pos_++]);
  }
  uint16_t U16() {
    if (!Need(2)) return 0;
    uint16_t v;
    std::memcpy(&v, d_.data() + pos_, 2);
    pos_ += 2;
    return swapped_ ? static_cast<uint16_t>((v >> 8) | (v << 8)) : v;
  }
  uint32_t U32() {
    if (!Need(4)) return 0;
    uint32_t v;
    std::memcpy(&v, d_.data() + pos_, 4);
    pos_ += 4;
    return swapped_ ? __builtin_bswap32(v) : v;
  }
  // A length-prefixed string, cut at its first zero byte.
  void Str(std::string& out) {
    const uint32_t n = U32();
    if (!ok_ || !Need(n)) {
      out.clear();
      return;
    }
    const char* p = d_.data() + pos_;
    const void* z = std::memchr(p, 0, n);
    out.assign(p, z ? static_cast<const char*>(z) - p : n);
    pos_ += n;
  }
  std::string Str() {
    std::string s;
    Str(s);
    return s;
  }

 private:
  bool Need(size_t n) {
    if (!ok_ || Remaining() < n) ok_ = false;
    return ok_;
  }
  const std::string& d_;
  size_t pos_;
  bool swapped_ = false;
  bool ok_ = true;
};

void PutU16(std::string& out, uint16_t v) {
  out.append(reinterpret_cast<const char*>(&v), 2);
}
void PutU32(std::string& out, uint32_t v) {
  out.append(reinterpret_cast<const char*>(&v), 4);
}
void PutStr(std::string& out, const std::string& s) {
  PutU32(out, static_cast<uint32_t>(s.size()));
  out += s;
}
void SetU32(std::string& out, size_t at, uint32_t v) {
  std::memcpy(&out[at], &v, 4);
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

// The tokenizer of the quoted text format. A token ends at ";" or CR (its
// terminator) or at the end of the file; outside quotes spaces and LF are
// dropped; inside quotes everything is kept and "" stands for one quote.
class TxtTokenizer {
 public:
  explicit TxtTokenizer(const std::string& data) : d_(data) {}
  bool AtEnd() const { return pos_ >= d_.size(); }
  char terminator = ' ';
  bool wasQuoted = false;
  std::string token;

  bool ReadToken() {
    token.clear();
    wasQuoted = false;
    terminator = ' ';
    bool inQuotes = false;
    const size_t n = d_.size();
    while (pos_ < n) {
      const char c = d_[pos_++];
      if (!inQuotes) {
        if (c == '"') {
          inQuotes = wasQuoted = true;
        } else if (c == ' ' || c == '\n') {
          // dropped
        } else if (c == ';' || c == '\r') {
          terminator = c;
          return true;
        } else {
          token.push_back(c);
        }
      } else if (c == '"') {
        if (pos_ < n && d_[pos_] == '"') {
          token.push_back('"');
          ++pos_;
        } else {
          inQuotes = false;
        }
      } else {
        token.push_back(c);
      }
    }
    return !token.empty() || wasQuoted;
  }

 private:
  const std::string& d_;
  size_t pos_ = 0;
};

}  // namespace

size_t TQor2::ContentSize() const {
  size_t n = 0;
  for (const TRecord& rec : Records.Items())
    for (const std::string& v : rec->Items()) n += v.size();
  return n;
}

std::string TQor2::FileKind(const std::string& fileName) {
  if (fileName.size() < 3) return std::string();
  std::string k = fileName.substr(fileName.size() - 3);
  for (char& c : k)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return k;
}

bool TQor2::LoadFromFile(const std::string& fileName) {
  ClearError();
  const std::string kind = FileKind(fileName);
  if (kind == "TXT") return LoadTxtFile(fileName);
  if (kind == "QOR") return LoadQorFile(fileName);
  return LoadCsvFile(fileName);
}

bool TQor2::SaveToFile(const std::string& fileName) {
  const std::string kind = FileKind(fileName);
  if (kind == "TXT") return SaveTxtFile(fileName);
  if (kind == "QOR") return SaveQorFile(fileName);
  if (kind == "XLS") return SaveXlsFile(*this, fileName);
  if (kind == "XML") return SaveXmlFile(*this, fileName);
  return SaveCsvFile(fileName);
}

namespace {

bool SaveText(TQor2& t, const std::string& fileName, const std::string& content) {
  t.ClearError();
  TFailure failure;
  const int r = WriteFileAtomically(fileName, content, &failure);
  if (r != 0) t.SetError(3, AtomicWriteMessage(r), failure);
  return r == 0;
}

}  // namespace

bool TQor2::LoadQorFile(const std::string& fileName) {
  ClearError();
  std::string data;
  if (const TFailure failure = ReadWholeFile(fileName, data); failure != TFailure::None) {
    SetError(3, kOpenQor, failure);
    return false;
  }
  if (data.compare(0, 3, "QOR") != 0) {
    SetError(2, "1-File's Signature must be QOR", TFailure::NotATable);
    return false;
  }
  QorReader in(data, 3);
  in.U8();
  in.U8();
  const uint8_t order = in.U8();
  in.SetSwapped(order != ByteOrderMark());
  const uint16_t tables = in.U16();
  if (in.ok() && tables == 0) {
    SetError(2, "2-number of tables must be at least 1", TFailure::NotATable);
    return false;
  }
  in.U16();
  const uint16_t kind = in.U16();
  if (in.ok() && kind != 0) {
    SetError(2, "3-First Block must be a TABLE", TFailure::NotATable);
    return false;
  }

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
  if (ok) {
    // Values go to the field of the same descriptor number; those beyond the
    // fields actually made (a refused name) are read and dropped.
    const int kept = tmp.FieldCount();
    std::string dropped;
    tmp.Records.Reserve(static_cast<int>(records));
    for (size_t k = 0; ok && k < records; ++k) {
      in.U32();
      auto rec = std::make_shared<TKStringList>();
      rec->Resize(kept);
      for (size_t i = 0; i < fields; ++i) {
        if (static_cast<int>(i) < kept) {
          std::string v;
          in.Str(v);
          rec->Put(static_cast<int>(i), std::move(v));
        } else {
          in.Str(dropped);
        }
      }
      ok = in.ok();
      tmp.Records.Add(std::move(rec));
    }
  }
  if (!ok) {
    SetError(2, kTruncated, TFailure::Truncated);
    return false;
  }
  TakeContent(tmp);
  return true;
}

bool TQor2::SaveQorFile(const std::string& fileName) {
  std::string out;
  out.reserve(64 + TableName.size() + ContentSize() + 4 * Records.Count() * (FieldCount() + 1) +
              32 * FieldCount());

  out += "QOR";
  out.push_back(2);
  out.push_back(0);
  out.push_back(static_cast<char>(ByteOrderMark()));
  PutU16(out, 1);
  PutU16(out, 0);
  PutU16(out, 0);
  const size_t blockSizeAt = out.size();
  PutU32(out, 0);
  PutU16(out, 0);
  PutStr(out, TableName);
  PutU32(out, static_cast<uint32_t>(FieldCount()));
  PutU32(out, static_cast<uint32_t>(RecordCount()));
  for (int i = 0; i < FieldCount(); ++i) {
    out.push_back(FieldTypes.Get(i) == "FLOAT" ? 1 : 0);
    PutStr(out, FieldNames.Get(i));
  }
  for (const TRecord& rec : Records.Items()) {
    const size_t sizeAt = out.size();
    PutU32(out, 0);
    for (const std::string& v : rec->Items()) PutStr(out, v);
    SetU32(out, sizeAt, static_cast<uint32_t>(out.size() - sizeAt - 4));
  }
  SetU32(out, blockSizeAt, static_cast<uint32_t>(out.size() - blockSizeAt - 4));
  return SaveText(*this, fileName, out);
}

bool TQor2::LoadCsvFile(const std::string& fileName) {
  ClearError();
  std::string data;
  const TFailure failure =
      TrimBlanks(fileName).empty() ? TFailure::NotFound : ReadWholeFile(fileName, data);
  if (failure != TFailure::None) {
    SetError(3, kOpenText, failure);
    return false;
  }
  const size_t eof = data.find('\x1A');
  if (eof != std::string::npos) data.resize(eof);

  TQor2 tmp;
  tmp.SetNameFromFile(fileName);
  std::vector<std::string> values;
  const char* p = data.data();
  const char* end = p + data.size();
  bool header = true;
  while (p < end) {
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
    const char* lineEnd = cr ? cr : end;
    if (header) {
      SplitEscaped(p, lineEnd, values);
      for (const std::string& name : values) tmp.AddField(name);
      header = false;
    } else {
      const char* q = p;
      while (q < lineEnd && *q == ' ') ++q;
      if (q < lineEnd) {
        SplitEscaped(p, lineEnd, values);
        auto rec = std::make_shared<TKStringList>();
        rec->Resize(tmp.FieldCount());
        const int n = std::min<int>(tmp.FieldCount(), static_cast<int>(values.size()));
        for (int i = 0; i < n; ++i) rec->Put(i, std::move(values[i]));
        tmp.Records.Add(std::move(rec));
      }
    }
    p = lineEnd;
    if (p < end) {
      ++p;  // the CR
      if (p < end && *p == '\n') ++p;
    }
  }
  TakeContent(tmp);
  return true;
}

std::string TQor2::CsvText() const {
  std::string out;
  out.reserve(ContentSize() + 4 * Records.Count() * (FieldCount() + 1));
  if (FieldCount() > 0) {
    for (int i = 0; i < FieldCount(); ++i) {
      if (i) out += Separator;
      out += FieldNames.Get(i);
    }
    out += "\r\n";
  }
  for (const TRecord& rec : Records.Items()) {
    bool firstValue = true;
    for (const std::string& v : rec->Items()) {
      if (!firstValue) out += Separator;
      firstValue = false;
      Parser.EscapeTo(v, out);
    }
    out += "\r\n";
  }
  return out;
}

bool TQor2::SaveCsvFile(const std::string& fileName) {
  return SaveText(*this, fileName, CsvText());
}

bool TQor2::LoadTxtFile(const std::string& fileName) {
  ClearError();
  std::string data;
  if (const TFailure failure = ReadWholeFile(fileName, data); failure != TFailure::None) {
    SetError(3, kOpenText, failure);
    return false;
  }
  TQor2 tmp;
  tmp.SetNameFromFile(fileName);
  TxtTokenizer tk(data);
  while (tk.ReadToken()) {
    if (!tk.token.empty()) tmp.AddField(tk.token);
    if (tk.terminator == '\r') break;
  }
  // A field is "FLOAT" when its values came bare (unquoted) at least once and
  // never quoted, which is how the quoted format writes such a field.
  const int fields = tmp.FieldCount();
  std::vector<char> quoted(fields, 0), bare(fields, 0);
  while (!tk.AtEnd()) {
    TKStringList* rec = nullptr;
    int n = 0;
    while (tk.ReadToken()) {
      if (!rec) {
        auto fresh = std::make_shared<TKStringList>();
        fresh->Resize(fields);
        rec = fresh.get();
        tmp.Records.Add(std::move(fresh));
      }
      if (n < fields) {
        if (tk.wasQuoted)
          quoted[n] = 1;
        else if (!tk.token.empty())
          bare[n] = 1;
        if (!tk.token.empty()) rec->Put(n, tk.token);
      }
      ++n;
      if (tk.terminator == '\r') break;
    }
  }
  for (int i = 0; i < fields; ++i)
    if (bare[i] && !quoted[i]) tmp.SetFieldType(i + 1, "FLOAT");
  TakeContent(tmp);
  return true;
}

std::string TQor2::TxtText() const {
  std::string out;
  out.reserve(ContentSize() + 8 * Records.Count() * (FieldCount() + 1));
  if (FieldCount() > 0) {
    for (int i = 0; i < FieldCount(); ++i) {
      if (i) out += Separator;
      out += QuoteChar + FieldNames.Get(i) + QuoteChar;
    }
    out += "\r\n";
  }
  std::vector<char> isString(FieldCount());
  for (int i = 0; i < FieldCount(); ++i) isString[i] = FieldTypes.Get(i) == "STRING";
  for (const TRecord& rec : Records.Items()) {
    for (int i = 0; i < rec->Count(); ++i) {
      if (i) out += Separator;
      if (isString[i]) {
        out.push_back('"');
        for (char c : rec->Get(i)) {
          out.push_back(c);
          if (c == '"') out.push_back('"');
        }
        out.push_back('"');
      } else {
        out += rec->Get(i);
      }
    }
    out += "\r\n";
  }
  return out;
}

bool TQor2::SaveTxtFile(const std::string& fileName) {
  return SaveText(*this, fileName, TxtText());
}
