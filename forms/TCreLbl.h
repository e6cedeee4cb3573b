#pragma once
// TCreLbl: the "Libellé" dialog of the form designer: the text of a label, its
// font ("Police", the font dialog) and colour ("Couleur", the colour dialog:
// the platform's font dialog has no colour), and its position. Enter confirms
// it, as in every element dialog. The colour is a layout colour code
// (TColorCode): a code the user does not change comes back as it was, system
// colours included.

#include <QFont>
#include <cstdint>
#include <optional>

#include "TElementDialog.h"

class QLineEdit;
class QSpinBox;

class TCreLbl : public TElementDialog {
 public:
  explicit TCreLbl(QWidget* parent = nullptr);

  struct TAnswer {
    QString text;
    QFont font;
    uint32_t color = 0;
    int top = 0, left = 0;
  };

  void Init(const QString& text, const QFont& font, uint32_t color, int top, int left);
  // The answers when confirmed.
  std::optional<TAnswer> Result() const;

  void Button3Click();  // "Police"
  void Button4Click();  // "Couleur"

  QLineEdit* Edit1 = nullptr;      // "Texte"
  QPushButton* Button3 = nullptr;  // "..." beside "Police": the font dialog
  QPushButton* Button4 = nullptr;  // "..." beside "Couleur": the colour dialog
  QSpinBox* SpinEdit1 = nullptr;   // "Pos. X"
  QSpinBox* SpinEdit2 = nullptr;   // "Pos. Y"

 private:
  QFont font_;
  uint32_t color_ = 0;
};
