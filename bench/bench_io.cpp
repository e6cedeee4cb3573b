// Times the import and export on generated data: 100,000 lines of tab text
// (Windows-1252 and UTF-8), a dBase table of 100,000 records, and the export
// of a selection of about half the records in each format. Also reports the peak memory of
// an import against the memory of the table it produces, and of a selection
// export, counted by the allocator below (every malloc, realloc and free of
// the program, operator new included: the engine keeps a table's values in
// blocks it gets from malloc). The import command of the window, with the
// refill of its table view, is timed by bench_document.

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "BenchData.h"
#include "DbfImport.h"
#include "TQor2.h"
#include "TTextImport.h"
#include "TableExport.h"

namespace {

std::atomic<int64_t> gLive{0};
std::atomic<int64_t> gPeak{0};

void Count(void* p, int sign) {
  if (!p) return;
  const int64_t delta = sign * static_cast<int64_t>(malloc_usable_size(p));
  const int64_t now = gLive.fetch_add(delta) + delta;
  int64_t peak = gPeak.load();
  while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
  }
}

}  // namespace

// The C library's own allocator, under the names it exports for replacements.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);

void* malloc(size_t size) {
  void* p = __libc_malloc(size);
  Count(p, 1);
  return p;
}
void* calloc(size_t count, size_t size) {
  void* p = __libc_calloc(count, size);
  Count(p, 1);
  return p;
}
void* realloc(void* p, size_t size) {
  Count(p, -1);
  void* q = __libc_realloc(p, size);
  // A failed realloc leaves p as it was.
  Count(q ? q : (size ? p : nullptr), 1);
  return q;
}
void free(void* p) {
  Count(p, -1);
  __libc_free(p);
}
void* memalign(size_t alignment, size_t size) {
  void* p = __libc_memalign(alignment, size);
  Count(p, 1);
  return p;
}
void* aligned_alloc(size_t alignment, size_t size) {
  return memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) {
  void* p = memalign(alignment, size);
  if (!p) return ENOMEM;
  *out = p;
  return 0;
}
}

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The table's records as tab text, in Windows-1252 or in UTF-8.
std::string TabText(const TQor2& t, bool utf8) {
  std::string out;
  for (int r = 1; r <= t.RecordCount(); ++r) {
    for (int f = 1; f <= t.FieldCount(); ++f) {
      if (f > 1) out += '\t';
      for (const char c : t.GetCell(f, r)) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (utf8 && b >= 0x80) {
          out += static_cast<char>(0xC0 | (b >> 6));
          out += static_cast<char>(0x80 | (b & 0x3F));
        } else {
          out += c;
        }
      }
    }
    out += "\r\n";
  }
  return out;
}

