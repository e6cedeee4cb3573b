#include "TPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <functional>

namespace {

const QColor kOutline(60, 60, 60);
const QColor kPaper(255, 255, 255);
const QColor kText(120, 120, 130);
const QColor kArrow(31, 63, 143);
const QColor kHeader(47, 93, 168);

QPixmap Render(int size, const std::function<void(QPainter&)>& draw, qreal grid) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / grid, size / grid);
  draw(painter);
  return pixmap;
}

void Sheet(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(kPaper);
  p.drawRect(r);
}

// Grey text lines inside a sheet, one every two units.
void TextLines(QPainter& p, qreal left, qreal right, qreal top, int count) {
  p.setPen(QPen(kText, 1));
  for (int i = 0; i < count; ++i)
    p.drawLine(QPointF(left, top + 2 * i), QPointF(right, top + 2 * i));
}

void Triangle(QPainter& p, qreal tipX, qreal baseX) {
  p.setPen(Qt::NoPen);
  p.setBrush(kArrow);
  p.drawPolygon(QPolygonF({QPointF(tipX, 8), QPointF(baseX, 3), QPointF(baseX, 13)}));
}

void Badge(QPainter& p, const QColor& colour, bool plus) {
  p.setPen(QPen(colour.darker(140), 1));
  p.setBrush(colour);
  p.drawEllipse(QPointF(11.5, 11.5), 4, 4);
  p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::FlatCap));
  if (plus) {
    p.drawLine(QPointF(9.2, 11.5), QPointF(13.8, 11.5));
    p.drawLine(QPointF(11.5, 9.2), QPointF(11.5, 13.8));
  } else {
    p.drawLine(QPointF(9.8, 9.8), QPointF(13.2, 13.2));
    p.drawLine(QPointF(13.2, 9.8), QPointF(9.8, 13.2));
  }
}

// A small record card: the record a tool-bar button adds or deletes.
void Card(QPainter& p) {
  Sheet(p, QRectF(1.5, 2.5, 10, 9));
  p.fillRect(QRectF(2, 3, 9, 2), kHeader);
  TextLines(p, 3, 10, 6.5, 2);
}

}  // namespace

