#pragma once
// TQor2ParseCSV: escapes one value for the escaped semicolon text format.
// CR becomes "\n", LF is dropped, "\" becomes "\\", the separator becomes "\;".

#include <string>
#include <string_view>

class TQor2ParseCSV {
 public:
  std::string Separator = ";";
  std::string Escape(std::string_view value) const;
  void EscapeTo(std::string_view value, std::string& out) const;
};
