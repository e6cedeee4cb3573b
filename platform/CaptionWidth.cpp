#include "CaptionWidth.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QLayout>
#include <QWidget>
#include <algorithm>

int CaptionWidth(const QString& caption) {
  QFont font = QApplication::font();
  font.setBold(true);
  const QFontMetrics metrics(font);
  const int bar = metrics.height() + 8;  // a button of the bar, square
  return metrics.horizontalAdvance(caption) + 4 * bar + 24;
}

void FitCaption(QWidget& window) {
  const int need = CaptionWidth(window.windowTitle());
  QLayout* layout = window.layout();
  if (!layout || layout->sizeConstraint() != QLayout::SetFixedSize) {
    window.setMinimumWidth(std::max(window.minimumWidth(), need));
    if (window.width() < need) window.resize(need, window.height());
    return;
  }
  const QMargins margins = layout->contentsMargins();
  auto* box = qobject_cast<QBoxLayout*>(layout);
  if (box && (box->direction() == QBoxLayout::TopToBottom ||
              box->direction() == QBoxLayout::BottomToTop)) {
    box->addStrut(need - margins.left() - margins.right());
  } else {
    // Any other layout: the size it asks for, made wide enough, fixed by hand.
    const QSize hint = window.sizeHint();
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    window.setFixedSize(std::max(hint.width(), need), hint.height());
  }
  layout->activate();
}
