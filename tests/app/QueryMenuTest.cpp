// The main window's side of the query commands: each menu item opens its
// window or dialog on the active document, and the view menu brings the
// selection back; without a document nothing opens.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "MainWindowTest.h"
#include "TFrmFiltre.h"
#include "TStatistiques.h"
#include "TStatsModel.h"
#include "TStringGrid.h"

namespace {

class QueryMenuTest : public MainWindowTest {};

TEST_F(QueryMenuTest, QueryItemsOpenTheirWindowsOnTheActiveDocument) {
  const char* const items[] = {"Filtredeslection1", "RequeteSQL1", "InterrogationQBE1",
                               "Compter1",          "Calculer1",   "Statistiques1"};
  for (const char* name : items) Action(name)->trigger();
  EXPECT_TRUE(services.DialogTitles().isEmpty());

  services.AnswerFile(WriteTable("clients.qor"));
  Action("FileOpenItem")->trigger();
  TChild* child = form->ActiveChild();
  ASSERT_NE(child, nullptr);
  for (const char* name : items) {
    EXPECT_TRUE(Enabled(name)) << name;
    // These clients have no "FLOAT" field: nothing to calculate, and no dialog.
    if (QLatin1String(name) != QLatin1String("Calculer1"))
      services.AnswerDialog([](QDialog& d) { d.reject(); });
    Action(name)->trigger();
  }
  EXPECT_EQ(services.DialogTitles(),
            QStringList({"Filtre", QString::fromUtf8("Requête  SQL"), "Interrogation QBE",
                         "Compter", "Statistiques - clients.qor"}));
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].text,
            QString::fromUtf8(
                "Cette table n'a aucun champ numérique (de type FLOAT) : rien à calculer."));

  services.AnswerDialog([](QDialog& d) {
    auto& filtre = static_cast<TFrmFiltre&>(d);
    filtre.ComboBox1->setCurrentText("VILLE");
    filtre.ComboBox2->setCurrentText("=");
    filtre.Edit1->setText("Nice");
    filtre.Button2->click();
  });
  Action("Filtredeslection1")->trigger();
  EXPECT_EQ(child->StringGrid1->RowCount(), 2);
  EXPECT_EQ(child->StringGrid1->Cell(1, 1), "Dupont");
  Action("Affichertout1")->trigger();
  EXPECT_EQ(child->StringGrid1->RowCount(), 4);
  Action("Afficherslection1")->trigger();
  EXPECT_EQ(child->StringGrid1->RowCount(), 2);
}

// The statistics open over what the user stands in: grouped by the field of
// the current column, over the selection shown, which can be let go.
TEST_F(QueryMenuTest, StatisticsOpenOnTheCurrentFieldAndTheSelection) {
  services.AnswerFile(WriteTable("clients.qor"));
  Action("FileOpenItem")->trigger();
  TChild* child = form->ActiveChild();
  ASSERT_NE(child, nullptr);
  services.AnswerDialog([](QDialog& d) {
    auto& filtre = static_cast<TFrmFiltre&>(d);
    filtre.ComboBox1->setCurrentText("VILLE");
    filtre.ComboBox2->setCurrentText(">");
    filtre.Edit1->setText("Lyon");
    filtre.Button2->click();
  });
  Action("Filtredeslection1")->trigger();
  child->StringGrid1->SetCurrentCell(2, 1);

  QStringList groups, allGroups;
  bool selectionChecked = false;
  services.AnswerDialog([&](QDialog& d) {
    auto& window = static_cast<TStatistiques&>(d);
    auto column0 = [&] {
      EXPECT_TRUE(QTest::qWaitFor([&] { return !window.Busy(); }, 20000));
      QStringList values;
      for (int row = 0; row < window.Model->rowCount(); ++row)
        values << window.Model->index(row, 0).data().toString();
      return values;
    };
    EXPECT_EQ(window.GroupField->currentText(), "VILLE");
    selectionChecked = window.SelectionOnly->isChecked();
    groups = column0();
    window.SelectionOnly->setChecked(false);
    allGroups = column0();
    window.reject();
  });
  Action("Statistiques1")->trigger();
  EXPECT_TRUE(selectionChecked);
  EXPECT_EQ(groups, QStringList({"Nice", QString::fromUtf8("Orléans")}));
  EXPECT_EQ(allGroups, QStringList({"Lyon", "Nice", QString::fromUtf8("Orléans")}));
}

TEST_F(QueryMenuTest, StatusBarAndCaptionSayWhenAFilterIsOn) {
  services.AnswerFile(WriteTable("clients.qor"));
  Action("FileOpenItem")->trigger();
  TChild* filtered = form->ActiveChild();
  services.AnswerDialog([](QDialog& d) {
    auto& filtre = static_cast<TFrmFiltre&>(d);
    filtre.ComboBox1->setCurrentText("VILLE");
    filtre.Edit1->setText("Nice");
    filtre.Button2->click();
  });
  Action("Filtredeslection1")->trigger();
  EXPECT_EQ(form->StatusText(), "Filtre actif");
  EXPECT_EQ(Captions(), QStringList({"clients.qor (filtre)"}));
  // A menu hint covers it for a while, and it comes back after.
  form->ShowStatusHint("Afficher tous les enregistrements");
  EXPECT_EQ(form->StatusText(), "Afficher tous les enregistrements");
  form->ShowStatusHint(QString());
  EXPECT_EQ(form->StatusText(), "Filtre actif");
  // Another table, without a filter, becomes active: nothing to say.
  services.AnswerFile(WriteTable("autres.qor"));
  Action("FileOpenItem")->trigger();
  EXPECT_EQ(form->StatusText(), "");
  EXPECT_EQ(Captions(), QStringList({"clients.qor (filtre)", "autres.qor"}));
  form->MdiArea()->setActiveSubWindow(form->MdiArea()->subWindowList().first());
  ASSERT_EQ(form->ActiveChild(), filtered);
  EXPECT_EQ(form->StatusText(), "Filtre actif");
  Action("Affichertout1")->trigger();
  EXPECT_EQ(form->StatusText(), "");
  EXPECT_EQ(Captions(), QStringList({"clients.qor", "autres.qor"}));
  Action("Afficherslection1")->trigger();
  EXPECT_EQ(form->StatusText(), "Filtre actif");
  // Closing the window leaves no filter to speak of.
  form->MdiArea()->closeActiveSubWindow();
  EXPECT_EQ(form->StatusText(), "");
}

}  // namespace
