// Printing to PDF files through the machine's printer (QPrinter, high
// resolution): a 100,000-record list as the table view shows it, printed as the
// window prints it (its progress window showing after a second), and a job of
// 1,000 envelopes. Prints the times, the pages and the process's peak memory.

#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "AnsiCodec.h"
#include "BenchData.h"
#include "TEnvelopePrintout.h"
#include "TGridPrintout.h"
#include "TGridSource.h"
#include "TQtPrinter.h"
#include "TQtServices.h"
#include "TStringGrid.h"

namespace {

// Peak resident memory of the process so far, in megabytes.
double PeakMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      double kb = 0;
      status >> kb;
      return kb / 1024;
    }
    status.ignore(1 << 20, '\n');
  }
  return 0;
}

// The records as the table view's source gives them: the record number, then
// the values.
class RecordSource : public TGridSource {
 public:
  explicit RecordSource(const TQor2& table) : table_(table) {}
  void Text(int col, int row, size_t limit, std::string& out) const override {
    if (row < 1) return;
    if (col == 0)
      out = std::to_string(row);
    else
      out.assign(std::string_view(table_.GetCell(col, row)).substr(0, limit));
  }

 private:
  const TQor2& table_;
};

// The table grid as the document window fills it: "Enr" and the field names,
// then the records read from the table as they are printed.
void FillGrid(TStringGrid& grid, TQor2& table, const RecordSource& source) {
  grid.setFont([] {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    return font;
  }());
  grid.resize(1000, 600);
  grid.SetDefaultColWidth(192);
  grid.SetColWidth(0, 48);
  grid.BeginUpdate();
  grid.SetSize(table.FieldCount() + 1, table.RecordCount() + 1);
  grid.SetCell(0, 0, QStringLiteral("Enr"));
  for (int i = 1; i <= table.FieldCount(); ++i) grid.SetCellAnsi(i, 0, table.GetFieldName(i));
  grid.SetSource(&source);
  grid.EndUpdate();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TQtServices services;
  SetServices(&services);
  auto& printer = dynamic_cast<TQtPrinter&>(services.Printer());
  printer.QtPrinter().setOutputFormat(QPrinter::PdfFormat);

  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int envelopes = argc > 2 ? std::atoi(argv[2]) : 1000;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vekbench-print-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const QString listPdf = QString::fromStdString((dir / "liste.pdf").string());
  const QString envelopePdf = QString::fromStdString((dir / "enveloppes.pdf").string());
  std::printf("start: peak memory %.0f MB\n", PeakMegabytes());

  {
    TQor2 table;
    GenerateBenchTable(table, records);
    const RecordSource source(table);
    TStringGrid grid;
    FillGrid(grid, table, source);
    std::printf("list: %d records x %d fields in the grid, peak memory %.0f MB\n", records,
                table.FieldCount(), PeakMegabytes());
    TGridPrintout list(grid, QStringLiteral("/bench/bench.qor"), QStringLiteral("/bench/bench.qor"),
                       grid.RowCount() - 1);
    bool ok = true;
    // The processor time too: on a shared machine it says more than the clock.
    double cpu = 1e30;
    const double s = BestOf(
        3, [&] { printer.QtPrinter().setOutputFileName(listPdf); },
        [&] {
          const std::clock_t c0 = std::clock();
          ok = list.Print().ok() && !list.Cancelled() && ok;
          cpu = std::min(cpu, static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC);
        });
    char what[64];
    std::snprintf(what, sizeof what, "list of %d records to PDF, with progress", records);
    // A second for every 10,000 records.
    Report(what, s, records / 10000.0);
    std::printf("  %d pages, %.1f MB file, %.2f s of processor, peak memory %.0f MB "
                "(target <= 200 MB)%s\n",
                printer.PageNumber(), QFileInfo(listPdf).size() / 1e6, cpu, PeakMegabytes(),
                ok ? "" : "   JOB FAILED");
  }

  {
    TQor2 table;
    GenerateBenchTable(table, envelopes);
    std::vector<int> recNos;
    for (int n = 1; n <= table.RecordCount(); ++n) recNos.push_back(n);
    TEnvelopeSettings settings;
    settings.SenderLines = {QStringLiteral("Vek SA"), QStringLiteral("1 rue de la Paix"),
                            QStringLiteral("75002 Paris"), QString()};
    settings.EnvelopeOffset = 10;
    TEnvelopePrintout job(table, recNos, settings,
                          {QStringLiteral("Prenom Nom"), QStringLiteral("Adresse"),
                           QStringLiteral("CodePostal Ville"), QString()},
                          QStringLiteral("/bench/bench.qor"));
    bool ok = true;
    const double s = BestOf(
        3, [&] { printer.QtPrinter().setOutputFileName(envelopePdf); },
        [&] { ok = job.RunJob(printer).ok() && ok; });
    Report("1,000 envelopes to PDF", s, 3.0);
    std::printf("  %d pages, %.1f MB file, peak memory %.0f MB%s\n", printer.PageNumber(),
                QFileInfo(envelopePdf).size() / 1e6, PeakMegabytes(), ok ? "" : "   JOB FAILED");
  }
  std::filesystem::remove_all(dir);
  SetServices(nullptr);
  return 0;
}
