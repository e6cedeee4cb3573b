#include "TCreLig.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TCreLig::TCreLig(QWidget* parent) : TElementDialog(QStringLiteral("Ligne"), parent) {
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("RadioGroup1"));
  group->setAccessibleName(QStringLiteral("Orientation"));
  Horizontal = new QRadioButton(QStringLiteral("Ligne horizontale"), group);
  Vertical = new QRadioButton(QStringLiteral("Ligne verticale"), group);
  for (QRadioButton* button : {Horizontal, Vertical}) button->setAccessibleName(button->text());
  auto* buttons = new QVBoxLayout(group);
  buttons->addWidget(Horizontal);
  buttons->addWidget(Vertical);
  Horizontal->setChecked(true);
  AddRow(QString(), group);
  SpinEdit1 = AddNumber(QStringLiteral("Longueur"), QStringLiteral("SpinEdit1"), 400, 1, kLargest);
  SpinEdit2 = AddNumber(QStringLiteral("Épaisseur"), QStringLiteral("SpinEdit2"), 1, 1, kLargest);
  AddButtons();
}

void TCreLig::Init(int orientation, int length, int thickness) {
  (orientation == 1 ? Vertical : Horizontal)->setChecked(true);
  SpinEdit1->setValue(length);
  SpinEdit2->setValue(thickness);
}

std::optional<TCreLig::TAnswer> TCreLig::Result() const {
  if (!Confirmed()) return std::nullopt;
  return TAnswer{Vertical->isChecked() ? 1 : 0, SpinEdit1->value(), SpinEdit2->value()};
}
