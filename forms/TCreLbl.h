#pragma once
// TCreLbl: the "Libellé" dialog of the form designer: the text of a label, its
// font ("Police", the font dialog) and colour ("Couleur", the colour dialog:
// the platform's font dialog has no colour), and its position. Enter in the
// text box acts as "OK". The colour is a layout colour code (TColorCode): a
// code the user does not change comes back as it was, system colours included.

#include <QFont>
#include <cstdint>

#include "TElementDialog.h"

class QLineEdit;
class QSpinBox;

class TCreLbl : public TElementDialog {
 public:
  explicit TCreLbl(QWidget* parent = nullptr);

  void Init(const QString& text, const QFont& font, uint32_t color, int top, int left);
  // The text when confirmed, with the other answers; empty otherwise.
  QString Result(QFont& font, uint32_t& color, int& top, int& left) const;

  void Button3Click();  // "Police"
  void Button4Click();  // "Couleur"

  QLineEdit* Edit1 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;  // Pos. X
  QSpinBox* SpinEdit2 = nullptr;  // Pos. Y

 private:
  QFont font_;
  uint32_t color_ = 0;
};
