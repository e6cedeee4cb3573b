#include "TPrinter.h"

#include <QFontMetrics>

#include "French.h"

TPrinter::~TPrinter() = default;

void TPrinter::SetOrientation(QPageLayout::Orientation orientation) {
  orientation_ = orientation;
  if (!printing_) ApplySettings(title_, orientation_);
}

TStatus TPrinter::BeginDoc() {
  if (printing_) return TStatus(TFailure::Other, "un travail d'impression est déjà en cours");
  status_ = TStatus();
  ApplySettings(title_, orientation_);
  if (TStatus started = DeviceBeginJob(); !started) {
    Fail(std::move(started));
    return status_;
  }
  if (!painter_.begin(&Device())) {
    Fail();
    return status_;
  }
  printing_ = true;
  pageNumber_ = 1;
  textY_ = 0;
  return status_;
}

bool TPrinter::NewPage() {
  if (!printing_ || Failed()) return false;
  if (!DeviceNewPage()) {
    Fail();
    return false;
  }
  ++pageNumber_;
  textY_ = 0;
  return true;
}

TStatus TPrinter::EndDoc() {
  if (!printing_) return TStatus(TFailure::Other, "aucun travail d'impression en cours");
  const bool ended = painter_.end();
  printing_ = false;
  JobEnded();
  if (TStatus end = DeviceEndJob(); !end)
    Fail(std::move(end));
  else if (!ended)
    Fail();
  return status_;
}

void TPrinter::Abort() {
  if (!printing_) return;
  DeviceAbort();
  painter_.end();
  printing_ = false;
  JobAborted();
}

void TPrinter::Fail(TStatus status) {
  if (Failed()) return;  // the first failure is the one to tell
  status_ = status ? TStatus(TFailure::Other, DeviceError().toStdString()) : std::move(status);
}

QString TPrinter::ErrorText() const {
  return FailureText(status_);
}

QString TPrinter::DeviceError() {
  return QStringLiteral("l'imprimante a refusé le travail");
}

void TPrinter::CopySettingsTo(QPrinter&) {}

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
  // A text that ends just before a stop still keeps a blank before the next piece.
  const int blank = fm.horizontalAdvance(QLatin1Char(' '));
  int x = 0;
  const QStringList pieces = line.split(QLatin1Char('\t'));
  for (int i = 0; i < pieces.size(); ++i) {
    if (i > 0) x = x == 0 ? tab : ((x + blank + tab - 1) / tab) * tab;
    if (!pieces[i].isEmpty()) {
      TextOut(x, textY_, pieces[i]);
      x += fm.horizontalAdvance(pieces[i]);
    }
  }
  textY_ += lineHeight;
}

bool TPrinter::NextLineFits() {
  return textY_ == 0 || textY_ + painter_.fontMetrics().lineSpacing() <= PageHeight();
}

int TPrinter::LinesPerPage() {
  return qMax(1, PageHeight() / qMax(1, painter_.fontMetrics().lineSpacing()));
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
