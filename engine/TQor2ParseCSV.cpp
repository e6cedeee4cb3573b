#include "TQor2ParseCSV.h"

std::string TQor2ParseCSV::Escape(std::string_view value) const {
  std::string r;
  EscapeTo(value, r);
  return r;
}

void TQor2ParseCSV::EscapeTo(std::string_view value, std::string& out) const {
  const char sep = Separator.empty() ? ';' : Separator[0];
  const char* p = value.data();
  const char* end = p + value.size();
  while (p < end) {
    // Runs of plain bytes go in one piece.
    const char* q = p;
    while (q < end && *q != '\r' && *q != '\n' && *q != '\\' && *q != sep) ++q;
    out.append(p, static_cast<size_t>(q - p));
    if (q == end) break;
    const char c = *q;
    if (c == '\r') {
      out += "\\n";
    } else if (c == '\n') {
      // dropped
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out.push_back('\\');
      out.push_back(c);
    }
    p = q + 1;
  }
}
