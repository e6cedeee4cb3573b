// The query windows and dialogs as a screen reader and the keyboard meet them:
// every control has a name, and the count dialog builds its condition where
// the caret is.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "QueryTest.h"
#include "TCalcul.h"
#include "TCompter.h"
#include "TDualListDlg.h"
#include "TFrmFiltre.h"
#include "TQbe.h"
#include "TSql.h"

namespace {

class QueryDialogsTest : public QueryTest {};

// The controls of `w` that a screen reader could not announce. The parts of a
// grid or a spin box speak for it, and popups are windows of their own; the
// edit box of a combo box is announced on its own.
QStringList Nameless(const QWidget& w) {
  QStringList nameless;
  for (QWidget* c : w.findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                         qobject_cast<QComboBox*>(c) || qobject_cast<QAbstractSpinBox*>(c) ||
                         qobject_cast<QPlainTextEdit*>(c) || qobject_cast<QAbstractItemView*>(c);
    bool part = c->window() != &w;
    for (QWidget* p = c->parentWidget(); p && p != &w && !part; p = p->parentWidget())
      part = qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QAbstractItemView*>(p);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
    if (control && !part && (!a || a->text(QAccessible::Name).trimmed().isEmpty()))
      nameless << QString::fromLatin1(c->metaObject()->className()) + ' ' + c->objectName();
  }
  return nameless;
}

TEST_F(QueryDialogsTest, EveryControlHasAName) {
  TSql sql;
  TQbe qbe;
  TDualListDlg dual;
  TFrmFiltre filtre;
  TCompter compter;
  TCalcul calcul;
  for (const QWidget* w :
       std::initializer_list<const QWidget*>{&sql, &qbe, &dual, &filtre, &compter, &calcul})
    EXPECT_EQ(Nameless(*w).join(", ").toStdString(), "") << w->windowTitle().toStdString();
  EXPECT_EQ(calcul.ComboBox2->accessibleName(), "Champ à calculer");
  EXPECT_EQ(compter.SpinEdit1->accessibleName(), "De");
  EXPECT_EQ(compter.SpinEdit2->accessibleName(), "A");
  EXPECT_EQ(compter.Edit1->accessibleName(), "Condition");
  EXPECT_EQ(filtre.ComboBox2->accessibleName(), "Opérateur");
  EXPECT_EQ(sql.SpeedButton2->accessibleName(), "Exécuter requête");
}

// What a screen reader says a control is, and what it holds.
QString Announced(QWidget* w, QAccessible::Text text = QAccessible::Name) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  return a ? a->text(text) : QStringLiteral("<none>");
}

TEST_F(QueryDialogsTest, FieldBoxesAreAnnouncedByTheirLabelNotTheirValue) {
  TFrmFiltre filtre;
  filtre.Init({"NOM", "VILLE"}, TCondition{"VILLE", ">=", "P"});
  TCalcul calcul;
  calcul.Init(1, 6, {"NOM", "AGE"}, {"AGE", "PRIX"});
  EXPECT_EQ(Announced(filtre.ComboBox1), "Champ");
  EXPECT_EQ(Announced(filtre.ComboBox1, QAccessible::Value), "VILLE");
  EXPECT_EQ(Announced(filtre.ComboBox2), QString::fromUtf8("Opérateur"));
  EXPECT_EQ(Announced(calcul.ComboBox1), "Champ");
  EXPECT_EQ(Announced(calcul.ComboBox1, QAccessible::Value), "NOM");
  EXPECT_EQ(Announced(calcul.ComboBox2), QString::fromUtf8("Champ à calculer"));
  EXPECT_EQ(Announced(calcul.ComboBox2, QAccessible::Value), "AGE");
}

// The controls Tab visits from the first one, in order, by accessible name.
QStringList TabStops(QDialog& d, QWidget* first) {
  d.show();
  d.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
  first->setFocus();
  QStringList stops;
  for (QWidget* w = first; stops.size() < 30;) {
    stops << Announced(w);
    QTest::keyClick(w, Qt::Key_Tab);
    w = d.focusWidget();
    if (w == first || !w) break;
  }
  d.hide();
  return stops;
}

TEST_F(QueryDialogsTest, TabFollowsTheReadingOrder) {
  TFrmFiltre filtre;
  filtre.Init({"NOM"}, TCondition());
  EXPECT_EQ(TabStops(filtre, filtre.ComboBox1).join(", "),
            QString::fromUtf8("Champ, Opérateur, Valeur, Annuler, OK"));
  const QString compter = QString::fromUtf8("De, A, Champ, =, <, >, <=, >=, Condition");
  TCompter count;
  count.Init(1, 6, {"NOM"});
  EXPECT_EQ(TabStops(count, count.SpinEdit1).join(", "), compter + ", Annuler, OK");
  TCalcul calcul;
  calcul.Init(1, 6, {"NOM"}, {"AGE"});
  EXPECT_EQ(TabStops(calcul, calcul.SpinEdit1).join(", "),
            compter + QString::fromUtf8(", Champ à calculer, Somme, Annuler, OK"));
}

TEST_F(QueryDialogsTest, FieldNamesAndOperatorsGoInAtTheCaret) {
  TCompter d;
  d.Init(1, 6, {"NOM", "VILLE"});
  EXPECT_EQ(d.ComboBox1->currentText(), "NOM");
  d.Edit1->setText("xParis");
  d.Edit1->setSelection(0, 1);  // the "x" is replaced
  d.ComboBox1->setCurrentIndex(1);
  emit d.ComboBox1->activated(1);
  d.SpeedButton4->click();
  EXPECT_EQ(d.Edit1->text(), "VILLE<=Paris");
  d.Edit1->setCursorPosition(5);
  d.Edit1->setSelection(5, 2);
  d.SpeedButton3->click();
  EXPECT_EQ(d.Edit1->text(), "VILLE>Paris");
  EXPECT_FALSE(d.Result());
  d.Button2->click();
  ASSERT_TRUE(d.Result());
  EXPECT_EQ(d.Result()->condition, "VILLE>Paris");
  EXPECT_EQ(d.Result()->from, 1);
  EXPECT_EQ(d.Result()->to, 6);
}

}  // namespace
