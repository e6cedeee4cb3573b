#include "TTextPrintout.h"

#include <algorithm>

#include "TPrinter.h"

TTextPrintout::TTextPrintout(const QString& title, const QStringList& lines, const QFont& font)
    : title_(title), lines_(lines), font_(font) {}

void TTextPrintout::Draw(TPrinter& printer) {
  printer.Canvas().setFont(font_);
  const int perPage = printer.LinesPerPage();
  SetPageCount(std::max<int>(1, (static_cast<int>(lines_.size()) + perPage - 1) / perPage));
  for (const QString& line : lines_) {
    if (!printer.NextLineFits() && !NextPage(printer)) return;
    printer.WriteLine(line);
  }
}
