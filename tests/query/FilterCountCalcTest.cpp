// The document window's selection filter, count and calculate commands, as the
// user sees them: the rows shown, the messages with their French numbers, the
// range, and that no query command changes the document.

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "QueryTest.h"
#include "TCalcul.h"
#include "TCompter.h"
#include "TFrmFiltre.h"
#include "TQbe.h"
#include "TResultGrid.h"
#include "TSql.h"

namespace {

class FilterCountCalcTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    Open(WritePeople());
  }

  void Filter(const QString& field, const QString& op, const QString& value) {
    OnDialog<TFrmFiltre>([=](TFrmFiltre& d) {
      d.ComboBox1->setCurrentText(field);
      d.ComboBox2->setCurrentText(op);
      d.Edit1->setText(value);
      d.Button2->click();
    });
    child->Filtre();
  }

  // Column 1 of the table view's rows.
  QStringList Shown() const {
    QStringList names;
    for (int r = 1; r < child->StringGrid1->RowCount(); ++r) names << Cell(1, r);
    return names;
  }

  // Runs the count with `condition`, from..to, and gives the message shown.
  QString Count(const QString& condition, int from = 0, int to = 0) {
    OnDialog<TCompter>([=](TCompter& d) {
      if (from) d.SpinEdit1->setValue(from);
      if (to) d.SpinEdit2->setValue(to);
      d.Edit1->setText(condition);
      d.Button2->click();
    });
    return LastMessage([this] { child->Compte(); });
  }

  QString Calculate(const QString& condition, const QString& field, int operation, int from = 0,
                    int to = 0) {
    OnDialog<TCalcul>([=](TCalcul& d) {
      if (from) d.SpinEdit1->setValue(from);
      if (to) d.SpinEdit2->setValue(to);
      d.Edit1->setText(condition);
      d.ComboBox2->setCurrentText(field);
      d.Operations->button(operation)->click();
      d.Button2->click();
    });
    return LastMessage([this] { child->Calculer(); });
  }

  // The text of the one box that `command` showed, "" when it showed none.
  QString LastMessage(const std::function<void()>& command) {
    const size_t before = services.Questions().size();
    command();
    const auto& questions = services.Questions();
    EXPECT_LE(questions.size(), before + 1);
    return questions.size() > before ? questions.back().text : QString();
  }
};

TEST_F(FilterCountCalcTest, FilterShowsTheSelectionAndTheViewsSwitchBack) {
  Filter("VILLE", "=", "Paris");
  EXPECT_TRUE(child->Document().SelectionMode());
  EXPECT_EQ(Shown(), QStringList({"Dupont", "Martin"}));
  EXPECT_EQ(Cell(0, 2), "4");
  child->AffTout();
  EXPECT_EQ(Shown().size(), 6);
  child->AffSel();
  EXPECT_EQ(Shown(), QStringList({"Dupont", "Martin"}));
  Filter("NOM", "LIKE", "dup*");
  EXPECT_EQ(Shown(), QStringList({"Dupont", "DUPUIS"}));
  // A text comparison, also on a "FLOAT" field: "34" and "18" come before "4".
  Filter("AGE", ">", "4");
  EXPECT_EQ(Shown(), QStringList({"DUPUIS", "Martin", "Durand", "Petit"}));
  // The column view starts on the first selected record.
  child->Vue(TView::Column);
  Filter("VILLE", "=", "Lyon");
  EXPECT_EQ(child->Document().Table().RecNo(), 2);
  EXPECT_EQ(child->StringGrid2->Cell(1, 0), "DUPUIS");
}

