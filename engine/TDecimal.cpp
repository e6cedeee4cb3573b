#include "TDecimal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "TextRoutines.h"

namespace {

// Units below 10^28 (values below 10^19): 2^31 of them add up below 2^127.
constexpr int kMaxUnitDigits = 28;
constexpr int kScale = 9;  // the units are billionths

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

unsigned __int128 Pow10(int n) {
  unsigned __int128 p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

// The whole part's digits with `group` between thousands.
std::string Grouped(const std::string& whole, char group) {
  if (group == 0 || whole.size() <= 3) return whole;
  std::string out;
  out.reserve(whole.size() + whole.size() / 3);
  const size_t lead = whole.size() % 3;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i != 0 && i >= lead && (i - lead) % 3 == 0) out.push_back(group);
    out.push_back(whole[i]);
  }
  return out;
}

// "-1 234,50" from the digits of the value times 10^decimals.
std::string Compose(bool negative, std::string digits, int decimals, char group) {
  if (digits.size() < static_cast<size_t>(decimals) + 1)
    digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  std::string out = negative && !zero ? "-" : "";
  out += Grouped(whole, group);
  if (decimals > 0) out += "," + digits.substr(digits.size() - static_cast<size_t>(decimals));
  return out;
}

std::string Digits(unsigned __int128 q) {
  std::string s;
  do {
    s.push_back(static_cast<char>('0' + static_cast<int>(q % 10)));
    q /= 10;
  } while (q != 0);
  std::reverse(s.begin(), s.end());
  return s;
}

// |units| / divisor rounded half away from zero, as text with `decimals`.
std::string RoundedText(__int128 units, unsigned __int128 divisor, int decimals, char group) {
  const bool negative = units < 0;
  const unsigned __int128 magnitude = negative ? static_cast<unsigned __int128>(-(units + 1)) + 1
                                               : static_cast<unsigned __int128>(units);
  unsigned __int128 q = magnitude / divisor;
  const unsigned __int128 r = magnitude % divisor;
  if (r >= divisor - r) ++q;
  return Compose(negative, Digits(q), decimals, group);
}

}  // namespace

TNumberKind TDecimal::Read(std::string_view text, TDecimal& out) {
  out = TDecimal();
  // The characters TextToFloat keeps, "," read as ".".
  char small[64];
  std::string large;
  char* s = small;
  if (text.size() > sizeof small) {
    large.resize(text.size());
    s = &large[0];
  }
  size_t n = 0;
  bool blank = true;
  for (char c : text) {
    blank = blank && c == ' ';
    if (c == ',') c = '.';
    if (IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e') s[n++] = c;
  }
  if (blank) return TNumberKind::Blank;
  if (n == 0 || !(s[0] == '+' || s[0] == '-' || IsDigit(s[0]))) return TNumberKind::NotANumber;

  // The shape: [sign] digits [. digits] [E [sign] digits], as TextToFloat takes it.
  const bool negative = s[0] == '-';
  size_t i = IsDigit(s[0]) ? 0 : 1;
  const size_t intBegin = i;
  while (i < n && IsDigit(s[i])) ++i;
  const size_t intEnd = i;
  size_t fracBegin = i, fracEnd = i;
  if (i < n && s[i] == '.') {
    fracBegin = ++i;
    while (i < n && IsDigit(s[i])) ++i;
    fracEnd = i;
  }
  long exponent = 0;
  if (i < n) {
    if (s[i] != 'E' && s[i] != 'e') return TNumberKind::NotANumber;
    ++i;
    if (i >= n || !(s[i] == '+' || s[i] == '-' || IsDigit(s[i]))) return TNumberKind::NotANumber;
    const bool expNegative = s[i] == '-';
    if (!IsDigit(s[i])) ++i;
    for (; i < n; ++i) {
      if (!IsDigit(s[i])) return TNumberKind::NotANumber;
      exponent = std::min(exponent * 10 + (s[i] - '0'), 1000000L);
    }
    if (expNegative) exponent = -exponent;
  }
  if (intEnd == intBegin && fracEnd == fracBegin) return TNumberKind::NotANumber;

  // The value is digits * 10^power; leading zeros dropped, trailing zeros
  // moved into the power.
  std::string digits(s + intBegin, intEnd - intBegin);
  digits.append(s + fracBegin, fracEnd - fracBegin);
  long power = exponent - static_cast<long>(fracEnd - fracBegin);
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++power;
  }
  const long unitDigits = static_cast<long>(digits.size()) + power + kScale;
  if (digits.empty()) return TNumberKind::Number;  // 0
  if (power + kScale >= 0 && unitDigits <= kMaxUnitDigits) {
    __int128 units = 0;
    for (const char c : digits) units = units * 10 + (c - '0');
    for (long k = 0; k < power + kScale; ++k) units *= 10;
    out.units_ = negative ? -units : units;
  } else {
    out.rest_ = TextToFloat(text);
  }
  return TNumberKind::Number;
}

TDecimal TDecimal::FromInteger(int64_t n) {
  TDecimal d;
  d.units_ = static_cast<__int128>(n) * static_cast<__int128>(Pow10(kScale));
  return d;
}

long double TDecimal::Value() const {
  return static_cast<long double>(units_) / 1e9L + rest_;
}

int TDecimal::Compare(const TDecimal& o) const {
  if (Exact() && o.Exact()) return units_ < o.units_ ? -1 : units_ > o.units_ ? 1 : 0;
  const long double a = Value(), b = o.Value();
  return a < b ? -1 : a > b ? 1 : 0;
}

std::string TDecimal::Text(int decimals, char group) const {
  decimals = std::clamp(decimals, 0, kScale);
  if (!Exact()) return LongDoubleText(Value(), decimals, group);
  return RoundedText(units_, Pow10(kScale - decimals), decimals, group);
}

std::string TDecimal::QuotientText(int64_t n, int decimals, char group) const {
  decimals = std::clamp(decimals, 0, kScale);
  if (n <= 0) return std::string();
  if (!Exact()) return LongDoubleText(Value() / static_cast<long double>(n), decimals, group);
  return RoundedText(units_, Pow10(kScale - decimals) * static_cast<unsigned __int128>(n), decimals,
                     group);
}

std::string TDecimal::LongDoubleText(long double x, int decimals, char group) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  decimals = std::max(decimals, 0);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(x));
  // buf: d.ddddddddddddddddde+XX; sig[k] stands for 10^(e - k).
  const std::string sig = std::string(1, buf[0]) + std::string(buf + 2, 17);
  const int e = std::atoi(std::strchr(buf, 'e') + 1);
  auto digit = [&](long k) { return k >= 0 && k < 18 ? sig[static_cast<size_t>(k)] : '0'; };
  std::string fixed;
  for (long p = std::max(e, 0); p >= -decimals; --p) fixed.push_back(digit(e - p));
  if (digit(static_cast<long>(e) + decimals + 1) >= '5') {
    size_t i = fixed.size();
    while (i > 0 && fixed[i - 1] == '9') fixed[--i] = '0';
    if (i > 0)
      ++fixed[i - 1];
    else
      fixed.insert(fixed.begin(), '1');
  }
  return Compose(x < 0, fixed, decimals, group);
}

std::string TDecimal::IntegerText(int64_t n, char group) {
  const std::string digits =
      std::to_string(n < 0 ? -static_cast<uint64_t>(n) : static_cast<uint64_t>(n));
  return (n < 0 ? "-" : "") + Grouped(digits, group);
}
