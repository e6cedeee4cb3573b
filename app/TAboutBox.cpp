#include "TAboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "TPictures.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("A propos"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* picture = new QLabel(panel);
  picture->setPixmap(TPictures::Program(64));
  auto* productName = new QLabel(QStringLiteral("Vek Base 2002"), panel);
  QFont bold = productName->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  productName->setFont(bold);
  auto* version = new QLabel(QStringLiteral("Version 1.0"), panel);

  auto* texts = new QVBoxLayout;
  texts->addWidget(productName);
  texts->addWidget(version);
  texts->addStretch();
  auto* panelLayout = new QHBoxLayout(panel);
  panelLayout->setContentsMargins(16, 16, 24, 16);
  panelLayout->setSpacing(16);
  panelLayout->addWidget(picture, 0, Qt::AlignTop);
  panelLayout->addLayout(texts, 1);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setMinimumWidth(320);

  adjustSize();
  if (QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}
