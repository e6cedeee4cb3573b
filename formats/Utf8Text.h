#pragma once
// The tables' Windows-1252 bytes against the UTF-8 of the spreadsheets and
// databases, for the walks over every value of a large table: runs of ASCII
// are copied whole.

#include <cstdint>
#include <string>
#include <string_view>

#include "Cp1252.h"

inline void AppendAsUtf8(std::string& out, std::string_view cp1252) {
  size_t i = 0;
  while (i < cp1252.size()) {
    size_t j = i;
    while (j < cp1252.size() && static_cast<unsigned char>(cp1252[j]) < 0x80) ++j;
    out.append(cp1252.data() + i, j - i);
    if (j == cp1252.size()) break;
    AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(cp1252[j])));
    i = j + 1;
  }
}

// A character that Windows-1252 has no code for becomes "?", counted in
// `replaced`.
inline void AppendAsCp1252(std::string& out, std::string_view utf8, int64_t& replaced) {
  size_t i = 0;
  while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
  out.append(utf8.data(), i);
  if (i < utf8.size()) Utf8ToCp1252(utf8.data() + i, utf8.size() - i, out, replaced);
}
