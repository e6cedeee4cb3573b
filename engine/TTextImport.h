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
// becomes "?" and is counted); any other file is taken byte for byte. A file
// with a zero byte in its first 64 KB is no text (a program, a spreadsheet, a
// UTF-16 file): it is refused (NotText) and nothing is appended.
//
// Failures: a file that cannot be opened, is no text, or whose records find
// no memory (OutOfMemory) changes nothing. A read error stops the import: the
// lines read whole before it stay appended. The progress function is asked
// every 1024 lines with bytes read and file size; when it answers false
// nothing is appended, and the table is as it was. The file is read in blocks
// through the IFileSystem handed in; the records are built aside and join the
// table at the end, so memory beyond the table's own is a block and the new
// records.

#include <string>
#include <string_view>

#include "IFileSystem.h"
#include "TImportResult.h"

class TQor2;

// The text before the first separator; text keeps all that follows it. Without
// a separator the whole text is returned and text becomes empty.
std::string_view SplitAt(std::string_view& text, char separator);

class TTextImport {
 public:
  static TImportResult Append(TQor2& table, const std::string& path, char separator,
                              const TProgressFn& progress = nullptr,
                              IFileSystem& fileSystem = FileSystem());
  // One line as one new record, values cut by SplitAt.
  static void AppendLine(TQor2& table, std::string_view line, char separator);
};
