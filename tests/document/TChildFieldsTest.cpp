// The field and structure commands of the document window: adding, deleting,
// renaming and retyping a field, the properties dialog and the structure
// dialog, with the values each change keeps.

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "DocumentTest.h"
#include "TInfos.h"
#include "TModif.h"
#include "TNameEdit.h"
#include "TRenum.h"

namespace {

class ChildFieldsTest : public DocumentTest {
 protected:
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 1; i <= child->Document().Table().FieldCount(); ++i)
      names.push_back(child->Document().Table().GetFieldName(i) + ":" +
                      child->Document().Table().GetFieldType(i));
    return names;
  }
  const TQuestion& LastQuestion() const { return services.Questions().back(); }

  // The structure dialog as the user works it: `edit` gets the open dialog.
  void AnswerStructure(std::function<void(TModif&)> edit) {
    services.AnswerDialog([edit](QDialog& d) {
      auto& dialog = static_cast<TModif&>(d);
      edit(dialog);
      dialog.Button2->click();
    });
  }
  static void Select(TModif& dialog, int index) {
    dialog.ListView1->setCurrentItem(dialog.ListView1->topLevelItem(index));
    dialog.ListView1Click();
  }
  static void Enter(TModif& dialog, const QString& name, const QString& type) {
    dialog.Edit1->setText(name);
    dialog.ComboBox1->setCurrentText(type);
    dialog.SpeedButton1Click();
  }
  using Values = std::vector<std::string>;
};

TEST_F(ChildFieldsTest, AddFieldProposesANameAndUpperCasesTheAnswer) {
  TChild& c = Open(WriteClients());
  services.AnswerInput(QStringLiteral("ville2"));
  c.AjoutChamp();
  const TQuestion& q = LastQuestion();
  EXPECT_EQ(q.kind, TQuestionKind::Input);
  EXPECT_EQ(q.caption, "Ajouter un champ");
  EXPECT_EQ(q.text, "Nom du champ");
  EXPECT_EQ(q.defaultText, "Champ4");
  EXPECT_EQ(Names(), Values({"NOM:STRING", "VILLE:STRING", "PRIX:FLOAT", "VILLE2:STRING"}));
  EXPECT_EQ(Cell(4, 0), "VILLE2");
  EXPECT_EQ(Value(4, 3), "");
  EXPECT_TRUE(c.Document().Modified());
  c.Annuler();
  EXPECT_EQ(c.Document().Table().FieldCount(), 3);
}

TEST_F(ChildFieldsTest, AddFieldCancelledEmptiedOrRepeated) {
  TChild& c = Open(WriteClients());
  services.AnswerInput(std::nullopt);
  c.AjoutChamp();
  EXPECT_EQ(c.Document().Table().FieldCount(), 3);
  EXPECT_FALSE(c.Document().Modified());
  services.AnswerInput(QString());
  c.AjoutChamp();
  EXPECT_EQ(c.Document().Table().FieldCount(), 3);
  EXPECT_FALSE(c.Document().Modified());
  // A name already there adds nothing but counts as a change.
  services.AnswerInput(QStringLiteral("nom"));
  c.AjoutChamp();
  EXPECT_EQ(c.Document().Table().FieldCount(), 3);
  EXPECT_TRUE(c.Document().Modified());
}

TEST_F(ChildFieldsTest, AddFieldInTheColumnAndFormViews) {
  TChild& c = Open(WriteClients());
  c.Vue(TView::Column);
  services.AnswerInput(QStringLiteral("Pays"));
  c.AjoutChamp();
  EXPECT_EQ(LastQuestion().defaultText, "Champ4");
  EXPECT_EQ(c.Document().Table().GetFieldName(4), "PAYS");
  EXPECT_EQ(c.StringGrid2->Cell(0, 3), "PAYS");
  c.Vue(TView::Form);
  c.Document().SetModified(false);
  const size_t asked = services.Questions().size();
  c.AjoutChamp();
  EXPECT_EQ(services.Questions().size(), asked);
  EXPECT_EQ(c.Document().Table().FieldCount(), 4);
  EXPECT_TRUE(c.Document().Modified());
}

