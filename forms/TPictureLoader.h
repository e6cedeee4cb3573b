#pragma once
// TPictureLoader: turns a picture file into an image whose pixels can be read,
// through QImageReader (GIF, BMP, ICO and JPEG here; the two metafile formats
// have no decoder). Nothing is kept: every call reads the file again.
// A file that cannot be decoded gives a French message naming the file.

#include <QImage>
#include <QString>
#include <vector>

#include "IServices.h"

class TPictureLoader {
 public:
  // True with the first image of the file; false with `message` set.
  static bool Load(const QString& path, QImage& image, QString& message);
  // The picture dialog's filter entries.
  static std::vector<TFileFilter> Filters();
};
