// One value of 10 MB in a small table: opening it into the shown table grid,
// repainting the grid (what a menu or a dialog passing over it costs), opening
// a menu, the column view that shows the value, and opening the cell editor on
// the value itself.

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchData.h"
#include "BenchState.h"
#include "BenchTimer.h"
#include "TChild.h"
#include "TFakeServices.h"
#include "TStringGrid.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const TBenchStateFolder state;  // the documents' locks and journals
  TFakeServices services;
  SetServices(&services);

  const size_t megabytes = argc > 1 ? static_cast<size_t>(std::atoi(argv[1])) : 10;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vekbench-huge-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string qor = (dir / "huge.qor").string();
  {
    TQor2 t;
    t.AddField("NOM");
    t.AddField("NOTE");
    t.AddField("PRIX");
    t.SetFieldType(3, "FLOAT");
    std::string huge;
    huge.reserve(megabytes << 20);
    while (huge.size() < (megabytes << 20)) huge += "Une note tres longue, sans fin. ";
    for (int r = 1; r <= 100; ++r) {
      t.Append();
      t.SetFieldValue(1, "Client " + std::to_string(r));
      t.SetFieldValue(2, r == 1 ? huge : "court");
      t.SetFieldValue(3, std::to_string(r * 3));
    }
    t.SaveQorFile(qor);
  }
  std::printf("table: 100 records x 3 fields, one value of %zu MB\n", megabytes);

  QElapsedTimer timer;
  timer.start();
  auto* child = new TChild;
  child->resize(900, 600);
  child->show();
  child->Vue(TView::Table);
  child->OpenFile(QString::fromStdString(qor));
  child->Vue(TView::Table);
  child->repaint();
  app.processEvents();
  Report("open to the table grid shown", Seconds(timer), 1.0);

  timer.restart();
  for (int i = 0; i < 10; ++i) child->StringGrid1->viewport()->repaint();
  Report("repaint of the table grid (each of 10)", Seconds(timer) / 10, 0.05);

  QMenu menu;
  for (const char* item : {"Enregistrement suivant", "Ajouter un enregistrement", "Tri"})
    menu.addAction(QString::fromLatin1(item));
  timer.restart();
  menu.popup(child->mapToGlobal(QPoint(100, 60)));
  app.processEvents();
  menu.hide();
  child->repaint();  // what the menu covered
  app.processEvents();
  Report("a menu opened over the grid and closed", Seconds(timer), 0.05);

  timer.restart();
  child->Vue(TView::Column);
  child->repaint();
  app.processEvents();
  Report("column view showing the value", Seconds(timer), 1.0);

  child->Vue(TView::Table);
  child->StringGrid1->SetCurrentCell(2, 1);
  timer.restart();
  child->StringGrid1->edit(child->StringGrid1->currentIndex());
  app.processEvents();
  std::printf("%-44s %8.4f s   (the whole value, for editing)\n", "opening the cell editor",
              Seconds(timer));

  child->Document().SetModified(false);
  delete child;
  std::filesystem::remove_all(dir);
  return 0;
}
