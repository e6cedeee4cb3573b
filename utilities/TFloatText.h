#pragma once
// TFloatText: numbers as the calculator and the euro converter read and show them,
// with the decimal comma, whatever the machine's locale.
//
// Read() takes what a user can type or a result can show: blanks around, an
// optional sign, digits with at most one decimal comma (at least one digit in
// all), and an optional exponent "E" or "e" with an optional sign and digits.
// Anything else, the empty text included, is refused and leaves `value` as it
// was; so is a number beyond the range of a double.
//
// Write() is the general format: up to `digits` significant digits, no trailing
// zeros, fixed notation while the decimal exponent lies between -5 and
// digits - 1 and scientific notation otherwise, written "1,5E-5" or "1E20".
// Results of the 6-byte real format are shown with kRealDigits digits: the
// format holds about twelve, and the twelfth is already its rounding noise
// (1,5 + 0,55 shows 2,05, not 2,04999999999927).

#include <QString>

class TFloatText {
 public:
  static constexpr int kRealDigits = 11;

  static bool Read(const QString& text, double& value);
  static QString Write(double value, int digits = 15);
};
