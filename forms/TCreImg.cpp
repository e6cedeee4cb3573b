#include "TCreImg.h"

#include <QSpinBox>

TCreImg::TCreImg(QWidget* parent) : TElementDialog(QStringLiteral("Champ image"), parent) {
  SpinEdit1 = AddNumber(QStringLiteral("Largeur"), QStringLiteral("SpinEdit1"), 100);
  SpinEdit2 = AddNumber(QStringLiteral("Hauteur"), QStringLiteral("SpinEdit2"), 100);
  AddButtons();
}

void TCreImg::Init(int first, int second) {
  SpinEdit1->setValue(first);
  SpinEdit2->setValue(second);
}

void TCreImg::Result(int& first, int& second) const {
  if (!Confirmed) {
    first = 0;
    return;
  }
  first = SpinEdit1->value();
  second = SpinEdit2->value();
}
