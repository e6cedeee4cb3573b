#include "FileNames.h"

QString WithoutExtension(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  return dot > slash + 1 ? path.left(dot) : path;
}
