#pragma once
// TGridPrintout: a string grid printed as a ruled table, as PrintGrid prints it.
//
// What is printed is the grid as the window shows it: rows 0 to RowCount() of
// its cells (column 0 included), row 0 again at the top of every page as the
// heading row, in bold. Nothing of a text is ever lost:
//   - each column is as wide as its longest printed text (row 0 included,
//     trailing blanks left out) plus a gap G of about a millimetre on either
//     side, and the columns share what is left of the page's width in
//     proportion to their widths, so that the table fills M..R;
//   - when the columns are wider than the page in the grid's font, the font
//     shrinks until they fit, down to 6 points;
//   - when they still do not fit at 6 points, the narrow columns keep their
//     width, the others share the rest equally, and a text too long for its
//     column wraps onto further lines inside its row, at a blank when it can.
//
// Page geometry, in printer pixels: margins M = page width / 25 and T = page
// height / 25, right edge R = page width - M; line height h = 3/2 of the height
// of the date text in the printing font; a row of n lines is h + (n - 1) line
// spacings high. A text starts G into its column, centred in the height h of
// its line.
//
// Each page: the heading in bold at (M, T) and "Imprimé le <date>" ending at R;
// a light grey band (192, 192, 192) from (M, T + h) holding row 0 with a rule
// on its top edge; then the rows, each followed by a rule from M to R. A row
// that brings the line position to page height - T or further ends the page
// (also after the last row, which then leaves a page with only the heading
// rows); a row of several lines that would pass that line by more than h
// starts on the next page, or is split there when a page cannot hold it.
// Every page ends with a rule down each column's left edge and one at R, from
// the top of the band to the last rule.
//
// The page count is known before the first page prints (for the progress).
// The grid must outlive the printout and must not change while it prints.

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "TPrintout.h"

class QPaintDevice;
class TStringGrid;

class TGridPrintout : public TPrintout {
 public:
  TGridPrintout(const TStringGrid& grid, const QString& title, const QString& heading,
                int rowCount);

  // The grid's font as it prints: a size in screen pixels becomes the same size in points.
  static QFont PrintingFont(const TStringGrid& grid);
  // The smallest size the font shrinks to, in points.
  static constexpr double kSmallestFont = 6;

 protected:
  QString Title() const override { return title_; }
  void Draw(TPrinter& printer) override;

 private:
  // The widest texts of a column by their estimated width, kept to be measured
  // exactly in each font tried.
  struct TColumn {
    double widest = 0;                      // estimated, in the grid's font
    std::array<int, 4> rows{{0, 0, 0, 0}};  // rows of the widest texts, 0 for none
    std::array<double, 4> widths{};
  };

  void Measure(QPaintDevice& device);
  std::vector<double> TextWidths(const QFont& font, QPaintDevice& device) const;
  void ChooseLayout(TPrinter& printer);
  void Place(const std::vector<double>& widths, bool share);
  // Lines of a cell in its column; one line unless the layout wraps.
  QStringList Lines(int col, int row) const;
  int LineCount(int col, int row) const;
  // When the layout wraps: whether the text surely fits its column on one line.
  bool FitsOnOneLine(int col, int row) const;
  int RowLines(int row) const;
  int RowHeight(int lines) const { return h_ + (lines - 1) * step_; }
  // Walks the rows as they fall on the pages; draws them when `printer` is
  // given, and returns the number of pages.
  int Walk(TPrinter* printer);
  void PageHeading(TPrinter& printer, int& y);
  void PrintLines(TPrinter& printer, int row, int first, int count, int& y);
  void VerticalRules(TPrinter& printer, int y);

  const TStringGrid& grid_;
  QString title_;
  QString heading_;
  int rowCount_;

  // Set by Draw() for the printer it draws on.
  std::vector<TColumn> columns_;
  QFont base_;
  QFont font_;
  QFont bold_;
  bool wraps_ = false;
  std::vector<int> rowLines_;     // lines of each row when the layout wraps
  std::vector<bool> narrowed_;    // columns narrower than their longest text
  std::vector<double> advances_;  // of each byte's character in the printing font
  std::optional<QFontMetricsF> metrics_, boldMetrics_;  // on the printer
  QString date_;
  std::vector<int> x_;  // column starts, then R
  int gap_ = 10;
  int m_ = 0, t_ = 0, r_ = 0, h_ = 0, step_ = 0, pad_ = 0, band_ = 0, bottom_ = 0;
  int ascent_ = 0, boldAscent_ = 0;
};
