// The query-by-example window: choosing fields in the dual list, the conditions
// typed under them, and saving the result.

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "QueryTest.h"
#include "TDualListDlg.h"
#include "TQbe.h"
#include "TResultGrid.h"

namespace {

class QbeWindowTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    Open(WritePeople());
  }

  void InQbe(std::function<void(TQbe&)> script) {
    OnDialog<TQbe>(script);
    child->Interrogation();
  }

  // Chooses `fields` in the dual list, one at a time, in that order.
  void ChooseFields(TQbe& qbe, const QStringList& fields) {
    OnDialog<TDualListDlg>([fields](TDualListDlg& d) {
      for (const QString& f : fields) {
        d.SrcList->clearSelection();
        d.SrcList->findItems(f, Qt::MatchExactly).front()->setSelected(true);
        d.IncludeBtn->click();
      }
      d.OKBtn->click();
    });
    qbe.SpeedButton1->click();
  }

  // Types the conditions under the chosen fields and runs; the first column of
  // the result, without the header.
  static QStringList Names(TQbe& qbe, const QStringList& conditions) {
    for (int c = 0; c < conditions.size(); ++c) qbe.StringGrid2->SetCell(c, 1, conditions[c]);
    qbe.SpeedButton2->click();
    QStringList names;
    for (int r = 1; r < qbe.StringGrid1->RowCount(); ++r) names << qbe.StringGrid1->Cell(1, r);
    return names;
  }

  static QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
  }
};

TEST_F(QbeWindowTest, DualListMovesNamesInItsOwnOrders) {
  TDualListDlg d;
  d.Init({"VILLE", "nom", "AGE", "PRIX"});
  EXPECT_EQ(Items(d.SrcList), QStringList({"AGE", "nom", "PRIX", "VILLE"}));
  EXPECT_TRUE(d.IncludeBtn->isEnabled());
  EXPECT_FALSE(d.ExcludeBtn->isEnabled());
  EXPECT_FALSE(d.ExAllBtn->isEnabled());
  // Several at once arrive bottom one first; the name now at the first moved
  // one's place is selected.
  for (int i : {0, 1, 3}) d.SrcList->item(i)->setSelected(true);
  d.IncludeBtn->click();
  EXPECT_EQ(Items(d.DstList), QStringList({"VILLE", "nom", "AGE"}));
  EXPECT_EQ(Items(d.SrcList), QStringList({"PRIX"}));
  EXPECT_TRUE(d.SrcList->item(0)->isSelected());
  EXPECT_TRUE(d.ExcludeBtn->isEnabled());
  // Back to the left one, sorted in again.
  d.DstList->item(1)->setSelected(true);
  d.ExcludeBtn->click();
  EXPECT_EQ(Items(d.SrcList), QStringList({"nom", "PRIX"}));
  d.IncAllBtn->click();
  EXPECT_EQ(Items(d.DstList), QStringList({"VILLE", "AGE", "nom", "PRIX"}));
  EXPECT_FALSE(d.IncludeBtn->isEnabled());
  EXPECT_FALSE(d.IncAllBtn->isEnabled());
  EXPECT_FALSE(d.Result());  // not confirmed yet
  d.ExAllBtn->click();
  EXPECT_EQ(Items(d.SrcList), QStringList({"AGE", "nom", "PRIX", "VILLE"}));
  d.IncAllBtn->click();
  d.OKBtn->click();
  EXPECT_EQ(d.Result(), QStringList({"AGE", "nom", "PRIX", "VILLE"}));
}

TEST_F(QbeWindowTest, ChosenFieldsBecomeCriteriaColumnsAndCancelKeepsThem) {
  InQbe([this](TQbe& qbe) {
    ChooseFields(qbe, {"NOM", "AGE"});
    EXPECT_EQ(qbe.StringGrid2->ColCount(), 2);
    EXPECT_EQ(qbe.StringGrid2->Cell(0, 0), "NOM");
    EXPECT_EQ(qbe.StringGrid2->Cell(1, 0), "AGE");
    qbe.StringGrid2->SetCell(0, 1, "LIKE dup*");
    OnDialog<TDualListDlg>([](TDualListDlg& d) {
      d.IncAllBtn->click();
      d.CancelBtn->click();
    });
    qbe.SpeedButton1->click();
    EXPECT_EQ(qbe.StringGrid2->ColCount(), 2);
    EXPECT_EQ(qbe.StringGrid2->Cell(1, 0), "AGE");
    // A new choice keeps the conditions typed.
    ChooseFields(qbe, {"VILLE"});
    EXPECT_EQ(qbe.StringGrid2->ColCount(), 1);
    EXPECT_EQ(qbe.StringGrid2->Cell(0, 0), "VILLE");
    EXPECT_EQ(qbe.StringGrid2->Cell(0, 1), "LIKE dup*");
  });
}

TEST_F(QbeWindowTest, ConditionsTakeTheirOperatorQuotesAndFieldType) {
  InQbe([this](TQbe& qbe) {
    // Before any field is chosen, every record is taken, with no column.
    qbe.SpeedButton2->click();
    EXPECT_EQ(qbe.ResultTable().RecordCount(), 6);
    EXPECT_EQ(qbe.ResultTable().FieldCount(), 0);
    ChooseFields(qbe, {"NOM", "AGE", "VILLE"});
    // LIKE ignores the case of a to z, not the space of "du Pont"; DUPUIS is 9.
    EXPECT_EQ(Names(qbe, {"LIKE dup*", ">= 18", ""}), QStringList({"Dupont"}));
    EXPECT_EQ(qbe.StringGrid1->Cell(2, 1), "34");
    // AGE is "FLOAT": compared as numbers.
    EXPECT_EQ(Names(qbe, {"", "<=5", ""}), QStringList({"Martin", "Petit"}));
    EXPECT_EQ(Names(qbe, {"", "<5", ""}), QStringList({"Petit"}));
    EXPECT_EQ(Names(qbe, {"", "like 9", ""}), QStringList({""}));
    // Text: exact, case-sensitive; quotes keep the spaces inside them.
    EXPECT_EQ(Names(qbe, {"", "", "Paris"}), QStringList({"Dupont", "Martin"}));
    EXPECT_EQ(Names(qbe, {"", "", "= 'Saint Jean '"}), QStringList({"du Pont"}));
    EXPECT_EQ(Names(qbe, {"", "", "\"Saint Jean \""}), QStringList({"du Pont"}));
    EXPECT_EQ(Names(qbe, {"", "", "= Saint Jean "}), QStringList({""}));
    EXPECT_EQ(Names(qbe, {"", "", "> P"}), QStringList({"Dupont", "du Pont", "Martin", "Durand"}));
    EXPECT_EQ(qbe.StringGrid1->Cell(0, 4), "4");
  });
}

TEST_F(QbeWindowTest, SavedResultIsTheEnginesCsv) {
  InQbe([this](TQbe& qbe) {
    ChooseFields(qbe, {"NOM", "VILLE"});
    Names(qbe, {"", "Lyon"});
    services.AnswerFile(Path("lyon.v1.txt"), 2);
    qbe.SaveBtn->click();
    EXPECT_EQ(services.FileDialogs().back().filters.size(), 4u);  // text, csv, xls, xlsx
  });
  EXPECT_EQ(ReadFile(Path("lyon.v1.csv")), "NOM;VILLE\r\nDUPUIS;Lyon\r\nPetit;Lyon\r\n");
}

}  // namespace