void TPictures::DrawTool(QPainter& p, TToolPicture picture) {
  switch (picture) {
    case TToolPicture::New: {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(kPaper);
      p.drawPolygon(QPolygonF({QPointF(3.5, 1.5), QPointF(9.5, 1.5), QPointF(12.5, 4.5),
                               QPointF(12.5, 14.5), QPointF(3.5, 14.5)}));
      p.setBrush(QColor(220, 220, 220));
      p.drawPolygon(QPolygonF({QPointF(9.5, 1.5), QPointF(9.5, 4.5), QPointF(12.5, 4.5)}));
      // A spark: the file is new.
      p.setPen(QPen(QColor(230, 170, 0), 1.2));
      p.drawLine(QPointF(13, 8.5), QPointF(15.5, 8.5));
      p.drawLine(QPointF(14.25, 7.25), QPointF(14.25, 9.75));
      break;
    }
    case TToolPicture::Open: {
      p.setPen(QPen(QColor(138, 98, 18), 1));
      p.setBrush(QColor(232, 179, 58));
      p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(5.5, 3.5), QPointF(6.5, 5),
                               QPointF(12.5, 5), QPointF(12.5, 13.5), QPointF(1.5, 13.5)}));
      p.setBrush(QColor(246, 210, 122));
      p.drawPolygon(QPolygonF(
          {QPointF(4, 7.5), QPointF(15.5, 7.5), QPointF(12.5, 13.5), QPointF(1.5, 13.5)}));
      break;
    }
    case TToolPicture::Save: {
      p.setPen(QPen(QColor(25, 45, 95), 1));
      p.setBrush(QColor(58, 91, 160));
      p.drawPolygon(QPolygonF({QPointF(1.5, 1.5), QPointF(12.5, 1.5), QPointF(14.5, 3.5),
                               QPointF(14.5, 14.5), QPointF(1.5, 14.5)}));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(210, 210, 215));
      p.drawRect(QRectF(4, 1.5, 7.5, 5));
      p.setBrush(QColor(58, 91, 160));
      p.drawRect(QRectF(8.5, 2.5, 1.6, 3));
      p.setPen(QPen(kOutline, 0.8));
      p.setBrush(kPaper);
      p.drawRect(QRectF(3.5, 9, 9, 5.5));
      TextLines(p, 5, 11, 11, 2);
      break;
    }
    case TToolPicture::Print: {
      Sheet(p, QRectF(4.5, 1.5, 7, 6));
      p.setPen(QPen(kOutline, 1));
      p.setBrush(QColor(185, 185, 190));
      p.drawRoundedRect(QRectF(1.5, 6.5, 13, 5.5), 1, 1);
      Sheet(p, QRectF(4.5, 10.5, 7, 4));
      TextLines(p, 6, 10, 12.5, 1);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 170, 60));
      p.drawEllipse(QPointF(12.5, 8.5), 0.9, 0.9);
      break;
    }
    case TToolPicture::Copy: {
      Sheet(p, QRectF(1.5, 1.5, 8, 10));
      TextLines(p, 3, 8, 4, 2);
      Sheet(p, QRectF(6.5, 4.5, 8, 10));
      TextLines(p, 8, 13, 7, 3);
      break;
    }
    case TToolPicture::Paste: {
      p.setPen(QPen(QColor(110, 70, 30), 1));
      p.setBrush(QColor(176, 122, 58));
      p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
      p.setBrush(QColor(200, 200, 205));
      p.setPen(QPen(kOutline, 0.8));
      p.drawRect(QRectF(4.5, 1.5, 4, 2.5));
      Sheet(p, QRectF(6.5, 6.5, 8, 8));
      TextLines(p, 8, 13, 9, 3);
      break;
    }
    case TToolPicture::Find: {
      p.setPen(QPen(QColor(120, 80, 40), 2.6, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(10.2, 10.2), QPointF(14.3, 14.3));
      p.setPen(QPen(kOutline, 1.4));
      p.setBrush(QColor(207, 230, 255));
      p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
      p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap));
      p.drawArc(QRectF(3.8, 3.8, 5.4, 5.4), 100 * 16, 70 * 16);
      break;
    }
    case TToolPicture::AddRecord:
      Card(p);
      Badge(p, QColor(40, 150, 60), true);
      break;
    case TToolPicture::DeleteRecord:
      Card(p);
      Badge(p, QColor(200, 40, 40), false);
      break;
    case TToolPicture::First:
      p.fillRect(QRectF(3, 3, 2, 10), kArrow);
      Triangle(p, 5.5, 12.5);
      break;
    case TToolPicture::Prior:
      Triangle(p, 4, 11);
      break;
    case TToolPicture::Next:
      Triangle(p, 12, 5);
      break;
    case TToolPicture::Last:
      p.fillRect(QRectF(11, 3, 2, 10), kArrow);
      Triangle(p, 10.5, 3.5);
      break;
    case TToolPicture::TableView: {
      Sheet(p, QRectF(1.5, 2.5, 13, 11));
      p.fillRect(QRectF(2, 3, 12, 2.5), kHeader);
      p.setPen(QPen(kText, 0.8));
      for (qreal y : {8.0, 10.75}) p.drawLine(QPointF(2, y), QPointF(14, y));
      for (qreal x : {5.5, 10.0}) p.drawLine(QPointF(x, 3), QPointF(x, 13.5));
      break;
    }
    case TToolPicture::ColumnView: {
      Sheet(p, QRectF(1.5, 1.5, 13, 13));
      p.fillRect(QRectF(2, 2, 4.5, 12), QColor(205, 215, 232));
      p.setPen(QPen(kText, 0.8));
      p.drawLine(QPointF(6.5, 2), QPointF(6.5, 14));
      for (qreal y : {4.75, 8.0, 11.25}) p.drawLine(QPointF(2, y), QPointF(14, y));
      p.setPen(QPen(kHeader, 1));
      for (qreal y : {3.4, 6.4, 9.6, 12.8}) p.drawLine(QPointF(8, y), QPointF(12.5, y));
      break;
    }
    case TToolPicture::FormView: {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(QColor(236, 233, 216));
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.fillRect(QRectF(2, 2, 12, 2), kHeader);
      for (qreal y : {6.0, 10.0}) {
        p.setPen(QPen(kOutline, 1));
        p.drawLine(QPointF(3, y + 1), QPointF(5.5, y + 1));
        p.setPen(QPen(QColor(120, 120, 120), 0.8));
        p.setBrush(kPaper);
        p.drawRect(QRectF(7, y - 0.5, 6, 3));
      }
      break;
    }
    case TToolPicture::RunQuery: {
      // A sheet of conditions and a green start arrow.
      Sheet(p, QRectF(1.5, 1.5, 9, 12));
      TextLines(p, 3, 9, 4, 4);
      p.setPen(QPen(QColor(20, 100, 35), 1));
      p.setBrush(QColor(40, 170, 60));
      p.drawPolygon(QPolygonF({QPointF(8.5, 6.5), QPointF(15, 10.5), QPointF(8.5, 14.5)}));
      break;
    }
    case TToolPicture::ChooseFields: {
      // Two lists, an arrow from the left one to the right one.
      Sheet(p, QRectF(0.5, 1.5, 5, 13));
      Sheet(p, QRectF(10.5, 1.5, 5, 13));
      TextLines(p, 1.5, 4.5, 4, 5);
      TextLines(p, 11.5, 14.5, 4, 2);
      p.setPen(QPen(kArrow, 1.4));
      p.drawLine(QPointF(6, 8), QPointF(9, 8));
      p.setPen(Qt::NoPen);
      p.setBrush(kArrow);
      p.drawPolygon(QPolygonF({QPointF(10, 8), QPointF(7.5, 5.5), QPointF(7.5, 10.5)}));
      break;
    }
    case TToolPicture::DesignClear:  // an eraser
      p.setPen(QPen(kOutline, 1));
      p.setBrush(QColor(230, 120, 120));
      p.drawPolygon(QPolygonF(
          {QPointF(2, 10), QPointF(8, 4), QPointF(14, 10), QPointF(10, 14), QPointF(6, 14)}));
      p.drawLine(QPointF(5, 7), QPointF(11, 13));
      break;
    case TToolPicture::DesignBackground:  // three colour dots on a sheet
      p.setPen(QPen(kOutline, 1));
      p.setBrush(kPaper);
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(220, 60, 60));
      p.drawEllipse(QPointF(5, 6), 2, 2);
      p.setBrush(QColor(60, 160, 60));
      p.drawEllipse(QPointF(11, 6), 2, 2);
      p.setBrush(kHeader);
      p.drawEllipse(QPointF(8, 10.5), 2, 2);
      break;
    case TToolPicture::DesignLabel: {
      QFont font(QStringLiteral("Arial"));
      font.setPixelSize(13);
      font.setBold(true);
      p.setFont(font);
      p.setPen(kHeader);
      p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("A"));
      break;
    }
    case TToolPicture::DesignPicture:  // a landscape
      p.setPen(QPen(kOutline, 1));
      p.setBrush(kPaper);
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(60, 150, 60));
      p.drawPolygon(QPolygonF(
          {QPointF(2, 13), QPointF(7, 7), QPointF(10, 10), QPointF(12, 8), QPointF(14, 13)}));
      p.setBrush(QColor(230, 170, 0));
      p.drawEllipse(QPointF(11.5, 5.5), 1.5, 1.5);
      break;
    case TToolPicture::DesignRectangle:
      p.setPen(QPen(kOutline, 1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(2.5, 4.5, 11, 7));
      break;
    case TToolPicture::DesignTextField:  // an edit box with a caret
      p.setPen(QPen(kOutline, 1));
      p.setBrush(kPaper);
      p.drawRect(QRectF(1.5, 4.5, 13, 7));
      p.drawLine(QPointF(4.5, 6), QPointF(4.5, 10));
      break;
    case TToolPicture::DesignFieldPicture:
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(kOutline, 1, Qt::DotLine));
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(60, 150, 60));
      p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(7, 7), QPointF(10, 12)}));
      break;
    case TToolPicture::DesignModify:  // a pencil
      p.setPen(QPen(kOutline, 1));
      p.setBrush(QColor(240, 200, 80));
      p.drawPolygon(QPolygonF(
          {QPointF(3, 13), QPointF(4, 10), QPointF(11, 3), QPointF(13, 5), QPointF(6, 12)}));
      break;
  }
}

