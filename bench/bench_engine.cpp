// Times the table engine on generated tables of 100,000 and 1,000,000 records
// x 10 fields (or of the sizes the arguments give), loaded from their files:
// file formats, sorts on four key shapes, duplicate removal, LIKE search, and
// the memory a loaded table takes. Also times sqlite3's CSV import of the same
// data, when the sqlite3 program is there, as a yardstick, and ends with how
// each time grows from one size to the next.

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchData.h"
#include "TQor2.h"
#include "TXlsWriter.h"

namespace {

size_t HeapInUse() {
  struct mallinfo2 mi = mallinfo2();
  return mi.uordblks + mi.hblkhd;
}

// The times of one size, by name, for the growth at the end.
std::map<std::string, double> times;

void Report(const char* what, double seconds, double target) {
  ::Report(what, seconds, target);
  times[what] = seconds;
}

void RunSize(int records) {
  const std::string dir =
      (std::filesystem::temp_directory_path() / ("vekbench-" + std::to_string(getpid()))).string();
  std::filesystem::create_directories(dir);
  const std::string qor = dir + "/t.qor", csv = dir + "/t.csv", txt = dir + "/t.txt",
                    xls = dir + "/t.xls";

  // The table as a user has it: loaded from its file.
  TQor2 t;
  {
    TQor2 generated;
    GenerateBenchTable(generated, records);
    generated.SaveQorFile(qor);
  }
  t.LoadQorFile(qor);
  std::printf("table: %d records x %d fields\n", t.RecordCount(), t.FieldCount());
  const int runs = 5;
  auto none = [] {};
  // The targets of a million records, or of 100,000.
  const bool million = records >= 1000000;
  const double fileTarget = million ? 0.5 : 0.25;
  const double sortTarget = million ? 0.8 : 1.0;
  const double dupTarget = million ? 0.4 : 0.3;

  Report("SaveQorFile", BestOf(runs, none, [&] { t.SaveQorFile(qor); }), fileTarget);
  Report("SaveCsvFile", BestOf(runs, none, [&] { t.SaveCsvFile(csv); }), 0.5);
  Report("SaveTxtFile", BestOf(runs, none, [&] { t.SaveTxtFile(txt); }), 0.5);
  {
    // The format holds at most 65,535 records: time the largest table it takes.
    TQor2 x;
    x.Assign(t);
    while (x.RecordCount() > 65535) x.DeleteRecord(x.RecordCount());
    Report("SaveXlsFile (65,535 records)", BestOf(runs, none, [&] { SaveXlsFile(x, xls); }), 0.5);
  }
  {
    TQor2 u;
    Report("LoadQorFile", BestOf(runs, none, [&] { u.LoadQorFile(qor); }), fileTarget);
    Report("LoadCsvFile", BestOf(runs, none, [&] { u.LoadCsvFile(csv); }), 0.5);
    Report("LoadTxtFile", BestOf(runs, none, [&] { u.LoadTxtFile(txt); }), 0.5);
  }

  // Memory of one loaded table against its file size.
  {
    const size_t before = HeapInUse();
    auto* u = new TQor2;
    u->LoadQorFile(qor);
    const size_t after = HeapInUse();
    const double fileSize = static_cast<double>(std::filesystem::file_size(qor));
    const double ratio = (after - before) / fileSize;
    std::printf("%-44s %8.2f x file size (%.1f MB for %.1f MB; target <= 1.6)%s\n",
                "memory of a loaded table", ratio, (after - before) / 1e6, fileSize / 1e6,
                ratio <= 1.6 ? "" : "   OVER TARGET");
    const auto t0 = std::chrono::steady_clock::now();
    delete u;
    const double freed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%-44s %8.4f s\n", "freeing a loaded table", freed);
    times["freeing a loaded table"] = freed;
  }

  // Sorts on four key shapes. Each run sorts a fresh copy of the table.
  TQor2 work;
  struct Shape {
    const char* name;
    const char* field;
    int prepare;  // 0 as generated, 1 sorted beforehand, 2 reversed beforehand
  } shapes[] = {{"random keys", "Nom", 0},
                {"50 towns", "Ville", 0},
                {"sorted keys", "Nom", 1},
                {"reversed keys", "Nom", 2}};
  for (const Shape& s : shapes) {
    TQor2 base;
    base.Assign(t);
    if (s.prepare) base.SortText(s.field, s.prepare == 1);
    std::string label = std::string("SortText, ") + s.name;
    Report(label.c_str(),
           BestOf(
               3, [&] { work.Assign(base); }, [&] { work.SortText(s.field, true); }),
           sortTarget);
  }
  struct FloatShape {
    const char* name;
    int prepare;
  } fshapes[] = {
      {"random keys", 0}, {"many ties (Age)", 3}, {"sorted keys", 1}, {"reversed keys", 2}};
  for (const FloatShape& s : fshapes) {
    TQor2 base;
    base.Assign(t);
    const char* field = s.prepare == 3 ? "Age" : "Montant";
    if (s.prepare == 1 || s.prepare == 2) base.SortFloat(field, s.prepare == 1);
    std::string label = std::string("SortFloat, ") + s.name;
    Report(label.c_str(),
           BestOf(
               3, [&] { work.Assign(base); }, [&] { work.SortFloat(field, true); }),
           sortTarget);
  }

  {
    // A third of the records duplicated.
    TQor2 dup;
    dup.Assign(t);
    for (int r = 1; r <= records / 3; ++r) {
      dup.Append();
      for (int f = 1; f <= dup.FieldCount(); ++f) dup.SetFieldValue(f, t.GetCell(f, r * 2).str());
    }
    Report("RemoveDuplicates (133% records)",
           BestOf(
               3, [&] { work.Assign(dup); }, [&] { work.RemoveDuplicates(); }),
           dupTarget);
  }

  Report("FindNext through all records, LIKE",
         BestOf(
             runs, [&] { t.First(); },
             [&] {
               int found = 0;
               t.BeginSearch(true);
               while (t.FindNext("Nom", "LIKE", "*zz*")) ++found;
               t.EndSearch();
             }),
         0.2);

  if (std::system("command -v sqlite3 >/dev/null 2>&1") == 0) {
    const std::string cmd = "sqlite3 :memory: -cmd '.mode csv' -cmd '.separator ;' '.import " +
                            csv + " t' >/dev/null 2>&1";
    const double s = BestOf(3, none, [&] { std::system(cmd.c_str()); });
    std::printf("%-44s %8.4f s   (peer: whole sqlite3 process, same CSV)\n",
                "sqlite3 :memory: .import", s);
    std::printf("%-44s %8.2f\n", "ratio LoadCsvFile / sqlite3 .import", times["LoadCsvFile"] / s);
    times["sqlite3 :memory: .import"] = s;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {100000, 1000000};
  std::vector<std::map<std::string, double>> all;
  for (const int records : sizes) {
    times.clear();
    RunSize(records);
    all.push_back(times);
    std::printf("\n");
  }
  for (size_t k = 1; k < sizes.size(); ++k) {
    const double step = static_cast<double>(sizes[k]) / sizes[k - 1];
    std::printf("growth from %d to %d records (%.0fx the records; target <= %.1fx for each)\n",
                sizes[k - 1], sizes[k], step, 1.1 * step);
    for (const auto& [what, seconds] : all[k]) {
      const auto before = all[k - 1].find(what);
      if (before == all[k - 1].end() || before->second <= 0) continue;
      const double growth = seconds / before->second;
      std::printf("  %-42s %8.1fx%s\n", what.c_str(), growth,
                  growth <= 1.1 * step ? "" : "   OVER TARGET");
    }
  }
  return 0;
}
