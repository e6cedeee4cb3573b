#pragma once
// TReal48: a number in the 6-byte real format of the calculator, the euro
// converter and the totals of the calculate command: a sign bit, a 39-bit
// fraction under an implicit leading 1 (40 significant bits, about twelve decimal
// digits) and an exponent byte biased by 129.
//
// Byte layout, as Bytes() gives it: byte 0 the exponent E (0 for the value 0);
// bytes 1 to 5 the fraction, least significant byte first, 39 bits; the top bit of
// byte 5 the sign. The value is (-1)^sign * 1.fraction * 2^(E - 129), so the
// magnitudes run from 2^-128 (about 2.9e-39) to (2 - 2^-39) * 2^126 (about
// 1.7e38).
//
// Every value is held as the double it stands for, so arithmetic is done in
// double and each result is brought back with FromDouble: rounded to the nearest
// 40-bit significand (ties to even); a magnitude that rounds below the smallest
// one becomes 0; one above the largest, an infinity or a NaN is refused.

#include <array>
#include <cstdint>

class TReal48 {
 public:
  TReal48() = default;  // 0

  // False, leaving `out` as it was, when x does not fit the format (overflow,
  // infinity, NaN).
  static bool FromDouble(double x, TReal48& out);
  static TReal48 FromBytes(const std::array<uint8_t, 6>& bytes);

  double Value() const { return value_; }
  std::array<uint8_t, 6> Bytes() const;

  static double Largest();   // (2 - 2^-39) * 2^126
  static double Smallest();  // 2^-128

 private:
  double value_ = 0;
};
