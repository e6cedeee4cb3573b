#include "TCreLbl.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "IServices.h"
#include "TColorCode.h"

namespace {

QPushButton* EllipsisButton(QWidget* parent, const QString& name) {
  auto* button = new QPushButton(QStringLiteral("..."), parent);
  button->setAccessibleName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TCreLbl::TCreLbl(QWidget* parent) : TElementDialog(QStringLiteral("Libellé"), parent) {
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  AddRow(QStringLiteral("Texte"), Edit1);
  Button3 = EllipsisButton(this, QStringLiteral("Police"));
  AddRow(QStringLiteral("Police"), Button3);
  Button4 = EllipsisButton(this, QStringLiteral("Couleur"));
  AddRow(QStringLiteral("Couleur"), Button4);
  SpinEdit1 = AddNumber(QStringLiteral("Pos. X"), QStringLiteral("SpinEdit1"), 0);
  SpinEdit2 = AddNumber(QStringLiteral("Pos. Y"), QStringLiteral("SpinEdit2"), 0);
  AddButtons();
  connect(Button3, &QPushButton::clicked, this, &TCreLbl::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TCreLbl::Button4Click);
}

void TCreLbl::Init(const QString& text, const QFont& font, uint32_t color, int top, int left) {
  Edit1->setText(text);
  font_ = font;
  color_ = color;
  SpinEdit1->setValue(left);
  SpinEdit2->setValue(top);
}

std::optional<TCreLbl::TAnswer> TCreLbl::Result() const {
  if (!Confirmed()) return std::nullopt;
  return TAnswer{Edit1->text(), font_, color_, SpinEdit2->value(), SpinEdit1->value()};
}

void TCreLbl::Button3Click() {
  if (const std::optional<QFont> font = Services().FontDialog(font_)) font_ = *font;
}

void TCreLbl::Button4Click() {
  const QColor initial = TColorCode::ToColor(color_, palette());
  if (const std::optional<QColor> color = Services().ColorDialog(initial))
    color_ = TColorCode::FromColor(*color);
}
