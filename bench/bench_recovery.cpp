// What the recovery journal costs and what recovery takes, on a generated
// table of 1,000,000 records x 10 fields (or N), offscreen:
// - a cell written back by a row change of the table view, in a window
//   without the journal and in one with it, taking turns;
// - a sort of every record, and an import of as many records
//   of tab text, without and with the journal (with it, the imported records
//   are written to the journal in the background: the time until they are on
//   the disk is printed too);
// - recovering the table after 1,000 journaled edits (each after the row
//   change's snapshot) and one sort, against opening the file.
// Wall times beside the window thread's processor time, the machine being
// shared.

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "BenchData.h"
#include "BenchState.h"
#include "TChild.h"
#include "TFakeServices.h"
#include "TJournalReader.h"
#include "TRecoveryJournal.h"
#include "TStringGrid.h"

namespace fs = std::filesystem;

namespace {

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

double ThreadCpu() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

struct TTiming {
  double wall = 1e30, cpu = 1e30;
  template <typename F>
  void Take(F f) {
    const double w = Now(), c = ThreadCpu();
    f();
    cpu = std::min(cpu, ThreadCpu() - c);
    wall = std::min(wall, Now() - w);
  }
};

void Compare(const char* what, const TTiming& without, const TTiming& with, double limit) {
  const double added = with.wall / without.wall - 1;
  std::printf("%-46s %8.3f s, %8.3f s without: %+5.1f%%  (target <= +%.0f%%)%s\n", what, with.wall,
              without.wall, 100 * added, 100 * limit, added <= limit ? "" : "   OVER TARGET");
  std::printf("%-46s %8.3f s, %8.3f s without: %+5.1f%%\n", "  processor time of the window",
              with.cpu, without.cpu, 100 * (with.cpu / without.cpu - 1));
}

// Table, import file: made in a child process, so that making them costs this
// one no memory.
bool MakeFiles(int records, const std::string& qor, const std::string& tab) {
  const pid_t maker = fork();
  if (maker == 0) {
    TQor2 t;
    GenerateBenchTable(t, records);
    bool ok = t.SaveQorFile(qor).ok();
    std::ofstream out(tab, std::ios::binary);
    std::string line;
    for (int r = 1; r <= t.RecordCount(); ++r) {
      line.clear();
      for (int f = 1; f <= t.FieldCount(); ++f) {
        if (f > 1) line += '\t';
        line.append(t.GetCell(f, r));
      }
      line += "\r\n";
      out << line;
    }
    out.close();  // _exit flushes nothing
    _exit(ok && !out.fail() ? 0 : 1);
  }
  int status = 1;
  waitpid(maker, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const TBenchStateFolder state;
  TFakeServices services;
  SetServices(&services);
  TRecoveryJournal::Settings().flushDelayMs = 500;

  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const fs::path dir =
      fs::temp_directory_path() / ("vekbench-recovery-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string qor = (dir / "bench.qor").string();
  const std::string tab = (dir / "import.txt").string();
  if (!MakeFiles(records, qor, tab)) {
    std::fprintf(stderr, "cannot write %s\n", dir.c_str());
    return 1;
  }
  std::printf("table: %d records x 10 fields, %.1f MB; import file %.1f MB\n", records,
              fs::file_size(qor) / 1e6, fs::file_size(tab) / 1e6);

  // Two windows on the table: without the journal, and with it.
  std::unique_ptr<TChild> windows[2];
  for (int journal = 0; journal < 2; ++journal) {
    TRecoveryJournal::Settings().enabled = journal == 1;
    windows[journal] = std::make_unique<TChild>();
    TChild& w = *windows[journal];
    w.resize(900, 600);
    w.show();
    w.Vue(TView::Table);
    if (journal == 1) services.AnswerQuestion(TAnswer::Yes);  // open read-only: the other has it
    if (!w.OpenFile(QString::fromStdString(qor))) return 1;
    w.Vue(TView::Table);
    app.processEvents();
  }

  // A cell typed, then the row left: the snapshot and the write-back.
  {
    const int changes = 1000;
    double total[2] = {0, 0}, worst[2] = {0, 0};
    for (int block = 0; block < changes / 50; ++block) {
      for (int journal = 0; journal < 2; ++journal) {
        TRecoveryJournal::Settings().enabled = journal == 1;
        TChild& w = *windows[journal];
        TStringGrid* grid = w.StringGrid1;
        for (int i = 0; i < 50; ++i) {
          const int row = grid->Row();
          grid->SetCell(1, row, QStringLiteral("Valeur %1").arg(block * 50 + i));
          w.StringGrid1KeyPress(QLatin1Char('x'));
          const double start = Now();
          grid->SetRow(row + 1 < grid->RowCount() ? row + 1 : 1);
          const double s = Now() - start;
          total[journal] += s;
          worst[journal] = std::max(worst[journal], s);
        }
      }
    }
    std::printf("%-46s %8.3f ms, %8.3f ms without  (target <= 1 ms)%s\n",
                "cell write-back on a row change (mean)", total[1] / changes * 1e3,
                total[0] / changes * 1e3, total[1] / changes <= 0.001 ? "" : "   OVER TARGET");
    std::printf("%-46s %8.3f ms, %8.3f ms without\n", "  worst", worst[1] * 1e3, worst[0] * 1e3);
  }

  // A sort of every record, with its undo snapshot, each time of the table as
  // the file holds it; the windows take turns going first.
  {
    TQor2 pristine;
    pristine.LoadFromFile(qor);
    TTiming timing[2];
    for (int run = 0; run < 6; ++run)
      for (int turn = 0; turn < 2; ++turn) {
        const int journal = (run + turn) % 2;
        TDocument& doc = windows[journal]->Document();
        doc.FlushJournal();
        doc.Table().Assign(pristine);  // the benchmark's reset, not a change to journal
        doc.Memorise();
        timing[journal].Take([&] { doc.Sort(1, true); });
      }
    Compare("sort of every record (Sort, with the snapshot)", timing[0], timing[1], 0.10);
  }
  for (auto& w : windows) w->Document().SetModified(false);

  // An import of every line of the tab file into an empty table.
  {
    int imported = 0;
    TQor2 fields;
    GenerateBenchTable(fields, 0);
    std::vector<std::string> structure;
    for (int f = 1; f <= fields.FieldCount(); ++f)
      structure.push_back(fields.GetFieldName(f) + " " + fields.GetFieldType(f));
    TTiming timing[2];
    double onDisk = 1e30;
    for (int run = 0; run < 3; ++run)
      for (int journal = 0; journal < 2; ++journal) {
        TRecoveryJournal::Settings().enabled = journal == 1;
        TDocument doc;
        doc.Init(structure, "Noname1");
        const double start = Now();
        timing[journal].Take([&] { doc.Import(tab, TImportKind::Tab); });
        imported = doc.Table().RecordCount();
        doc.FlushJournal();
        if (journal == 1) onDisk = std::min(onDisk, Now() - start);
      }
    std::printf("%-46s %8d records\n", "import of tab text", imported);
    Compare("  the import's time", timing[0], timing[1], 0.10);
    std::printf("%-46s %8.3f s\n", "  the imported records on the disk after", onDisk);
  }
  windows[0].reset();
  windows[1].reset();

  // Recovery: 1,000 edits, each after a row change's snapshot, then a sort.
  TRecoveryJournal::Settings().enabled = true;
  std::string orphan;
  {
    TDocument doc;
    doc.Load(qor);
    std::mt19937 rng(7);
    for (int i = 0; i < 1000; ++i) {
      doc.Memorise();
      doc.Table().GoToRecord(1 + static_cast<int>(rng() % records));
      doc.StoreTyped(1 + static_cast<int>(rng() % 10), "Edit " + std::to_string(i));
    }
    doc.Sort(1, true);
    doc.FlushJournal();
    orphan = doc.JournalPath();
    orphan = orphan.substr(0, orphan.size() - 8) + "-left.journal";
    fs::copy_file(doc.JournalPath(), orphan);
    std::printf("%-46s %8.1f KB\n", "journal of 1,000 edits and a sort",
                fs::file_size(orphan) / 1e3);
    doc.SetModified(false);
  }
  {
    TTiming open, recover;
    for (int run = 0; run < 3; ++run) {
      {
        TDocument doc;
        open.Take([&] { doc.Load(qor); });
      }
      {
        // A copy each time: the recovered document goes on with the journal
        // and removes it as it closes.
        const std::string copy = orphan + ".run.journal";
        fs::copy_file(orphan, copy, fs::copy_options::overwrite_existing);
        TDocument doc;
        TJournalReader reader;
        reader.Open(copy);
        TRecoveryReport report;
        recover.Take([&] { doc.Recover(reader, report); });
        if (report.changes != 1001 || report.damaged)
          std::printf("recovery: %d changes!\n", report.changes);
      }
    }
    const double beyond = recover.wall - open.wall;
    std::printf("%-46s %8.3f s, opening %8.3f s: %+.3f s  (target <= +2 s)%s\n",
                "recovering 1,000 edits and a sort", recover.wall, open.wall, beyond,
                beyond <= 2 ? "" : "   OVER TARGET");
  }

  fs::remove_all(dir);
  if (!services.Problems().isEmpty())
    std::printf("problems: %s\n",
                services.Problems().join(QStringLiteral("; ")).toUtf8().constData());
  return 0;
}
