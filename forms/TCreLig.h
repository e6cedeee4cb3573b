#pragma once
// TCreLig: the "Ligne" dialog of the form designer: orientation (0 horizontal,
// 1 vertical), length and thickness, each 1 to 4095 pixels.

#include <optional>

#include "TElementDialog.h"

class QRadioButton;
class QSpinBox;

class TCreLig : public TElementDialog {
 public:
  struct TAnswer {
    int orientation = 0, length = 0, thickness = 0;
  };
  static constexpr int kLargest = 4095;

  explicit TCreLig(QWidget* parent = nullptr);

  void Init(int orientation, int length, int thickness);
  // The answers when confirmed.
  std::optional<TAnswer> Result() const;

  QRadioButton* Horizontal = nullptr;  // "Ligne horizontale"
  QRadioButton* Vertical = nullptr;    // "Ligne verticale"
  QSpinBox* SpinEdit1 = nullptr;       // "Longueur"
  QSpinBox* SpinEdit2 = nullptr;       // "Épaisseur"
};
