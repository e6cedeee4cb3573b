#include "TStructurePrintout.h"

#include <QFileInfo>
#include <QFontDatabase>

namespace {

QStringList Lines(const QString& fileName, const QStringList& fields) {
  return QStringList{QStringLiteral("Structure du fichier ") + QFileInfo(fileName).fileName()} +
         fields;
}

}  // namespace

TStructurePrintout::TStructurePrintout(const QString& fileName, const QStringList& fields)
    : TTextPrintout(fileName, Lines(fileName, fields),
                    QFontDatabase::systemFont(QFontDatabase::GeneralFont)) {}
