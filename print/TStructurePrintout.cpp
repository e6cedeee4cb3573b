#include "TStructurePrintout.h"

#include <QFileInfo>
#include <QFontDatabase>

#include "TPrinter.h"

TStructurePrintout::TStructurePrintout(const QString& fileName, const QStringList& fields)
    : fileName_(fileName), fields_(fields) {}

void TStructurePrintout::Draw(TPrinter& printer) {
  printer.Canvas().setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  printer.WriteLine(QStringLiteral("Structure du fichier ") + QFileInfo(fileName_).fileName());
  for (const QString& line : fields_) {
    if (printer.Failed()) return;
    printer.WriteLine(line);
  }
}
