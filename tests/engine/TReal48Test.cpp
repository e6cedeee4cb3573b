#include <gtest/gtest.h>

#include <cmath>

#include "TReal48.h"

namespace {

using Bytes = std::array<uint8_t, 6>;

Bytes Of(double x) {
  TReal48 r;
  EXPECT_TRUE(TReal48::FromDouble(x, r)) << x;
  return r.Bytes();
}

TEST(TReal48, BitPatternsWorkedByHand) {
  EXPECT_EQ(Of(1.0), (Bytes{0x81, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Of(-1.0), (Bytes{0x81, 0, 0, 0, 0, 0x80}));
  EXPECT_EQ(Of(0.5), (Bytes{0x80, 0, 0, 0, 0, 0}));
  // 10 = 1.01b * 2^3: exponent 132, fraction bit 37 (bit 5 of byte 5).
  EXPECT_EQ(Of(10.0), (Bytes{0x84, 0, 0, 0, 0, 0x20}));
  // 0.1 = 1.1001 1001 ... * 2^-4; the 39 fraction bits end in ...1001 1001 101
  // once rounded (the bit after them is 1 followed by more ones: up).
  EXPECT_EQ(Of(0.1), (Bytes{0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}));
  EXPECT_EQ(Of(0.0), (Bytes{0, 0, 0, 0, 0, 0}));
  for (double x : {1.0, -1.0, 10.0, 0.1, 123456.789, -2.5e-30, 6.55957})
    EXPECT_EQ(TReal48::FromBytes(Of(x)).Bytes(), Of(x)) << x;
}

TEST(TReal48, RoundsToFortyBitsTiesToEven) {
  TReal48 r;
  // 1 + 2^-40 lies halfway between 1 and 1 + 2^-39: ties go to the even one, 1.
  ASSERT_TRUE(TReal48::FromDouble(1.0 + std::ldexp(1.0, -40), r));
  EXPECT_EQ(r.Value(), 1.0);
  ASSERT_TRUE(TReal48::FromDouble(1.0 + 3 * std::ldexp(1.0, -40), r));
  EXPECT_EQ(r.Value(), 1.0 + std::ldexp(1.0, -38));
  // A third keeps twelve digits, not sixteen.
  ASSERT_TRUE(TReal48::FromDouble(1.0 / 3.0, r));
  EXPECT_NE(r.Value(), 1.0 / 3.0);
  EXPECT_NEAR(r.Value(), 1.0 / 3.0, 1e-12);
}

TEST(TReal48, RangeEndsFlushAndOverflow) {
  EXPECT_EQ(Of(TReal48::Largest()), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
  EXPECT_EQ(Of(TReal48::Smallest()), (Bytes{0x01, 0, 0, 0, 0, 0}));
  EXPECT_NEAR(TReal48::Largest(), 1.7014118346e38, 1e28);
  EXPECT_NEAR(TReal48::Smallest(), 2.9387358771e-39, 1e-49);

  TReal48 r;
  ASSERT_TRUE(TReal48::FromDouble(5.0, r));
  EXPECT_TRUE(TReal48::FromDouble(TReal48::Smallest() / 2, r));
  EXPECT_EQ(r.Value(), 0.0);  // flushed to zero
  // Just under the smallest magnitude rounds up to it rather than to 0.
  ASSERT_TRUE(TReal48::FromDouble(TReal48::Smallest() * (1 - std::ldexp(1.0, -45)), r));
  EXPECT_EQ(r.Value(), TReal48::Smallest());

  ASSERT_TRUE(TReal48::FromDouble(5.0, r));
  EXPECT_FALSE(TReal48::FromDouble(TReal48::Largest() * 1.0001, r));
  EXPECT_FALSE(TReal48::FromDouble(-1e39, r));
  EXPECT_FALSE(TReal48::FromDouble(INFINITY, r));
  EXPECT_FALSE(TReal48::FromDouble(NAN, r));
  EXPECT_EQ(r.Value(), 5.0);  // a refused value changes nothing
}

}  // namespace
