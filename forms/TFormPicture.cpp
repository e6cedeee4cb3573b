#include "TFormPicture.h"

#include <QPainter>
#include <algorithm>

#include "TLayoutLine.h"

namespace {

QRgb PixelColor(uint32_t pixel) {
  if (pixel == TLayoutLine::kUnsetPixel) return qRgb(255, 255, 255);
  return qRgb(static_cast<int>(pixel & 0xFF), static_cast<int>(pixel >> 8 & 0xFF),
              static_cast<int>(pixel >> 16 & 0xFF));
}

}  // namespace

TFormPicture::TFormPicture(bool embedded, QWidget* parent) : QWidget(parent), embedded_(embedded) {
  setAccessibleName(embedded ? QStringLiteral("Image") : QStringLiteral("Champ image"));
}

void TFormPicture::SetPixels(int width, int height, const std::vector<uint32_t>& pixels) {
  resize(std::max(width, 0), std::max(height, 0));
  image_ = QImage();
  whiteShown_ = true;
  if (width <= 0 || height <= 0) return;
  const size_t h = static_cast<size_t>(height);
  const size_t count = std::min(pixels.size(), static_cast<size_t>(width) * h);
  const QRgb transparent = PixelColor(h - 1 < count ? pixels[h - 1] : TLayoutLine::kUnsetPixel);
  whiteShown_ = transparent != qRgb(255, 255, 255);
  const int columns = static_cast<int>((count + h - 1) / h);
  if (columns == 0) return;
  image_ = QImage(columns, height, QImage::Format_ARGB32_Premultiplied);
  image_.fill(whiteShown_ ? qRgb(255, 255, 255) : qRgba(0, 0, 0, 0));
  for (size_t k = 0; k < count; ++k) {
    const QRgb c = PixelColor(pixels[k]);
    image_.setPixel(static_cast<int>(k / h), static_cast<int>(k % h),
                    c == transparent ? qRgba(0, 0, 0, 0) : c);
  }
  update();
}

void TFormPicture::SetImage(const QImage& image) {
  image_ = image;
  update();
}

void TFormPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (embedded_) {
    // Beyond the columns the pixels reach the picture is white.
    const int covered = image_.isNull() ? 0 : image_.width();
    if (whiteShown_ && covered < width())
      painter.fillRect(covered, 0, width() - covered, height(), Qt::white);
    if (!image_.isNull()) painter.drawImage(0, 0, image_);
    return;
  }
  if (image_.isNull()) {
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    return;
  }
  const QImage shown = image_.width() > width() || image_.height() > height()
                           ? image_.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                           : image_;
  painter.drawImage(0, 0, shown);
}
