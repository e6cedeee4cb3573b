#include "TextRoutines.h"

#include <locale.h>

#include <clocale>
#include <cstdlib>

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The C locale, so that the decimal point of the conversion is always ".".
locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

}  // namespace

Extended TextToFloat(const std::string& text) {
  // Keep "+-." digits and exponent letters, with "," read as ".".
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c == ',') c = '.';
    if (IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e') s.push_back(c);
  }
  if (s.empty()) return 0;
  if (!(s[0] == '+' || s[0] == '-' || IsDigit(s[0]))) return 0;

  size_t i = 1;
  const size_t n = s.size();
  while (i < n && IsDigit(s[i])) ++i;
  bool exponent = false;
  if (i < n) {
    if (s[i] == '.') {
      ++i;
      while (i < n && IsDigit(s[i])) ++i;
      if (i < n) {
        if (s[i] != 'E' && s[i] != 'e') return 0;
        exponent = true;
      }
    } else if (s[i] == 'E' || s[i] == 'e') {
      exponent = true;
    } else {
      return 0;
    }
  }
  size_t mantissaEnd = exponent ? i : n;
  if (exponent) {
    ++i;  // past the letter
    if (i >= n) return 0;
    if (!(s[i] == '+' || s[i] == '-' || IsDigit(s[i]))) return 0;
    for (size_t k = i + 1; k < n; ++k)
      if (!IsDigit(s[k])) return 0;
  }

  // The shape is valid; convert. A mantissa without digits gives 0, an exponent
  // without digits counts as 0.
  bool mantissaDigits = false;
  for (size_t k = 0; k < mantissaEnd; ++k) mantissaDigits |= IsDigit(s[k]);
  if (!mantissaDigits) return 0;
  std::string number = s.substr(0, mantissaEnd);
  if (exponent) {
    bool expDigits = false;
    for (size_t k = mantissaEnd + 1; k < n; ++k) expDigits |= IsDigit(s[k]);
    if (expDigits) number += s.substr(mantissaEnd);
  }
  if (number[0] == '+') number.erase(0, 1);
  return strtold_l(number.c_str(), nullptr, CLocale());
}

std::string TrimBlanks(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

std::string DoubleQuotes(const std::string& s) {
  std::string r;
  r.reserve(s.size() + 2);
  for (char c : s) {
    r.push_back(c);
    if (c == '"') r.push_back('"');
  }
  return r;
}

namespace {

// 0x80..0x9F, the one row where Windows-1252 differs from Latin-1.
const char16_t kC1Row[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

char UnicodeToAnsi(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int i = 0; i < 32; ++i)
    if (kC1Row[i] == code) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

char32_t AnsiToUnicode(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kC1Row[byte - 0x80] : byte;
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out.push_back(static_cast<char>(u));
  } else if (u < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (u >> 6)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (u >> 12)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

std::string AnsiToUtf8(const std::string& ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (const char c : ansi) AppendUtf8(out, AnsiToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToAnsi(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char b = static_cast<unsigned char>(utf8[i]);
    // The number of continuation bytes the lead byte announces.
    int more = -1;
    if (b < 0x80)
      more = 0;
    else if (b >= 0xC2 && b < 0xE0)
      more = 1;
    else if (b >= 0xE0 && b < 0xF0)
      more = 2;
    else if (b >= 0xF0 && b < 0xF5)
      more = 3;
    if (more < 0 || i + static_cast<size_t>(more) >= utf8.size()) return utf8;
    char32_t code = more == 0 ? b : b & (0x3F >> more);
    for (int k = 1; k <= more; ++k) {
      const unsigned char c = static_cast<unsigned char>(utf8[i + k]);
      if ((c & 0xC0) != 0x80) return utf8;
      code = (code << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are no UTF-8.
    if ((more == 2 && code < 0x800) || (more == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code < 0xE000))
      return utf8;
    out.push_back(UnicodeToAnsi(code));
    i += static_cast<size_t>(more) + 1;
  }
  return out;
}
