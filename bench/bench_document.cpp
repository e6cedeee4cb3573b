// Drives the real document window offscreen on a generated table of 100,000
// records x 10 fields: opening into a filled table grid, refilling, switching
// views, a row change with its snapshot and write-back, fitting the column
// widths, saving, importing tab text, and the memory the open window takes
// against the file size.

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchData.h"
#include "BenchProcess.h"
#include "BenchState.h"
#include "BenchTimer.h"
#include "TAtomicFile.h"
#include "TChild.h"
#include "TFakeServices.h"
#include "TStringGrid.h"
#include "TStringGridModel.h"

namespace {

size_t HeapInUse() {
  struct mallinfo2 mi = mallinfo2();
  return mi.uordblks + mi.hblkhd;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const TBenchStateFolder state;  // the documents' locks and journals
  TFakeServices services;
  SetServices(&services);

  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vekbench-doc-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string qor = (dir / "bench.qor").string();
  // Made in a child process, so that the memory of making it does not count
  // as the program's.
  const pid_t maker = fork();
  if (maker == 0) {
    TQor2 t;
    GenerateBenchTable(t, records);
    _exit(t.SaveQorFile(qor) ? 0 : 1);
  }
  int made = 1;
  waitpid(maker, &made, 0);
  if (!WIFEXITED(made) || WEXITSTATUS(made) != 0) {
    std::fprintf(stderr, "cannot write %s\n", qor.c_str());
    return 1;
  }
  const double fileSize = static_cast<double>(std::filesystem::file_size(qor));
  std::printf("table: %d records x 10 fields, %.1f MB file\n", records, fileSize / 1e6);

  // The engine's share of the memory: the same file in a bare table.
  size_t engineBytes = 0;
  {
    const size_t before = HeapInUse();
    auto* t = new TQor2;
    t->LoadFromFile(qor);
    engineBytes = HeapInUse() - before;
    delete t;
  }

  // Opening as the main window does it: create, show, table view, open, view 1.
  app.processEvents();
  const size_t heapBefore = HeapInUse();
  QElapsedTimer timer;
  timer.start();
  auto* child = new TChild;
  child->resize(900, 600);
  child->show();
  child->Vue(TView::Table);
  child->OpenFile(QString::fromStdString(qor));
  child->Vue(TView::Table);
  app.processEvents();
  Report("open to filled table grid", Seconds(timer), 1.5);
  const size_t heapAfter = HeapInUse();
  std::printf("%-44s %8.2f x file size (%.1f MB; target <= 5)%s\n", "memory of the open window",
              (heapAfter - heapBefore) / fileSize, (heapAfter - heapBefore) / 1e6,
              heapAfter - heapBefore <= 5 * fileSize ? "" : "   OVER TARGET");
  std::printf("%-44s %8.2f x file size (%.1f MB)\n", "  of which the table engine alone",
              engineBytes / fileSize, engineBytes / 1e6);
  const double resident = ResidentBytes();
  std::printf("%-44s %8.2f x file size (%.1f MB; target <= 2.5)%s\n",
              "resident memory of the program, window open", resident / fileSize, resident / 1e6,
              resident <= 2.5 * fileSize ? "" : "   OVER TARGET");

  {
    size_t text = 0, padding = 0;
    TStringGrid* g = child->StringGrid1;
    for (int r = 0; r < g->RowCount(); ++r)
      for (int c = 0; c < g->ColCount(); ++c) {
        const std::string cell = g->CellAnsi(c, r);
        const size_t lead = cell.find_first_not_of(' ');
        text += cell.size();
        padding += lead == std::string::npos ? cell.size() : lead;
      }
    std::printf("%-44s %8.1f MB text (%.1f MB of it FLOAT padding); the grid holds %.1f MB\n",
                "  table grid content", text / 1e6, padding / 1e6, g->Model()->HeldBytes() / 1e6);
  }

  bool ascending = false;
  Report("Remplit after a sort (every cell changes)",
         BestOf(
             3,
             [&] {
               child->Document().Table().SortText("Nom", ascending);
               ascending = !ascending;
             },
             [&] {
               child->Remplit();
               app.processEvents();
             }),
         0.5);
  bool up = true;
  Report("sort and refill (TriAscendant/TriDescendant)",
         BestOf(
             3, [] {},
             [&] {
               if (up)
                 child->TriAscendant();
               else
                 child->TriDescendant();
               up = !up;
               app.processEvents();
             }),
         1.0);
  Report("Remplit, table unchanged",
         BestOf(
             3, [] {},
             [&] {
               child->Remplit();
               app.processEvents();
             }),
         0.5);

  Report("switch to the column view (Vue 2)",
         BestOf(
             5, [&] { child->Vue(TView::Table); },
             [&] {
               child->Vue(TView::Column);
               app.processEvents();
             }),
         0.1);
  Report("switch to the table view (Vue 1)",
         BestOf(
             5, [&] { child->Vue(TView::Column); },
             [&] {
               child->Vue(TView::Table);
               app.processEvents();
             }),
         0.1);

  // Row changes after typing: each takes the undo snapshot and writes the row back.
  child->Vue(TView::Table);
  TStringGrid* grid = child->StringGrid1;
  {
    // The first row change after the sorts above shares every record again.
    const int row = grid->Row();
    timer.restart();
    grid->SetRow(row + 1);
    std::printf("%-44s %8.3f ms\n", "first row change after a sort (full snapshot)",
                Seconds(timer) * 1e3);
  }
  const int changes = 200;
  double worst = 0, total = 0;
  for (int i = 0; i < changes; ++i) {
    const int row = grid->Row();
    grid->SetCell(1, row, QStringLiteral("Valeur %1").arg(i));
    child->StringGrid1KeyPress(QLatin1Char('x'));
    timer.restart();
    grid->SetRow(row + 1 < grid->RowCount() ? row + 1 : 1);
    const double s = Seconds(timer);
    total += s;
    worst = std::max(worst, s);
  }
  std::printf("%-44s %8.3f ms  (target <= 5 ms)%s\n", "row change, snapshot and write-back (mean)",
              total / changes * 1e3, total / changes <= 0.005 ? "" : "   OVER TARGET");
  std::printf("%-44s %8.3f ms  (target <= 5 ms)%s\n", "row change, snapshot and write-back (worst)",
              worst * 1e3, worst <= 0.005 ? "" : "   OVER TARGET");

  Report("Suivant in the column view",
         BestOf(
             5, [&] { child->Vue(TView::Column); }, [&] { child->Suivant(); }),
         0.1);
  child->Vue(TView::Table);
  Report("Largeur (measure every cell, then Remplit)",
         BestOf(
             1, [] {},
             [&] {
               child->Largeur();
               app.processEvents();
             }),
         2.0);
  const QString xml = QString::fromStdString((dir / "bench.xml").string());
  Report("SauveXml",
         BestOf(
             3, [] {}, [&] { child->SauveXml(xml); }),
         0.5);
  child->Document().SetModified(true);
  Report("Enregistrer (.qor)",
         BestOf(
             3, [&] { child->Document().SetModified(true); }, [&] { child->Enregistrer(); }),
         0.5);

  {
    // The import command into a new window: the same records as tab text,
    // appended, then shown in the table view.
    const std::string tab = (dir / "bench.txt").string();
    std::string text;
    QStringList fields;
    for (int f = 1; f <= child->Document().Table().FieldCount(); ++f)
      fields << QString::fromStdString(child->Document().Table().GetFieldName(f)) + " STRING";
    for (int r = 1; r <= child->Document().Table().RecordCount(); ++r) {
      for (int f = 1; f <= child->Document().Table().FieldCount(); ++f)
        text += (f > 1 ? "\t" : "") + child->Document().Table().GetCell(f, r);
      text += "\r\n";
    }
    WriteFileAtomically(tab, text);
    auto* fresh = new TChild;
    fresh->resize(900, 600);
    fresh->show();
    fresh->Init(fields);
    fresh->Vue(TView::Table);
    timer.restart();
    fresh->ImporTxt(QString::fromStdString(tab));
    app.processEvents();
    Report("ImporTxt, tab text to filled table grid", Seconds(timer), 0.6);
    fresh->Document().SetModified(false);
    delete fresh;
  }

  child->Document().SetModified(false);
  timer.restart();
  delete child;
  Report("closing the window", Seconds(timer), 0.5);
  std::filesystem::remove_all(dir);
  return 0;
}
