// Find and replace in the document window on five clients whose NOM holds
// Martin, Dupont, Durand, Martin, Dupuis: the find sequence, "Mot entier",
// replacing one by one and all at once, the kept criteria, and the rules that
// keep the record found, the record shown and the selection together.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "DocumentTest.h"
#include "TFindDlg.h"
#include "TReplaceDlg.h"

namespace {

class ChildFindTest : public DocumentTest {
 protected:
  TChild& OpenNames() {
    return Open(WriteTable("noms.qor", {{"NOM", "STRING"}, {"VILLE", "STRING"}},
                           {{"Martin", "Paris"},
                            {"Dupont", "Lyon"},
                            {"Durand", "Lyon"},
                            {"Martin", "Nice"},
                            {"Dupuis", "Lyon"}}));
  }
  // The find dialog filled as a user does; `proposed` gets what it showed.
  void AnswerFind(const QString& text, bool wholeWord, const QString& field = QString()) {
    services.AnswerDialog([=](QDialog& d) {
      auto& dialog = static_cast<TFindDlg&>(d);
      proposed = dialog.Edit1->text();
      proposedField = dialog.ComboBox1->currentText();
      dialog.Edit1->setText(text);
      dialog.CheckBox1->setChecked(wholeWord);
      if (!field.isEmpty()) dialog.ComboBox1->setCurrentText(field);
      dialog.Button2->click();
    });
  }
  void AnswerReplace(const QString& text, const QString& replacement, bool all) {
    services.AnswerDialog([=](QDialog& d) {
      auto& dialog = static_cast<TReplaceDlg&>(d);
      proposed = dialog.Edit1->text();
      dialog.Edit1->setText(text);
      dialog.Edit2->setText(replacement);
      dialog.CheckBox1->setChecked(false);
      dialog.CheckBox2->setChecked(all);
      dialog.Button2->click();
    });
  }
  void SelectLyon() {
    child->Document().SetFilter({"VILLE", "=", "Lyon"});
    child->AffSel();
  }
  int Row() const { return child->StringGrid1->Row(); }
  int Current() const { return child->Document().Table().RecNo(); }
  std::string Shown() const { return child->StringGrid2->CellAnsi(1, 0); }
  int Asked() const {
    int n = 0;
    for (const TQuestion& q : services.Questions())
      if (q.text == "Remplacer ?" && q.kind == TQuestionKind::YesNoCancel) ++n;
    return n;
  }

