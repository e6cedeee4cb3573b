#include "NumberText.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>

void AppendNumberText(std::string& out, double value) {
  if (value == 0) value = 0;  // no "-0"
  // The shortest digits that give the value back: when there are at most 15
  // of them they are what "%.15g" prints, laid out by its rules (exponent
  // form below 1e-4 and from 1e15), without printf's slow exact arithmetic.
  char sci[40];
  const auto r = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific);
  if (r.ec == std::errc() && r.ptr < sci + sizeof sci) {
    *r.ptr = '\0';
    const char* p = sci;
    const bool negative = *p == '-';
    if (negative) ++p;
    std::string digits;
    while (p < r.ptr && *p != 'e') {
      if (*p != '.') digits.push_back(*p);
      ++p;
    }
    const int exponent = p < r.ptr ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits.size() <= 15 && exponent >= -4 && exponent < 15) {
      if (negative) out.push_back('-');
      const int whole = exponent + 1;  // digits before the comma
      if (whole <= 0) {
        out += "0,";
        out.append(static_cast<size_t>(-whole), '0');
        out += digits;
      } else if (static_cast<size_t>(whole) >= digits.size()) {
        out += digits;
        out.append(static_cast<size_t>(whole) - digits.size(), '0');
      } else {
        out.append(digits, 0, static_cast<size_t>(whole));
        out.push_back(',');
        out.append(digits, static_cast<size_t>(whole), std::string::npos);
      }
      return;
    }
  }
  char buf[40];
  const int n = std::snprintf(buf, sizeof buf, "%.15g", value);
  for (int i = 0; i < n; ++i) out.push_back(buf[i] == '.' ? ',' : buf[i]);
}

bool AppendDecimalAsNumberText(std::string& out, std::string_view decimal) {
  while (!decimal.empty() && decimal.front() == ' ') decimal.remove_prefix(1);
  while (!decimal.empty() && decimal.back() == ' ') decimal.remove_suffix(1);
  size_t i = 0;
  if (i < decimal.size() && (decimal[i] == '-' || decimal[i] == '+')) ++i;
  size_t digits = i;
  while (digits < decimal.size() && decimal[digits] >= '0' && decimal[digits] <= '9') ++digits;
  if (digits == decimal.size() && digits > i && digits - i <= 18) {
    // An integer: exact, without a "+" and without leading zeros.
    if (decimal[0] == '-') out.push_back('-');
    while (i + 1 < digits && decimal[i] == '0') ++i;
    if (decimal[0] == '-' && digits - i == 1 && decimal[i] == '0') out.pop_back();
    out.append(decimal.substr(i, digits - i));
    return true;
  }
  // A plain decimal of at most 15 significant digits that %g would not put
  // in exponent form: the same text with a comma, without trailing zeros.
  {
    size_t j = i, whole = 0, lead = 0, frac = 0;
    while (j < decimal.size() && decimal[j] == '0') ++j;
    const size_t wholeStart = j;
    while (j < decimal.size() && decimal[j] >= '0' && decimal[j] <= '9') ++j, ++whole;
    const size_t wholeEnd = j;
    size_t fracStart = j, fracEnd = j;
    bool plain = j < decimal.size() && decimal[j] == '.';
    if (plain) {
      fracStart = ++j;
      while (j < decimal.size() && decimal[j] >= '0' && decimal[j] <= '9') ++j;
      fracEnd = j;
      plain = j == decimal.size() && (fracEnd > fracStart || wholeEnd > i);
      while (fracEnd > fracStart && decimal[fracEnd - 1] == '0') --fracEnd;
      if (whole == 0)
        while (fracStart + lead < fracEnd && decimal[fracStart + lead] == '0') ++lead;
      frac = fracEnd - fracStart;
    }
    const bool zero = whole == 0 && frac == 0;
    if (plain && whole + frac - lead <= 15 && (whole > 0 || lead <= 3 || zero)) {
      if (decimal[0] == '-' && !zero) out.push_back('-');
      if (whole == 0)
        out.push_back('0');
      else
        out.append(decimal.substr(wholeStart, whole));
      if (frac > 0) {
        out.push_back(',');
        out.append(decimal.substr(fracStart, frac));
      }
      return true;
    }
  }
  const std::string copy(decimal);
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size() ||
      copy.find_first_of("xXnN") != std::string::npos)
    return false;
  AppendNumberText(out, v);
  return true;
}

bool ParseTableNumber(std::string_view text, double& value, std::string* decimal) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  std::string c;
  c.reserve(text.size());
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) c.push_back(text[i++]);
  size_t whole = 0, fraction = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') c.push_back(text[i++]), ++whole;
  if (i < text.size() && (text[i] == ',' || text[i] == '.')) {
    c.push_back('.');
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') c.push_back(text[i++]), ++fraction;
  }
  if (whole + fraction == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    c.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) c.push_back(text[i++]);
    size_t exponent = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') c.push_back(text[i++]), ++exponent;
    if (exponent == 0) return false;
  }
  if (i != text.size()) return false;
  value = std::strtod(c.c_str(), nullptr);
  if (decimal) *decimal = std::move(c);
  return true;
}
