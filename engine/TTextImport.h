#pragma once
// TTextImport: appends the lines of a tab or semicolon text file to a table.
//
// Every line becomes one new record after the existing ones, a first line of
// column names included. The line is cut at each separator (SplitAt) and the
// pieces go to the existing fields by position: a piece beyond the last field
// is dropped, a missing one leaves its field empty. No quoting is understood
// and no value is shortened. A line ends at CR LF, LF or CR; a byte 26 ends the
// file; a last line without a line break counts, while the break that ends a
// file adds nothing, so an empty line inside the file gives an empty record.
//
// Encoding: a file that starts with the UTF-8 byte-order mark, or that is
// well-formed UTF-8 holding at least one character outside ASCII, is read as
// UTF-8 and converted to Windows-1252 (a character the code page cannot hold
// becomes "?" and is counted); any other file is taken byte for byte.
//
// Failures: a file that cannot be opened changes nothing. A read error stops
// the import and what was appended before it stays. The progress function is
// asked every 1024 lines with bytes read and file size; when it answers false
// the records appended are removed again, and the table is as it was.
// The file is read in blocks, so memory beyond the table's own is a block.

#include <string>
#include <string_view>

#include "TImportResult.h"

class TQor2;

// The text before the first separator; text keeps all that follows it. Without
// a separator the whole text is returned and text becomes empty.
std::string_view SplitAt(std::string_view& text, char separator);

class TTextImport {
 public:
  static TImportResult Append(TQor2& table, const std::string& path, char separator,
                              const TProgressFn& progress = nullptr);
  // One line as one new record, values cut by SplitAt.
  static void AppendLine(TQor2& table, std::string_view line, char separator);
};
