#include "TStatusText.h"

#include <QLabel>

TStatusText::TStatusText(QLabel* panel, const char* text) {
  if (!panel || !text) return;
  panel_ = panel;
  panel_->setText(QString::fromUtf8(text));
  panel_->repaint();
}

TStatusText::~TStatusText() {
  if (panel_) panel_->setText(QString());
}
