#include "TPrinter.h"

#include <QFontMetrics>

TPrinter::~TPrinter() = default;

void TPrinter::SetOrientation(QPageLayout::Orientation orientation) {
  orientation_ = orientation;
  if (!printing_) ApplySettings(title_, orientation_);
}

bool TPrinter::BeginDoc() {
  if (printing_) return false;
  failed_ = false;
  error_.clear();
  ApplySettings(title_, orientation_);
  if (!painter_.begin(&Device())) {
    Fail();
    return false;
  }
  printing_ = true;
  pageNumber_ = 1;
  textY_ = 0;
  return true;
}

bool TPrinter::NewPage() {
  if (!printing_ || failed_) return false;
  if (!DeviceNewPage()) {
    Fail();
    return false;
  }
  ++pageNumber_;
  textY_ = 0;
  return true;
}

bool TPrinter::EndDoc() {
  if (!printing_) return false;
  const bool ended = painter_.end();
  printing_ = false;
  JobEnded();
  if (!failed_ && (!ended || !DeviceSucceeded())) Fail();
  return !failed_;
}

void TPrinter::Fail() {
  failed_ = true;
  if (error_.isEmpty()) error_ = DeviceError();
}

QString TPrinter::DeviceError() {
  return QStringLiteral("l'imprimante a refusé le travail");
}

QFontMetrics TPrinter::Metrics() {
  // Outside a job the painter has no device, so measure on the device directly.
  if (printing_) return painter_.fontMetrics();
  return QFontMetrics(painter_.font(), &Device());
}

void TPrinter::TextOut(int x, int y, const QString& text) {
  painter_.drawText(x, y + painter_.fontMetrics().ascent(), text);
}

int TPrinter::TextWidth(const QString& text) {
  return Metrics().horizontalAdvance(text);
}

int TPrinter::TextHeight(const QString& text) {
  return Metrics().height();
}

void TPrinter::WriteLine(const QString& line) {
  if (!printing_) return;
  const QFontMetrics fm = painter_.fontMetrics();
  const int lineHeight = fm.lineSpacing();
  if (textY_ > 0 && textY_ + lineHeight > PageHeight() && !NewPage()) return;
  const int tab = qMax(1, 8 * fm.averageCharWidth());
  int x = 0;
  const QStringList pieces = line.split(QLatin1Char('\t'));
  for (int i = 0; i < pieces.size(); ++i) {
    if (i > 0) x = (x / tab + 1) * tab;
    if (!pieces[i].isEmpty()) {
      TextOut(x, textY_, pieces[i]);
      x += fm.horizontalAdvance(pieces[i]);
    }
  }
  textY_ += lineHeight;
}

int TPrinter::PageWidth() {
  return Device().width();
}
int TPrinter::PageHeight() {
  return Device().height();
}
int TPrinter::PageWidthMM() {
  return Device().widthMM();
}
int TPrinter::PageHeightMM() {
  return Device().heightMM();
}
double TPrinter::PixelsPerMMX() {
  return Device().logicalDpiX() / 25.4;
}
double TPrinter::PixelsPerMMY() {
  return Device().logicalDpiY() / 25.4;
}
