#include "TGridPrintout.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "AnsiCodec.h"
#include "French.h"
#include "IServices.h"
#include "TPrinter.h"
#include "TStringGrid.h"

namespace {

const QColor kBand(192, 192, 192);
// Each try to fit the columns shrinks the font by this much.
const double kShrink = 0.97;

bool IsBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The text without the blanks around it, which print as nothing. Leading
// blanks align a number to the right of its column on the screen.
QString Printed(const QString& text, bool* rightAligned = nullptr) {
  qsizetype begin = 0, end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  while (begin < end && IsBlank(text[begin])) ++begin;
  if (rightAligned) *rightAligned = begin > 0 && end > begin;
  return begin == 0 && end == text.size() ? text : text.mid(begin, end - begin);
}

// The width of each byte's character, to estimate a text's width without
// shaping it: the estimate is the sum of the advances.
std::vector<double> Advances(const QFont& font, QPaintDevice* device) {
  const QFontMetricsF fm(font, device);
  std::vector<double> advances(256);
  for (int b = 0; b < 256; ++b)
    advances[static_cast<size_t>(b)] = fm.horizontalAdvance(AnsiToChar(static_cast<uchar>(b)));
  return advances;
}

double EstimatedWidth(const std::vector<double>& advances, const std::string& bytes) {
  size_t begin = 0, end = bytes.size();
  while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\t')) --end;
  while (begin < end && (bytes[begin] == ' ' || bytes[begin] == '\t')) ++begin;
  double w = 0;
  for (size_t i = begin; i < end; ++i) w += advances[static_cast<unsigned char>(bytes[i])];
  return w;
}

// `text` cut into lines no wider than `room`: at the last blank that lets the
// line fit, or within a word that is wider than the room by itself. A line
// holds at least one character, so that every text ends.
QStringList Wrap(const QString& text, double room, const QFontMetricsF& fm) {
  // Shaped as a whole a text may be narrower than its characters one by one.
  if (fm.horizontalAdvance(text) <= room) return {text};
  QStringList lines;
  const qsizetype n = text.size();
  qsizetype start = 0;
  while (start < n) {
    double width = 0;
    qsizetype end = start;
    for (; end < n; ++end) {
      const double advance = fm.horizontalAdvance(text[end]);
      if (width + advance > room && end > start) break;
      width += advance;
    }
    qsizetype next = end;
    if (end < n) {
      // The character that does not fit may be the blank to break at.
      qsizetype blank = end;
      while (blank > start && text[blank] != QLatin1Char(' ')) --blank;
      if (blank > start) {
        end = blank;
        next = blank + 1;
      }
    }
    lines << Printed(text.mid(start, end - start));
    while (next < n && text[next] == QLatin1Char(' ')) ++next;
    start = next;
  }
  if (lines.isEmpty()) lines << QString();
  return lines;
}

}  // namespace

TGridPrintout::TGridPrintout(const TStringGrid& grid, const QString& title, const QString& heading,
                             int rowCount)
    : grid_(grid), title_(title), heading_(heading), rowCount_(rowCount) {}

QFont TGridPrintout::PrintingFont(const TStringGrid& grid) {
  QFont font = grid.font();
  if (font.pixelSize() > 0) font.setPointSizeF(font.pixelSize() * 72.0 / grid.logicalDpiY());
  if (font.pointSizeF() <= 0) font.setPointSizeF(8);
  return font;
}

void TGridPrintout::Measure(QPaintDevice& device) {
  const int cols = grid_.ColCount();
  columns_.assign(static_cast<size_t>(cols), TColumn());
  const std::vector<double> advances = Advances(base_, &device);
  for (int row = 1; row <= rowCount_; ++row) {
    for (int col = 0; col < cols; ++col) {
      TColumn& column = columns_[static_cast<size_t>(col)];
      const double w = EstimatedWidth(advances, grid_.CellAnsi(col, row));
      if (w <= column.widths.back()) continue;
      // Kept in decreasing order of width.
      size_t k = column.widths.size() - 1;
      for (; k > 0 && column.widths[k - 1] < w; --k) {
        column.widths[k] = column.widths[k - 1];
        column.rows[k] = column.rows[k - 1];
      }
      column.widths[k] = w;
      column.rows[k] = row;
      column.widest = std::max(column.widest, w);
    }
  }
}

std::vector<double> TGridPrintout::TextWidths(const QFont& font, QPaintDevice& device) const {
  QFont bold = font;
  bold.setBold(true);
  const QFontMetricsF fm(font, &device);
  const QFontMetricsF boldFm(bold, &device);
  // The estimates were made in the grid's font; they scale with the size.
  const double scale = font.pointSizeF() / base_.pointSizeF();
  std::vector<double> widths;
  for (int col = 0; col < static_cast<int>(columns_.size()); ++col) {
    const TColumn& column = columns_[static_cast<size_t>(col)];
    double w =
        std::max(column.widest * scale, boldFm.horizontalAdvance(Printed(grid_.Cell(col, 0))));
    for (const int row : column.rows)
      if (row > 0) w = std::max(w, fm.horizontalAdvance(Printed(grid_.Cell(col, row))));
    widths.push_back(std::ceil(w));
  }
  return widths;
}

