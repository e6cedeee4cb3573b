// Drives the editing, structure and find commands of the real document window
// offscreen on a generated table of 100,000 records x 10 fields: a sort with
// the refill of the table view, removing duplicates, converting DOS letters,
// the properties dialog's duplicate check, replacing in every record and undo.
// Dialogs and questions are answered by the scripted services.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>

#include "BenchData.h"
#include "TChild.h"
#include "TFakeServices.h"
#include "TInfos.h"
#include "TReplaceDlg.h"
#include "TStringGrid.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TFakeServices services;
  SetServices(&services);

  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  TQor2 generated;
  GenerateBenchTable(generated, records);
  std::printf("table: %d records x %d fields\n", generated.RecordCount(), generated.FieldCount());

  auto* child = new TChild;
  child->resize(900, 600);
  child->show();
  child->Vue(TView::Table);
  child->Document().Table().Assign(generated);
  child->Document().Table().First();
  child->InitGrilles();
  child->Remplit();
  app.processEvents();

  // Back to the generated table, shown in the table view from row 1.
  auto reset = [&] {
    child->Vue(TView::Table);
    child->Document().Table().Assign(generated);
    child->InitGrilles();
    child->Remplit();
    child->StringGrid1->SetCol(1);
    app.processEvents();
  };

  Report("TriAscendant on Nom, with the refill",
         BestOf(3, reset,
                [&] {
                  child->TriAscendant();
                  app.processEvents();
                }),
         1.5);
  Report("TriAscendant on Montant (FLOAT), with the refill",
         BestOf(
             3,
             [&] {
               reset();
               child->StringGrid1->SetCol(7);
             },
             [&] {
               child->TriAscendant();
               app.processEvents();
             }),
         1.5);
  Report("Doublons",
         BestOf(
             3,
             [&] {
               reset();
               services.AnswerQuestion(TAnswer::Yes);
             },
             [&] {
               child->Doublons();
               app.processEvents();
             }),
         0.8);
  Report("Convertir",
         BestOf(
             3,
             [&] {
               reset();
               services.AnswerQuestion(TAnswer::Yes);
             },
             [&] {
               child->Convertir();
               app.processEvents();
             }),
         0.8);
  Report("Proprietes (duplicate check and dialog)",
         BestOf(
             3,
             [&] {
               reset();
               services.AnswerDialog([](QDialog& d) { static_cast<TInfos&>(d).Button1->click(); });
             },
             [&] { child->Proprietes(); }),
         0.3);
  Report("ReplaceAll of Ville Paris, through Remplacer",
         BestOf(
             3,
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
             [&] {
               child->Remplacer();
               app.processEvents();
             }),
         0.5);
  {
    int replaced = 0;
    for (int n = 1; n <= child->Document().Table().RecordCount(); ++n)
      replaced += child->Document().Table().GetCell(5, n) == "Lutece";
    std::printf("%-44s %8d records\n", "  replaced", replaced);
  }
  Report("Annuler after a sort",
         BestOf(
             3,
             [&] {
               reset();
               child->TriDescendant();
               app.processEvents();
             },
             [&] {
               child->Annuler();
               app.processEvents();
             }),
         0.5);

  child->Document().SetModified(false);
  delete child;
  if (!services.Problems().isEmpty())
    std::printf("problems: %s\n",
                services.Problems().join(QStringLiteral("; ")).toUtf8().constData());
  return 0;
}
