#include "TPocket.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "IServices.h"
#include "TUtilityParts.h"

namespace {

// The key each button presses, by button number; "Fermer" has none.
const char kKeys[] = "0123456789,=+-*/XSC";

int ButtonOf(QChar key) {
  if (!TCalculator::IsKey(key)) return -1;
  QChar k = key.toUpper();
  if (k == QLatin1Char('.')) k = QLatin1Char(',');
  for (int i = 0; i < 19; ++i)
    if (k == QLatin1Char(kKeys[i])) return i;
  return -1;
}

}  // namespace

TPocket::TPocket(QWidget* parent) : QDialog(parent) {
  TUtilityParts::SetFixedDialog(this, QStringLiteral("Calculatrice"));
  TUtilityParts::Paint(this, TUtilityParts::Teal);

  Label1 = TUtilityParts::Display(this, QStringLiteral("Label1"), QStringLiteral("Affichage"),
                                  TUtilityParts::Navy, TUtilityParts::White);
  Label1->setMinimumWidth(220);
  auto* bar = new QFrame(this);  // decoration beside the display
  bar->setFixedWidth(8);
  TUtilityParts::Paint(bar, TUtilityParts::Red);

  const QString captions[20] = {
      QStringLiteral("0"),   QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
      QStringLiteral("4"),   QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
      QStringLiteral("8"),   QStringLiteral("9"), QStringLiteral(","), QStringLiteral("="),
      QStringLiteral("+"),   QStringLiteral("-"), QStringLiteral("*"), QStringLiteral("/"),
      QStringLiteral("1/x"), QStringLiteral("√"), QStringLiteral("C"), QStringLiteral("Fermer")};
  const QString descriptions[20] = {{},
                                    {},
                                    {},
                                    {},
                                    {},
                                    {},
                                    {},
                                    {},
                                    {},
                                    {},
                                    QStringLiteral("Virgule"),
                                    QStringLiteral("Égal"),
                                    QStringLiteral("Plus"),
                                    QStringLiteral("Moins"),
                                    QStringLiteral("Multiplier"),
                                    QStringLiteral("Diviser"),
                                    QStringLiteral("Inverse"),
                                    QStringLiteral("Racine carrée"),
                                    QStringLiteral("Effacer"),
                                    {}};
  for (int i = 0; i < 20; ++i) {
    const QString name = QStringLiteral("Button%1").arg(i);
    Button[i] = i == 19 ? TUtilityParts::Button(this, captions[i], name)
                        : TUtilityParts::KeypadButton(this, captions[i], name, descriptions[i]);
    if (i < 19) {
      const QChar key = QLatin1Char(kKeys[i]);
      connect(Button[i], &QPushButton::clicked, this, [this, key] { Press(key); });
    }
  }
  connect(Button[19], &QPushButton::clicked, this, &QDialog::reject);

  // 7 8 9 / C, 4 5 6 * 1/x, 1 2 3 - √, 0 , = + Fermer.
  const int grid[4][5] = {
      {7, 8, 9, 15, 18}, {4, 5, 6, 14, 16}, {1, 2, 3, 13, 17}, {0, 10, 11, 12, 19}};
  auto* keys = new QGridLayout;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 5; ++col) keys->addWidget(Button[grid[row][col]], row, col);

  auto* top = new QHBoxLayout;
  top->addWidget(Label1, 1);
  top->addWidget(bar);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(top);
  layout->addLayout(keys);

  FormActivate();
}

void TPocket::FormActivate() {
  calculator_.Clear();
  TUtilityParts::ShowNumber(Label1, calculator_.Display());
  Button[11]->setFocus();
}

void TPocket::Press(QChar key) {
  const QString error = calculator_.Press(key);
  if (!error.isEmpty()) {
    ++errorBoxes_;
    Services().Error(error);
    --errorBoxes_;
  }
  TUtilityParts::ShowNumber(Label1, calculator_.Display());
  if (key.toUpper() == QLatin1Char('C')) Button[11]->setFocus();
}

bool TPocket::KeyPress(QChar key) {
  QWidget* focus = focusWidget();
  if (focus == Button[16] || focus == Button[17]) return false;
  const int button = ButtonOf(key);
  if (button < 0) return false;
  Button[button]->click();
  return true;
}

void TPocket::keyPressEvent(QKeyEvent* event) {
  // Buttons pass on the characters they do not use; they arrive here.
  const QString text = event->text();
  if (text.size() == 1 && KeyPress(text[0])) return;
  QDialog::keyPressEvent(event);
}

bool TPocket::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) {
    leftForErrorBox_ = errorBoxes_ > 0;
  } else if (event->type() == QEvent::WindowActivate) {
    if (!leftForErrorBox_) FormActivate();
    leftForErrorBox_ = false;
  }
  return QDialog::event(event);
}
