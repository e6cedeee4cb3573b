#include "TFormControls.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>

#include "AnsiCodec.h"
#include "TColorCode.h"
#include "TFormPicture.h"
#include "TFormShape.h"

QFont TFormControls::LabelFont(const TLayoutLine& element, const QFont& pageFont) {
  QFont font = pageFont;
  if (element.hasFontName) font.setFamily(FromAnsi(element.fontName));
  if (element.hasSize && element.fontSize > 0) font.setPointSize(element.fontSize);
  if (element.hasStyle) {
    const int style = element.Style();
    font.setBold(style == 1);
    font.setUnderline(style == 2);
    font.setItalic(style == 3);
    font.setStrikeOut(style == 4);
  }
  return font;
}

void TFormControls::SetLabelFont(TLayoutLine& element, const QFont& font) {
  element.hasSize = element.hasStyle = element.hasFontName = true;
  element.fontSize = PointSize(font);
  const bool styles[] = {font.bold(), font.underline(), font.italic(), font.strikeOut()};
  int count = 0, style = 0;
  for (int i = 0; i < 4; ++i)
    if (styles[i]) {
      ++count;
      style = i + 1;
    }
  element.styleDigit = static_cast<char>('0' + (count == 1 ? style : 0));
  element.fontName = ToAnsi(font.family());
}

int TFormControls::PointSize(const QFont& font) {
  return font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
}

QWidget* TFormControls::Create(const TLayoutLine& element, QWidget* parent, const QFont& pageFont,
                               QPoint offset) {
  QWidget* control = nullptr;
  switch (element.kind) {
    case TLayoutLine::Other:
      return nullptr;
    case TLayoutLine::Label: {
      const QString caption = FromAnsi(element.caption);
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setText(caption);
      label->setFont(LabelFont(element, pageFont));
      if (element.hasColor) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, TColorCode::ToColor(element.color, palette));
        label->setPalette(palette);
      }
      label->setAccessibleName(caption);
      label->adjustSize();
      control = label;
      break;
    }
    case TLayoutLine::Edit: {
      const QString field = FromAnsi(element.field);
      auto* edit = new QLineEdit(parent);
      edit->setObjectName(field);
      edit->setAccessibleName(field);
      edit->resize(element.width, edit->sizeHint().height());
      control = edit;
      break;
    }
    case TLayoutLine::Shape: {
      auto* shape = new TFormShape(element.IsFilled(), parent);
      shape->resize(element.width, element.height);
      control = shape;
      break;
    }
    case TLayoutLine::Image: {
      auto* picture = new TFormPicture(element.embedded, parent);
      if (element.embedded)
        picture->SetPixels(element.width, element.height, element.pixels);
      else
        picture->resize(kFieldPictureSize, kFieldPictureSize);
      control = picture;
      break;
    }
  }
  control->move(element.x + offset.x(), element.y + offset.y());
  return control;
}
