#pragma once
// TFormLayout: a record form's layout as a whole, one TLayoutLine per line, and
// the layout file kept beside a table. Plain C++, like TLayoutLine.
//
// The layout file of a table is named after the table file: the path up to the
// last "." of the file's name, then "ecr" (clients.qor gives clients.ecr; a dot
// in a folder's name changes nothing; a name without a dot gets ".ecr"). It is
// Windows-1252 text; a line ends at CR LF, LF or CR, and the file is written
// with CR LF after every line, through a temporary file renamed over the old
// one, so a failed write leaves the previous file as it was. It is read
// through the file-system seam the caller hands over.
//
// Read() builds the elements of the lines in order, one per line, and stops at
// the first line that cannot be built: a number it cannot read, or an edit box
// for a field that has one already. The elements before it stay, so the
// failing line is line elements.size() + 1; the status is TFailure::Other with
// the French message, the line's number included, as detail (UTF-8). Any name
// a table can hold binds an edit box: "Prénom", "Code postal".

#include <string>
#include <string_view>
#include <vector>

#include "TLayoutLine.h"
#include "TStatus.h"

class IFileSystem;

class TFormLayout {
 public:
  static TStatus Read(const std::vector<std::string>& lines, std::vector<TLayoutLine>& elements);
  // "Un composant nommé <field> existe déjà", UTF-8.
  static std::string RepeatedName(const std::string& field);

  // One label and one edit box per field, in a column from (5, 50) 25 apart; past
  // the limit (the page's height, at least 330) a second column starts at half
  // the limit. Labels carry the page font's size, colour and name.
  static std::vector<std::string> Default(const std::vector<std::string>& fieldNames,
                                          int pageHeight, int fontSize, uint32_t fontColor,
                                          const std::string& fontName);

  static std::string FileNameFor(const std::string& tablePath);
  static std::vector<std::string> SplitLines(std::string_view text);
  // On failure `lines` is left as it was; a missing file is TFailure::NotFound.
  static TStatus LoadFile(IFileSystem& fileSystem, const std::string& path,
                          std::vector<std::string>& lines);
  static TStatus SaveFile(const std::string& path, const std::vector<std::string>& lines);
};
