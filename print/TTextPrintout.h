#pragma once
// TTextPrintout: lines of plain text on the printer's text channel
// (TPrinter::WriteLine) in a given font: one printed line per line, from the
// top left of the page, tab stops every eight average character widths, a new
// page when the next line does not fit. The notepad prints its text so, and
// the structure of a table (TStructurePrintout).

#include <QFont>
#include <QStringList>

#include "TPrintout.h"

class TTextPrintout : public TPrintout {
 public:
  TTextPrintout(const QString& title, const QStringList& lines, const QFont& font);

 protected:
  QString Title() const override { return title_; }
  void Draw(TPrinter& printer) override;

 private:
  QString title_;
  QStringList lines_;
  QFont font_;
};
