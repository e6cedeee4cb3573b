#include "TQor2ParseCSV.h"

std::string TQor2ParseCSV::Escape(const std::string& value) const {
  std::string r;
  EscapeTo(value, r);
  return r;
}

void TQor2ParseCSV::EscapeTo(const std::string& value, std::string& out) const {
  const char sep = Separator.empty() ? ';' : Separator[0];
  for (char c : value) {
    if (c == '\r') {
      out += "\\n";
    } else if (c == '\n') {
      continue;
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == sep) {
      out.push_back('\\');
      out.push_back(c);
    } else {
      out.push_back(c);
    }
  }
}
