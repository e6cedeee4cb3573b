#pragma once
// TTableGridSource: the texts of the table view's data rows, read from the
// document's table when the grid draws or a caller reads them, so that the grid
// holds no copy of the table: only the rows drawn are turned into text.
//
// Fill lays the rows out as the table view shows them: row r shows record r, or
// in selection mode the r-th record matching the filter, in table order. Column
// 0 holds the record number, column i the display text of field i: the value
// without the blanks around it, and for a "FLOAT" field padded on the left with
// spaces to its column's width (measured in "System", 10, bold). Other cells are
// empty, the spare row of a view without record included. The values are the
// table's at the time they are read; which record a row shows, the field types
// and the widths the padding aims at stay as Fill found them until the next one.
//
// Refers to the table and the grid it was made for, which outlive it; the grid
// is given this source by its owner.

#include <string>
#include <string_view>
#include <vector>

#include "TGridSource.h"

struct TCondition;
class TQor2;
class TStringGrid;
class TTextWidths;

class TTableGridSource : public TGridSource {
 public:
  TTableGridSource(TQor2& table, TStringGrid& grid);

  // Shows every record, or with a filter those matching it (a forward search
  // from the first record), in the grid's data rows, dropping the texts set
  // on them. Leaves the table's cursor after the walk, and the grid's current
  // row where it was (or on the last row left).
  void Fill(const TCondition* filter);
  int RecordOf(int row) const;  // the record a data row shows, 0 if none
  // The grid's last row shows `recNo` from now on (a record just added), and
  // is drawn anew without any text set on it.
  void ShowLast(int row, int recNo);

  // Display text of a value in a column `width` pixels wide.
  std::string Display(std::string_view value, bool isFloat, int width) const;
  // What a data cell shows without the blanks around it: the text set on it,
  // or the value it shows.
  std::string Trimmed(int col, int row) const;
  // The width that shows every data cell of column `col` whole, in the
  // grid's font with the cell's margins: the widest text, 20 pixels more when
  // that is under 64 pixels.
  int FittingWidth(int col) const;

  void Text(int col, int row, size_t limit, std::string& out) const override;

 private:
  void Format(std::string_view text, bool isFloat, int width, size_t limit, std::string& out) const;
  int FloatPadding(std::string_view text, int width) const;  // spaces before a "FLOAT" value
  void MeasureGrid();

  TQor2& table_;
  TStringGrid& grid_;
  const TTextWidths& floatWidths_;
  const TTextWidths* gridWidths_ = nullptr;  // the grid's font
  int margins_ = 0;
  // Rows 1 to count_ show records 1 to count_ while all_; otherwise row r
  // shows recNos_[r - 1].
  bool all_ = true;
  int count_ = 0;
  std::vector<int> recNos_;
  std::vector<char> isFloat_;  // by column, at the fill; column 0 none
  std::vector<int> widths_;    // by column, at the fill
};
