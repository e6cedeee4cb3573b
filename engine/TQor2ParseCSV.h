#pragma once
// TQor2ParseCSV: escapes one value for the escaped semicolon text format.
// CR becomes "\n", LF is dropped, "\" becomes "\\", the separator becomes "\;".

#include <string>

class TQor2ParseCSV {
 public:
  std::string Separator = ";";
  std::string Escape(const std::string& value) const;
  void EscapeTo(const std::string& value, std::string& out) const;
};
