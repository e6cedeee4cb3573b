// The calculator and converter windows forward keys and clicks to their rules;
// every utility window speaks to a screen reader.

#include <QAbstractButton>
#include <QAccessible>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "TBlocnotes.h"
#include "TCalendrier.h"
#include "TEurof.h"
#include "THorloge.h"
#include "TPocket.h"
#include "TSpinButton.h"
#include "UtilityTest.h"

namespace {

class UtilityWindowsTest : public UtilityTest {};

TEST_F(UtilityWindowsTest, CalculatorKeysClickTheirButtonsAndErrorsGoToTheErrorBox) {
  TPocket pocket;
  pocket.show();
  EXPECT_EQ(pocket.windowTitle(), "Calculatrice");
  EXPECT_EQ(pocket.focusWidget(), pocket.Button[11]);
  QTest::keyClicks(pocket.Button[11], "2+3*4=");
  EXPECT_EQ(pocket.Label1->text(), "20");

  // The mouse takes the same path and leaves the keyboard on "=".
  QTest::mouseClick(pocket.Button[18], Qt::LeftButton);  // C
  QTest::mouseClick(pocket.Button[9], Qt::LeftButton);
  QTest::mouseClick(pocket.Button[16], Qt::LeftButton);  // 1/x
  EXPECT_EQ(pocket.Label1->text(), "0,11111111111");
  EXPECT_EQ(pocket.focusWidget(), pocket.Button[11]);

  QTest::keyClicks(pocket.Button[11], "c5/0=");
  EXPECT_EQ(Boxes(), QStringList{"Error: Division flottante par zéro"});
  EXPECT_EQ(pocket.Label1->text(), "0");

  // While "1/x" or "√" has the focus, typed keys do nothing.
  EXPECT_EQ(pocket.Button[17]->text(), QString::fromUtf8("√"));
  EXPECT_EQ(pocket.Button[17]->accessibleDescription(), QString::fromUtf8("Racine carrée"));
  pocket.Button[17]->setFocus();
  QTest::keyClicks(pocket.Button[17], "7");
  EXPECT_EQ(pocket.Label1->text(), "0");

  // Activating the window clears it.
  pocket.FormActivate();
  EXPECT_EQ(pocket.Label1->text(), "");
  EXPECT_EQ(pocket.focusWidget(), pocket.Button[11]);
}

TEST_F(UtilityWindowsTest, ConverterTakesKeysOnEqualsAndFermerOnly) {
  TEurof euro;
  euro.show();
  EXPECT_EQ(euro.windowTitle(), "Euro convertisseur");
  EXPECT_EQ(euro.Edit3->text(), "6,55957");
  EXPECT_TRUE(euro.Edit3->isReadOnly());
  QTest::keyClicks(euro.Button[11], "100");
  QTest::keyClick(euro.Button[11], Qt::Key_Return);
  EXPECT_EQ(euro.Label1->text(), "100");
  EXPECT_EQ(euro.Label2->text(), "15,24");

  // The direction by its radio button; "." typed as ","; Enter on "Fermer"
  // converts rather than closing.
  QTest::mouseClick(euro.RadioButton2, Qt::LeftButton);
  QTest::mouseClick(euro.Button[1], Qt::LeftButton);
  euro.Button[10]->setFocus();
  QTest::keyClicks(euro.Button[10], ".5");
  QTest::keyClick(euro.Button[10], Qt::Key_Enter);
  EXPECT_TRUE(euro.isVisible());
  EXPECT_EQ(euro.Label1->text(), "1,5");
  EXPECT_EQ(euro.Label2->text(), "9,8");

  QTest::mouseClick(euro.SpinButton1->UpButton, Qt::LeftButton);
  EXPECT_EQ(euro.Edit3->text(), "6,55958");

  // Other controls do not pass keys on.
  euro.RadioButton1->setFocus();
  QTest::keyClicks(euro.RadioButton1, "3");
  EXPECT_EQ(euro.Label1->text(), "1,5");
}

// Clicking the direction or the rate's arrows leaves the keyboard where typed
// amounts count: the next amount can be typed at once.
TEST_F(UtilityWindowsTest, ConverterKeepsTheKeyboardAfterItsButtons) {
  TEurof euro;
  euro.show();
  QTest::mouseClick(euro.RadioButton2, Qt::LeftButton);
  EXPECT_TRUE(euro.RadioButton2->isChecked());
  QTest::mouseClick(euro.SpinButton1->DownButton, Qt::LeftButton);
  QTest::mouseClick(euro.RadioButton1, Qt::LeftButton);
  EXPECT_EQ(euro.focusWidget(), euro.Button[11]);
  QTest::keyClicks(euro.focusWidget(), "100");
  QTest::keyClick(euro.focusWidget(), Qt::Key_Return);
  EXPECT_EQ(euro.Label1->text(), "100");
  EXPECT_EQ(euro.Label2->text(), "15,24");
}

TEST_F(UtilityWindowsTest, EveryControlHasANameAndTheDisplaysAreRead) {
  std::vector<std::unique_ptr<QDialog>> windows;
  windows.emplace_back(new TPocket);
  windows.emplace_back(new TEurof);
  windows.emplace_back(new THorloge);
  windows.emplace_back(new TCalendrier);
  windows.emplace_back(new TBlocnotes);
  for (const auto& w : windows) {
    w->show();
    for (QWidget* c : w->findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                           qobject_cast<QPlainTextEdit*>(c) || qobject_cast<QCalendarWidget*>(c);
      // The month grid's own inner pieces speak through the grid.
      const bool inner = c->parentWidget() && qobject_cast<QCalendarWidget*>(c->parentWidget());
      if (!control || inner || !c->isVisible()) continue;
      EXPECT_FALSE(c->accessibleName().isEmpty())
          << w->windowTitle().toStdString() << " " << c->metaObject()->className() << " "
          << c->objectName().toStdString();
    }
  }
  // A screen reader reads the number shown, and what a display shows while
  // it is empty.
  auto name = [](QLabel* display) {
    return QAccessible::queryAccessibleInterface(display)->text(QAccessible::Name);
  };
  TPocket& pocket = static_cast<TPocket&>(*windows[0]);
  EXPECT_EQ(name(pocket.Label1), "Affichage");
  QTest::keyClicks(pocket.Button[11], "12,5");
  EXPECT_EQ(name(pocket.Label1), "12,5");
  QTest::keyClicks(pocket.Button[11], "c");
  EXPECT_EQ(name(pocket.Label1), "Affichage");
  TEurof& euro = static_cast<TEurof&>(*windows[1]);
  EXPECT_EQ(name(euro.Label1), "Montant");
  EXPECT_EQ(name(euro.Label2), QString::fromUtf8("Résultat"));
  QTest::keyClicks(euro.Button[11], "7");
  EXPECT_EQ(name(euro.Label1), "7");
  // Captions in correct French.
  EXPECT_EQ(static_cast<THorloge&>(*windows[2]).Button2->text(), QString::fromUtf8("Régler"));
}

}  // namespace
