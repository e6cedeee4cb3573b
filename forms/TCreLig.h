#pragma once
// TCreLig: the "Ligne" dialog of the form designer: orientation (0 horizontal,
// 1 vertical), length and thickness.

#include "TElementDialog.h"

class QRadioButton;
class QSpinBox;

class TCreLig : public TElementDialog {
 public:
  explicit TCreLig(QWidget* parent = nullptr);

  void Init(int orientation, int length, int thickness);
  // Orientation -1 when not confirmed (the others are then left as they were).
  void Result(int& orientation, int& length, int& thickness) const;

  QRadioButton* Horizontal = nullptr;
  QRadioButton* Vertical = nullptr;
  QSpinBox* SpinEdit1 = nullptr;  // Longueur
  QSpinBox* SpinEdit2 = nullptr;  // Epaissuer
};
