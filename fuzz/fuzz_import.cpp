// Appends arbitrary bytes as tab text to a table of four fields and checks the
// result against a plain reading of the same rules: one record per line (CR
// LF, LF or CR; byte 26 ends the file), values by position; for text taken
// as Windows-1252 every value must be the bytes between the tabs. A file with
// a zero byte in its first 64 KB is refused whole.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "TQor2.h"
#include "TTextImport.h"

namespace {

std::vector<std::string> PlainLines(std::string data) {
  if (data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
  const size_t eof = data.find('\x1A');
  if (eof != std::string::npos) data.resize(eof);
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    lines.push_back(line);
    line.clear();
    if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFile f(data, size, ".txt");
  TQor2 t;
  for (const char* name : {"A", "B", "C", "D"}) t.AddField(name);
  const TImportResult r = TTextImport::Append(t, f.Path(), '\t');
  // A zero byte in the first 64 KB makes the file no text: nothing comes.
  if (std::memchr(data, 0, size < 65536 ? size : 65536)) {
    if (r.status.Cause() != TFailure::NotText || t.RecordCount() != 0) std::abort();
    return 0;
  }
  if (!r.Ok()) std::abort();
  const std::vector<std::string> lines =
      PlainLines(std::string(reinterpret_cast<const char*>(data), size));
  if (r.appended != static_cast<int>(lines.size()) || t.RecordCount() != r.appended) std::abort();
  if (r.utf8 || r.replaced != 0) {
    if (!r.utf8) std::abort();
    return 0;
  }
  for (int n = 1; n <= t.RecordCount(); ++n) {
    const std::string& line = lines[n - 1];
    size_t start = 0;
    for (int i = 1; i <= 4; ++i) {
      const size_t tab = line.find('\t', start);
      const std::string piece = start > line.size() ? "" : line.substr(start, tab - start);
      if (t.GetCell(i, n) != piece) std::abort();
      start = tab == std::string::npos ? line.size() + 1 : tab + 1;
    }
  }
  return 0;
}
