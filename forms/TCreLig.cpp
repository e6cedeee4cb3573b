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
  SpinEdit1 = AddNumber(QStringLiteral("Longueur"), QStringLiteral("SpinEdit1"), 400);
  SpinEdit2 = AddNumber(QStringLiteral("Epaissuer"), QStringLiteral("SpinEdit2"), 1);
  AddButtons();
}

void TCreLig::Init(int orientation, int length, int thickness) {
  (orientation == 1 ? Vertical : Horizontal)->setChecked(true);
  SpinEdit1->setValue(length);
  SpinEdit2->setValue(thickness);
}

void TCreLig::Result(int& orientation, int& length, int& thickness) const {
  if (!Confirmed) {
    orientation = -1;
    return;
  }
  orientation = Vertical->isChecked() ? 1 : 0;
  length = SpinEdit1->value();
  thickness = SpinEdit2->value();
}
