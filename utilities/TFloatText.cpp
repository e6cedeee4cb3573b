#include "TFloatText.h"

#include <charconv>
#include <string>

namespace {

bool IsDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Appends the digits at text[i...] to out; returns how many there were.
int TakeDigits(const QString& text, int& i, std::string& out) {
  int count = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++count)
    out += static_cast<char>(text[i].unicode());
  return count;
}

}  // namespace

bool TFloatText::Read(const QString& input, double& value) {
  const QString text = input.trimmed();
  std::string plain;  // the number as std::from_chars reads it
  int i = 0;
  if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    if (text[i] == QLatin1Char('-')) plain += '-';
    ++i;
  }
  int digits = TakeDigits(text, i, plain);
  if (i < text.size() && text[i] == QLatin1Char(',')) {
    plain += '.';
    ++i;
    digits += TakeDigits(text, i, plain);
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
      if (text[i] == QLatin1Char('-')) plain += '-';
      ++i;
    }
    if (TakeDigits(text, i, plain) == 0) return false;
  }
  if (i != text.size()) return false;
  double x = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), x);
  if (error != std::errc() || end != plain.data() + plain.size()) return false;
  value = x;
  return true;
}

QString TFloatText::Write(double value, int digits) {
  if (value == 0) value = 0;  // no "-0"
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  // "1.5e-05" becomes "1,5E-5", "1e+20" becomes "1E20".
  QString text;
  for (const char* p = buffer; p < result.ptr; ++p) {
    if (*p == '.') {
      text += QLatin1Char(',');
    } else if (*p == 'e') {
      text += QLatin1Char('E');
      ++p;
      if (*p == '-') text += QLatin1Char('-');
      ++p;
      while (p + 1 < result.ptr && *p == '0') ++p;
      text += QLatin1String(p, result.ptr - p);
      break;
    } else {
      text += QLatin1Char(*p);
    }
  }
  return text;
}
