// Drives the editing, structure and find commands of the real document window
// offscreen on a generated table of 100,000 records x 10 fields: a sort with
// the refill of the table view, removing duplicates, converting DOS letters,
// the properties dialog's duplicate check, replacing in every record and undo.
// Dialogs and questions are answered by the scripted services. Every command
// runs twice, in a window without a recovery journal and in one with it, and
// the journal's cost is printed beside (its writer thread catches up between
// commands, untimed, as it does while the user reads the result).

#include <time.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "BenchData.h"
#include "BenchState.h"
#include "TChild.h"
#include "TFakeServices.h"
#include "TInfos.h"
#include "TRecoveryJournal.h"
#include "TReplaceDlg.h"
#include "TStringGrid.h"

namespace {

struct TCommandRun {
  const char* name;
  double target;
  std::function<void()> prepare;  // untimed
  std::function<void()> run;
  double seconds[2] = {0, 0};  // without, with the journal: wall time
  double cpu[2] = {0, 0};      // the same, processor time of the window's thread
};

// Processor time of the calling thread: what the command cost the window,
// whatever else the shared machine runs meanwhile.
double ThreadCpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const TBenchStateFolder state;
  TFakeServices services;
  SetServices(&services);

  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  TQor2 generated;
  GenerateBenchTable(generated, records);
  std::printf("table: %d records x %d fields\n", generated.RecordCount(), generated.FieldCount());

  // Two windows on the generated table, one without a recovery journal and
  // one with it (its first change starts one); each command runs in both in
  // turn, so that neither gains from running second.
  std::unique_ptr<TChild> windows[2];
  TChild* child = nullptr;
  for (int journal = 0; journal < 2; ++journal) {
    windows[journal] = std::make_unique<TChild>();
    TChild& w = *windows[journal];
    w.resize(900, 600);
    w.show();
    w.Vue(TView::Table);
  }
  // Back to the generated table, shown in the table view from row 1.
  auto reset = [&] {
    child->Document().FlushJournal();
    child->Vue(TView::Table);
    child->Document().Table().Assign(generated);
    child->InitGrilles();
    child->Remplit();
    child->StringGrid1->SetCol(1);
    app.processEvents();
  };
  auto processed = [&](void (TChild::*command)()) {
    return [&, command] {
      (child->*command)();
      app.processEvents();
    };
  };

  std::vector<TCommandRun> commands = {
      {"TriAscendant on Nom, with the refill", 1.5, reset, processed(&TChild::TriAscendant)},
      {"TriAscendant on Montant (FLOAT), with the refill", 1.5,
       [&] {
         reset();
         child->StringGrid1->SetCol(7);
       },
       processed(&TChild::TriAscendant)},
      {"Doublons", 0.8,
       [&] {
         reset();
         services.AnswerQuestion(TAnswer::Yes);
       },
       processed(&TChild::Doublons)},
      {"Convertir", 0.8,
       [&] {
         reset();
         services.AnswerQuestion(TAnswer::Yes);
       },
       processed(&TChild::Convertir)},
      {"Proprietes (duplicate check and dialog)", 0.3,
       [&] {
         reset();
         services.AnswerDialog([](QDialog& d) { static_cast<TInfos&>(d).Button1->click(); });
       },
       [&] { child->Proprietes(); }},
      {"ReplaceAll of Ville Paris, through Remplacer", 0.5,
       [&] {
         reset();
         child->StringGrid1->SetCol(5);
         services.AnswerDialog([](QDialog& d) {
           auto& dialog = static_cast<TReplaceDlg&>(d);
           dialog.Edit1->setText(QStringLiteral("Paris"));
           dialog.Edit2->setText(QStringLiteral("Lutece"));
           dialog.CheckBox1->setChecked(true);
           dialog.CheckBox2->setChecked(true);
           dialog.Button2->click();
         });
       },
       processed(&TChild::Remplacer)},
      {"Annuler after a sort", 0.5,
       [&] {
         reset();
         child->TriDescendant();
         app.processEvents();
         child->Document().FlushJournal();
       },
       processed(&TChild::Annuler)},
  };

  for (TCommandRun& c : commands) {
    for (int journal = 0; journal < 2; ++journal) c.seconds[journal] = c.cpu[journal] = 1e30;
    for (int run = 0; run < 7; ++run) {
      for (int journal = 0; journal < 2; ++journal) {
        TRecoveryJournal::Settings().enabled = journal == 1;
        child = windows[journal].get();
        double cpu = 0;
        const double wall = BestOf(1, c.prepare, [&] {
          const double start = ThreadCpuSeconds();
          c.run();
          cpu = ThreadCpuSeconds() - start;
        });
        c.seconds[journal] = std::min(c.seconds[journal], wall);
        c.cpu[journal] = std::min(c.cpu[journal], cpu);
      }
    }
  }
  for (auto& w : windows) w->Document().SetModified(false);

  double without = 0, with = 0, cpuWithout = 0, cpuWith = 0;
  for (const TCommandRun& c : commands) {
    Report(c.name, c.seconds[1], c.target);
    std::printf("%-44s %8.4f s without the journal: %+.1f%%; processor %+.1f%%\n", "", c.seconds[0],
                100.0 * (c.seconds[1] / c.seconds[0] - 1), 100.0 * (c.cpu[1] / c.cpu[0] - 1));
    without += c.seconds[0];
    with += c.seconds[1];
    cpuWithout += c.cpu[0];
    cpuWith += c.cpu[1];
  }
  std::printf("%-44s %8.4f s, %8.4f s without: %+.1f%%   (target <= +5%%)%s\n",
              "all commands with the journal", with, without, 100.0 * (with / without - 1),
              with <= without * 1.05 ? "" : "   OVER TARGET");
  std::printf("%-44s %8.4f s, %8.4f s without: %+.1f%%\n", "  processor time of the window",
              cpuWith, cpuWithout, 100.0 * (cpuWith / cpuWithout - 1));

  if (!services.Problems().isEmpty())
    std::printf("problems: %s\n",
                services.Problems().join(QStringLiteral("; ")).toUtf8().constData());
  return 0;
}