  QString proposed, proposedField;
};

TEST_F(ChildFindTest, FindSequenceInTheTableView) {
  TChild& c = OpenNames();
  AnswerFind(QStringLiteral("dup"), false);
  c.Rechercher();
  EXPECT_EQ(proposedField, "NOM");  // the field of the current column
  EXPECT_EQ(c.Document().Find().Search.Value, "dup*");
  EXPECT_EQ(c.Document().Find().Search.Operator, "LIKE");
  EXPECT_EQ(Row(), 2);
  EXPECT_EQ(Current(), 2);
  c.Continuer();
  EXPECT_EQ(Row(), 5);
  EXPECT_EQ(Current(), 5);
  c.Continuer();  // on the last record the search starts there
  EXPECT_EQ(Row(), 5);
  EXPECT_EQ(Current(), 5);
  EXPECT_FALSE(c.Document().Modified());

  // The dialog shows the text without the star it was given.
  AnswerFind(QStringLiteral("mar"), false);
  c.Rechercher();
  EXPECT_EQ(proposed, "dup");
  // A new search looks at record 1 too.
  EXPECT_EQ(Row(), 1);
  c.Continuer();
  EXPECT_EQ(Row(), 4);
}

TEST_F(ChildFindTest, WholeWordComparesExactly) {
  TChild& c = OpenNames();
  AnswerFind(QStringLiteral("Dupont"), true);
  c.Rechercher();
  EXPECT_EQ(c.Document().Find().Search.Operator, "=");
  EXPECT_EQ(c.Document().Find().Search.Value, "Dupont");
  EXPECT_EQ(Row(), 2);
  c.Continuer();
  EXPECT_EQ(Row(), 2);
  EXPECT_EQ(Current(), 2);  // nothing further: the record shown stays current

  c.Premier();
  AnswerFind(QStringLiteral("dupont"), true);
  c.Rechercher();
  EXPECT_EQ(Row(), 1);
  EXPECT_EQ(Current(), 1);
}

TEST_F(ChildFindTest, AFailedStepLeavesTheShownRecordCurrentForTheNextWriteBack) {
  TChild& c = OpenNames();
  c.Vue(TView::Column);
  AnswerFind(QStringLiteral("Dupont"), true);
  c.Rechercher();
  EXPECT_EQ(Shown(), "Dupont");
  c.Continuer();
  EXPECT_EQ(Current(), 2);
  // What the user types into the record shown goes into that record.
  c.StringGrid2->SetCell(1, 1, QStringLiteral("Grenoble"));
  c.StringGrid1KeyPress(QChar('e'));
  c.Suivant();
  EXPECT_EQ(Value(2, 2), "Grenoble");
  EXPECT_EQ(Value(2, 3), "Lyon");
}

TEST_F(ChildFindTest, FindInTheColumnViewUsesTheFieldUnderTheCursor) {
  TChild& c = OpenNames();
  c.Vue(TView::Column);
  c.StringGrid2->SetRow(1);
  AnswerFind(QStringLiteral("ni"), false);
  c.Rechercher();
  EXPECT_EQ(proposedField, "VILLE");
  EXPECT_EQ(c.Document().Find().Search.Field, "VILLE");
  EXPECT_EQ(Current(), 4);
  EXPECT_EQ(Shown(), "Martin");
}

TEST_F(ChildFindTest, SelectionModeVisitsOnlyTheShownRecords) {
  TChild& c = OpenNames();
  SelectLyon();  // rows 1, 2, 3 show records 2, 3, 5
  AnswerFind(QStringLiteral("dur"), false);
  c.Rechercher();
  EXPECT_EQ(Row(), 2);
  EXPECT_EQ(Cell(0, Row()), "3");
  EXPECT_EQ(Current(), 3);
  AnswerFind(QStringLiteral("mar"), false);  // the Martins are not shown
  c.Rechercher();
  EXPECT_EQ(Row(), 2);
  EXPECT_EQ(Current(), 3);

  c.Vue(TView::Column);
  c.Premier();
  AnswerFind(QStringLiteral("du"), false, QStringLiteral("NOM"));
  c.Rechercher();
  EXPECT_EQ(Current(), 2);
  c.Continuer();
  EXPECT_EQ(Current(), 3);
  c.Continuer();
  EXPECT_EQ(Current(), 5);
  AnswerFind(QStringLiteral("mar"), false, QStringLiteral("NOM"));
  c.Rechercher();
  EXPECT_EQ(Current(), 5);
  EXPECT_EQ(Shown(), "Dupuis");
}

TEST_F(ChildFindTest, CancelledOrEmptyFindDoesNothing) {
  TChild& c = OpenNames();
  c.Continuer();  // no search ever run
  EXPECT_EQ(Row(), 1);
  services.AnswerDialog([](QDialog& d) { static_cast<TFindDlg&>(d).Button1->click(); });
  c.Rechercher();
  AnswerFind(QString(), false);
  c.Rechercher();
  EXPECT_EQ(c.Document().Find().Search.Value, "");
  EXPECT_EQ(Row(), 1);
}

TEST_F(ChildFindTest, ReplaceAllChangesEveryMatchWithoutAsking) {
  TChild& c = OpenNames();
  c.Document().SetFilter({"VILLE", "=", "Paris"});
  c.AffSel();  // the selection does not limit a replace-all
  AnswerReplace(QStringLiteral("dup"), QStringLiteral("X"), true);
  c.Remplacer();
  EXPECT_EQ(Value(1, 2), "X");
  EXPECT_EQ(Value(1, 5), "X");
  EXPECT_EQ(Value(1, 3), "Durand");
  EXPECT_EQ(Asked(), 0);
  EXPECT_TRUE(c.Document().Modified());
  EXPECT_TRUE(c.Document().Find().Replacing);
  EXPECT_EQ(c.Document().Find().ReplaceValue, "X");
}

TEST_F(ChildFindTest, ReplaceAllKeepsWhatWasTyped) {
  TChild& c = OpenNames();
  TypeInCell(2, "Lille");
  AnswerReplace(QStringLiteral("dup"), QStringLiteral("X"), true);
  c.Remplacer();
  EXPECT_EQ(Value(2, 1), "Lille");
  EXPECT_EQ(Value(1, 2), "X");
}

TEST_F(ChildFindTest, ReplaceOneByOneAsksEachTime) {
  TChild& c = OpenNames();
  services.AnswerQuestion(TAnswer::No);
  AnswerReplace(QStringLiteral("dup"), QStringLiteral("X"), false);
  c.Remplacer();
  EXPECT_EQ(Asked(), 1);
  EXPECT_EQ(Row(), 2);
  EXPECT_EQ(Value(1, 2), "Dupont");
  EXPECT_FALSE(c.Document().Modified());
  services.AnswerQuestion(TAnswer::Yes);
  c.Continuer();  // continues the replace
  EXPECT_EQ(Asked(), 2);
  EXPECT_EQ(Row(), 5);
  EXPECT_EQ(Value(1, 5), "X");
  EXPECT_EQ(Cell(1, 5), "X");
  EXPECT_TRUE(c.Document().Modified());
  c.Continuer();  // record 5 no longer matches: nothing left, nothing asked
  EXPECT_EQ(Asked(), 2);
  EXPECT_EQ(Current(), 5);

  // Replacing starts on record 1 too, and a find switches back to finding.
  services.AnswerQuestion(TAnswer::Yes);
  AnswerReplace(QStringLiteral("mar"), QStringLiteral("Y"), false);
  c.Remplacer();
  EXPECT_EQ(Value(1, 1), "Y");
  AnswerFind(QStringLiteral("mar"), false);
  c.Rechercher();
  EXPECT_FALSE(c.Document().Find().Replacing);
  EXPECT_EQ(Row(), 4);
}

TEST_F(ChildFindTest, ReplaceInTheColumnViewShowsTheNewValue) {
  TChild& c = OpenNames();
  c.Vue(TView::Column);
  AnswerReplace(QStringLiteral("dur"), QStringLiteral("Durant"), false);
  services.AnswerQuestion(TAnswer::Yes);
  c.Remplacer();
  EXPECT_EQ(Current(), 3);
  EXPECT_EQ(Shown(), "Durant");
  // Proposed next time: the last text without its star.
  AnswerReplace(QString(), QString(), false);
  c.Remplacer();
  EXPECT_EQ(proposed, "dur");
  EXPECT_EQ(c.Document().Find().ReplaceValue, "");
}

}  // namespace
