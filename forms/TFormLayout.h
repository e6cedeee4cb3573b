#pragma once
// TFormLayout: a record form's layout as a whole, one TLayoutLine per line, and
// the layout file kept beside a table. Plain C++, like TLayoutLine.
//
// The layout file of a table is named after the table file: the path up to the
// last "." of the file's name, then "ecr" (clients.qor gives clients.ecr; a dot
// in a folder's name changes nothing; a name without a dot gets ".ecr"). It is
// Windows-1252 text; a line ends at CR LF, LF or CR, and the file is written
// with CR LF after every line, through a temporary file renamed over the old
// one, so a failed write leaves the previous file as it was.
//
// Read() builds the elements of the lines in order and stops at the first line
// that cannot be built: a number it cannot read, an edit box for a field that
// has one already, or for a field name that is not an identifier (letters,
// digits and "_", not starting with a digit). The elements before it stay.

#include <string>
#include <string_view>
#include <vector>

#include "TFailure.h"
#include "TLayoutLine.h"

class TFormLayout {
 public:
  enum class TFault { None, BadNumber, RepeatedName, InvalidName };
  struct TError {
    TFault fault = TFault::None;
    int line = 0;      // 1-based
    std::string text;  // the unreadable number, or the field name
  };

  static bool Read(const std::vector<std::string>& lines, std::vector<TLayoutLine>& elements,
                   TError& error);
  static bool IsIdentifier(std::string_view name);

  // One label and one edit box per field, in a column from (5, 50) 25 apart; past
  // the limit (the page's height, at least 330) a second column starts at half
  // the limit. Labels carry the page font's size, colour and name.
  static std::vector<std::string> Default(const std::vector<std::string>& fieldNames,
                                          int pageHeight, int fontSize, uint32_t fontColor,
                                          const std::string& fontName);

  static std::string FileNameFor(const std::string& tablePath);
  static std::vector<std::string> SplitLines(std::string_view text);
  // False when the file cannot be read; `lines` is then left as it was.
  static bool LoadFile(const std::string& path, std::vector<std::string>& lines);
  // 0 on success, 3 when the file cannot be created, -1 on a write error;
  // `failure`, when given, receives the cause (TFailure.h).
  static int SaveFile(const std::string& path, const std::vector<std::string>& lines,
                      TFailure* failure = nullptr);
};
