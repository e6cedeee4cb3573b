#include "TextRoutines.h"

#include <locale.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The C locale, so that the decimal point of the conversion is always ".".
locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// The exact value of the digits of [p, end) (at most 19 of them, a "." among
// them counting none) divided by ten to the number of digits after the "." is
// what strtold gives for the same text: both numbers are exact in the 64-bit
// mantissa of Extended and the division rounds once, as the conversion does.
bool ShortDecimal(const char* p, const char* end, Extended& value) {
  if (std::numeric_limits<Extended>::digits < 64) return false;
  uint64_t m = 0;
  int digits = 0, decimals = 0;
  bool point = false;
  for (; p < end; ++p) {
    if (*p == '.') {
      point = true;
      continue;
    }
    if (++digits > 19) return false;
    m = m * 10 + static_cast<uint64_t>(*p - '0');
    decimals += point;
  }
  static const Extended kPowers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                     1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                     1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L};
  value = static_cast<Extended>(m) / kPowers[decimals];
  return true;
}

}  // namespace

Extended TextToFloat(std::string_view text) {
  // Keep "+-." digits and exponent letters, with "," read as ".". Most values
  // are short: they are filtered on the stack.
  char small[64];
  std::string large;
  char* s = small;
  if (text.size() > sizeof small) {
    large.resize(text.size());
    s = &large[0];
  }
  size_t n = 0;
  for (char c : text) {
    if (c == ',') c = '.';
    if (IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e') s[n++] = c;
  }
  if (n == 0) return 0;
  if (!(s[0] == '+' || s[0] == '-' || IsDigit(s[0]))) return 0;

  size_t i = 1;
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
  bool expDigits = false;
  if (exponent)
    for (size_t k = mantissaEnd + 1; k < n; ++k) expDigits |= IsDigit(s[k]);
  const bool negative = s[0] == '-';
  const size_t signs = s[0] == '+' || negative;
  Extended value;
  if (!expDigits && ShortDecimal(s + signs, s + mantissaEnd, value))
    return negative ? -value : value;
  std::string number(s + signs, mantissaEnd - signs);
  if (negative) number.insert(0, 1, '-');
  if (expDigits) number.append(s + mantissaEnd, n - mantissaEnd);
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
