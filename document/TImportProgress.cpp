#include "TImportProgress.h"

#include <QCoreApplication>
#include <QKeyEvent>

TImportProgress::TImportProgress(TStatusFn status, int delayMs)
    : status_(std::move(status)), delayMs_(delayMs) {
  clock_.start();
}

TImportProgress::~TImportProgress() {
  if (!showing_) return;
  QCoreApplication::instance()->removeEventFilter(this);
  status_(QString());
}

bool TImportProgress::Step(int64_t done, int64_t total) {
  if (cancelled_) return false;
  if (!showing_) {
    if (clock_.elapsed() < delayMs_ || !QCoreApplication::instance()) return true;
    QCoreApplication::instance()->installEventFilter(this);
    showing_ = true;
  }
  const int percent = total > 0 ? static_cast<int>(std::min<int64_t>(100, done * 100 / total)) : 0;
  if (percent != percent_) {
    percent_ = percent;
    status_(QStringLiteral("Importe... %1 % - Échap pour annuler").arg(percent));
  }
  QCoreApplication::processEvents();
  return !cancelled_;
}

bool TImportProgress::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) cancelled_ = true;
      return true;
    case QEvent::KeyRelease:
    case QEvent::MouseMove:
    case QEvent::StatusTip:  // a hint would cover the progress
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
      event->ignore();
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}
