#include "TCreRec.h"

#include <QSpinBox>

TCreRec::TCreRec(QWidget* parent) : TElementDialog(QStringLiteral("Rectangle"), parent) {
  SpinEdit1 = AddNumber(QStringLiteral("Longueur"), QStringLiteral("SpinEdit1"), 300);
  SpinEdit2 = AddNumber(QStringLiteral("Largeur"), QStringLiteral("SpinEdit2"), 100);
  SpinEdit3 =
      AddNumber(QStringLiteral("Epaisseur de trait"), QStringLiteral("SpinEdit3"), 1, 1, 24);
  AddButtons();
}

void TCreRec::Init(int thickness, int length, int breadth) {
  SpinEdit3->setValue(thickness);
  SpinEdit1->setValue(length);
  SpinEdit2->setValue(breadth);
}

void TCreRec::Result(int& thickness, int& length, int& breadth) const {
  if (!Confirmed) {
    thickness = -1;
    return;
  }
  thickness = SpinEdit3->value();
  length = SpinEdit1->value();
  breadth = SpinEdit2->value();
}
