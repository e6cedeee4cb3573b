#include "TSpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* Arrow(QWidget* parent, Qt::ArrowType arrow, const QString& name) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setAccessibleName(name);
  button->setToolTip(name);
  button->setFixedSize(22, 16);
  button->setIconSize(QSize(10, 6));
  return button;
}

}  // namespace

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
  UpButton = Arrow(this, Qt::UpArrow, QStringLiteral("Augmenter"));
  DownButton = Arrow(this, Qt::DownArrow, QStringLiteral("Diminuer"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(UpButton);
  layout->addWidget(DownButton);
  connect(UpButton, &QToolButton::clicked, this, &TSpinButton::UpClick);
  connect(DownButton, &QToolButton::clicked, this, &TSpinButton::DownClick);
}
