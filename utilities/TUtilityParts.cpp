#include "TUtilityParts.h"

#include <QDialog>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

const QColor TUtilityParts::Teal(0x00, 0x80, 0x80);
const QColor TUtilityParts::Navy(0x00, 0x00, 0x80);
const QColor TUtilityParts::Red(0xFF, 0x00, 0x00);
const QColor TUtilityParts::Lime(0x00, 0xFF, 0x00);
const QColor TUtilityParts::Grey(0xC0, 0xC0, 0xC0);
const QColor TUtilityParts::White(0xFF, 0xFF, 0xFF);
const QColor TUtilityParts::Black(0x00, 0x00, 0x00);

void TUtilityParts::SetFixedDialog(QDialog* dialog, const QString& title) {
  dialog->setWindowTitle(title);
  dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
}

QPushButton* TUtilityParts::Button(QWidget* parent, const QString& caption,
                                   const QString& objectName, const QString& description) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  button->setAccessibleName(caption);
  if (!description.isEmpty()) {
    button->setAccessibleDescription(description);
    button->setToolTip(description);
  }
  return button;
}

QPushButton* TUtilityParts::KeypadButton(QWidget* parent, const QString& caption,
                                         const QString& objectName, const QString& description) {
  QPushButton* button = Button(parent, caption, objectName, description);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

void TUtilityParts::Paint(QWidget* widget, const QColor& background, const QColor& text) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, background);
  if (text.isValid()) palette.setColor(QPalette::WindowText, text);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QLabel* TUtilityParts::Display(QWidget* parent, const QString& objectName,
                               const QString& description, const QColor& background,
                               const QColor& text) {
  auto* label = new QLabel(parent);
  label->setObjectName(objectName);
  label->setAccessibleDescription(description);
  label->setAccessibleName(description);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setTextFormat(Qt::PlainText);
  label->setMargin(4);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  QFont font = label->font();
  font.setPointSize(font.pointSize() + 4);
  label->setFont(font);
  label->setMinimumHeight(label->fontMetrics().height() + 12);
  Paint(label, background, text);
  return label;
}

void TUtilityParts::ShowNumber(QLabel* display, const QString& text) {
  display->setText(text);
  display->setAccessibleName(text.isEmpty() ? display->accessibleDescription() : text);
}

QFont TUtilityParts::Arial(int pointSize, bool bold, bool italic) {
  QFont font(QStringLiteral("Arial"), pointSize);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}
