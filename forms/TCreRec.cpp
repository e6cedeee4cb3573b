#include "TCreRec.h"

#include <QSpinBox>

TCreRec::TCreRec(QWidget* parent) : TElementDialog(QStringLiteral("Rectangle"), parent) {
  SpinEdit1 = AddNumber(QStringLiteral("Longueur"), QStringLiteral("SpinEdit1"), 300, 1, kLargest);
  SpinEdit2 = AddNumber(QStringLiteral("Largeur"), QStringLiteral("SpinEdit2"), 100, 1, kLargest);
  SpinEdit3 =
      AddNumber(QStringLiteral("Épaisseur de trait"), QStringLiteral("SpinEdit3"), 1, 1, 24);
  AddButtons();
}

void TCreRec::Init(int thickness, int length, int breadth) {
  SpinEdit3->setValue(thickness);
  SpinEdit1->setValue(length);
  SpinEdit2->setValue(breadth);
}

std::optional<TCreRec::TAnswer> TCreRec::Result() const {
  if (!Confirmed()) return std::nullopt;
  return TAnswer{SpinEdit3->value(), SpinEdit1->value(), SpinEdit2->value()};
}
