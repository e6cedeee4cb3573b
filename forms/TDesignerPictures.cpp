#include "TDesignerPictures.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

const QColor kOutline(60, 60, 60);
const QColor kPaper(255, 255, 255);
const QColor kBlue(47, 93, 168);

void Draw(QPainter& p, TDesignerTool tool) {
  p.setPen(QPen(kOutline, 1));
  switch (tool) {
    case TDesignerTool::Clear:  // an eraser
      p.setBrush(QColor(230, 120, 120));
      p.drawPolygon(QPolygonF(
          {QPointF(2, 10), QPointF(8, 4), QPointF(14, 10), QPointF(10, 14), QPointF(6, 14)}));
      p.drawLine(QPointF(5, 7), QPointF(11, 13));
      break;
    case TDesignerTool::Background:  // three colour dots on a sheet
      p.setBrush(kPaper);
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(220, 60, 60));
      p.drawEllipse(QPointF(5, 6), 2, 2);
      p.setBrush(QColor(60, 160, 60));
      p.drawEllipse(QPointF(11, 6), 2, 2);
      p.setBrush(kBlue);
      p.drawEllipse(QPointF(8, 10.5), 2, 2);
      break;
    case TDesignerTool::Label: {
      QFont font(QStringLiteral("Arial"));
      font.setPixelSize(13);
      font.setBold(true);
      p.setFont(font);
      p.setPen(kBlue);
      p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("A"));
      break;
    }
    case TDesignerTool::Picture:  // a landscape
      p.setBrush(kPaper);
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(60, 150, 60));
      p.drawPolygon(QPolygonF(
          {QPointF(2, 13), QPointF(7, 7), QPointF(10, 10), QPointF(12, 8), QPointF(14, 13)}));
      p.setBrush(QColor(230, 170, 0));
      p.drawEllipse(QPointF(11.5, 5.5), 1.5, 1.5);
      break;
    case TDesignerTool::Rectangle:
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(2.5, 4.5, 11, 7));
      break;
    case TDesignerTool::TextField:  // an edit box with a caret
      p.setBrush(kPaper);
      p.drawRect(QRectF(1.5, 4.5, 13, 7));
      p.drawLine(QPointF(4.5, 6), QPointF(4.5, 10));
      break;
    case TDesignerTool::FieldPicture:
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(kOutline, 1, Qt::DotLine));
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(60, 150, 60));
      p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(7, 7), QPointF(10, 12)}));
      break;
    case TDesignerTool::Modify:  // a pencil
      p.setBrush(QColor(240, 200, 80));
      p.drawPolygon(QPolygonF(
          {QPointF(3, 13), QPointF(4, 10), QPointF(11, 3), QPointF(13, 5), QPointF(6, 12)}));
      break;
  }
}

}  // namespace

QIcon TDesignerPictures::Tool(TDesignerTool tool) {
  QIcon icon;
  for (const int size : {16, 24, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    Draw(painter, tool);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