// A dBase III table of the same records: every field a character field wide
// enough for its longest value.
std::string DbfBytes(const TQor2& t) {
  const int fields = t.FieldCount();
  std::vector<int> width(fields, 1);
  for (int r = 1; r <= t.RecordCount(); ++r)
    for (int f = 1; f <= fields; ++f)
      width[f - 1] = std::max<int>(width[f - 1], static_cast<int>(t.GetCell(f, r).size()));
  int recordLength = 1;
  for (int w : width) recordLength += w;
  const int headerLength = 32 + 32 * fields + 1;
  std::string s(32, '\0');
  s[0] = 3;
  auto put = [&s](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(4, static_cast<uint32_t>(t.RecordCount()), 4);
  put(8, static_cast<uint32_t>(headerLength), 2);
  put(10, static_cast<uint32_t>(recordLength), 2);
  for (int f = 1; f <= fields; ++f) {
    std::string d(32, '\0');
    const std::string name = t.GetFieldName(f).substr(0, 10);
    d.replace(0, name.size(), name);
    d[11] = 'C';
    d[16] = static_cast<char>(width[f - 1]);
    s += d;
  }
  s += '\r';
  s.reserve(s.size() + static_cast<size_t>(recordLength) * t.RecordCount() + 1);
  for (int r = 1; r <= t.RecordCount(); ++r) {
    s += ' ';
    for (int f = 1; f <= fields; ++f) {
      std::string v = t.GetCell(f, r).str();
      v.resize(static_cast<size_t>(width[f - 1]), ' ');
      s += v;
    }
  }
  s += '\x1A';
  return s;
}

// An empty table with the fields of t.
void Structure(const TQor2& t, TQor2& into) {
  into.Clear();
  for (int f = 1; f <= t.FieldCount(); ++f) into.AddField(t.GetFieldName(f));
}

// Peak memory of `work`, above what was in use before it.
template <typename Work>
double PeakOf(Work work) {
  const int64_t before = gLive.load();
  gPeak.store(before);
  work();
  return static_cast<double>(gPeak.load() - before);
}

// Peak memory of one import into an empty table against what the table holds
// afterwards.
template <typename Import>
void ReportMemory(const char* what, const TQor2& model, Import import) {
  auto* table = new TQor2;
  Structure(model, *table);
  const int64_t before = gLive.load();
  gPeak.store(before);
  import(*table);
  const double peak = static_cast<double>(gPeak.load() - before);
  const double kept = static_cast<double>(gLive.load() - before);
  std::printf("%-44s %8.2f x the table (peak %.1f MB, table %.1f MB; target <= 2)%s\n", what,
              peak / kept, peak / 1e6, kept / 1e6, peak <= 2 * kept ? "" : "   OVER TARGET");
  delete table;
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string dir =
      (std::filesystem::temp_directory_path() / ("vekbench-io-" + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(dir);
  const std::string tab = dir + "/t.txt", tab8 = dir + "/t8.txt", dbf = dir + "/t.dbf";

  TQor2 t;
  GenerateBenchTable(t, records);
  WriteFile(tab, TabText(t, false));
  WriteFile(tab8, TabText(t, true));
  WriteFile(dbf, DbfBytes(t));
  std::printf("data: %d records x %d fields; tab text %.1f MB, dBase %.1f MB\n", t.RecordCount(),
              t.FieldCount(), std::filesystem::file_size(tab) / 1e6,
              std::filesystem::file_size(dbf) / 1e6);

  TQor2 work;
  auto empty = [&] { Structure(t, work); };
  Report("import tab text (Windows-1252)",
         BestOf(3, empty, [&] { TTextImport::Append(work, tab, '\t'); }), 0.6);
  Report("import tab text (UTF-8, converted)",
         BestOf(3, empty, [&] { TTextImport::Append(work, tab8, '\t'); }), 0.6);
  Report("import dBase table", BestOf(3, empty, [&] { AppendDbfTable(work, dbf); }), 1.0);

  // About half the records: ages 18 to 52 of 18 to 87 (two digits: the text
  // order is the numbers' order).
  int selected = 0;
  for (int r = 1; r <= t.RecordCount(); ++r) selected += t.GetCell(6, r) < "53";
  const char* kinds[] = {"csv", "txt", "xml"};
  const TExportFormat formats[] = {TExportFormat::Csv, TExportFormat::Txt, TExportFormat::Xml};
  for (int k = 0; k < 3; ++k) {
    const std::string path = dir + "/sel." + kinds[k];
    const std::string label =
        std::string("export selection of ") + std::to_string(selected) + " records, ." + kinds[k];
    Report(label.c_str(),
           BestOf(
               3, [] {}, [&] { ExportSelection(t, path, formats[k], "Age", "<", "53"); }),
           0.5);
  }

  // Measured on a table just loaded, as a user's table is: its values in blocks.
  const std::string qor = dir + "/t.qor";
  t.SaveQorFile(qor);
  TQor2 loaded;
  const int64_t empty0 = gLive.load();
  loaded.LoadQorFile(qor);
  const double tableBytes = static_cast<double>(gLive.load() - empty0);
  for (int k = 0; k < 3; ++k) {
    const std::string label = std::string("peak memory, export selection .") + kinds[k];
    const double peak = PeakOf(
        [&] { ExportSelection(loaded, dir + "/sel." + kinds[k], formats[k], "Age", "<", "53"); });
    std::printf("%-44s %8.2f x the table (peak %.1f MB, table %.1f MB)\n", label.c_str(),
                peak / tableBytes, peak / 1e6, tableBytes / 1e6);
  }

  ReportMemory("peak memory, tab text import", t,
               [&](TQor2& into) { TTextImport::Append(into, tab, '\t'); });
  ReportMemory("peak memory, UTF-8 tab text import", t,
               [&](TQor2& into) { TTextImport::Append(into, tab8, '\t'); });
  ReportMemory("peak memory, dBase import", t, [&](TQor2& into) { AppendDbfTable(into, dbf); });

  std::filesystem::remove_all(dir);
  return 0;
}
