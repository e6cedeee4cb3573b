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
