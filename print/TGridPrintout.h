#pragma once
// TGridPrintout: a string grid printed as a ruled table, as PrintGrid prints it.
//
// What is printed is the grid as the window shows it: rows 0 to RowCount() of
// its cells (column 0 included), row 0 again at the top of every page as the
// heading row, in the grid's font; the grid's column widths and its control's
// width in screen pixels give the columns' places on the page.
//
// Page geometry, in printer pixels: margins M = page width / 25 and T = page
// height / 25, right edge R = page width - M; line height h = 3/2 of the height
// of the date text; columns from x0 = M at their screen widths times the scale
// page width / control width (integer quotient). When the columns so placed
// would pass R - or the control is wider than the page - they are scaled down
// to fill M..R exactly. A cell's text starts 10 pixels into its column and
// 10 below its row's top, and is cut to the characters that fit the column;
// a number padded with leading blanks loses blanks before digits.
//
// Each page: the heading in bold at (M, T) and "Imprimé le <date>" ending at R;
// a light grey band (192, 192, 192) from (M, T + h) to (R, T + 2h) with a rule
// on its top edge, holding row 0 in bold; then the rows, each followed by a
// rule from M to R. A row that brings the line position to page height - T or
// further ends the page (also after the last row, which then leaves a page
// with only the heading rows). Every page ends with a rule down each column's
// left edge and one at R, from the top of the band to the last rule.
//
// The grid must outlive the printout and must not change while it prints.

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <optional>
#include <vector>

#include "TPrintout.h"

class TStringGrid;

class TGridPrintout : public TPrintout {
 public:
  TGridPrintout(const TStringGrid& grid, const QString& title, const QString& heading,
                int rowCount);

  // The grid's font as it prints: a size in screen pixels becomes the same size in points.
  static QFont PrintingFont(const TStringGrid& grid);
  // Column starts in printer pixels (M first) for a page `pageWidth` wide.
  std::vector<int> ColumnPositions(int pageWidth) const;

 protected:
  QString Title() const override { return title_; }
  void Draw(TPrinter& printer) override;

 private:
  void PageHeading(TPrinter& printer, int& y);
  void PrintRow(TPrinter& printer, int row, int& y);
  void VerticalRules(TPrinter& printer, int y);
  // The start of `text` that fits in `width` pixels of the canvas's font.
  static QString Fitting(const QFontMetrics& fm, const QString& text, int width);

  const TStringGrid& grid_;
  QString title_;
  QString heading_;
  int rowCount_;

  // Set by Draw() for the page geometry of the printer it draws on.
  QFont font_;
  QFont bold_;
  QString date_;
  std::vector<int> x_;  // column starts, then R
  std::optional<QFontMetrics> metrics_, boldMetrics_;
  int m_ = 0, t_ = 0, r_ = 0, h_ = 0;
};
