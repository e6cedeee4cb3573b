#pragma once
// TCreImg: the "Champ image" dialog of the form designer: two sizes, captioned
// "Largeur" and "Hauteur"; the designer makes the first the frame's height.

#include <optional>

#include "TElementDialog.h"

class QSpinBox;

class TCreImg : public TElementDialog {
 public:
  struct TAnswer {
    int first = 0, second = 0;
  };

  explicit TCreImg(QWidget* parent = nullptr);

  void Init(int first, int second);
  // The answers when confirmed.
  std::optional<TAnswer> Result() const;

  QSpinBox* SpinEdit1 = nullptr;  // "Largeur": the first value
  QSpinBox* SpinEdit2 = nullptr;  // "Hauteur": the second value
};
