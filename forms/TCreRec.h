#pragma once
// TCreRec: the "Rectangle" dialog of the form designer: outline thickness
// (1 to 24), length (the width) and breadth (the height), each size 1 to 4095
// pixels, so that a rectangle always shows and fits the layout.

#include <optional>

#include "TElementDialog.h"

class QSpinBox;

class TCreRec : public TElementDialog {
 public:
  struct TAnswer {
    int thickness = 1, length = 0, breadth = 0;
  };
  static constexpr int kLargest = 4095;

  explicit TCreRec(QWidget* parent = nullptr);

  void Init(int thickness, int length, int breadth);
  // The answers when confirmed.
  std::optional<TAnswer> Result() const;

  QSpinBox* SpinEdit1 = nullptr;  // "Longueur": the width
  QSpinBox* SpinEdit2 = nullptr;  // "Largeur": the height
  QSpinBox* SpinEdit3 = nullptr;  // "Épaisseur de trait": the outline
};
