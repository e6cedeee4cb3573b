// Opens a spreadsheet's CSV of 1,000,000 lines x 10 columns (about 118 MB;
// or of the lines the argument gives) as a table in the document window, as
// "Fichier > Ouvrir" does: the time to a filled, drawn table grid and the
// resident memory of the whole program, beside sqlite3 importing the same
// file into memory in the same run; then the preview of "Importer" on that
// file, which reads only its start. The machine is shared: each figure comes
// with the processor time it took.
//
// Every opening and preview runs in a process of its own (the program's whole resident
// memory is measured, Qt and the window included); the best of three runs.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchProcess.h"
#include "BenchTimer.h"
#include "TChild.h"
#include "TFakeServices.h"
#include "TImportPreviewDlg.h"
#include "TStringGrid.h"

namespace {

struct Run {
  double seconds = -1;    // wall time of the work
  double cpuSeconds = 0;  // processor time of the work (user and system)
  double baseBytes = 0;   // resident before the work
  double peakBytes = 0;   // the process's peak resident memory
  bool ok = false;
};

double SelfCpuSeconds() {
  struct rusage u {};
  getrusage(RUSAGE_SELF, &u);
  return CpuSeconds(u);
}

// `work` in a process of its own with its application and scripted
// services: its figures, and the peak resident memory of the whole process.
template <typename Work>
Run InWindowProcess(Work work) {
  int fd[2];
  if (pipe(fd) != 0) return Run();
  const pid_t pid = fork();
  if (pid == 0) {
    close(fd[0]);
    int argc = 1;
    char name[] = "bench_open";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    TFakeServices services;
    SetServices(&services);
    const Run r = work(services);
    if (write(fd[1], &r, sizeof r) != sizeof r) _exit(2);
    _exit(r.ok ? 0 : 1);  // the window's memory is the kernel's to take back
  }
  close(fd[1]);
  Run run;
  if (read(fd[0], &run, sizeof run) != sizeof run) run = Run();
  close(fd[0]);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  run.peakBytes = usage.ru_maxrss * 1024.0;
  run.ok = run.ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// The document window made and shown, then the file opened into it and the
// table grid drawn.
Run OpenInWindow(const std::string& csv, int records) {
  return InWindowProcess([&](TFakeServices& services) {
    TChild child;
    child.resize(900, 600);
    child.Vue(TView::Table);
    child.show();
    QApplication::processEvents();
    Run r;
    r.baseBytes = ResidentBytes();
    const double cpu0 = SelfCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    bool ok = child.OpenFile(QString::fromStdString(csv));
    child.Vue(TView::Table);
    child.StringGrid1->grab();  // the visible rows drawn
    r.seconds = Seconds(timer);
    r.cpuSeconds = SelfCpuSeconds() - cpu0;
    r.ok = ok && child.Document().Table().RecordCount() == records &&
           child.StringGrid1->RowCount() == records + 1 && services.Questions().empty();
    return r;
  });
}

// The preview of "Importer" on the same file, into a table of its fields:
// from the dialog's making to its grid of 20 records drawn.
Run PreviewInWindow(const std::string& csv) {
  return InWindowProcess([&](TFakeServices&) {
    const std::vector<std::string> fields = {"Nom", "Prenom",  "Adresse",   "CodePostal", "Ville",
                                             "Age", "Montant", "Telephone", "Notes",      "Ref"};
    Run r;
    const double cpu0 = SelfCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    TImportPreviewDlg dialog;
    const bool ok = dialog.Init(QString::fromStdString(csv), fields).ok();
    dialog.show();
    dialog.grab();
    r.seconds = Seconds(timer);
    r.cpuSeconds = SelfCpuSeconds() - cpu0;
    r.ok = ok && dialog.Preview().records.size() == TImportPreviewDlg::kRecords;
    return r;
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vekbench-open-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string csv = (dir / "clients.csv").string();
  // Made in a process of its own, so that its memory is no opening's.
  const pid_t maker = fork();
  if (maker == 0) _exit(WriteBenchWorldCsv(csv, records) ? 0 : 1);
  int made = 1;
  waitpid(maker, &made, 0);
  if (!WIFEXITED(made) || WEXITSTATUS(made) != 0) {
    std::fprintf(stderr, "cannot write %s\n", csv.c_str());
    return 1;
  }
  const double size = static_cast<double>(std::filesystem::file_size(csv));
  std::printf("data: %d lines x 10 columns, commas, quotes, UTF-8, CR LF: %.1f MB\n", records,
              size / 1e6);

  Run best;
  best.seconds = 1e30;
  for (int i = 0; i < 3; ++i) {
    const Run r = OpenInWindow(csv, records);
    if (!r.ok) {
      std::fprintf(stderr, "the window did not open %s whole\n", csv.c_str());
      return 1;
    }
    if (r.seconds < best.seconds) best = r;
  }
  Report("open in the window, to a drawn grid", best.seconds, 1.5);
  std::printf("%-44s %8.4f s\n", "  processor time", best.cpuSeconds);
  const double ratio = best.peakBytes / size;
  std::printf("%-44s %8.2f x the file (%.1f MB peak; target <= 2.5)%s\n",
              "peak resident memory of the program", ratio, best.peakBytes / 1e6,
              ratio <= 2.5 ? "" : "   OVER TARGET");
  std::printf("%-44s %8.2f x the file (%.1f MB before the open)\n", "  of which the opening",
              (best.peakBytes - best.baseBytes) / size, best.baseBytes / 1e6);

  Run preview;
  preview.seconds = 1e30;
  for (int i = 0; i < 3; ++i) {
    const Run r = PreviewInWindow(csv);
    if (!r.ok) {
      std::fprintf(stderr, "the import preview did not show %s\n", csv.c_str());
      return 1;
    }
    if (r.seconds < preview.seconds) preview = r;
  }
  Report("import preview, to a drawn dialog", preview.seconds, 0.2);
  std::printf("%-44s %8.4f s\n", "  processor time", preview.cpuSeconds);

  if (const BenchRun peer = SqliteImport(csv); peer.ok) {
    ReportSqlitePeer(peer, size);
    std::printf("%-44s %8.2f   (target < 1)%s\n", "ratio window / sqlite3",
                best.seconds / peer.seconds, best.seconds < peer.seconds ? "" : "   OVER TARGET");
    std::printf("%-44s %8.2f\n", "ratio of processor times", best.cpuSeconds / peer.cpuSeconds);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
