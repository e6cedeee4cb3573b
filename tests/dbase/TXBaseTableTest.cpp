// Reading tables: header and descriptors, field texts, moving between records,
// the deleted mark, and the limits checked when the reader opens.

#include <gtest/gtest.h>

#include "DbfBytes.h"
#include "TXBase.h"

using dbftest::DbfLayout;
using dbftest::FieldSpec;
using dbftest::Row;

namespace {

class TXBaseTableTest : public dbftest::TempDirTest {
 protected:
  // Opens dbf written as "t.dbf"; the reader keeps the name for re-opening.
  void Open(const DbfLayout& dbf) {
    xb_.SetActive(false);
    xb_.SetFilename(Write("t.dbf", dbf.Bytes()));
    xb_.SetActive(true);
    ASSERT_TRUE(xb_.Active());
  }
  // Why the reader refuses to open dbf (None when it opens).
  TFailure OpenError(const DbfLayout& dbf) {
    xb_.SetActive(false);
    xb_.SetFilename(Write("t.dbf", dbf.Bytes()));
    const TStatus opened = xb_.SetActive(true);
    EXPECT_EQ(xb_.Active(), opened.ok());
    return opened.Cause();
  }
  static DbfLayout People() {
    DbfLayout s;
    s.fields = {{"NOM", 'C', 10}, {"MONTANT", 'N', 8}, {"NE", 'D', 8}, {"OK", 'L', 1}};
    s.rows = {{{"Dupont", "   12.50", "19991231", "T"}},
              {{"Durand", "", "", "F"}, true},
              {{"  Martin", "-3", "", "?"}}};
    return s;
  }
  std::string Field(int fieldNo) { return dbftest::FieldText(xb_, fieldNo); }
  TXBase xb_;
};

TEST_F(TXBaseTableTest, DescriptorsGiveCountsKindsAndPositions) {
  DbfLayout s;
  s.fields = {{"A", 'C', 3}, {"B", 'C', 5}, {"C", 'C', 2}};
  s.rows = {{{"abc", "defgh", "ij"}}};
  std::string bytes = s.Bytes();
  ASSERT_EQ(bytes[8], static_cast<char>(129));  // 32 + 3 * 32 + 1
  Open(s);
  EXPECT_EQ(xb_.FieldCount(), 3);
  EXPECT_EQ(xb_.RecordCount(), 1);
  EXPECT_EQ(Field(1), "abc");
  EXPECT_EQ(Field(2), "defgh");
  EXPECT_EQ(Field(3), "ij");

  DbfLayout k;
  k.fields = {{"C", 'C', 1},  {"D", 'D', 8}, {"N", 'N', 4}, {"L", 'L', 1},
              {"M", 'M', 10}, {"F", 'F', 4}, {"c", 'c', 1}};
  Open(k);
  const int kinds[] = {1, 2, 3, 4, 5, 0, 0};
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(xb_.FieldKind(i), kinds[i - 1]) << i;
  EXPECT_EQ(xb_.FieldType(6), 'F');
}

TEST_F(TXBaseTableTest, FieldNumbersOutOfRangeReadAsNothing) {
  Open(People());
  EXPECT_EQ(Field(0), "");
  EXPECT_EQ(Field(5), "");
  EXPECT_EQ(xb_.FieldKind(0), TXBase::kOther);
  EXPECT_EQ(xb_.FieldKind(-7), TXBase::kOther);
  EXPECT_EQ(xb_.FieldName(5), "");
  EXPECT_EQ(xb_.FieldType(5), '\0');
  EXPECT_EQ(xb_.FieldLength(0), 0);
}

TEST_F(TXBaseTableTest, TextsLoseTrailingBlanksOnly) {
  Open(People());
  EXPECT_EQ(xb_.FieldName(2), "MONTANT");
  EXPECT_EQ(Field(1), "Dupont");
  EXPECT_EQ(Field(2), "   12.50");
  EXPECT_EQ(Field(3), "19991231");
  EXPECT_EQ(Field(4), "T");
  xb_.Next();
  EXPECT_EQ(Field(2), "");
  xb_.Next();
  EXPECT_EQ(Field(1), "  Martin");
}

TEST_F(TXBaseTableTest, ZeroPaddedFieldEndsAtItsFirstZeroByte) {
  DbfLayout s;
  s.fields = {{"A", 'C', 6}, {"B", 'C', 3}};
  s.rows = {{{std::string("ab\0\0\0\0", 6), "xyz"}}};
  Open(s);
  EXPECT_EQ(Field(1), "ab");
  EXPECT_EQ(Field(2), "xyz");  // a zero byte does not end the record
}

TEST_F(TXBaseTableTest, WalksEveryRecordWithBofAndEof) {
  Open(People());
  EXPECT_EQ(xb_.Recno(), 1);
  EXPECT_TRUE(xb_.Bof());
  EXPECT_FALSE(xb_.Eof());
  EXPECT_FALSE(xb_.Modified());
  xb_.Next();
  EXPECT_FALSE(xb_.Bof());
  EXPECT_FALSE(xb_.Eof());
  xb_.Next();
  EXPECT_EQ(xb_.Recno(), 3);
  EXPECT_TRUE(xb_.Eof());  // already on the last record
  xb_.Next();
  EXPECT_EQ(xb_.Recno(), 3);
  EXPECT_EQ(Field(1), "  Martin");
  xb_.First();
  EXPECT_EQ(xb_.Recno(), 1);
  EXPECT_EQ(Field(1), "Dupont");

  DbfLayout one = People();
  one.rows.resize(1);
  Open(one);
  EXPECT_TRUE(xb_.Bof());
  EXPECT_TRUE(xb_.Eof());
}

TEST_F(TXBaseTableTest, OnChangingVetoesAMove) {
  Open(People());
  int asked = 0;
  bool allow = false;
  xb_.OnChanging = [&](TXBase& sender, bool& allowed) {
    EXPECT_EQ(&sender, &xb_);
    EXPECT_TRUE(allowed);
    ++asked;
    allowed = allow;
  };
  xb_.Next();
  EXPECT_EQ(xb_.Recno(), 1);
  allow = true;
  xb_.Next();
  xb_.Next();
  EXPECT_EQ(xb_.Recno(), 3);
  xb_.Next();  // on the last record nothing is asked
  EXPECT_EQ(asked, 3);
  allow = false;
  xb_.First();
  EXPECT_EQ(xb_.Recno(), 3);
  EXPECT_EQ(asked, 4);
}

TEST_F(TXBaseTableTest, DeletedMarkIsReadAndSetInTheBufferOnly) {
  Open(People());
  EXPECT_FALSE(xb_.Deleted());
  xb_.Next();
  EXPECT_TRUE(xb_.Deleted());
  EXPECT_EQ(Field(1), "Durand");  // deleted records read as usual

  xb_.SetDeleted(false);
  EXPECT_FALSE(xb_.Deleted());
  bool allow = false;
  xb_.OnDeleting = [&](TXBase&, bool& allowed) { allowed = allow; };
  xb_.SetDeleted(true);
  EXPECT_FALSE(xb_.Deleted());
  allow = true;
  xb_.SetDeleted(true);
  EXPECT_TRUE(xb_.Deleted());
  allow = false;
  xb_.SetDeleted(true);  // a veto leaves the mark as it was
  EXPECT_TRUE(xb_.Deleted());

  xb_.First();
  xb_.Next();  // re-read from the file, which was never changed
  xb_.SetActive(false);
  xb_.SetActive(true);
  xb_.Next();
  EXPECT_TRUE(xb_.Deleted());
}

TEST_F(TXBaseTableTest, EmptyTableOpensWithNoCurrentRecord) {
  DbfLayout s = People();
  s.rows.clear();
  Open(s);
  EXPECT_EQ(xb_.RecordCount(), 0);
  EXPECT_EQ(xb_.Recno(), 0);
  EXPECT_TRUE(xb_.Bof());
  EXPECT_TRUE(xb_.Eof());
  int asked = 0;
  xb_.OnChanging = [&](TXBase&, bool&) { ++asked; };
  xb_.First();
  xb_.Next();
  EXPECT_EQ(xb_.Recno(), 0);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(Field(1), "");
  EXPECT_EQ(Field(4), "");
  EXPECT_FALSE(xb_.Deleted());
  xb_.SetDeleted(true);
  EXPECT_FALSE(xb_.Deleted());
}

TEST_F(TXBaseTableTest, ClosedReaderRefusesToMove) {
  EXPECT_EQ(xb_.First().Cause(), TFailure::DbfNotOpen);
  EXPECT_EQ(xb_.Next().Cause(), TFailure::DbfNotOpen);
  EXPECT_EQ(Field(1), "");
  EXPECT_FALSE(xb_.Deleted());
}

TEST_F(TXBaseTableTest, FieldCountComesFromTheTerminatorWhenThereIsOne) {
  DbfLayout s = People();
  s.extraHeader = 263;  // e.g. a back-link area after the descriptors
  Open(s);
  EXPECT_EQ(xb_.FieldCount(), 4);
  xb_.Next();
  xb_.Next();
  EXPECT_EQ(Field(1), "  Martin");

  s.extraHeader = 0;
  s.terminator = false;  // H = 32 + 4 * 32: the rounded formula still gives 4
  Open(s);
  EXPECT_EQ(xb_.FieldCount(), 4);
  EXPECT_EQ(Field(2), "   12.50");
}

TEST_F(TXBaseTableTest, LimitsAreCheckedWhenOpening) {
  DbfLayout wide;
  wide.fields = {{"A", 'C', 250}};
  for (int i = 0; i < 16; ++i) wide.fields.push_back({"A", 'C', 250});
  EXPECT_EQ(OpenError(wide), TFailure::DbfRecordTooLong);  // 1 + 17 * 250 > 4000

  DbfLayout many;
  many.fields.assign(128, FieldSpec{"F", 'C', 1});
  many.rows = {{std::vector<std::string>(128, "x")}};
  Open(many);
  EXPECT_EQ(Field(128), "x");
  xb_.SetActive(false);
  many.fields.push_back({"F", 'C', 1});
  EXPECT_EQ(OpenError(many), TFailure::DbfTooManyFields);
}

TEST_F(TXBaseTableTest, HeaderThatDoesNotAddUpIsRefused) {
  DbfLayout s = People();
  s.recordLength = 20;  // the fields need 28 bytes
  EXPECT_EQ(OpenError(s), TFailure::DbfHeaderUnreadable);

  s = People();
  s.terminator = false;
  s.headerLength = 150;  // rounds to 4 descriptors, which end at 160
  EXPECT_EQ(OpenError(s), TFailure::DbfHeaderUnreadable);

  s = People();
  s.terminator = false;
  s.headerLength = 31;
  EXPECT_EQ(OpenError(s), TFailure::DbfHeaderUnreadable);

  s = People();
  s.recordLength = 0;
  EXPECT_EQ(OpenError(s), TFailure::DbfHeaderUnreadable);
}

}  // namespace
