// The euro converter's rules: what the two displays and the rate box show.

#include <gtest/gtest.h>

#include "PrintQString.h"
#include "TEuroConverter.h"

namespace {

QString Convert(TEuroConverter& c, const char* typed) {
  for (const char* k = typed; *k; ++k) c.Type(QLatin1Char(*k));
  c.Convert();
  return c.Result();
}

TEST(TEuroConverter, ConvertsToTheCentAndToTheTenthOfAFranc) {
  TEuroConverter c;
  EXPECT_EQ(Convert(c, "100"), "15,24");
  EXPECT_EQ(Convert(c, "6,55957"), "1");
  c.SetDirection(TEuroConverter::EurosToFrancs);
  EXPECT_EQ(Convert(c, "1"), "6,6");
  EXPECT_EQ(Convert(c, "1.5"), "9,8");
  EXPECT_EQ(c.Input(), "1,5");
}

// Beyond the eleventh significant digit the 6-byte format shows only its
// rounding: results keep eleven digits, as the calculator's do.
TEST(TEuroConverter, ResultsShowElevenSignificantDigits) {
  TEuroConverter c;
  EXPECT_EQ(Convert(c, "99999999999"), "15244901724");
  EXPECT_EQ(Convert(c, "1234567,8"), "188208,65");
}

TEST(TEuroConverter, TypingAfterAResultStartsANewAmount) {
  TEuroConverter c;
  Convert(c, "100");
  c.Type(QLatin1Char('5'));
  EXPECT_EQ(c.Input(), "5");
  EXPECT_EQ(c.Result(), "");
  // Shown again after the window was left: the result stays until the next key.
  EXPECT_EQ(Convert(c, "0"), "7,62");
  c.Activate();
  EXPECT_EQ(c.Result(), "7,62");
  c.Type(QLatin1Char('7'));
  EXPECT_EQ(c.Input(), "507");
}

TEST(TEuroConverter, AnAmountThatIsNoNumberEmptiesBothDisplays) {
  TEuroConverter c;
  EXPECT_EQ(Convert(c, ""), "");
  EXPECT_EQ(Convert(c, "1,,2"), "");
  EXPECT_EQ(c.Input(), "");
  // Far beyond the format's range.
  std::string huge(60, '9');
  EXPECT_EQ(Convert(c, huge.c_str()), "");
  EXPECT_EQ(c.Input(), "");
}

TEST(TEuroConverter, RateStepsByOneHundredThousandthAndStaysAtLeastOne) {
  TEuroConverter c;
  EXPECT_EQ(c.RateText(), "6,55957");
  c.RateUp();
  EXPECT_EQ(c.RateText(), "6,55958");
  EXPECT_EQ(Convert(c, "655958"), "100000");
  while (c.Rate() > 1) c.RateDown();
  c.RateDown();
  EXPECT_EQ(c.Rate(), 1);
  EXPECT_EQ(c.RateText(), "1E-5");
}

}  // namespace