TEST_F(FilterCountCalcTest, CancelledFilterChangesNothingAndOkWithoutFieldKeepsTheField) {
  Filter("VILLE", "=", "Paris");
  OnDialog<TFrmFiltre>([](TFrmFiltre& d) {
    EXPECT_EQ(d.ComboBox1->currentText(), "VILLE");
    EXPECT_EQ(d.ComboBox2->currentText(), "=");
    EXPECT_EQ(d.Edit1->text(), "Paris");
    d.Edit1->setText("Lyon");
    d.Button1->click();
  });
  child->Filtre();
  EXPECT_EQ(child->Document().Filter().Value, "Paris");
  child->AffTout();
  // "OK" with no field: the operator and the value are taken, nothing else.
  Filter("", "<", "M");
  EXPECT_FALSE(child->Document().SelectionMode());
  EXPECT_EQ(child->Document().Filter().Field, "VILLE");
  EXPECT_EQ(child->Document().Filter().Operator, "<");
  EXPECT_EQ(child->Document().Filter().Value, "M");
  // Enter confirms, in a box as on "OK" ("OK" is the default button).
  OnDialog<TFrmFiltre>([](TFrmFiltre& d) {
    d.ComboBox1->setCurrentText("NOM");
    QTest::keyClick(d.Edit1, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  });
  child->Filtre();
  EXPECT_EQ(Shown(), QStringList({"Dupont", "DUPUIS", "Durand"}));
}

TEST_F(FilterCountCalcTest, CountSaysHowManyRecordsSatisfyTheCondition) {
  EXPECT_EQ(Count("VILLE=Paris"), "VILLE=Paris : 2 enregistrements comptés");
  // "FLOAT": as numbers.
  EXPECT_EQ(Count("AGE>=18"), "AGE>=18 : 3 enregistrements comptés");
  EXPECT_EQ(Count("AGE<9"), "AGE<9 : 2 enregistrements comptés");
  EXPECT_EQ(Count("VILLE = Paris"), "VILLE = Paris : 2 enregistrements comptés");
  // After a two-character operator, quotes around the value are not part of it.
  EXPECT_EQ(Count("VILLE<='Saint Jean '"), "VILLE<='Saint Jean ' : 5 enregistrements comptés");
  EXPECT_EQ(Count("VILLE>=\"P\""), "VILLE>=\"P\" : 4 enregistrements comptés");
  EXPECT_EQ(Count(""), "");
  OnDialog<TCompter>([](TCompter& d) {
    d.Edit1->setText("VILLE=Paris");
    d.Button1->click();
  });
  EXPECT_EQ(LastMessage([this] { child->Compte(); }), "");
}

TEST_F(FilterCountCalcTest, BlanksAroundNameOperatorAndValueAreNotPartOfThem) {
  EXPECT_EQ(Count("  AGE  >=  18 "), "  AGE  >=  18  : 3 enregistrements comptés");
  EXPECT_EQ(Count("VILLE = Paris  "), "VILLE = Paris   : 2 enregistrements comptés");
  // Quoted, the blanks belong to the value: "Saint Jean " ends with one.
  EXPECT_EQ(Count("VILLE = 'Saint Jean '"), "VILLE = 'Saint Jean ' : 1 enregistrement compté");
  EXPECT_EQ(Count("VILLE = Saint Jean "), "VILLE = Saint Jean  : 0 enregistrement compté");
  EXPECT_EQ(Calculate("VILLE = Lyon", "PRIX", 1), "VILLE = Lyon - Somme : 12,00");
  // Only blanks: no condition, nothing counted.
  EXPECT_EQ(Count("   "), "");
}

TEST_F(FilterCountCalcTest, ConditionThatCannotBeReadIsRefusedAndTheDialogStays) {
  OnDialog<TCompter>([this](TCompter& d) {
    d.Edit1->setText("VILE = Paris");
    d.Button2->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Messages().last(), "Impossible de compter : la table n'a pas de champ 'VILE'");
    EXPECT_EQ(d.Edit1->text(), "VILE = Paris");
    d.Edit1->setText("VILLE = Paris");
    d.Button2->click();
  });
  child->Compte();
  ASSERT_EQ(services.Questions().size(), 2u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Warning);
  EXPECT_EQ(services.Questions()[1].text, "VILLE = Paris : 2 enregistrements comptés");
  const QString operators = QString::fromUtf8(" ; opérateurs acceptés : =, <, >, <= et >=");
  EXPECT_EQ(
      Count("VILLE"),
      QString::fromUtf8("Impossible de compter : la condition n'a pas d'opérateur") + operators);
  EXPECT_EQ(Count("AGE => 18"),
            QString::fromUtf8("Impossible de compter : l'opérateur « => » n'est pas reconnu") +
                operators);
  EXPECT_EQ(Calculate("AGE <> 18", "PRIX", 1),
            QString::fromUtf8("Impossible de calculer : l'opérateur « <> » n'est pas reconnu") +
                operators);
  EXPECT_EQ(Calculate("= 18", "PRIX", 1),
            QString::fromUtf8("Impossible de calculer : aucun champ n'est nommé"));
}

