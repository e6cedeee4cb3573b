#include <gtest/gtest.h>

#include "ConvertOemText.h"

namespace {

TEST(ConvertOemTextTest, TrimsDeletesLineEndsAndConvertsLetters) {
  EXPECT_EQ(ConvertOemText("\x20\x82\r\nt\r\n"), "\xE9t");
  EXPECT_EQ(ConvertOemText(""), "");
  EXPECT_EQ(ConvertOemText(std::string(" \t\0\x1F ", 5)), "");
  EXPECT_EQ(ConvertOemText(std::string("\0a b\x01", 5)), "a b");
  EXPECT_EQ(ConvertOemText("\xA0x\xA0"), "\xA0x\xA0");  // not a blank here
}

TEST(ConvertOemTextTest, LineEndPairsGoLoneOnesStay) {
  EXPECT_EQ(ConvertOemText("a\r\nb\r\nc"), "abc");
  EXPECT_EQ(ConvertOemText("a\r\r\n\nb"), "ab");  // a pair left once the inner one goes
  EXPECT_EQ(ConvertOemText("a\rb\nc\n\rd"), "a\rb\nc\n\rd");
}

TEST(ConvertOemTextTest, OnlyTheEightLettersChange) {
  EXPECT_EQ(ConvertOemText("\x82\x8A\x93\x89\x88\x87\x83\x8C"), "\xE9\xE8\xF4\xEB\xEA\xE7\xE2\xEE");
  std::string others;
  for (int c = 33; c < 256; ++c)
    if (std::string("\x82\x8A\x93\x89\x88\x87\x83\x8C").find(static_cast<char>(c)) ==
        std::string::npos)
      others += static_cast<char>(c);
  EXPECT_EQ(ConvertOemText(others), others);
}

}  // namespace
