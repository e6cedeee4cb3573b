#include "TChartPrintout.h"

#include <QFontDatabase>

#include "French.h"
#include "IServices.h"
#include "TPrinter.h"
#include "TStatsChartView.h"

TChartPrintout::TChartPrintout(const TStatsChartView& chart, const QString& title,
                               const QString& note)
    : chart_(chart), title_(title), note_(note) {}

void TChartPrintout::Draw(TPrinter& printer) {
  const int width = printer.PageWidth(), height = printer.PageHeight();
  const int m = width / 25, t = height / 25, r = width - m;
  QPainter& canvas = printer.Canvas();
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(10);
  QFont bold = font;
  bold.setBold(true);

  const QString date = QStringLiteral("Imprimé le ") + FormatDate(Services().Now().date());
  canvas.setFont(bold);
  printer.TextOut(m, t, title_);
  canvas.setFont(font);
  printer.TextOut(r - printer.TextWidth(date), t, date);
  const int line = 3 * printer.TextHeight(date) / 2;

  int bottom = height - t;
  if (!note_.isEmpty()) {
    bottom -= line;
    printer.TextOut(m, bottom + line / 4, note_);
  }
  const int top = t + 2 * line;
  if (bottom > top) chart_.Paint(canvas, QRectF(m, top, r - m, bottom - top));
}
