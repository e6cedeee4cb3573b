#pragma once
// TDecimal: a number read from a value, or a sum of such numbers, held exactly
// where it can be: a signed 128-bit count of billionths (10^-9), and beside it
// a long double for whatever that count cannot hold.
//
// Why not the 6-byte real of the calculate command, or a double: a total of a
// million amounts such as 12 450,50 must come out right to the cent. The
// 6-byte real keeps about twelve significant digits, a double fifteen to
// sixteen, a long double about nineteen, and each rounds at every addition
// (0,10 has no exact binary form), so a long column drifts in the last digits
// shown. A count of billionths adds without any rounding: it holds a value of
// up to nine decimals below 10^19 exactly, and a sum of 2^31 of them (more
// records than a table has) stays below 2^127. A mean divides that exact count
// once, and the text is rounded from the exact quotient.
//
// A value that does not fit the count (more than nine decimals, an exponent
// that moves its digits beyond it, 10^19 or more) is added into the long double
// instead; a sum that holds such a part is as exact as a long double (about
// eighteen digits), and Exact() says so.
//
// Texts: "12 450,50" - decimal comma, the given grouping character between
// thousands (none when it is 0), a zero before the comma, a minus sign and no
// plus, rounded half away from zero. Infinite or undefined values (an
// exponent beyond the long double) give "inf", "-inf" or "nan".

#include <cstdint>
#include <string>
#include <string_view>

enum class TNumberKind {
  Blank,       // empty, or spaces only: no value at all
  NotANumber,  // something that TextToFloat cannot read (it gives 0 for it)
  Number,
};

class TDecimal {
 public:
  TDecimal() = default;  // 0

  // Reads `text` as TextToFloat does: "." and "," are the decimal mark,
  // characters other than digits, signs, marks and exponent letters are
  // ignored ("1 234,50 €" is 1234.5), and the rest must have the shape of a
  // number ("1.234,56", "12-5", "abc" are not; nor is a sign without digits).
  // For a Number, `out` is its value and TextToFloat gives the same value;
  // otherwise `out` is 0.
  static TNumberKind Read(std::string_view text, TDecimal& out);

  static TDecimal FromInteger(int64_t n);

  TDecimal& operator+=(const TDecimal& o) {
    units_ += o.units_;
    rest_ += o.rest_;
    return *this;
  }

  bool Exact() const { return rest_ == 0; }
  long double Value() const;
  // -1, 0 or 1; exact when both are exact. An undefined value (an infinite
  // sum of both signs) comes before all others, so that sorts stay sound.
  int Compare(const TDecimal& o) const;
  static long double Ordered(long double x);  // -infinity for NaN

  // The value with `decimals` (0 to 9) decimals.
  std::string Text(int decimals, char group) const;
  // The value divided by n (n > 0), rounded once from the exact quotient.
  std::string QuotientText(int64_t n, int decimals, char group) const;

  // A long double as text, rounded on its first `significant` digits (at
  // most eighteen, which give back the digits of any value read from at most
  // eighteen: 2,675 read into a long double shows as 2,68 with two decimals).
  static std::string LongDoubleText(long double x, int decimals, char group, int significant = 18);
  static std::string IntegerText(int64_t n, char group);

 private:
  __int128 units_ = 0;  // billionths
  long double rest_ = 0;
};
