#pragma once
// TOdsReader: reads one sheet of an OpenDocument spreadsheet (.ods) into a
// table, streaming content.xml through TXmlPush into TSheetBuilder.
//
// Cells: floats, percentages and currencies as the table writes numbers;
// dates "jj/mm/aaaa", times "hh:mm:ss"; texts as their paragraphs show them
// (paragraphs and line breaks joined by CR LF, tabs and runs of spaces
// restored); booleans as shown; a formula gives its cached result; the cells
// a merged area covers and the notes attached to cells are left out. A cell
// or line that the file repeats counts as many times; repeated empty cells
// and lines at the end of a line or of the sheet cost nothing. UTF-8 is
// converted to Windows-1252, the characters without a code becoming "?"
// (counted). A first row frozen above the others (settings.xml: a vertical
// split below row 1) or whose cells are all bold names the fields, as
// TSheetBuilder says.

#include <cstdint>
#include <string>
#include <vector>

#include "TStatus.h"

class TQor2;

class TOdsReader {
 public:
  static TStatus Sheets(const std::string& path, std::vector<std::string>& names);
  // The sheet named `sheet` (UTF-8; the first for ""); the table takes its name.
  static TStatus Read(const std::string& path, const std::string& sheet, TQor2& table,
                      int64_t& replaced);
};
