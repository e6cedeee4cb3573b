#pragma once
// TStructurePrintout: the structure of a table as plain text lines on the
// printer's text channel (TPrinter::WriteLine), in the "System" font:
// "Structure du fichier <file name without folder>", then one line per field,
// its name, a tab and its type. A table without fields prints the first line
// alone.

#include <QStringList>

#include "TPrintout.h"

class TStructurePrintout : public TPrintout {
 public:
  // `fields`: one "name<tab>type" line per field.
  TStructurePrintout(const QString& fileName, const QStringList& fields);

 protected:
  QString Title() const override { return fileName_; }
  void Draw(TPrinter& printer) override;

 private:
  QString fileName_;
  QStringList fields_;
};
