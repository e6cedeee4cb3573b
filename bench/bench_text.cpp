// Opens text files as the world writes them into tables: a CSV of 1,000,000
// lines x 10 columns (or of the lines the argument gives), comma-separated,
// texts in quotes, UTF-8, CR LF, a header line, about 118 MB; time and peak
// memory of the opening (the engine's part: LoadTextTable, in a process of its
// own), beside sqlite3 importing the same file in the same run; the import
// preview's time on it. Then the shapes that must not run away: a single line
// of 1 GB and a file of 10,000 columns, and the preview of the 1 GB line.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchProcess.h"
#include "TQor2.h"
#include "TextTable.h"

namespace {

using Run = BenchRun;

// Runs work() in a child process: its time (measured by the child around the
// work alone) and the child's peak resident memory.
template <typename Work>
Run InChild(Work work) {
  int pipeFd[2];
  if (pipe(pipeFd) != 0) return Run();
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFd[0]);
    const double t0 = BenchNow();
    const bool ok = work();
    const double s = BenchNow() - t0;
    if (write(pipeFd[1], &s, sizeof s) != sizeof s) _exit(2);
    _exit(ok ? 0 : 1);
  }
  close(pipeFd[1]);
  Run run;
  if (read(pipeFd[0], &run.seconds, sizeof run.seconds) != sizeof run.seconds) run.seconds = -1;
  close(pipeFd[0]);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  run.peakBytes = usage.ru_maxrss * 1024.0;
  run.cpuSeconds = CpuSeconds(usage);
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && run.seconds >= 0;
  return run;
}

Run BestInChild(int runs, const std::function<bool()>& work) {
  Run best;
  best.seconds = 1e30;
  for (int i = 0; i < runs; ++i) {
    const Run r = InChild(work);
    if (!r.ok) return r;
    if (r.seconds < best.seconds) best = r;
  }
  return best;
}

double FileSize(const std::string& path) {
  return static_cast<double>(std::filesystem::file_size(path));
}

void Memory(const char* what, const Run& r, double fileBytes, double target) {
  const double ratio = r.peakBytes / fileBytes;
  std::printf("%-44s %8.2f x the file (%.1f MB peak; target <= %.1f)%s\n", what, ratio,
              r.peakBytes / 1e6, target, ratio <= target ? "" : "   OVER TARGET");
}

std::vector<std::string> Names() {
  return {"Nom", "Prenom",  "Adresse",   "CodePostal", "Ville",
          "Age", "Montant", "Telephone", "Notes",      "Ref"};
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string dir =
      (std::filesystem::temp_directory_path() / ("vekbench-text-" + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(dir);
  const std::string csv = dir + "/world.csv";
  if (!InChild([&] { return WriteBenchWorldCsv(csv, records); }).ok) {
    std::fprintf(stderr, "cannot write %s\n", csv.c_str());
    return 1;
  }
  const double size = FileSize(csv);
  std::printf("data: %d lines x 10 columns, commas, quotes, UTF-8, CR LF: %.1f MB\n", records,
              size / 1e6);

  const Run open = BestInChild(3, [&] {
    TQor2 t;
    return LoadTextTable(t, csv).ok() && t.RecordCount() == records && t.FieldCount() == 10;
  });
  if (!open.ok) {
    std::fprintf(stderr, "LoadTextTable failed\n");
    return 1;
  }
  Report("LoadTextTable (engine)", open.seconds, 1.5);
  std::printf("%-44s %8.4f s   (the process's processor time, the file read included)\n",
              "  processor time", open.cpuSeconds);
  Memory("peak memory of that process", open, size, 2.5);
  if (const Run best = SqliteImport(csv); best.ok) {
    ReportSqlitePeer(best, size);
    std::printf("%-44s %8.2f   (target < 1)%s\n", "ratio LoadTextTable / sqlite3",
                open.seconds / best.seconds, open.seconds < best.seconds ? "" : "   OVER TARGET");
  }
  Report("PreviewTextImport, 20 records",
         BestOf(
             5, [] {},
             [&] {
               TTextPreview p;
               PreviewTextImport(csv, TTextOptions(), Names(), 20, p);
             }),
         0.2);
  std::filesystem::remove(csv);

  // A single line of 1 GB: read in pieces, kept once.
  const std::string huge = dir + "/huge.csv";
  {
    std::ofstream out(huge, std::ios::binary);
    const std::string piece(1 << 20, 'x');
    out << "a;";
    for (int i = 0; i < 1024; ++i) out << piece;
    out << "\r\n";
  }
  const double hugeSize = FileSize(huge);
  const Run line = InChild([&] {
    TQor2 t;
    return LoadTextTable(t, huge).ok() && t.RecordCount() == 1;
  });
  std::printf("%-44s %8.4f s\n", "LoadTextTable, one line of 1 GB", line.seconds);
  std::printf("%-44s %8.4f s\n", "  processor time", line.cpuSeconds);
  Memory("peak memory of that process", line, hugeSize, 2.5);
  Report("PreviewTextImport, one line of 1 GB",
         BestOf(
             5, [] {},
             [&] {
               TTextPreview p;
               PreviewTextImport(huge, TTextOptions(), {"A", "B"}, 20, p);
             }),
         0.2);
  std::filesystem::remove(huge);

  // 10,000 columns of numbers, 1,000 lines.
  const std::string wide = dir + "/wide.csv";
  {
    std::ofstream out(wide, std::ios::binary);
    std::string line;
    for (int c = 1; c <= 10000; ++c) line += (c > 1 ? ";C" : "C") + std::to_string(c);
    out << line << "\r\n";
    for (int r = 0; r < 1000; ++r) {
      line.clear();
      for (int c = 1; c <= 10000; ++c) line += (c > 1 ? ";" : "") + std::to_string(r + c);
      out << line << "\r\n";
    }
  }
  const double wideSize = FileSize(wide);
  const Run columns = InChild([&] {
    TQor2 t;
    return LoadTextTable(t, wide).ok() && t.FieldCount() == 10000;
  });
  std::printf("%-44s %8.4f s\n", "LoadTextTable, 10,000 columns x 1,000 lines", columns.seconds);
  Memory("peak memory of that process", columns, wideSize, 2.5);
  std::filesystem::remove_all(dir);
  return 0;
}
