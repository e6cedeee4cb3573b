#include <gtest/gtest.h>

#include "TQor2.h"

namespace {

void Fill(TQor2& t, int records) {
  t.AddField("Nom");
  t.AddField("Ville");
  for (int i = 1; i <= records; ++i) {
    t.Append();
    t.SetFieldValue(1, "n" + std::to_string(i));
  }
}

void ExpectCursor(const TQor2& t, int recNo, bool bof, bool eof) {
  EXPECT_EQ(t.RecNo(), recNo);
  EXPECT_EQ(t.Bof, bof);
  EXPECT_EQ(t.Eof, eof);
}

TEST(Cursor, EmptyTableMoves) {
  TQor2 t;
  ExpectCursor(t, 0, true, true);
  EXPECT_FALSE(t.First());
  ExpectCursor(t, 0, true, true);
  EXPECT_FALSE(t.Last());
  EXPECT_FALSE(t.Next());
  ExpectCursor(t, 0, true, true);
  EXPECT_FALSE(t.Prior());
  ExpectCursor(t, 0, true, true);
  EXPECT_EQ(t.GetFieldValue(1), "");
  EXPECT_FALSE(t.SetFieldValue(1, "x"));
}

TEST(Cursor, WalkStopsOnLastRecord) {
  TQor2 t;
  Fill(t, 3);
  ASSERT_TRUE(t.First());
  ExpectCursor(t, 1, false, false);
  std::string seen;
  while (!t.Eof) {
    seen += t.GetFieldValue(1);
    t.Next();
  }
  EXPECT_EQ(seen, "n1n2n3");
  ExpectCursor(t, 3, false, true);  // Next on the last record leaves it current
  EXPECT_FALSE(t.Next());
  ExpectCursor(t, 3, false, true);

  ASSERT_TRUE(t.First());
  EXPECT_FALSE(t.Prior());
  ExpectCursor(t, 1, true, false);
  EXPECT_TRUE(t.Next());
  EXPECT_TRUE(t.Prior());
  ExpectCursor(t, 1, false, false);
}

TEST(Cursor, GoToRecordOutOfRangeKeepsPositionAndRaisesBothFlags) {
  TQor2 t;
  Fill(t, 3);
  ASSERT_TRUE(t.GoToRecord(2));
  ExpectCursor(t, 2, false, false);
  EXPECT_FALSE(t.GoToRecord(0));
  ExpectCursor(t, 2, true, true);
  EXPECT_FALSE(t.GoToRecord(4));
  ExpectCursor(t, 2, true, true);
  EXPECT_EQ(t.GetFieldValue(1), "n2");  // flags do not hide the current record
}

TEST(Cursor, AppendMakesEmptyRecordCurrent) {
  TQor2 t;
  Fill(t, 2);
  t.First();
  EXPECT_TRUE(t.Append());
  ExpectCursor(t, 3, false, false);
  EXPECT_EQ(t.GetFieldValue(1), "");
  EXPECT_EQ(t.GetFieldValue(2), "");
  EXPECT_EQ(t.RecordList().Get(2)->Count(), 2);
}

TEST(Cursor, DeleteCurrentMovesToFollowerOrLast) {
  TQor2 t;
  Fill(t, 3);
  t.GoToRecord(2);
  EXPECT_TRUE(t.DeleteCurrent());
  ExpectCursor(t, 2, false, false);
  EXPECT_EQ(t.GetFieldValue(1), "n3");
  EXPECT_TRUE(t.DeleteCurrent());  // on the last record: back to the new last
  ExpectCursor(t, 1, false, false);
  EXPECT_EQ(t.GetFieldValue(1), "n1");
  EXPECT_TRUE(t.DeleteCurrent());
  ExpectCursor(t, 0, true, true);
  EXPECT_FALSE(t.DeleteCurrent());
}

TEST(Cursor, DeleteRecordKeepsIndexEvenPastTheEnd) {
  TQor2 t;
  Fill(t, 2);
  t.Last();
  EXPECT_FALSE(t.DeleteRecord(0));
  EXPECT_FALSE(t.DeleteRecord(3));
  EXPECT_TRUE(t.DeleteRecord(2));
  EXPECT_EQ(t.RecNo(), 2);  // past the last record: reads '' and writes fail
  EXPECT_EQ(t.GetFieldValue(1), "");
  EXPECT_FALSE(t.SetFieldValue(1, "x"));
  EXPECT_TRUE(t.First());
  EXPECT_EQ(t.GetFieldValue(1), "n1");
}

TEST(Cursor, ValuesByNameAndNumber) {
  TQor2 t;
  Fill(t, 1);
  EXPECT_TRUE(t.SetValueByName("Ville", "Lyon"));
  EXPECT_FALSE(t.SetValueByName("ville", "x"));
  EXPECT_FALSE(t.SetFieldValue(3, "x"));
  EXPECT_FALSE(t.SetFieldValue(0, "x"));
  EXPECT_EQ(t.GetValueByName("Ville"), "Lyon");
  EXPECT_EQ(t.GetValueByName("Absent"), "");
  EXPECT_EQ(t.GetCell(2, 1), "Lyon");
  EXPECT_EQ(t.GetCell(2, 2), "");
  EXPECT_EQ(t.GetCell(3, 1), "");
  t.SetValueByName("Ville", "1 234,50");
  EXPECT_DOUBLE_EQ(static_cast<double>(t.GetFloatByName("Ville")), 1234.5);
  EXPECT_EQ(t.GetFloatByName("Absent"), 0);
}

}  // namespace
