#include "TPictureLoader.h"

#include <QImageReader>

bool TPictureLoader::Load(const QString& path, QImage& image, QString& message) {
  QImageReader reader(path);
  QImage read;
  if (reader.read(&read) && !read.isNull()) {
    image = read;
    return true;
  }
  QString reason;
  switch (reader.error()) {
    case QImageReader::FileNotFoundError:
      reason = QStringLiteral("fichier introuvable");
      break;
    case QImageReader::DeviceError:
      reason = QStringLiteral("lecture impossible");
      break;
    case QImageReader::UnsupportedFormatError:
      reason = QStringLiteral("format d'image non reconnu");
      break;
    case QImageReader::InvalidDataError:
      reason = QStringLiteral("données d'image invalides");
      break;
    default:
      reason = QStringLiteral("image illisible");
      break;
  }
  message = QStringLiteral("Impossible de lire l'image '") + path + QStringLiteral("' : ") + reason;
  return false;
}

std::vector<TFileFilter> TPictureLoader::Filters() {
  return {
      {QStringLiteral("Tout (*.gif;*.bmp;*.ico;*.emf;*.wmf)"),
       QStringLiteral("*.gif;*.bmp;*.ico;*.emf;*.wmf")},
      {QStringLiteral("GIF Image (*.gif)"), QStringLiteral("*.gif")},
      {QStringLiteral("Bitmaps (*.bmp)"), QStringLiteral("*.bmp")},
      {QStringLiteral("Icônes (*.ico)"), QStringLiteral("*.ico")},
      {QStringLiteral("MétaFichiers améliorés (*.emf)"), QStringLiteral("*.emf")},
      {QStringLiteral("MetaFichiers (*.wmf)"), QStringLiteral("*.wmf")},
      {QStringLiteral("Jpeg (*.jpg)"), QStringLiteral("*.jpg")},
  };
}
