#include "SheetDates.h"

#include <cmath>
#include <cstdio>

namespace {

// Days from 1970-01-01 of a civil date, and back (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

bool Digits(std::string_view s, size_t at, size_t n, unsigned& v) {
  if (at + n > s.size()) return false;
  v = 0;
  for (size_t i = at; i < at + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + static_cast<unsigned>(s[i] - '0');
  }
  return true;
}

}  // namespace

void AppendDate(std::string& out, long long days) {
  long long y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u/%02u/%04lld", d, m, y);
  out += buf;
}

void AppendTime(std::string& out, long long seconds) {
  seconds %= 86400;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  out += buf;
}

bool AppendSerialDate(std::string& out, double serial, bool system1904, bool timeOnly) {
  if (!std::isfinite(serial) || serial < 0 || serial > 2958466) return false;
  const double whole = std::floor(serial);
  if (timeOnly || (serial < 1 && !system1904)) {
    AppendTime(out, std::llround((serial - whole) * 86400));
    return true;
  }
  long long day = static_cast<long long>(whole);
  // The 1900 system counts a 29 February 1900 that never was: serial 60.
  if (!system1904 && day < 61) ++day;
  const long long base = system1904 ? DaysFromCivil(1904, 1, 1) : DaysFromCivil(1899, 12, 30);
  AppendDate(out, base + day);
  return true;
}

bool AppendIsoDate(std::string& out, std::string_view iso) {
  unsigned y, m, d;
  if (!Digits(iso, 0, 4, y) || iso.size() < 10 || iso[4] != '-' || !Digits(iso, 5, 2, m) ||
      iso[7] != '-' || !Digits(iso, 8, 2, d) || m < 1 || m > 12 || d < 1 || d > 31)
    return false;
  AppendDate(out, DaysFromCivil(y, m, d));
  return true;
}

bool AppendIsoTime(std::string& out, std::string_view iso) {
  // PnDTnHnMn.nS, the days folded into the hours.
  if (iso.size() < 2 || iso[0] != 'P') return false;
  double total = 0, number = 0, scale = 0;
  bool inTime = false, any = false;
  for (size_t i = 1; i < iso.size(); ++i) {
    const char c = iso[i];
    if (c >= '0' && c <= '9') {
      if (scale > 0) {
        number += (c - '0') * scale;
        scale /= 10;
      } else {
        number = number * 10 + (c - '0');
      }
      any = true;
    } else if (c == '.' || c == ',') {
      scale = 0.1;
    } else if (c == 'T') {
      inTime = true;
    } else {
      const double unit = c == 'D'             ? 86400
                          : c == 'H' && inTime ? 3600
                          : c == 'M' && inTime ? 60
                          : c == 'S' && inTime ? 1
                                               : -1;
      if (unit < 0) return false;
      total += number * unit;
      number = 0;
      scale = 0;
    }
  }
  if (!any) return false;
  AppendTime(out, std::llround(total));
  return true;
}