QIcon TPictures::ToolButton(TToolPicture picture) {
  QIcon icon;
  for (int size : {16, 24, 32, 48})
    icon.addPixmap(Render(
        size, [picture](QPainter& p) { DrawTool(p, picture); }, 16));
  return icon;
}

void TPictures::DrawProgram(QPainter& p) {
  // A blue card carrying a table sheet with an orange header row: a table, ours.
  p.setPen(QPen(QColor(25, 45, 95), 1.5));
  p.setBrush(kHeader);
  p.drawRoundedRect(QRectF(2, 2, 44, 44), 7, 7);
  p.setPen(QPen(kOutline, 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(9, 10, 30, 28));
  p.fillRect(QRectF(9.5, 10.5, 29, 6), QColor(255, 128, 64));
  p.setPen(QPen(QColor(150, 160, 180), 1));
  for (qreal y : {22.0, 27.5, 33.0}) p.drawLine(QPointF(9.5, y), QPointF(38.5, y));
  for (qreal x : {17.0, 28.0}) p.drawLine(QPointF(x, 10.5), QPointF(x, 37.5));
}

QPixmap TPictures::Program(int size) {
  return Render(
      size, [](QPainter& p) { DrawProgram(p); }, 48);
}

QIcon TPictures::ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(Program(size));
  return icon;
}
