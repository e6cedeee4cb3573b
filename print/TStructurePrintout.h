#pragma once
// TStructurePrintout: the structure of a table as plain text lines
// (TTextPrintout) in the "System" font: "Structure du fichier <file name
// without folder>", then one line per field, its name, a tab and its type; the
// tab leaves at least a blank between them. A table without fields prints the
// first line alone. The job is named after the table's file.

#include <QStringList>

#include "TTextPrintout.h"

class TStructurePrintout : public TTextPrintout {
 public:
  // `fields`: one "name<tab>type" line per field.
  TStructurePrintout(const QString& fileName, const QStringList& fields);
};
