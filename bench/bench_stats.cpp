// The statistics of a generated table of 1,000,000 records x 10 fields (or of
// the size the argument gives), loaded from its file: grouped by a field of 20
// values with a numeric field, and by a field whose every value is distinct.
// Each is timed in the engine (results, their order and the chart's bars) and
// in the window, offscreen, from the choice to the table and chart shown; and
// once more after a sort has scattered the records in memory.

#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchData.h"
#include "BenchTimer.h"
#include "TFakeServices.h"
#include "TQor2.h"
#include "TStatistiques.h"
#include "TStatsChart.h"
#include "TStatsModel.h"

namespace {

// Results, order and chart as the window's worker makes them.
double Engine(const TQor2& table, const std::string& group, size_t& groups) {
  TStatsRequest request;
  request.groupField = group;
  request.numberField = "Montant";
  return BestOf(
      3, [] {},
      [&] {
        TStatsResult result;
        ComputeStats(table, request, result);
        const std::vector<uint32_t> order = StatsOrder(result, TStatsColumn::Group, true);
        const TStatsChart chart = BarChart(result, order, TStatsMeasure::Sum);
        groups = result.groups.size();
      });
}

// From the choice of the grouping field to the results and chart shown.
double Window(QApplication& app, TStatistiques& window, const QString& group) {
  return BestOf(
      3,
      [&] {
        window.GroupField->setCurrentIndex(0);
        while (window.Busy()) app.processEvents(QEventLoop::WaitForMoreEvents);
      },
      [&] {
        window.GroupField->setCurrentText(group);
        while (window.Busy()) app.processEvents(QEventLoop::WaitForMoreEvents);
      });
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TFakeServices services;
  SetServices(&services);
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;

  // The table as a user has it: loaded from its file. "CodePostal" holds 20
  // regions; "Ref" is distinct in every record; "Montant" is FLOAT.
  const std::string file =
      (std::filesystem::temp_directory_path() / ("vekstats-" + std::to_string(getpid()) + ".qor"))
          .string();
  TQor2 table;
  {
    TQor2 generated;
    GenerateBenchTable(generated, records);
    generated.SetFieldName(4, "Region");
    for (int r = 1; r <= records; ++r) {
      generated.GoToRecord(r);
      generated.SetFieldValue(4, "R\xE9gion " + std::to_string(r * 7 % 20 + 1));
    }
    generated.SaveQorFile(file);
  }
  table.LoadQorFile(file);
  std::filesystem::remove(file);
  std::printf("table: %d records x %d fields\n", table.RecordCount(), table.FieldCount());

  size_t groups = 0;
  Report("engine: 20 groups, sum of Montant", Engine(table, "Region", groups), 0.3);
  std::printf("%-44s %8zu\n", "  groups", groups);
  Report("engine: every value distinct", Engine(table, "Ref", groups), 1.5);
  std::printf("%-44s %8zu\n", "  groups", groups);

  {
    TStatistiques window;
    window.Init(table, nullptr, "Region");
    window.NumberField->setCurrentText("Montant");
    window.resize(1100, 700);
    window.show();
    while (window.Busy()) app.processEvents(QEventLoop::WaitForMoreEvents);
    Report("window: 20 groups, table and chart shown", Window(app, window, "Region"), 0.3);
    Report("window: every value distinct, 30 bars + Autres", Window(app, window, "Ref"), 1.5);
    std::printf("%-44s %8d rows, %zu bars\n", "  shown", window.Model->rowCount(),
                window.Chart->Model().bars.size());
  }

  // After a sort the records no longer follow their memory.
  table.SortText("Nom", true);
  Report("engine after a sort: 20 groups", Engine(table, "Region", groups), 0.3);
  Report("engine after a sort: every value distinct", Engine(table, "Ref", groups), 1.5);
  return 0;
}
