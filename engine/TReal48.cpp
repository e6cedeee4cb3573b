#include "TReal48.h"

#include <cmath>

namespace {

constexpr int kBias = 129;
constexpr int kFractionBits = 39;
constexpr uint64_t kFractionMask = (uint64_t{1} << kFractionBits) - 1;

// x = significand * 2^(exponent - 129) with significand in [2^39, 2^40), as the
// format keeps it: exponent E and the 39 fraction bits below the implicit one.
void Split(double x, int& exponent, uint64_t& fraction) {
  int e = 0;
  const double m = std::frexp(std::fabs(x), &e);  // |x| = m * 2^e, m in [0.5, 1)
  exponent = e + kBias - 1;
  fraction = static_cast<uint64_t>(std::ldexp(m, kFractionBits + 1)) & kFractionMask;
}

}  // namespace

bool TReal48::FromDouble(double x, TReal48& out) {
  if (!std::isfinite(x)) return false;
  if (x == 0) {
    out.value_ = 0;
    return true;
  }
  int e = 0;
  const double m = std::frexp(x, &e);
  // 40 significant bits; nearbyint rounds ties to even in the default mode.
  const double rounded =
      std::ldexp(std::nearbyint(std::ldexp(m, kFractionBits + 1)), e - kFractionBits - 1);
  int exponent = 0;
  std::frexp(rounded, &exponent);
  exponent += kBias - 1;
  if (exponent > 255) return false;
  out.value_ = exponent < 1 ? 0.0 : rounded;
  return true;
}

TReal48 TReal48::FromBytes(const std::array<uint8_t, 6>& bytes) {
  TReal48 r;
  if (bytes[0] == 0) return r;
  uint64_t fraction = 0;
  for (int i = 5; i >= 1; --i) fraction = (fraction << 8) | bytes[i];
  const bool negative = (fraction >> kFractionBits) & 1;
  fraction &= kFractionMask;
  const double significand =
      static_cast<double>((uint64_t{1} << kFractionBits) | fraction);  // exact: 40 bits
  const double magnitude = std::ldexp(significand, bytes[0] - kBias - kFractionBits);
  r.value_ = negative ? -magnitude : magnitude;
  return r;
}

std::array<uint8_t, 6> TReal48::Bytes() const {
  std::array<uint8_t, 6> bytes{};
  if (value_ == 0) return bytes;
  int exponent = 0;
  uint64_t fraction = 0;
  Split(value_, exponent, fraction);
  if (std::signbit(value_)) fraction |= uint64_t{1} << kFractionBits;
  bytes[0] = static_cast<uint8_t>(exponent);
  for (int i = 1; i <= 5; ++i) {
    bytes[i] = static_cast<uint8_t>(fraction & 0xFF);
    fraction >>= 8;
  }
  return bytes;
}

double TReal48::Largest() {
  return std::ldexp(2.0 - std::ldexp(1.0, -kFractionBits), 255 - kBias);
}

double TReal48::Smallest() {
  return std::ldexp(1.0, 1 - kBias);
}
