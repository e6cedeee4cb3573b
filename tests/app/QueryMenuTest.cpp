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
  const char* const items[] = {"Filtredeslection1", "RequeteSQL1", "InterrogationQBE1",
                               "Compter1", "Calculer1"};
  for (const char* name : items) Action(name)->trigger();
  EXPECT_TRUE(services.DialogTitles().isEmpty());

  services.AnswerFile(WriteTable("clients.qor"));
  Action("FileOpenItem")->trigger();
  TChild* child = form->ActiveChild();
  ASSERT_NE(child, nullptr);
  for (const char* name : items) {
    EXPECT_TRUE(Enabled(name)) << name;
    services.AnswerDialog([](QDialog& d) { d.reject(); });
    Action(name)->trigger();
  }
  EXPECT_EQ(services.DialogTitles(),
            QStringList({"Filtre", QString::fromUtf8("Requête  SQL"), "Interrogation QBE",
                         "Compter", "Calculer"}));

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

}  // namespace
