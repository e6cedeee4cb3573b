#include "TGridPrintout.h"

#include <QFontMetrics>
#include <algorithm>

#include "French.h"
#include "IServices.h"
#include "TPrinter.h"
#include "TStringGrid.h"

namespace {

const QColor kBand(192, 192, 192);
// Room between a cell's text and its column's edges.
const int kPadding = 10;

}  // namespace

TGridPrintout::TGridPrintout(const TStringGrid& grid, const QString& title, const QString& heading,
                             int rowCount)
    : grid_(grid), title_(title), heading_(heading), rowCount_(rowCount) {}

QFont TGridPrintout::PrintingFont(const TStringGrid& grid) {
  QFont font = grid.font();
  if (font.pixelSize() > 0) font.setPointSizeF(font.pixelSize() * 72.0 / grid.logicalDpiY());
  return font;
}

std::vector<int> TGridPrintout::ColumnPositions(int pageWidth) const {
  const int m = pageWidth / 25;
  const int r = pageWidth - m;
  const int cols = grid_.ColCount();
  std::vector<long long> starts(static_cast<size_t>(cols) + 1, 0);  // in screen pixels
  for (int i = 0; i < cols; ++i) starts[i + 1] = starts[i] + std::max(0, grid_.ColWidth(i));
  const long long total = starts[cols];
  const int control = std::max(1, grid_.width());
  const long long scale = pageWidth / control;
  std::vector<int> x(static_cast<size_t>(cols));
  const bool fits = scale > 0 && total * scale <= r - m;
  for (int i = 0; i < cols; ++i) {
    if (fits)
      x[i] = static_cast<int>(m + starts[i] * scale);
    else
      x[i] = m + static_cast<int>(total > 0 ? starts[i] * (r - m) / total : 0);
  }
  return x;
}

void TGridPrintout::Draw(TPrinter& printer) {
  date_ = QStringLiteral("Imprimé le ") + FormatDate(Services().Now().date());
  const int width = printer.PageWidth();
  const int height = printer.PageHeight();
  m_ = width / 25;
  t_ = height / 25;
  r_ = width - m_;
  font_ = PrintingFont(grid_);
  bold_ = font_;
  bold_.setBold(true);
  printer.Canvas().setFont(font_);
  h_ = 3 * printer.TextHeight(date_) / 2;
  metrics_.emplace(font_, printer.Canvas().device());
  boldMetrics_.emplace(bold_, printer.Canvas().device());
  x_ = ColumnPositions(width);
  x_.push_back(r_);

  int y = 0;
  PageHeading(printer, y);
  for (int r = 1; r <= rowCount_ && !printer.Failed(); ++r) {
    PrintRow(printer, r, y);
    if (y >= height - t_) {
      VerticalRules(printer, y);
      if (!printer.NewPage()) return;
      PageHeading(printer, y);
    }
  }
  VerticalRules(printer, y);
}

void TGridPrintout::PageHeading(TPrinter& printer, int& y) {
  QPainter& canvas = printer.Canvas();
  canvas.setFont(bold_);
  printer.TextOut(m_, t_, heading_);
  printer.TextOut(r_ - printer.TextWidth(date_), t_, date_);
  y = t_ + h_;
  canvas.fillRect(QRect(m_, y, r_ - m_, h_), kBand);
  canvas.drawLine(m_, y, r_, y);
  PrintRow(printer, 0, y);
  canvas.setFont(font_);
}

void TGridPrintout::PrintRow(TPrinter& printer, int row, int& y) {
  const int cols = static_cast<int>(x_.size()) - 1;
  const QFontMetrics& fm = row == 0 ? *boldMetrics_ : *metrics_;
  for (int i = 0; i < cols; ++i) {
    const int room = std::min(x_[i + 1], r_) - x_[i] - 2 * kPadding;
    const QString text = Fitting(fm, grid_.Cell(i, row), room);
    if (!text.isEmpty()) printer.TextOut(x_[i] + kPadding, y + kPadding, text);
  }
  y += h_;
  printer.Canvas().drawLine(m_, y, r_, y);
}

void TGridPrintout::VerticalRules(TPrinter& printer, int y) {
  QPainter& canvas = printer.Canvas();
  for (const int x : x_) canvas.drawLine(x, t_ + h_, x, y);
}

QString TGridPrintout::Fitting(const QFontMetrics& fm, const QString& text, int width) {
  if (text.isEmpty() || width <= 0) return QString();
  // Most cells fit by far: no need to shape them twice.
  if (text.size() * fm.maxWidth() <= width) return text;
  // A number right-aligned with leading blanks gives up blanks first.
  qsizetype blanks = 0;
  while (blanks < text.size() && text[blanks] == QLatin1Char(' ')) ++blanks;
  if (blanks > 0) {
    const int over = fm.horizontalAdvance(text) - width;
    if (over <= 0) return text;
    const int blank = std::max(1, fm.horizontalAdvance(QLatin1Char(' ')));
    return Fitting(fm, text.mid(std::min<qsizetype>(blanks, (over + blank - 1) / blank)), width);
  }
  // The characters' own advances find the cut; the shaped width of that start
  // decides, as kerning may make it a little wider.
  int length = 0;
  for (int sum = 0; length < text.size(); ++length) {
    sum += fm.horizontalAdvance(text[length]);
    if (sum > width) break;
  }
  if (length == text.size() && fm.horizontalAdvance(text) <= width) return text;
  while (length > 0 && fm.horizontalAdvance(text.left(length)) > width) --length;
  return text.left(length);
}
