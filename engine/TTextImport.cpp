#include "TTextImport.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "Cp1252.h"
#include "TQor2.h"

namespace {

const size_t kBlock = 1 << 16;
const int kLinesPerStep = 1024;
const char kEndOfFile = 26;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A regular file opened for reading, or nothing (a folder is not a file).
// Nothing, with the cause, when the path names no regular file to read.
FilePtr OpenRegular(const std::string& path, int64_t& size, TFailure& cause) {
  FilePtr f(std::fopen(path.c_str(), "rb"));
  struct stat st;
  if (!f || fstat(fileno(f.get()), &st) != 0) {
    cause = ReadFailure(errno);
    return nullptr;
  }
  if (!S_ISREG(st.st_mode)) {
    cause = S_ISDIR(st.st_mode) ? TFailure::IsFolder : TFailure::ReadError;
    return nullptr;
  }
  size = st.st_size;
  return f;
}

bool StartsWithMark(const char* p, size_t n) {
  return n >= 3 && p[0] == '\xEF' && p[1] == '\xBB' && p[2] == '\xBF';
}

// Reads the whole file once to tell UTF-8 from Windows-1252. False on a read error.
bool DetectUtf8(std::FILE* f, std::vector<char>& block, bool& utf8) {
  TUtf8Detector detector;
  bool first = true;
  size_t n;
  while ((n = std::fread(block.data(), 1, block.size(), f)) > 0) {
    if (first && StartsWithMark(block.data(), n)) {
      utf8 = true;
      return true;
    }
    first = false;
    detector.Feed(block.data(), n);
    if (detector.Malformed()) break;
  }
  if (std::ferror(f)) return false;
  utf8 = detector.IsUtf8();
  return true;
}

void AppendPieces(TQor2& table, std::string_view line, char separator, std::string& value) {
  table.Append();
  const int fields = table.FieldCount();
  for (int n = 1; n <= fields; ++n) {
    const std::string_view piece = SplitAt(line, separator);
    if (!piece.empty()) {
      value.assign(piece);
      table.SetFieldValue(n, value);
    }
    if (line.empty()) break;
  }
}

}  // namespace

std::string_view SplitAt(std::string_view& text, char separator) {
  const size_t at = text.find(separator);
  std::string_view piece = text.substr(0, at);
  text.remove_prefix(at == std::string_view::npos ? text.size() : at + 1);
  return piece;
}

void TTextImport::AppendLine(TQor2& table, std::string_view line, char separator) {
  std::string value;
  AppendPieces(table, line, separator, value);
}

TImportResult TTextImport::Append(TQor2& table, const std::string& path, char separator,
                                  const TProgressFn& progress) {
  TImportResult result;
  int64_t size = 0;
  FilePtr file = OpenRegular(path, size, result.cause);
  if (!file) {
    result.status = TImportResult::CannotOpen;
    return result;
  }
  std::FILE* f = file.get();
  std::vector<char> block(kBlock);
  if (!DetectUtf8(f, block, result.utf8) || std::fseek(f, 0, SEEK_SET) != 0) {
    result.status = TImportResult::ReadError;
    result.cause = ReadFailure(errno);
    return result;
  }

  const int before = table.RecordCount();
  std::string line, converted, value;
  auto add = [&](std::string_view text) {
    if (result.utf8) {
      converted.clear();
      Utf8ToCp1252(text.data(), text.size(), converted, result.replaced);
      text = converted;
    }
    AppendPieces(table, text, separator, value);
  };

  bool first = true, skipLf = false, ended = false, cancelled = false;
  int64_t done = 0;
  int lines = 0;
  size_t n;
  while (!ended && !cancelled && (n = std::fread(block.data(), 1, block.size(), f)) > 0) {
    const char* p = block.data();
    const char* end = p + n;
    if (first && StartsWithMark(p, n)) p += 3;
    first = false;
    done += static_cast<int64_t>(n);
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
      if (++lines % kLinesPerStep == 0 && progress && !progress(done, size)) {
        cancelled = true;
        break;
      }
    }
  }
  if (!cancelled && !line.empty()) add(line);

  if (cancelled) {
    while (table.RecordCount() > before) table.DeleteRecord(table.RecordCount());
    table.Last();
    result.status = TImportResult::Cancelled;
    return result;
  }
  if (std::ferror(f)) {
    result.status = TImportResult::ReadError;
    result.cause = ReadFailure(errno);
  }
  result.appended = table.RecordCount() - before;
  return result;
}
