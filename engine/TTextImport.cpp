#include "TTextImport.h"

#include <cstring>
#include <new>
#include <vector>

#include "Cp1252.h"
#include "TFileReader.h"
#include "TQor2.h"
#include "TRecordBuilder.h"

namespace {

const size_t kBlock = 1 << 16;  // also the part of the file checked for zero bytes
const int kLinesPerStep = 1024;
const char kEndOfFile = 26;

bool StartsWithMark(const char* p, size_t n) {
  return n >= 3 && p[0] == '\xEF' && p[1] == '\xBB' && p[2] == '\xBF';
}

// The pieces of one line as the values of one record.
void AddPieces(TRecordBuilder& to, std::string_view line, char separator, int fields) {
  for (int n = 0; n < fields; ++n) {
    const std::string_view piece = SplitAt(line, separator);
    to.Append(piece.data(), piece.size());
    to.EndValue();
    if (line.empty()) break;
  }
  to.EndRecord();
}

// Reads the file in blocks from its start. Its first block is the first 64 KB.
class BlockReader {
 public:
  BlockReader(TFileReader& file, std::vector<char>& block) : file_(file), block_(block) {}
  // The next block's size, 0 at the end; -1 on a read error.
  long Next() {
    const long n = file_.ReadAt(offset_, block_.data(), block_.size());
    if (n > 0) offset_ += n;
    return n;
  }
  void Rewind() { offset_ = 0; }
  long long Offset() const { return offset_; }

 private:
  TFileReader& file_;
  std::vector<char>& block_;
  long long offset_ = 0;
};

// Reads the whole file once to tell text from anything else, and UTF-8 from
// Windows-1252.
TStatus Examine(BlockReader& in, const std::vector<char>& block, bool& utf8) {
  TUtf8Detector detector;
  bool first = true;
  long n;
  while ((n = in.Next()) > 0) {
    const size_t size = static_cast<size_t>(n);
    if (first && std::memchr(block.data(), 0, size)) return TStatus(TFailure::NotText);
    if (first && StartsWithMark(block.data(), size)) {
      utf8 = true;
      return TStatus::Ok();
    }
    first = false;
    detector.Feed(block.data(), size);
    if (detector.Malformed()) break;
  }
  if (n < 0) return TStatus(TFailure::ReadError);
  utf8 = detector.IsUtf8();
  return TStatus::Ok();
}

}  // namespace

std::string_view SplitAt(std::string_view& text, char separator) {
  const size_t at = text.find(separator);
  std::string_view piece = text.substr(0, at);
  text.remove_prefix(at == std::string_view::npos ? text.size() : at + 1);
  return piece;
}

void TTextImport::AppendLine(TQor2& table, std::string_view line, char separator) {
  TRecordBuilder record(table.FieldCount());
  AddPieces(record, line, separator, table.FieldCount());
  table.AppendBuilt(record);
}

TImportResult TTextImport::Append(TQor2& table, const std::string& path, char separator,
                                  const TProgressFn& progress, IFileSystem& fileSystem) try {
  TFileReader file(fileSystem);
  if (!file.Open(path)) return TImportResult::Failed(TStatus(file.Failure(), path));
  TImportResult result;
  const long long size = file.Size();
  std::vector<char> block(kBlock);
  BlockReader in(file, block);
  result.status = Examine(in, block, result.utf8);
  if (!result.status) return result;
  in.Rewind();

  const int fields = table.FieldCount();
  TRecordBuilder records(fields);
  std::string line, converted;
  auto add = [&](std::string_view text) {
    if (result.utf8) {
      converted.clear();
      Utf8ToCp1252(text.data(), text.size(), converted, result.replaced);
      text = converted;
    }
    AddPieces(records, text, separator, fields);
  };

  bool first = true, skipLf = false, ended = false;
  int lines = 0;
  long n;
  while (!ended && (n = in.Next()) > 0) {
    const char* p = block.data();
    const char* end = p + n;
    if (first && StartsWithMark(p, static_cast<size_t>(n))) p += 3;
    first = false;
    while (p < end) {
      if (skipLf) {
        skipLf = false;
        if (*p == '\n') {
          ++p;
          continue;
        }
      }
      const char* q = p;
      while (q < end && *q != '\r' && *q != '\n' && *q != kEndOfFile) ++q;
      line.append(p, q);
      if (q == end) break;
      if (*q == kEndOfFile) {
        ended = true;
        break;
      }
      add(line);
      line.clear();
      skipLf = *q == '\r';
      p = q + 1;
      if (++lines % kLinesPerStep == 0 && progress && !progress(in.Offset(), size)) {
        result.cancelled = true;
        return result;
      }
    }
  }
  if (file.Failed()) {
    // The lines read whole stay; the one the error cut short does not.
    result.status = TStatus(file.Failure(), path);
  } else if (!line.empty()) {
    add(line);
  }
  const size_t built = records.Records();
  if (!table.AppendBuilt(records)) return TImportResult::Failed(TStatus(TFailure::ReadError, path));
  result.appended = static_cast<int>(built);
  return result;
} catch (const std::bad_alloc&) {
  return TImportResult::Failed(TStatus(TFailure::OutOfMemory, path));
}
