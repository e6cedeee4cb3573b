// Spreadsheets and databases at 1,000,000 records x 10 fields (or the sizes
// the arguments give): .xlsx written and read, .sqlite written and read
// beside sqlite3's own .import of the same data, a PostgreSQL load beside
// psql's \copy of the same data into a server of the benchmark's own; .ods
// for the record. Then the peak memory (maximum resident set) of each
// conversion as vektool runs it, against the size of the table's .qor file.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchProcess.h"
#include "Cp1252.h"
#include "ForeignTable.h"
#include "PgTestCluster.h"
#include "TQor2.h"

namespace {

using Run = BenchRun;

double Seconds(const std::chrono::steady_clock::time_point& t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The machine is shared: beside the time on the clock, the processor time
// the work took, which others' load changes much less.
struct Timing {
  double seconds = -1;
  double cpu = 0;
};

template <typename F>
Timing Time(F f) {
  struct rusage u0, u1;
  getrusage(RUSAGE_SELF, &u0);
  const auto t0 = std::chrono::steady_clock::now();
  Timing t;
  if (!f()) return t;
  t.seconds = Seconds(t0);
  getrusage(RUSAGE_SELF, &u1);
  t.cpu = CpuSeconds(u1) - CpuSeconds(u0);
  return t;
}

void Line(const char* what, Timing t, double target) {
  if (t.seconds < 0) {
    std::printf("%-48s   FAILED\n", what);
    return;
  }
  std::printf("%-48s %8.3f s (processor %.3f s)", what, t.seconds, t.cpu);
  if (target > 0)
    std::printf("   (target <= %.2f s)%s", target, t.seconds <= target ? "" : "   OVER TARGET");
  std::printf("\n");
}

Timing Of(const Run& r) {
  Timing t;
  if (r.ok) t = {r.seconds, r.cpuSeconds};
  return t;
}

bool RunSize(int records, const std::string& tool) {
  const std::string dir =
      (std::filesystem::temp_directory_path() / ("vekbench-formats-" + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(dir);
  const std::string qor = dir + "/t.qor", csv = dir + "/t.csv";
  // Made in a child: a spawned program's peak memory must not count the
  // parent's table.
  const pid_t maker = fork();
  if (maker == 0) {
    TQor2 t;
    GenerateBenchTable(t, records);
    _exit(t.SaveQorFile(qor) && t.SaveCsvFile(csv) ? 0 : 1);
  }
  int made = 1;
  waitpid(maker, &made, 0);
  if (!WIFEXITED(made) || WEXITSTATUS(made) != 0) return false;
  const double qorSize = static_cast<double>(std::filesystem::file_size(qor));
  std::printf("data: %d records x 10 fields; .qor %.1f MB\n", records, qorSize / 1e6);

  PgTestCluster pg;
  const std::string uri = pg.Available() ? pg.Uri() : std::string();
  if (!pg.Available()) std::printf("PostgreSQL: %s\n", pg.Why().c_str());

  // Peak memory first, while this process is small.
  struct Conversion {
    std::string label, in, out;
    std::vector<std::string> extra;
  };
  std::vector<Conversion> conversions = {
      {".qor -> .xlsx", qor, dir + "/m.xlsx", {}},
      {".xlsx -> .qor", dir + "/m.xlsx", dir + "/x.qor", {}},
      {".qor -> .ods", qor, dir + "/m.ods", {}},
      {".ods -> .qor", dir + "/m.ods", dir + "/o.qor", {}},
      {".qor -> .sqlite", qor, dir + "/m.sqlite", {}},
      {".sqlite -> .qor", dir + "/m.sqlite", dir + "/s.qor", {}}};
  if (!uri.empty()) {
    conversions.push_back({".qor -> PostgreSQL", qor, uri, {"--table", "mem", "--replace"}});
    conversions.push_back({"PostgreSQL -> .qor", uri, dir + "/p.qor", {"--table", "mem"}});
  }
  for (const Conversion& c : conversions) {
    std::vector<std::string> args = {tool, "convert", c.in, c.out};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const Run r = Spawn(args);
    const double ratio = r.peakBytes / qorSize;
    std::printf("peak memory, vektool convert %-19s %6.2f x .qor (%.0f MB; target <= 2.5)%s%s\n",
                c.label.c_str(), ratio, r.peakBytes / 1e6, ratio <= 2.5 ? "" : "   OVER TARGET",
                r.ok ? "" : "   FAILED");
  }

  TQor2 table;
  table.LoadQorFile(qor);
  const std::string xlsx = dir + "/t.xlsx", ods = dir + "/t.ods", lite = dir + "/t.sqlite";
  std::filesystem::remove(lite);
  Line("write .xlsx", Time([&] { return WriteForeignTable(table, xlsx).ok(); }), 8);
  TForeignReport report;
  Line("read .xlsx", Time([&] {
         TQor2 t;
         return ReadForeignTable(xlsx, t, report).ok();
       }),
       8);
  Line("write .ods", Time([&] { return WriteForeignTable(table, ods).ok(); }), 0);
  Line("read .ods", Time([&] {
         TQor2 t;
         return ReadForeignTable(ods, t, report).ok();
       }),
       0);
  Line("write .sqlite", Time([&] { return WriteForeignTable(table, lite).ok(); }), 2);
  Line("read .sqlite", Time([&] {
         TQor2 t;
         return ReadForeignTable(lite, t, report).ok();
       }),
       1.5);
  if (std::system("command -v sqlite3 >/dev/null 2>&1") == 0) {
    const Run r = Spawn({"sqlite3", dir + "/i.sqlite", "-cmd", ".mode csv", "-cmd", ".separator ;",
                         ".import " + csv + " t"});
    Line("sqlite3 .import of the same data as CSV", Of(r), 0);
  }

  if (!uri.empty()) {
    // psql \copy of the same values as COPY text, into the same columns.
    std::string copyText;
    {
      TQor2 t;
      t.LoadQorFile(qor);
      for (int r = 1; r <= t.RecordCount(); ++r) {
        for (int f = 1; f <= t.FieldCount(); ++f) {
          if (f > 1) copyText.push_back('\t');
          std::string v = t.GetCell(f, r).str();
          if (t.GetFieldType(f) == "FLOAT")
            for (char& c : v)
              if (c == ',') c = '.';
          copyText += Cp1252ToUtf8(v);
        }
        copyText.push_back('\n');
      }
    }
    const std::string copyFile = dir + "/t.copy";
    FILE* f = std::fopen(copyFile.c_str(), "wb");
    std::fwrite(copyText.data(), 1, copyText.size(), f);
    std::fclose(f);
    copyText.clear();
    copyText.shrink_to_fit();
    std::string columns;
    for (int c = 1; c <= table.FieldCount(); ++c)
      columns += std::string(c > 1 ? ", " : "") + "\"" + table.GetFieldName(c) + "\" " +
                 (table.GetFieldType(c) == "FLOAT" ? "NUMERIC" : "TEXT");
    pg.Psql("DROP TABLE IF EXISTS psqlcopy; CREATE TABLE psqlcopy (" + columns + ");");
    const Run psql = Spawn({"psql", "-X", "-q", "-h", pg.Folder(), "-U", "postgres", "-d",
                            "postgres", "-c", "\\copy psqlcopy FROM '" + copyFile + "'"});
    TForeignOptions options;
    options.part = "bench";
    options.replace = true;
    const Timing load = Time([&] { return WriteForeignTable(table, uri, options).ok(); });
    Line("psql \\copy of the same data", Of(psql), 0);
    Line("PostgreSQL load (create + COPY, one transaction)", load, 1.5 * psql.seconds);
    Line("PostgreSQL read", Time([&] {
           TQor2 t;
           return ReadForeignTable(uri, t, report, options).ok();
         }),
         0);
  }
  std::filesystem::remove_all(dir);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* other = std::getenv("VEKTOOL");
  const std::string tool = other ? other : VEKTOOL_PATH;
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000000};
  for (const int records : sizes) {
    if (!RunSize(records, tool)) return 1;
    std::printf("\n");
  }
  return 0;
}
