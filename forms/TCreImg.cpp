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

std::optional<TCreImg::TAnswer> TCreImg::Result() const {
  if (!Confirmed()) return std::nullopt;
  return TAnswer{SpinEdit1->value(), SpinEdit2->value()};
}
