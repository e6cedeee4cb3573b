#include "NumberText.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

void AppendNumberText(std::string& out, double value) {
  if (value == 0) value = 0;  // no "-0"
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
  const std::string copy(decimal);
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size() || copy.find_first_of("xXnN") !=
                                                                std::string::npos)
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
