#include "TFormShape.h"

#include <QPainter>

TFormShape::TFormShape(bool filled, QWidget* parent) : QWidget(parent), filled_(filled) {
  setAccessibleName(filled ? QStringLiteral("Ligne") : QStringLiteral("Rectangle"));
}

void TFormShape::SetPenWidth(int width) {
  penWidth_ = width < 1 ? 1 : width;
  update();
}

void TFormShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int w = width(), h = height(), p = penWidth_;
  if (filled_) {
    painter.fillRect(0, 0, w, h, Qt::black);
    if (w > 2 * p && h > 2 * p) painter.fillRect(p, p, w - 2 * p, h - 2 * p, Qt::white);
    return;
  }
  painter.fillRect(0, 0, w, std::min(p, h), Qt::black);
  painter.fillRect(0, std::max(0, h - p), w, std::min(p, h), Qt::black);
  painter.fillRect(0, 0, std::min(p, w), h, Qt::black);
  painter.fillRect(std::max(0, w - p), 0, std::min(p, w), h, Qt::black);
}
