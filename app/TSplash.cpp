#include "TSplash.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "TPictures.h"

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setFixedSize(318, 221);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);

  // A single border around a raised bevel 3 pixels wide.
  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(3);
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, QColor(255, 128, 64));
  palette.setColor(QPalette::WindowText, Qt::black);
  Panel1->setPalette(palette);
  auto* border = new QFrame(this);
  border->setFrameStyle(QFrame::Box | QFrame::Plain);
  border->setLineWidth(1);
  auto* borderLayout = new QVBoxLayout(border);
  borderLayout->setContentsMargins(1, 1, 1, 1);
  borderLayout->addWidget(Panel1);
  outer->addWidget(border);

  auto* picture = new QLabel(Panel1);
  picture->setPixmap(TPictures::Program(128));
  picture->setScaledContents(true);
  picture->setFixedSize(128, 128);

  auto* name = new QLabel(QStringLiteral("Vek Base"), Panel1);
  QFont nameFont(QStringLiteral("Arial"));
  nameFont.setPixelSize(23);
  nameFont.setBold(true);
  name->setFont(nameFont);
  auto* version = new QLabel(QStringLiteral("Version 1.0"), Panel1);

  auto* texts = new QVBoxLayout;
  texts->addStretch();
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addStretch();
  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(20, 16, 16, 16);
  row->setSpacing(18);
  row->addWidget(picture, 0, Qt::AlignVCenter);
  row->addLayout(texts);

  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
}

void TSplash::ShowNow() {
  show();
  repaint();
  QApplication::processEvents();
}
