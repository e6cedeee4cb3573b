#include "FileNames.h"

#include <QFile>

QString WithoutExtension(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  return dot > slash + 1 ? path.left(dot) : path;
}

std::string EnginePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString FromEnginePath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}
