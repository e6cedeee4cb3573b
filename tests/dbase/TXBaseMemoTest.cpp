// Memo texts: dBase III blocks ended by end-of-text marks, dBase IV blocks with
// their length, soft line breaks, and block numbers that point nowhere.

#include <gtest/gtest.h>

#include "DbfBytes.h"
#include "TXBase.h"

using dbftest::DbfLayout;
using dbftest::DbtLayout;

namespace {

class TXBaseMemoTest : public dbftest::TempDirTest {
 protected:
  // A table whose record n holds blocks[n - 1] (decimal text) in its memo.
  void Open(unsigned char version, const std::vector<std::string>& blocks, const DbtLayout& memo) {
    DbfLayout s;
    s.version = version;
    s.fields = {{"ID", 'N', 3}, {"NOTE", 'M', 10}};
    for (size_t i = 0; i < blocks.size(); ++i)
      s.rows.push_back({{std::to_string(i + 1), blocks[i]}});
    xb_.SetActive(false);
    xb_.SetFilename(Write("m.dbf", s.Bytes()));
    Write("m.dbt", memo.Bytes());
    xb_.SetActive(true);
    ASSERT_TRUE(xb_.Active());
  }
  // The memo of record recNo, or "error" when it cannot be read.
  std::string Memo(int64_t recNo) {
    xb_.First();
    while (xb_.Recno() < recNo) xb_.Next();
    std::string text;
    const TStatus read = xb_.GetField(2, text);
    if (read) return text;
    EXPECT_EQ(read.Cause(), TFailure::DbfMemoUnreadable);
    EXPECT_EQ(text, "");
    return "error";
  }
  TXBase xb_;
};

TEST_F(TXBaseMemoTest, DBaseIIITextsEndAtTheMarks) {
  DbtLayout m;
  std::string first(512, 'a');
  first[100] = '\x1A';  // a lone mark is text
  m.Put(1, first + DbtLayout::IIIText("suite"));
  m.Put(3, DbtLayout::IIIText("ligne 1\x8Dligne 2") + "junk");
  m.Put(4, std::string(511, 'b') + "\x1A\x1A" + "next memo\x1A\x1A");  // marks split
  m.Put(6, "no end mark");
  Open(131, {"         1", "3", "          ", "4", "  6", "0", "junk"}, m);
  EXPECT_EQ(Memo(1), first + "suite");
  EXPECT_EQ(Memo(2), "ligne 1\rligne 2");
  EXPECT_EQ(Memo(3), "");
  EXPECT_EQ(Memo(4), std::string(511, 'b'));
  EXPECT_EQ(Memo(5), "no end mark");
  EXPECT_EQ(Memo(6), "");
  EXPECT_EQ(Memo(7), "");
}

TEST_F(TXBaseMemoTest, BlocksBeyondTheFileAreRefused) {
  DbtLayout m;
  m.Put(1, DbtLayout::IIIText("un"));
  Open(131, {"1", "2", "999999", "4294967296", "2147483647"}, m);
  EXPECT_EQ(Memo(1), "un");
  for (int r = 2; r <= 5; ++r) EXPECT_EQ(Memo(r), "error") << r;

  DbfLayout noMemo;  // version 3: no memo file is opened
  noMemo.fields = {{"NOTE", 'M', 10}};
  noMemo.rows = {{{"1"}}, {{""}}};
  xb_.SetActive(false);
  xb_.SetFilename(Write("plain.dbf", noMemo.Bytes()));
  xb_.SetActive(true);
  std::string text;
  EXPECT_EQ(xb_.GetField(1, text).Cause(), TFailure::DbfMemoUnreadable);
  xb_.Next();
  EXPECT_EQ(dbftest::FieldText(xb_, 1), "");
}

TEST_F(TXBaseMemoTest, DBaseIVBlocksCarryTheirLength) {
  std::string court = DbtLayout::IVText("court");
  EXPECT_EQ(court, std::string("\xFF\xFF\x08\x00\x0D\x00\x00\x00"
                               "court",
                               13));

  DbtLayout m;
  m.dBaseIV = true;
  m.Put(1, court + "\x1A\x1A");
  std::string longText(600, 'x');
  longText[10] = '\x1A';
  longText[11] = '\x1A';  // marks inside a counted text are text
  longText[599] = '\x8D';
  m.Put(2, DbtLayout::IVText(longText));
  m.Put(4, DbtLayout::IIIText("sans marqueur"));
  for (unsigned char version : {132, 139}) {
    Open(version, {"1", "2", "4"}, m);
    EXPECT_EQ(Memo(1), "court");
    std::string expected = longText;
    expected[599] = '\r';
    EXPECT_EQ(Memo(2), expected);
    EXPECT_EQ(Memo(3), "sans marqueur");
  }
}

TEST_F(TXBaseMemoTest, DBaseIVBlockSizeComesFromTheMemoHeader) {
  DbtLayout m;
  m.dBaseIV = true;
  m.blockSize = 64;
  m.Put(1, DbtLayout::IVText(std::string(100, 'y')));  // runs on into block 2
  m.Put(3, DbtLayout::IVText("trois"));
  Open(139, {"1", "3"}, m);
  EXPECT_EQ(Memo(1), std::string(100, 'y'));
  EXPECT_EQ(Memo(2), "trois");
}

TEST_F(TXBaseMemoTest, DBaseIVLengthBeyondTheFileIsRefused) {
  DbtLayout m;
  m.dBaseIV = true;
  std::string block = DbtLayout::IVText("abc");
  dbftest::PutLe(block, 4, 100000, 4);
  m.Put(1, block);
  std::string tooShort = DbtLayout::IVText("abc");
  dbftest::PutLe(tooShort, 4, 7, 4);
  m.Put(2, tooShort);
  Open(139, {"1", "2"}, m);
  EXPECT_EQ(Memo(1), "error");
  EXPECT_EQ(Memo(2), "error");
}

}  // namespace