TEST_F(FilterCountCalcTest, UnknownFilterOperatorIsRefusedNamingThoseAccepted) {
  // A filter never set offers "=".
  OnDialog<TFrmFiltre>([this](TFrmFiltre& d) {
    EXPECT_EQ(d.ComboBox2->currentText(), "=");
    d.ComboBox1->setCurrentText("VILLE");
    d.ComboBox2->setCurrentText("=>");
    d.Edit1->setText("Paris");
    d.Button2->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Messages().last(),
              QString::fromUtf8("Impossible de filtrer : l'opérateur « => » n'est pas reconnu ; "
                                "opérateurs acceptés : =, <, >, <=, >= et LIKE"));
    EXPECT_EQ(d.focusWidget(), d.ComboBox2);
    d.ComboBox2->setCurrentText("");
    d.Button2->click();
    EXPECT_EQ(Messages().last(),
              QString::fromUtf8("Impossible de filtrer : la condition n'a pas d'opérateur ; "
                                "opérateurs acceptés : =, <, >, <=, >= et LIKE"));
    d.ComboBox1->setCurrentText("VILE");
    d.ComboBox2->setCurrentText(" like ");
    d.Button2->click();
    EXPECT_EQ(Messages().last(), "Impossible de filtrer : la table n'a pas de champ 'VILE'");
    EXPECT_EQ(d.focusWidget(), d.ComboBox1);
    d.Button1->click();
  });
  child->Filtre();
  EXPECT_EQ(services.Questions().size(), 3u);
  EXPECT_FALSE(child->Document().SelectionMode());
  EXPECT_EQ(child->Document().Filter(), TCondition());
  EXPECT_EQ(Shown().size(), 6);
  // Blanks around an operator go; LIKE is taken in any case.
  Filter("NOM", " like ", "dup*");
  EXPECT_EQ(child->Document().Filter().Operator, "like");
  EXPECT_EQ(Shown(), QStringList({"Dupont", "DUPUIS"}));
}

