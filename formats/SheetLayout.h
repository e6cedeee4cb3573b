#pragma once
// What both spreadsheet writers need of a table before its first cell: each
// column's width fitted to its longest text (in characters, the header's
// included, between 6 and 80) and the longest value, and the sheet's name:
// the table's, in UTF-8, without the characters sheet names refuse
// ([ ] : * ? / \ become "_"), at most 31 characters, "Feuille1" when empty.

#include <cstddef>
#include <string>
#include <vector>

class TQor2;

struct TSheetLayout {
  std::vector<double> widths;  // characters
  std::vector<bool> numbers;   // FLOAT fields
  size_t longest = 0;          // bytes of the longest value or name
  std::string sheetName;

  static TSheetLayout Of(const TQor2& table);
};
