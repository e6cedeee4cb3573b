#include "THelpKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "THelpTopics.h"
#include "THelpWindow.h"

void THelpKey::Install() {
  if (qApp->findChild<THelpKey*>(QString(), Qt::FindDirectChildrenOnly)) return;
  qApp->installEventFilter(new THelpKey(qApp));
}

bool THelpKey::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  // Taking the override keeps the key from any shortcut; the press then opens.
  event->accept();
  if (type == QEvent::KeyPress) THelpWindow::Open(HelpPageFor(widget), widget);
  return true;
}