void TGridPrintout::ChooseLayout(TPrinter& printer) {
  QPaintDevice& device = *printer.Canvas().device();
  const int width = printer.PageWidth();
  const int height = printer.PageHeight();
  m_ = width / 25;
  t_ = height / 25;
  r_ = width - m_;
  bottom_ = height - t_;
  gap_ = std::max(10, static_cast<int>(std::lround(printer.PixelsPerMMX())));
  base_ = PrintingFont(grid_);
  Measure(device);

  const double room = r_ - m_;
  const double gaps = 2.0 * gap_ * static_cast<double>(columns_.size());
  const double smallest = std::min(kSmallestFont, base_.pointSizeF());
  auto total = [](const std::vector<double>& w) {
    return std::accumulate(w.begin(), w.end(), 0.0);
  };
  font_ = base_;
  std::vector<double> widths = TextWidths(font_, device);
  wraps_ = false;
  if (total(widths) + gaps > room) {
    // A first guess in proportion, then smaller until the columns fit.
    double size = total(widths) > 0 && room > gaps
                      ? base_.pointSizeF() * (room - gaps) / total(widths)
                      : smallest;
    size = std::clamp(size, smallest, base_.pointSizeF());
    for (;;) {
      font_.setPointSizeF(size);
      widths = TextWidths(font_, device);
      if (total(widths) + gaps <= room) break;
      if (size <= smallest) {
        wraps_ = true;
        break;
      }
      size = std::max(smallest, size * kShrink);
    }
  }
  for (double& w : widths) w += 2 * gap_;
  Place(widths, !wraps_);
  // Only a column narrower than its longest text can wrap.
  narrowed_.assign(widths.size(), false);
  for (size_t i = 0; wraps_ && i < widths.size(); ++i)
    narrowed_[i] = x_[i + 1] - x_[i] < widths[i] - 1;

  bold_ = font_;
  bold_.setBold(true);
  const QFontMetrics fm(font_, &device);
  h_ = 3 * fm.height() / 2;
  step_ = fm.lineSpacing();
  pad_ = (h_ - fm.height()) / 2;
  ascent_ = fm.ascent();
  boldAscent_ = QFontMetrics(bold_, &device).ascent();
  metrics_.emplace(font_, &device);
  boldMetrics_.emplace(bold_, &device);
  rowLines_.clear();
  if (wraps_) {
    advances_ = Advances(font_, &device);
    rowLines_.resize(static_cast<size_t>(rowCount_) + 1, 1);
    for (int row = 0; row <= rowCount_; ++row) {
      int lines = 1;
      for (int col = 0; col < static_cast<int>(columns_.size()); ++col)
        lines = std::max(lines, LineCount(col, row));
      rowLines_[static_cast<size_t>(row)] = lines;
    }
  }
  band_ = RowHeight(RowLines(0));
}

void TGridPrintout::Place(const std::vector<double>& widths, bool share) {
  const int cols = static_cast<int>(widths.size());
  const double room = r_ - m_;
  std::vector<double> placed = widths;
  if (share) {
    // What the page has left goes to the columns in proportion to their widths.
    const double sum = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (sum > 0)
      for (double& w : placed) w += (room - sum) * w / sum;
  } else {
    // Columns narrower than an equal share keep their width; the others share
    // what is left equally.
    std::vector<bool> fixed(static_cast<size_t>(cols), false);
    double left = room;
    int open = cols;
    for (bool changed = true; changed && open > 0;) {
      changed = false;
      const double part = left / open;
      for (int i = 0; i < cols; ++i) {
        if (fixed[static_cast<size_t>(i)] || widths[static_cast<size_t>(i)] > part) continue;
        fixed[static_cast<size_t>(i)] = true;
        left -= widths[static_cast<size_t>(i)];
        --open;
        changed = true;
      }
    }
    for (int i = 0; i < cols; ++i)
      if (!fixed[static_cast<size_t>(i)]) placed[static_cast<size_t>(i)] = left / open;
  }
  x_.assign(1, m_);
  double x = m_;
  for (int i = 0; i + 1 < cols; ++i) {
    x += placed[static_cast<size_t>(i)];
    x_.push_back(static_cast<int>(std::lround(x)));
  }
  x_.push_back(r_);
  if (cols == 0) x_ = {r_};
}

