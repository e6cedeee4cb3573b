#pragma once
// TCreRec: the "Rectangle" dialog of the form designer: outline thickness
// (1 to 24), length (the width) and breadth (the height).

#include "TElementDialog.h"

class QSpinBox;

class TCreRec : public TElementDialog {
 public:
  explicit TCreRec(QWidget* parent = nullptr);

  void Init(int thickness, int length, int breadth);
  // Thickness -1 when not confirmed (the others are then left as they were).
  void Result(int& thickness, int& length, int& breadth) const;

  QSpinBox* SpinEdit1 = nullptr;  // Longueur
  QSpinBox* SpinEdit2 = nullptr;  // Largeur
  QSpinBox* SpinEdit3 = nullptr;  // Epaisseur de trait
};