TEST_F(ChildFieldsTest, DeleteFieldUnderTheCursorAfterTheQuestion) {
  TChild& c = Open(WriteClients());
  c.StringGrid1->SetCol(2);
  services.AnswerQuestion(TAnswer::No);
  c.SupChamp();
  EXPECT_EQ(LastQuestion().text, "Supprimer le champ courant ?");
  EXPECT_EQ(c.Document().Table().FieldCount(), 3);
  EXPECT_FALSE(c.Document().Modified());
  services.AnswerQuestion(TAnswer::Yes);
  c.SupChamp();
  EXPECT_EQ(Names(), Values({"NOM:STRING", "PRIX:FLOAT"}));
  EXPECT_EQ(c.StringGrid1->ColCount(), 3);
  EXPECT_EQ(Cell(2, 0), "PRIX");
  EXPECT_TRUE(c.Document().Modified());

  c.Vue(TView::Column);
  c.StringGrid2->SetRow(0);
  services.AnswerQuestion(TAnswer::Yes);
  c.SupChamp();
  EXPECT_EQ(Names(), Values({"PRIX:FLOAT"}));
  EXPECT_EQ(c.StringGrid2->Cell(0, 0), "PRIX");
  c.Annuler();
  EXPECT_EQ(Names(), Values({"NOM:STRING", "PRIX:FLOAT"}));
}

// Every cell shows what the table holds, or nothing: a header of either grid
// names a field that exists, a row of the view shown has its record's values,
// and a cell beyond the fields or of a row without record is empty.
void ExpectViewsShowOnlyTheTable(TChild& c, const char* step) {
  SCOPED_TRACE(step);
  const TQor2& t = c.Document().Table();
  const TStringGrid& grid = *c.StringGrid1;
  for (int col = 1; col < grid.ColCount(); ++col) {
    EXPECT_EQ(grid.CellAnsi(col, 0), col <= t.FieldCount() ? t.GetFieldName(col) : "") << col;
    for (int row = 1; c.GetOnglet() == TView::Table && row < grid.RowCount(); ++row) {
      const int recNo = grid.Cell(0, row).toInt();
      const std::string expected =
          col <= t.FieldCount() && recNo >= 1 ? t.GetCell(col, recNo).str() : std::string();
      EXPECT_EQ(grid.Cell(col, row).trimmed().toStdString(), expected) << col << "," << row;
    }
  }
  const TStringGrid& column = *c.StringGrid2;
  for (int row = 0; row < column.RowCount(); ++row) {
    const bool field = row < t.FieldCount();
    EXPECT_EQ(column.CellAnsi(0, row), field ? t.GetFieldName(row + 1) : "") << row;
    if (c.GetOnglet() == TView::Column)
      EXPECT_EQ(column.CellAnsi(1, row), field ? t.GetFieldValue(row + 1) : "") << row;
  }
}

TEST_F(ChildFieldsTest, NoNameOrValueStaysOnScreenAfterItsFieldOrRecordGoes) {
  const QString path = WriteTable("t.qor", {{"NOM", "STRING"}, {"PRIX", "FLOAT"}},
                                  {{"Dupont", "12"}, {"Durand", "7"}});
  for (TView view : {TView::Table, TView::Column}) {
    TChild& c = Open(path);
    c.Vue(view);
    for (int k = 0; k < 2; ++k) {
      c.StringGrid1->SetCol(1);
      c.StringGrid2->SetRow(0);
      services.AnswerQuestion(TAnswer::Yes);
      c.SupChamp();
      ExpectViewsShowOnlyTheTable(c, "field deleted");
    }
    ASSERT_EQ(c.Document().Table().FieldCount(), 0);
    c.Ajouter();
    ExpectViewsShowOnlyTheTable(c, "record added to a table without fields");
    services.AnswerQuestion(TAnswer::Yes);
    c.Supprimer();
    ExpectViewsShowOnlyTheTable(c, "record deleted");
    c.Annuler();
    ExpectViewsShowOnlyTheTable(c, "undone");
    c.Vue(view == TView::Table ? TView::Column : TView::Table);
    ExpectViewsShowOnlyTheTable(c, "other view");
  }
  // A new record shows empty cells in both views.
  TChild& c = Open(path);
  c.Ajouter();
  ExpectViewsShowOnlyTheTable(c, "new record, table view");
  c.Vue(TView::Column);
  c.Ajouter();
  ExpectViewsShowOnlyTheTable(c, "new record, column view");
}

