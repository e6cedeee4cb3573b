#include "TQueryToolBar.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

TQueryToolBar::TQueryToolBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("Panel1"));
  setFixedHeight(33);
  layout_ = new QHBoxLayout(this);
  layout_->setContentsMargins(4, 2, 4, 2);
  layout_->setSpacing(2);
}

QToolButton* TQueryToolBar::AddButton(const char* objectName, TToolPicture picture,
                                      const QString& hint) {
  auto* button = new QToolButton(this);
  button->setObjectName(QLatin1String(objectName));
  button->setIcon(TPictures::ToolButton(picture));
  button->setIconSize(QSize(16, 16));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::TabFocus);
  button->setToolTip(hint);
  button->setAccessibleName(hint);
  layout_->addWidget(button);
  return button;
}

void TQueryToolBar::AddSeparator() {
  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::VLine);
  bevel->setFrameShadow(QFrame::Sunken);
  layout_->addSpacing(4);
  layout_->addWidget(bevel);
  layout_->addSpacing(4);
}

QPushButton* TQueryToolBar::AddClose() {
  auto* button = new QPushButton(QStringLiteral("Fermer"), this);
  button->setObjectName(QStringLiteral("Button1"));
  button->setAccessibleName(QStringLiteral("Fermer"));
  button->setAutoDefault(false);
  layout_->addStretch(1);
  layout_->addWidget(button);
  // Its left edge 100 pixels in from the window's right edge, whatever the width.
  layout_->addSpacing(std::max(0, 100 - button->sizeHint().width() - 4));
  return button;
}
