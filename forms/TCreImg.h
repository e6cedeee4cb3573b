#pragma once
// TCreImg: the "Champ image" dialog of the form designer: two sizes, captioned
// "Largeur" and "Hauteur"; the designer makes the first the frame's height.

#include "TElementDialog.h"

class QSpinBox;

class TCreImg : public TElementDialog {
 public:
  explicit TCreImg(QWidget* parent = nullptr);

  void Init(int first, int second);
  // First 0 when not confirmed (the second is then left as it was).
  void Result(int& first, int& second) const;

  QSpinBox* SpinEdit1 = nullptr;  // Largeur
  QSpinBox* SpinEdit2 = nullptr;  // Hauteur
};
