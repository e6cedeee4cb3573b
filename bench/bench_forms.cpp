// Drives the form view and the form designer offscreen on a layout of 32 edit
// boxes, 40 labels and a 200 x 200 embedded picture, over a table of 32 fields:
// building the page and showing a record (CreMasque + LitMasque), moving to the
// next record in the form view, and the designer's Result.

#include <QApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchState.h"
#include "TChild.h"
#include "TCrefiche.h"
#include "TQtServices.h"

namespace {

std::vector<std::string> BenchLayout(const std::vector<std::string>& fields) {
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) {
    TLayoutLine label;
    label.kind = TLayoutLine::Label;
    label.x = 5 + (i / 20) * 300;
    label.y = 50 + (i % 20) * 25;
    label.caption = "Libell\xE9 " + std::to_string(i + 1);
    label.hasSize = label.hasStyle = label.hasColor = label.hasFontName = true;
    label.fontSize = 9;
    label.styleDigit = i % 2 ? '1' : '0';
    label.color = i % 3 ? TLayoutLine::kWindowText : 0x00804020;
    label.fontName = "Arial";
    lines.push_back(label.Write());
  }
  for (size_t i = 0; i < fields.size(); ++i) {
    TLayoutLine edit;
    edit.kind = TLayoutLine::Edit;
    edit.x = 125 + static_cast<int>(i / 16) * 300;
    edit.y = 50 + static_cast<int>(i % 16) * 25;
    edit.width = 160;
    edit.field = fields[i];
    lines.push_back(edit.Write());
  }
  TLayoutLine picture;
  picture.kind = TLayoutLine::Image;
  picture.embedded = true;
  picture.x = 650;
  picture.y = 60;
  picture.width = picture.height = 200;
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 200; ++y)
      picture.pixels.push_back(static_cast<uint32_t>((x * 1277 + y * 31) & 0xFFFFFF));
  lines.push_back(picture.Write());
  return lines;
}

void ReportMs(const char* what, double seconds, double targetMs) {
  std::printf("%-40s %8.3f ms   (target <= %g ms)%s\n", what, seconds * 1000, targetMs,
              seconds * 1000 <= targetMs ? "" : "   OVER TARGET");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const TBenchStateFolder state;  // the documents' locks and journals
  TQtServices services;
  SetServices(&services);

  const int records = argc > 1 ? std::atoi(argv[1]) : 10000;
  auto* child = new TChild;
  child->resize(900, 650);
  child->show();
  TQor2& table = child->Document().Table();
  std::vector<std::string> fields;
  for (int i = 1; i <= 32; ++i) {
    fields.push_back("CHAMP" + std::to_string(i));
    table.AddField(fields.back());
  }
  for (int r = 1; r <= records; ++r) {
    table.Append();
    for (int i = 1; i <= 32; ++i)
      table.SetFieldValue(i, "Valeur " + std::to_string(r) + "-" + std::to_string(i));
  }
  table.First();
  child->InitGrilles();
  child->Remplit();
  const std::vector<std::string> layout = BenchLayout(fields);
  size_t bytes = 0;
  for (const std::string& line : layout) bytes += line.size() + 2;
  std::printf("layout: %zu lines, %zu bytes; table: %d records x 32 fields\n", layout.size(), bytes,
              table.RecordCount());
  child->Document().SetLayout(layout, false);
  child->Vue(TView::Form);
  app.processEvents();

  ReportMs("CreMasque + LitMasque",
           BestOf(
               5, [] {},
               [&] {
                 child->CreMasque();
                 child->LitMasque();
                 app.processEvents();
               }),
           50);

  const int steps = 200;
  ReportMs("Suivant in the form view (one record)",
           BestOf(
               3, [&] { child->Premier(); },
               [&] {
                 for (int i = 0; i < steps; ++i) {
                   child->Suivant();
                   app.processEvents();
                 }
               }) /
               steps,
           5);

  TCrefiche designer;
  designer.resize(900, 683);
  ReportMs("designer Result",
           BestOf(
               5,
               [&] {
                 designer.Init(layout, fields);
                 designer.Button2Click();
               },
               [&] { designer.Result(); }),
           100);
  TCrefiche opened;
  opened.resize(900, 683);
  ReportMs("designer Init (no target)",
           BestOf(
               5, [] {}, [&] { opened.Init(layout, fields); }),
           1000);
  delete child;
  return 0;
}
