// Times the vektool program as a user runs it, whole processes on generated
// files of 100,000 and 1,000,000 records x 10 fields (or of the sizes the
// arguments give): a sort on a text key,
// against sqlite3 importing the same semicolon text, ordering it and writing
// it out; and the peak memory (maximum resident set) of a conversion against
// the size of the file it reads.

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
#include "TQor2.h"

namespace {

using Run = BenchRun;

Run BestRun(int runs, const std::vector<std::string>& args) {
  Run best;
  best.seconds = 1e30;
  for (int i = 0; i < runs; ++i) {
    const Run r = Spawn(args);
    if (!r.ok) return r;
    if (r.seconds < best.seconds) best = r;
  }
  return best;
}

double FileSize(const std::string& path) {
  return static_cast<double>(std::filesystem::file_size(path));
}

// The figures of one size; false when the data files cannot be written.
bool RunSize(int records, const std::string& tool) {
  const std::string dir =
      (std::filesystem::temp_directory_path() / ("vekbench-tool-" + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(dir);
  const std::string qor = dir + "/t.qor", csv = dir + "/t.csv";
  // Made in a child process: a spawned program's peak memory counts that of
  // its parent until it starts, which must stay small.
  const pid_t maker = fork();
  if (maker == 0) {
    TQor2 t;
    GenerateBenchTable(t, records);
    _exit(t.SaveQorFile(qor) && t.SaveCsvFile(csv) ? 0 : 1);
  }
  int made = 1;
  waitpid(maker, &made, 0);
  if (!WIFEXITED(made) || WEXITSTATUS(made) != 0) {
    std::fprintf(stderr, "cannot write the data files in %s\n", dir.c_str());
    return false;
  }
  std::printf("data: %d records x 10 fields; .qor %.1f MB, .csv %.1f MB\n", records,
              FileSize(qor) / 1e6, FileSize(csv) / 1e6);
  const int runs = 3;

  const Run sortQor = BestRun(runs, {tool, "sort", qor, "Nom", dir + "/s.qor"});
  const Run sortCsv = BestRun(runs, {tool, "sort", csv, "Nom", dir + "/s.csv"});
  std::printf("%-44s %8.4f s\n", "vektool sort .qor -> .qor (text key)", sortQor.seconds);
  std::printf("%-44s %8.4f s\n", "vektool sort .csv -> .csv (text key)", sortCsv.seconds);

  if (std::system("command -v sqlite3 >/dev/null 2>&1") == 0) {
    // The same semicolon text, its first line the field names, sorted on the
    // same field and written out as text.
    const Run lite =
        BestRun(runs, {"sqlite3", ":memory:", "-cmd", ".mode csv", "-cmd", ".separator ;", "-cmd",
                       ".import " + csv + " t", "SELECT * FROM t ORDER BY Nom"});
    std::printf("%-44s %8.4f s\n", "sqlite3 .import + ORDER BY + output", lite.seconds);
    std::printf("%-44s %8.2f   (target <= 0.50)%s\n", "ratio vektool sort .qor / sqlite3",
                sortQor.seconds / lite.seconds,
                sortQor.seconds <= 0.5 * lite.seconds ? "" : "   OVER TARGET");
    std::printf("%-44s %8.2f\n", "ratio vektool sort .csv / sqlite3",
                sortCsv.seconds / lite.seconds);
  }

  struct Conversion {
    const char* label;
    std::string in, out;
  } conversions[] = {{"peak memory, vektool convert .qor -> .csv", qor, dir + "/c.csv"},
                     {"peak memory, vektool convert .csv -> .qor", csv, dir + "/c.qor"}};
  for (const Conversion& c : conversions) {
    const Run r = BestRun(1, {tool, "convert", c.in, c.out});
    const double ratio = r.peakBytes / FileSize(c.in);
    std::printf("%-44s %8.2f x the file read (%.1f MB; target <= 2)%s\n", c.label, ratio,
                r.peakBytes / 1e6, ratio <= 2 ? "" : "   OVER TARGET");
  }
  std::filesystem::remove_all(dir);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // VEKTOOL the program to time, by default the one built beside.
  const char* other = std::getenv("VEKTOOL");
  const std::string tool = other ? other : VEKTOOL_PATH;
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {100000, 1000000};
  for (const int records : sizes) {
    if (!RunSize(records, tool)) return 1;
    std::printf("\n");
  }
  return 0;
}