TEST_F(ChildFieldsTest, RenameKeepsTheValuesAndRefusesANameInUse) {
  TChild& c = Open(WriteClients());
  c.StringGrid1->SetCol(3);
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TRenum&>(d);
    EXPECT_EQ(dialog.Edit1->text(), "PRIX");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "FLOAT");
    dialog.Edit1->setText(QStringLiteral("montant"));
    dialog.ComboBox1->setCurrentText(QStringLiteral("STRING"));
    dialog.Button2Click();
  });
  c.Renommer();
  EXPECT_EQ(Names(), Values({"NOM:STRING", "VILLE:STRING", "MONTANT:STRING"}));
  EXPECT_EQ(Cell(3, 0), "MONTANT");
  EXPECT_EQ(Cell(3, 1), "12.5");  // no longer padded as a number
  EXPECT_EQ(Value(3, 4), "3,25");
  EXPECT_TRUE(c.Document().Modified());

  // Another field's name: two fields of one name could not be told apart.
  c.Document().SetModified(false);
  c.StringGrid1->SetCol(3);  // rebuilding the headers went back to column 1
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TRenum&>(d);
    dialog.Edit1->setText(QStringLiteral("NOM"));
    dialog.Button2Click();
  });
  c.Renommer();
  EXPECT_EQ(Names(), Values({"NOM:STRING", "VILLE:STRING", "MONTANT:STRING"}));
  EXPECT_FALSE(c.Document().Modified());

  services.AnswerDialog([](QDialog& d) { static_cast<TRenum&>(d).Button1Click(); });
  c.Renommer();
  EXPECT_FALSE(c.Document().Modified());
  c.Annuler();
  EXPECT_EQ(c.Document().Table().GetFieldName(3), "PRIX");
}

TEST_F(ChildFieldsTest, RenameInTheColumnViewStoresTheTypeAsTyped) {
  TChild& c = Open(WriteClients());
  c.Vue(TView::Column);
  c.StringGrid2->SetRow(1);
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TRenum&>(d);
    EXPECT_EQ(dialog.Edit1->text(), "VILLE");
    dialog.ComboBox1->setCurrentText(QStringLiteral("Float"));
    dialog.Button2Click();
  });
  c.Renommer();
  EXPECT_EQ(c.Document().Table().GetFieldName(2), "VILLE");
  EXPECT_EQ(c.Document().Table().GetFieldType(2), "Float");
  EXPECT_EQ(c.StringGrid2->CellAnsi(1, 1), "Paris");
}

TEST_F(ChildFieldsTest, PropertiesShowTheTableWithoutWritingBack) {
  const QString path =
      WriteTable("p.qor", {{"NOM", "STRING"}, {"PRIX", "FLOAT"}},
                 {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}, {"B", "2"}, {"E", "5"}});
  TChild& c = Open(path);
  QStringList labels;
  services.AnswerDialog([&labels](QDialog& d) {
    auto& dialog = static_cast<TInfos&>(d);
    labels << dialog.FileLabel->text() << dialog.Label1->text() << dialog.Label2->text()
           << dialog.Label3->text() << dialog.Label4->text()
           << dialog.ListView1->topLevelItem(1)->text(0) + ' ' +
                  dialog.ListView1->topLevelItem(1)->text(1);
    dialog.Button1->click();
  });
  c.Proprietes();
  const QString size = QStringLiteral("Taille : %1 Ko").arg(QFileInfo(path).size() / 1024);
  EXPECT_EQ(labels, QStringList({path, "Nbr champs : 2", "Nbr lignes : 6", size,
                                 "Il y a des doublons", "PRIX FLOAT"}));

  // A table never saved has no size on disk.
  child = std::make_unique<TChild>();
  child->Init({"NOM STRING"});
  child->Vue(TView::Table);
  child->Document().Table().Append();
  services.AnswerDialog([&labels](QDialog& d) {
    auto& dialog = static_cast<TInfos&>(d);
    labels = QStringList({dialog.Label2->text(), dialog.Label3->text(), dialog.Label4->text()});
    dialog.Button1->click();
  });
  child->Proprietes();
  EXPECT_EQ(labels, QStringList({"Nbr lignes : 1", "Taille : 0 Ko", "Pas de doublons"}));
}

