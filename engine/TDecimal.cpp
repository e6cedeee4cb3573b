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
  // One pass over the characters TextToFloat keeps ("," read as "."), in the
  // shape it takes: [sign] digits [. digits] [E [sign] digits]. The value is
  // m * 10^power, m holding the significant digits.
  enum { kStart, kWhole, kFraction, kExponentStart, kExponent } state = kStart;
  bool blank = true, negative = false, digits = false, inexact = false, expNegative = false;
  unsigned __int128 m = 0;
  int significant = 0;
  long power = 0, exponent = 0;
  for (char c : text) {
    blank = blank && c == ' ';
    if (c == ',') c = '.';
    const bool digit = IsDigit(c);
    const bool letter = c == 'E' || c == 'e';
    if (!digit && !letter && c != '+' && c != '-' && c != '.') continue;
    switch (state) {
      case kStart:
        if (!digit && c != '+' && c != '-') return TNumberKind::NotANumber;
        negative = c == '-';
        state = kWhole;
        if (!digit) continue;
        break;
      case kWhole:
        if (c == '.') state = kFraction;
        if (letter) state = kExponentStart;
        if (c == '+' || c == '-') return TNumberKind::NotANumber;
        if (!digit) continue;
        break;
      case kFraction:
        if (letter) state = kExponentStart;
        if (c == '.' || c == '+' || c == '-') return TNumberKind::NotANumber;
        if (!digit) continue;
        break;
      case kExponentStart:
        if (!digit && c != '+' && c != '-') return TNumberKind::NotANumber;
        expNegative = c == '-';
        state = kExponent;
        if (digit) exponent = c - '0';
        continue;
      case kExponent:
        if (!digit) return TNumberKind::NotANumber;
        exponent = std::min(exponent * 10 + (c - '0'), 1000000L);
        continue;
    }
    // A digit of the mantissa.
    digits = true;
    if (state == kFraction) --power;
    if (m == 0 && c == '0') continue;
    if (significant < 36) {
      m = m * 10 + static_cast<unsigned>(c - '0');
      ++significant;
    } else {
      inexact = true;
    }
  }
  if (blank) return TNumberKind::Blank;
  if (state == kStart || state == kExponentStart || !digits) return TNumberKind::NotANumber;
  if (m == 0) return TNumberKind::Number;
  power += expNegative ? -exponent : exponent;
  // Trailing zeros of m may take the place of decimals the count lacks.
  while (power + kScale < 0 && m % 10 == 0) {
    m /= 10;
    --significant;
    ++power;
  }
  if (!inexact && power + kScale >= 0 && significant + power + kScale <= kMaxUnitDigits) {
    const __int128 units = static_cast<__int128>(m * Pow10(static_cast<int>(power + kScale)));
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
  // Through 64 bits when the count fits them: one instruction instead of a call.
  const bool small = units_ >= INT64_MIN && units_ <= INT64_MAX;
  const long double units = small ? static_cast<long double>(static_cast<int64_t>(units_))
                                  : static_cast<long double>(units_);
  return units / 1e9L + rest_;
}

int TDecimal::Compare(const TDecimal& o) const {
  if (Exact() && o.Exact()) return units_ < o.units_ ? -1 : units_ > o.units_ ? 1 : 0;
  const long double a = Ordered(Value()), b = Ordered(o.Value());
  return a < b ? -1 : a > b ? 1 : 0;
}

long double TDecimal::Ordered(long double x) {
  return std::isnan(x) ? -HUGE_VALL : x;
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

std::string TDecimal::LongDoubleText(long double x, int decimals, char group, int significant) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  decimals = std::max(decimals, 0);
  significant = std::clamp(significant, 1, 18);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*Le", significant - 1, std::fabs(x));
  // buf: d.ddd...e+XX; sig[k] stands for 10^(e - k).
  std::string sig(buf, std::strchr(buf, 'e'));
  if (sig.size() > 1) sig.erase(1, 1);  // the point
  const int e = std::atoi(std::strchr(buf, 'e') + 1);
  auto digit = [&](long k) {
    return k >= 0 && k < static_cast<long>(sig.size()) ? sig[static_cast<size_t>(k)] : '0';
  };
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
