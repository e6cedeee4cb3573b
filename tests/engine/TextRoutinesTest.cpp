#include <gtest/gtest.h>

#include <clocale>

#include "TextRoutines.h"

namespace {

TEST(TextToFloat, LenientReading) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"12,5", 12.5},   {"12.5", 12.5}, {"1 234,50 \x80", 1234.5},
      {"-3e2", -300},   {"+7", 7},      {"1.234,56", 0},
      {"12-5", 0},      {",5", 0},      {"E5", 0},
      {"abc", 0},       {"", 0},        {"-,5", -0.5},
      {"2,5E-1", 0.25}, {"1e", 0},      {"1e+", 1},
      {"+", 0},         {"-.", 0},      {"1e5x", 100000},
      {"12 %", 12},     {"1e2.5", 0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(static_cast<double>(TextToFloat(c.text)), c.value) << c.text;
}

TEST(TextToFloat, IgnoresTheProcessLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  // A locale whose decimal mark is the comma (scripts/install-deps.sh makes
  // fr_FR.UTF-8).
  if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
    GTEST_SKIP() << "no fr_FR.UTF-8 or de_DE.UTF-8 locale on this machine";
  EXPECT_DOUBLE_EQ(static_cast<double>(TextToFloat("12.5")), 12.5);
  EXPECT_DOUBLE_EQ(static_cast<double>(TextToFloat("12,5")), 12.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(TextRoutines, TrimBlanksAndDoubleQuotes) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("\ta "), "\ta");  // only spaces
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(DoubleQuotes("dit \"oui\""), "dit \"\"oui\"\"");
}

}  // namespace