TEST_F(ChildFieldsTest, StructureChangeKeepsValuesByFieldAndCanBeUndone) {
  TChild& c = Open(WriteClients());
  TypeInCell(1, "Dupond");  // typed, not yet written back
  AnswerStructure([](TModif& dialog) {
    EXPECT_EQ(dialog.ListView1->topLevelItem(2)->text(1), "FLOAT");
    Select(dialog, 0);
    Enter(dialog, QStringLiteral("NOM2"), QStringLiteral("STRING"));  // renamed
    Select(dialog, 2);
    Enter(dialog, QStringLiteral("PRIX"), QStringLiteral("STRING"));  // retyped
    Select(dialog, 1);
    dialog.Button3Click();                                             // VILLE removed
    Enter(dialog, QStringLiteral("VILLE"), QStringLiteral("STRING"));  // a new VILLE
    Enter(dialog, QStringLiteral("CP"), QStringLiteral("FLOAT"));
  });
  c.ModiStru();
  EXPECT_EQ(Names(), Values({"NOM2:STRING", "PRIX:STRING", "VILLE:STRING", "CP:FLOAT"}));
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_EQ(Value(1, 1), "Dupond");
  EXPECT_EQ(Value(1, 3), "Martin");
  EXPECT_EQ(Value(2, 4), "3,25");
  EXPECT_EQ(Value(3, 2), "");  // a new field starts empty, whatever its name
  EXPECT_EQ(Value(4, 2), "");
  EXPECT_EQ(Cell(1, 0), "NOM2");
  EXPECT_EQ(Cell(1, 1), "Dupond");
  EXPECT_TRUE(c.Document().Modified());

  c.Annuler();
  EXPECT_EQ(Names(), Values({"NOM:STRING", "VILLE:STRING", "PRIX:FLOAT"}));
  EXPECT_EQ(Value(1, 1), "Dupond");
  EXPECT_EQ(Value(2, 1), "Paris");
}

TEST_F(ChildFieldsTest, StructureChangeSkipsARepeatedNameWithItsType) {
  TChild& c = Open(WriteClients());
  AnswerStructure([](TModif& dialog) {
    Enter(dialog, QStringLiteral("NOM"), QStringLiteral("FLOAT"));
    // Moved to the end: NOM, VILLE, PRIX, NOM(new) -> the new NOM is refused.
  });
  c.ModiStru();
  EXPECT_EQ(Names(), Values({"NOM:STRING", "VILLE:STRING", "PRIX:FLOAT"}));
  EXPECT_EQ(Value(1, 2), "Durand");
}

TEST_F(ChildFieldsTest, StructureChangeKeepsEveryRecordAndNamesWithBlanks) {
  TChild& c = Open(WriteTable("b.qor", {{"CODE POSTAL", "STRING"}, {"VILLE", "STRING"}},
                              {{"69000", "Lyon"}, {"75000", "Paris"}, {"06000", "Nice"}}));
  c.Document().SetFilter({"VILLE", "=", "Lyon"});
  c.AffSel();
  AnswerStructure([](TModif&) {});
  c.ModiStru();
  EXPECT_EQ(Names(), Values({"CODE POSTAL:STRING", "VILLE:STRING"}));
  EXPECT_EQ(c.Document().Table().RecordCount(), 3);
  EXPECT_EQ(Value(1, 3), "06000");
}

TEST_F(ChildFieldsTest, StructureDialogCancelledChangesNothing) {
  TChild& c = Open(WriteClients());
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TModif&>(d);
    Select(dialog, 0);
    dialog.Button3Click();
    dialog.Button1Click();
  });
  c.ModiStru();
  EXPECT_EQ(c.Document().Table().FieldCount(), 3);
  EXPECT_FALSE(c.Document().Modified());
  // Confirmed with every field removed: the same as cancelled.
  AnswerStructure([](TModif& dialog) { dialog.ListView1->clear(); });
  c.ModiStru();
  EXPECT_EQ(c.Document().Table().FieldCount(), 3);
  EXPECT_FALSE(c.Document().Modified());
}

}  // namespace
