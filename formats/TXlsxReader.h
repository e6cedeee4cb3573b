#pragma once
// TXlsxReader: reads one sheet of an Excel workbook (.xlsx, Office Open XML)
// into a table, streaming: the sheet's XML is inflated and parsed a piece at a
// time (TZipArchive, TXmlPush) and its cells gathered by TSheetBuilder, so a
// sheet of a million rows is never held as XML.
//
// Cells: numbers as the table writes numbers (NumberText.h); numbers styled
// as dates "jj/mm/aaaa", as times "hh:mm:ss"; texts (shared, inline, or a
// formula's text) as they are; booleans "VRAI"/"FAUX"; errors as shown
// ("#DIV/0!"); a formula gives its cached result; an empty cell, and the cells
// a merged area covers, are empty. Text is converted from UTF-8 to
// Windows-1252, the characters it has no code for becoming "?" (counted).
// A first row frozen above the others (a pane split below row 1) or whose
// cells are all bold names the fields, as TSheetBuilder says.
//
// The shared strings are kept once, as Windows-1252 bytes in one block: no
// more than the part's own size, itself bounded by the zip-bomb rule. Counts
// the file declares are never trusted for an allocation.

#include <cstdint>
#include <string>
#include <vector>

#include "TStatus.h"

class TQor2;

class TXlsxReader {
 public:
  // The sheets' names (UTF-8), in the workbook's order.
  static TStatus Sheets(const std::string& path, std::vector<std::string>& names);
  // Reads the sheet named `sheet` (UTF-8; the first for ""). The table's name
  // becomes the sheet's. A failure leaves the table as it was.
  static TStatus Read(const std::string& path, const std::string& sheet, TQor2& table,
                      int64_t& replaced);
};
