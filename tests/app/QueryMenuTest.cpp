// The main window's side of the query commands: each menu item opens its
// window or dialog on the active document, and the view menu brings the
// selection back; without a document nothing opens.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "MainWindowTest.h"
#include "TFrmFiltre.h"
#include "TStringGrid.h"

namespace {

class QueryMenuTest : public MainWindowTest {};

TEST_F(QueryMenuTest, QueryItemsOpenTheirWindowsOnTheActiveDocument) {
  const char* const items[] = {"Filtredeslection1", "RequeteSQL1", "InterrogationQBE1", "Compter1",
                               "Calculer1"};
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
  EXPECT_EQ(services.DialogTitles(), QStringList({"Filtre", QString::fromUtf8("Requête  SQL"),
                                                  "Interrogation QBE", "Compter"}));
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
