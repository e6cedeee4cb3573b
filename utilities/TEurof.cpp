#include "TEurof.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "TSpinButton.h"
#include "TUtilityParts.h"

TEurof::TEurof(QWidget* parent) : QDialog(parent) {
  TUtilityParts::SetFixedDialog(this, QStringLiteral("Euro convertisseur"));

  Label1 = TUtilityParts::Display(this, QStringLiteral("Label1"), QStringLiteral("Montant"),
                                  TUtilityParts::Teal, TUtilityParts::White);
  Label2 = TUtilityParts::Display(this, QStringLiteral("Label2"), QStringLiteral("Résultat"),
                                  TUtilityParts::Teal, TUtilityParts::White);
  Label1->setMinimumWidth(220);

  for (int i = 0; i < 10; ++i) {
    const QChar digit = QLatin1Char(static_cast<char>('0' + i));
    Button[i] = TUtilityParts::KeypadButton(this, digit, QStringLiteral("Button%1").arg(i));
    connect(Button[i], &QPushButton::clicked, this, [this, digit] { Type(digit); });
  }
  Button[12] = TUtilityParts::KeypadButton(this, QStringLiteral(","), QStringLiteral("Button12"),
                                           QStringLiteral("Virgule"));
  connect(Button[12], &QPushButton::clicked, this, [this] { Type(QLatin1Char(',')); });
  Button[11] = TUtilityParts::Button(this, QStringLiteral("="), QStringLiteral("Button11"),
                                     QStringLiteral("Convertir"));
  connect(Button[11], &QPushButton::clicked, this, &TEurof::Convert);
  Button[10] = TUtilityParts::Button(this, QStringLiteral("Fermer"), QStringLiteral("Button10"));
  connect(Button[10], &QPushButton::clicked, this, &QDialog::reject);
  // Enter converts (below) rather than pressing the focused button.
  for (QPushButton* button : Button) button->setAutoDefault(false);

  RadioButton1 = new QRadioButton(QStringLiteral("Fr>Euro"), this);
  RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  RadioButton1->setAccessibleName(RadioButton1->text());
  RadioButton1->setChecked(true);
  RadioButton2 = new QRadioButton(QStringLiteral("Euro>Fr"), this);
  RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  RadioButton2->setAccessibleName(RadioButton2->text());
  // Clicked, the direction leaves the keyboard on "=", where typed keys count.
  for (QRadioButton* radio : {RadioButton1, RadioButton2}) radio->setFocusPolicy(Qt::TabFocus);
  connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
    converter_.SetDirection(on ? TEuroConverter::FrancsToEuros : TEuroConverter::EurosToFrancs);
  });

  Edit3 = new QLineEdit(this);
  Edit3->setObjectName(QStringLiteral("Edit3"));
  Edit3->setAccessibleName(QStringLiteral("Taux"));
  Edit3->setToolTip(QStringLiteral("Francs pour un euro"));
  Edit3->setReadOnly(true);
  Edit3->setAlignment(Qt::AlignRight);
  Edit3->setMaximumWidth(90);
  SpinButton1 = new TSpinButton(this);
  SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
  connect(SpinButton1, &TSpinButton::UpClick, this, [this] {
    converter_.RateUp();
    ShowRate();
  });
  connect(SpinButton1, &TSpinButton::DownClick, this, [this] {
    converter_.RateDown();
    ShowRate();
  });

  // 7 8 9 / 4 5 6 / 1 2 3 / 0 , =
  const int grid[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, 12, 11}};
  auto* keys = new QGridLayout;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 3; ++col) keys->addWidget(Button[grid[row][col]], row, col);

  auto* rate = new QHBoxLayout;
  rate->addWidget(Edit3);
  rate->addWidget(SpinButton1);
  auto* side = new QVBoxLayout;
  side->addWidget(RadioButton1);
  side->addWidget(RadioButton2);
  side->addLayout(rate);
  side->addStretch(1);
  side->addWidget(Button[10]);

  auto* bottom = new QHBoxLayout;
  bottom->addLayout(keys);
  bottom->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addLayout(bottom);

  FormActivate();
}

void TEurof::FormActivate() {
  ShowRate();
  converter_.Activate();
  Button[11]->setFocus();
}

void TEurof::ShowRate() {
  Edit3->setText(converter_.RateText());
}

void TEurof::ShowDisplays() {
  TUtilityParts::ShowNumber(Label1, converter_.Input());
  TUtilityParts::ShowNumber(Label2, converter_.Result());
}

void TEurof::Type(QChar key) {
  converter_.Type(key);
  ShowDisplays();
}

void TEurof::Convert() {
  converter_.Convert();
  ShowDisplays();
}

bool TEurof::KeyPress(int key, QChar text) {
  QWidget* focus = focusWidget();
  if (focus != Button[11] && focus != Button[10]) return false;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    Convert();
    return true;
  }
  if (text == QLatin1Char('.')) text = QLatin1Char(',');
  if (text == QLatin1Char(',')) {
    Button[12]->click();
    return true;
  }
  if (text >= QLatin1Char('0') && text <= QLatin1Char('9')) {
    Button[text.unicode() - '0']->click();
    return true;
  }
  return false;
}

void TEurof::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (KeyPress(event->key(), text.size() == 1 ? text[0] : QChar())) return;
  QDialog::keyPressEvent(event);
}

bool TEurof::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(event);
}
