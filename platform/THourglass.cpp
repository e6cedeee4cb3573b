#include "THourglass.h"

#include <QCursor>
#include <QGuiApplication>

THourglass::THourglass() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    active_ = true;
  }
}

THourglass::~THourglass() {
  if (active_) QGuiApplication::restoreOverrideCursor();
}
