#include <gtest/gtest.h>

#include "AnsiCodec.h"

TEST(AnsiCodecTest, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = FromAnsi(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(ToAnsi(text), all);
}

TEST(AnsiCodecTest, MapsByTheWindows1252Table) {
  EXPECT_EQ(FromAnsi(std::string("\x80\x8A\x9C\x9F")), QString::fromUtf8("€ŠœŸ"));
  EXPECT_EQ(FromAnsi(std::string("\xE9t\xE9 \xE0 No\xEBl")), QString::fromUtf8("été à Noël"));
  // The unassigned bytes keep their value as code points.
  for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(AnsiToChar(b).unicode(), b);
    EXPECT_EQ(static_cast<unsigned char>(CharToAnsi(QChar(b))), b);
  }
  EXPECT_EQ(ToAnsi(QString::fromUtf8("€ «ça» Œuvre")), std::string("\x80 \xAB\xE7"
                                                                   "a\xBB \x8Cuvre"));
  // Bytes with NUL inside are kept whole.
  EXPECT_EQ(ToAnsi(FromAnsi(std::string("a\0b", 3))), std::string("a\0b", 3));
}

TEST(AnsiCodecTest, UnmappableCharactersBecomeOneQuestionMarkEach) {
  // U+0080 has no byte: 0x80 is the euro sign.
  EXPECT_EQ(ToAnsi(QString(QChar(0x80))), "?");
  EXPECT_EQ(ToAnsi(QString::fromUtf8("ĉ日本")), "???");
  EXPECT_EQ(ToAnsi(QString::fromUtf8("a😀b")), "a?b");                  // outside the basic plane
  EXPECT_EQ(ToAnsi(QString(QChar(0xD800)) + QLatin1Char('x')), "?x");  // lone surrogate
  EXPECT_EQ(CharToAnsi(QChar(0x4E00)), '?');
}