QStringList TGridPrintout::Lines(int col, int row) const {
  const QString text = Printed(grid_.Cell(col, row));
  if (!wraps_) return {text};
  const double room = x_[static_cast<size_t>(col) + 1] - x_[static_cast<size_t>(col)] - 2 * gap_;
  return Wrap(text, room, row == 0 ? *boldMetrics_ : *metrics_);
}

bool TGridPrintout::FitsOnOneLine(int col, int row) const {
  if (!narrowed_[static_cast<size_t>(col)]) return true;
  // Most texts fit by far: no need to cut them to know it. The margin covers
  // what shaping may add to the sum of the advances.
  const double room = x_[static_cast<size_t>(col) + 1] - x_[static_cast<size_t>(col)] - 2 * gap_;
  return row > 0 && EstimatedWidth(advances_, grid_.CellAnsi(col, row)) <= 0.9 * room;
}

int TGridPrintout::LineCount(int col, int row) const {
  if (!wraps_ || FitsOnOneLine(col, row)) return 1;
  return static_cast<int>(Lines(col, row).size());
}

int TGridPrintout::RowLines(int row) const {
  return wraps_ ? rowLines_[static_cast<size_t>(row)] : 1;
}

int TGridPrintout::Walk(TPrinter* printer) {
  const int top = t_ + h_ + band_;
  int pages = 1;
  int y = top;
  auto startPage = [&] {
    if (printer)
      PageHeading(*printer, y);
    else
      y = top;
  };
  auto newPage = [&] {
    if (printer) {
      VerticalRules(*printer, y);
      if (!NextPage(*printer)) return false;
    }
    ++pages;
    startPage();
    return true;
  };
  startPage();
  for (int row = 1; row <= rowCount_; ++row) {
    const int lines = RowLines(row);
    for (int done = 0; done < lines;) {
      int count = lines - done;
      if (y + RowHeight(count) > bottom_ + h_) {
        // A tall row starts on a page of its own, and is split only when even
        // a page of its own cannot hold it.
        if (y > top) {
          if (!newPage()) return pages;
          continue;
        }
        count = std::clamp((bottom_ - y) / std::max(1, step_) + 1, 1, count);
      }
      if (printer)
        PrintLines(*printer, row, done, count, y);
      else
        y += RowHeight(count);
      done += count;
      if (y >= bottom_ && !newPage()) return pages;
    }
  }
  if (printer) VerticalRules(*printer, y);
  return pages;
}

void TGridPrintout::Draw(TPrinter& printer) {
  date_ = QStringLiteral("Imprimé le ") + FormatDate(Services().Now().date());
  ChooseLayout(printer);
  SetPageCount(Walk(nullptr));
  printer.Canvas().setFont(font_);
  Walk(&printer);
}

void TGridPrintout::PageHeading(TPrinter& printer, int& y) {
  QPainter& canvas = printer.Canvas();
  canvas.setFont(bold_);
  printer.TextOut(m_, t_, heading_);
  printer.TextOut(r_ - printer.TextWidth(date_), t_, date_);
  y = t_ + h_;
  canvas.fillRect(QRect(m_, y, r_ - m_, band_), kBand);
  canvas.drawLine(m_, y, r_, y);
  PrintLines(printer, 0, 0, RowLines(0), y);
  canvas.setFont(font_);
}

void TGridPrintout::PrintLines(TPrinter& printer, int row, int first, int count, int& y) {
  QPainter& canvas = printer.Canvas();
  const int cols = static_cast<int>(x_.size()) - 1;
  const int baseline = y + pad_ + (row == 0 ? boldAscent_ : ascent_);
  for (int col = 0; col < cols; ++col) {
    const int x = x_[static_cast<size_t>(col)] + gap_;
    if (!wraps_ || FitsOnOneLine(col, row)) {
      // The common case, kept lean: one line, the whole text.
      if (first > 0) continue;
      QString text = grid_.Cell(col, row);
      if (text.isEmpty()) continue;
      if (IsBlank(text.front()) || IsBlank(text.back())) {
        bool right = false;
        text = Printed(text, &right);
        if (right) {
          const int end = x_[static_cast<size_t>(col) + 1] - gap_;
          const QFontMetricsF& fm = row == 0 ? *boldMetrics_ : *metrics_;
          canvas.drawText(end - static_cast<int>(std::ceil(fm.horizontalAdvance(text))), baseline,
                          text);
          continue;
        }
      }
      canvas.drawText(x, baseline, text);
      continue;
    }
    const QStringList lines = Lines(col, row);
    for (int k = first; k < first + count && k < lines.size(); ++k)
      if (!lines[k].isEmpty()) canvas.drawText(x, baseline + (k - first) * step_, lines[k]);
  }
  y += RowHeight(count);
  canvas.drawLine(m_, y, r_, y);
}

void TGridPrintout::VerticalRules(TPrinter& printer, int y) {
  QPainter& canvas = printer.Canvas();
  for (const int x : x_) canvas.drawLine(x, t_ + h_, x, y);
}
