#include "TNameEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

bool AllNameChars(const QString& text) {
  for (const QChar c : text)
    if (!TNameEdit::IsNameChar(c)) return false;
  return true;
}

}  // namespace

TNameEdit::TNameEdit(QWidget* parent) : QLineEdit(parent) {
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setDragEnabled(false);
}

bool TNameEdit::IsNameChar(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

QString TNameEdit::UpperName(const QString& name) {
  QString s = name;
  for (QChar& c : s)
    if (c.unicode() >= u'a' && c.unicode() <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
  return s;
}

void TNameEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste) ||
      (event->key() == Qt::Key_Insert && (event->modifiers() & Qt::ShiftModifier))) {
    event->accept();
    return;
  }
  const QString text = event->text();
  const bool keepsNames = event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
                          event->matches(QKeySequence::Undo) ||
                          event->matches(QKeySequence::Redo) ||
                          event->matches(QKeySequence::SelectAll);
  // Escape and Tab belong to the dialog: the box passes them on unchanged.
  const bool dialogKey = event->key() == Qt::Key_Escape || event->key() == Qt::Key_Tab ||
                         event->key() == Qt::Key_Backtab;
  if (!keepsNames && !dialogKey && !text.isEmpty()) {
    for (const QChar c : text) {
      if (c.unicode() == 8 || IsNameChar(c)) continue;
      // Discarded, Enter included: it must not reach the dialog either.
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void TNameEdit::mouseReleaseEvent(QMouseEvent* event) {
  // The middle button pastes the selection on X11.
  if (event->button() == Qt::MiddleButton) {
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void TNameEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (!AllNameChars(event->commitString()) || !AllNameChars(event->preeditString())) {
    QInputMethodEvent refused;
    QLineEdit::inputMethodEvent(&refused);
    event->accept();
    return;
  }
  QLineEdit::inputMethodEvent(event);
}