TEST_F(FilterCountCalcTest, EnterConfirmsCountAndCalculateFromTheirBoxes) {
  OnDialog<TCompter>([](TCompter& d) {
    d.Edit1->setText("AGE>=18");
    QTest::keyClick(d.Edit1, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(LastMessage([this] { child->Compte(); }), "AGE>=18 : 3 enregistrements comptés");
  OnDialog<TCalcul>([](TCalcul& d) {
    d.Edit1->setText("VILLE=Lyon");
    QTest::keyClick(d.SpinEdit2, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(LastMessage([this] { child->Calculer(); }), "VILLE=Lyon - Somme : 13,50");
  OnDialog<TCalcul>([](TCalcul& d) {
    d.ComboBox2->setCurrentText("PRIX");
    QTest::keyClick(d.ComboBox2, Qt::Key_Enter);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(LastMessage([this] { child->Calculer(); }), " - Somme : 3,50");
}

TEST_F(FilterCountCalcTest, CaptionEndsWithFiltreWhileTheSelectionIsOn) {
  child->setWindowTitle("people.qor");
  Filter("VILLE", "=", "Paris");
  EXPECT_EQ(child->windowTitle(), "people.qor (filtre)");
  // A new name (a save as) keeps the ending while the selection is on.
  child->setWindowTitle("autres.qor");
  EXPECT_EQ(child->windowTitle(), "autres.qor (filtre)");
  child->AffTout();
  EXPECT_EQ(child->windowTitle(), "autres.qor");
  child->AffSel();
  EXPECT_EQ(child->windowTitle(), "autres.qor (filtre)");
  // Adding a record leaves the selection.
  child->Ajouter();
  EXPECT_EQ(child->windowTitle(), "autres.qor");
}

TEST_F(FilterCountCalcTest, CalculateOnATableWithoutNumericFieldSaysSo) {
  Open(WriteTable("noms.qor", {{"NOM", "STRING"}}, {{"Dupont"}}));
  EXPECT_EQ(LastMessage([this] { child->Calculer(); }),
            QString::fromUtf8(
                "Cette table n'a aucun champ numérique (de type FLOAT) : rien à calculer."));
  EXPECT_TRUE(services.DialogTitles().isEmpty());
}

TEST_F(FilterCountCalcTest, CountAndCalculateKeepToTheRange) {
  EXPECT_EQ(Count("VILLE=Paris", 2, 4), "VILLE=Paris : 1 enregistrement compté");
  EXPECT_EQ(Count("AGE>-1", 5, 99), "AGE>-1 : 2 enregistrements comptés");
  EXPECT_EQ(Count("AGE>-1", 4, 3), "AGE>-1 : 0 enregistrement compté");
  EXPECT_EQ(Calculate("", "AGE", 1, 2, 3), " - Somme : 27,00");
  EXPECT_EQ(Calculate("AGE>5", "PRIX", 3, 3, 6), "AGE>5 - Minimum : -7,00");
}

TEST_F(FilterCountCalcTest, CalculateShowsTwoDecimalsInFrench) {
  EXPECT_EQ(Calculate("", "PRIX", 1, 1, 3), " - Somme : 3,50");  // 1,5 + 2 + abc (0)
  EXPECT_EQ(Calculate("VILLE=Paris", "AGE", 2), "VILLE=Paris - Moyenne : 19,50");
  EXPECT_EQ(Calculate("", "PRIX", 4, 4, 5), " - Maximum : -3,00");
  EXPECT_EQ(Calculate("", "PRIX", 3, 4, 5), " - Minimum : -7,00");
  EXPECT_EQ(Calculate("AGE<5", "PRIX", 1), "AGE<5 - Somme : 10,00");
  // No digit before the comma when the whole part is 0.
  EXPECT_EQ(Calculate("AGE<0", "AGE", 1), "AGE<0 - Somme : ,00");
  // Cancelled: nothing.
  OnDialog<TCalcul>([](TCalcul& d) {
    EXPECT_EQ(d.ComboBox2->count(), 2);
    EXPECT_EQ(d.ComboBox2->currentText(), "AGE");
    EXPECT_TRUE(d.Operations->button(1)->isChecked());
    d.Button1->click();
  });
  EXPECT_EQ(LastMessage([this] { child->Calculer(); }), "");
}

TEST_F(FilterCountCalcTest, AverageMinimumAndMaximumOverNoRecordSaySo) {
  for (int operation : {2, 3, 4})
    EXPECT_EQ(Calculate("VILLE=Rome", "AGE", operation),
              "Aucun enregistrement ne satisfait la condition")
        << operation;
  EXPECT_EQ(Calculate("VILLE=Rome", "AGE", 1), "VILLE=Rome - Somme : ,00");
}

TEST_F(FilterCountCalcTest, TotalsAreHeldAsSixByteReals) {
  // 123456789012.345 has more digits than 40 bits hold: the nearest is
  // 123456789012.375 (steps of 1/8 at that size).
  child->Document().Table().GoToRecord(1);
  child->Document().Table().SetFieldValue(4, "123456789012.345");
  EXPECT_EQ(Calculate("", "PRIX", 1, 1, 1), " - Somme : 123456789012,38");
  // 0,1 six times: the 6-byte sum rounds after each step, and shows ,60.
  for (int n = 1; n <= 6; ++n) {
    child->Document().Table().GoToRecord(n);
    child->Document().Table().SetFieldValue(4, "0,1");
  }
  EXPECT_EQ(Calculate("", "PRIX", 1), " - Somme : ,60");
  child->Document().Table().SetFieldValue(4, "1e38");
  child->Document().Table().GoToRecord(5);
  child->Document().Table().SetFieldValue(4, "1e38");
  EXPECT_EQ(Calculate("", "PRIX", 1), "Dépassement de capacité");
}

TEST_F(FilterCountCalcTest, NoQueryCommandChangesTheDocument) {
  child->Vue(TView::Column);
  child->Suivant();
  child->Suivant();
  const std::string before = Dump(child->Document().Table());
  const auto records = child->Document().Table().RecordList().Items();
  OnDialog<TSql>([](TSql& sql) {
    sql.Memo1->setPlainText("SELECT DISTINCT VILLE WHERE AGE > 1");
    sql.SpeedButton2->click();
    sql.StringGrid1->SetCell(1, 1, "typed");
  });
  child->Requete();
  OnDialog<TQbe>([](TQbe& qbe) {
    qbe.SpeedButton2->click();
    qbe.StringGrid1->SetCell(1, 1, "typed");
  });
  child->Interrogation();
  Count("AGE>1");
  Calculate("AGE>1", "AGE", 2);
  EXPECT_EQ(Dump(child->Document().Table()), before);
  EXPECT_TRUE(child->Document().Table().RecordList().Items() == records);
  EXPECT_EQ(child->Document().Table().RecNo(), 3);
  EXPECT_EQ(child->StringGrid2->Cell(1, 0), "du Pont");
  EXPECT_FALSE(child->Document().Modified());
}

}  // namespace
