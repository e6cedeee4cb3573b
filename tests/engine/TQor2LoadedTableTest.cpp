#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "TFaultyFileSystem.h"
#include "TQor2.h"
#include "TRecordBuilder.h"
#include "TestFiles.h"

namespace {

std::vector<std::vector<std::string>> Cells(const TQor2& t) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 1; r <= t.RecordCount(); ++r) {
    rows.emplace_back();
    for (int f = 1; f <= t.FieldCount(); ++f) rows.back().push_back(t.GetCell(f, r).str());
  }
  return rows;
}

// Thousands of records whose files are several times the piece a load reads
// at once, one value alone longer than a piece: text with the characters
// each format escapes or quotes, and numbers.
void FillLargeTable(TQor2& t) {
  t.TableName = "grande";
  t.AddField("Nom");
  t.AddField("Montant");
  t.AddField("Notes");
  t.SetFieldType(2, "FLOAT");
  std::mt19937 rng(2026);
  const std::string chars = "abcXYZ ;\\\"\xE9\xFF,.";
  auto text = [&](size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s.push_back(chars[rng() % chars.size()]);
    return s;
  };
  for (int r = 0; r < 40000; ++r) {
    t.Append();
    t.SetFieldValue(1, text(rng() % 40));
    t.SetFieldValue(2, std::to_string(rng() % 100000) + "," + std::to_string(rng() % 100));
    t.SetFieldValue(3, r == 20000 ? text(1500000) : text(rng() % 12));
  }
}

TEST(LoadedTable, FilesLargerThanAPieceReadRoundTripInEveryFormat) {
  TempDir dir;
  TQor2 t;
  FillLargeTable(t);
  const auto expected = Cells(t);
  for (const char* name : {"t.qor", "t.csv", "t.txt"}) {
    ASSERT_TRUE(t.SaveToFile(dir.File(name))) << name;
    TQor2 u;
    ASSERT_TRUE(u.LoadFromFile(dir.File(name))) << name;
    EXPECT_EQ(u.FieldCount(), 3) << name;
    // The semicolon text has no types; the quoted text tells them by the quotes.
    EXPECT_EQ(u.GetFieldType(2), std::string(name) == "t.csv" ? "STRING" : "FLOAT") << name;
    EXPECT_TRUE(Cells(u) == expected) << name;
    // What was loaded writes the same bytes again.
    ASSERT_TRUE(u.SaveToFile(dir.File(std::string("again-") + name))) << name;
    EXPECT_TRUE(ReadBytes(dir.File(name)) == ReadBytes(dir.File(std::string("again-") + name)))
        << name;
  }
}

TEST(LoadedTable, ALargeFileCutShortOrDamagedFailsWithItsCauseAndKeepsTheTable) {
  TempDir dir;
  TQor2 t;
  FillLargeTable(t);
  ASSERT_TRUE(t.SaveQorFile(dir.File("t.qor")));
  const std::string whole = ReadBytes(dir.File("t.qor"));
  TQor2 kept;
  kept.AddField("Seul");
  kept.Append();
  kept.SetFieldValue(1, "gard\xE9");
  // Cut inside the first piece read, inside the long value, in the last piece,
  // one byte short; then a value whose length runs past the end.
  for (const size_t size : {size_t{100}, whole.size() / 2, whole.size() - 5000, whole.size() - 1}) {
    WriteBytes(dir.File("cut.qor"), whole.substr(0, size));
    EXPECT_FALSE(kept.LoadQorFile(dir.File("cut.qor"))) << size;
    EXPECT_EQ(kept.ErrorCode, 2) << size;
    EXPECT_EQ(kept.ErrorMessage, "5-Unexpected end of file") << size;
    EXPECT_EQ(kept.ErrorCause, TFailure::Truncated) << size;
    ASSERT_EQ(kept.RecordCount(), 1);
    EXPECT_EQ(kept.GetCell(1, 1), "gard\xE9");
  }
  std::string damaged = whole;
  const size_t lastValue = damaged.size() - 4 - t.GetCell(3, t.RecordCount()).size();
  damaged.replace(lastValue, 4, std::string("\xFF\xFF\xFF\x7F", 4));
  WriteBytes(dir.File("damaged.qor"), damaged);
  EXPECT_FALSE(kept.LoadQorFile(dir.File("damaged.qor")));
  EXPECT_EQ(kept.ErrorCause, TFailure::Truncated);
  EXPECT_EQ(kept.GetCell(1, 1), "gard\xE9");
  // A folder, and a file that is not there, say so.
  EXPECT_FALSE(kept.LoadQorFile(dir.Path()));
  EXPECT_EQ(kept.ErrorCause, TFailure::IsFolder);
  EXPECT_FALSE(kept.LoadCsvFile(dir.File("absent.csv")));
  EXPECT_EQ(kept.ErrorCause, TFailure::NotFound);
  EXPECT_EQ(kept.GetCell(1, 1), "gard\xE9");
}

// The disk fails in the middle of the file, or the file may not be read: the
// load fails with that cause and the open table keeps its name, fields,
// records and cursor.
TEST(LoadedTable, AReadErrorInMidFileFailsWithItsCauseAndKeepsTheTable) {
  TempDir dir;
  TQor2 t;
  FillLargeTable(t);
  TQor2 kept;
  kept.TableName = "gard\xE9";
  kept.AddField("Seul");
  kept.Append();
  kept.SetFieldValue(1, "valeur");
  kept.Append();
  kept.GoToRecord(1);
  for (const char* name : {"t.qor", "t.csv", "t.txt"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(t.SaveToFile(dir.File(name)));
    TFaultyFileSystem fileSystem;
    fileSystem.Arm(TFaultyFileSystem::TFault::ReadError, ReadBytes(dir.File(name)).size() / 2);
    const TStatus loaded = kept.LoadFromFile(dir.File(name), fileSystem);
    EXPECT_EQ(loaded.Cause(), TFailure::ReadError);
    EXPECT_EQ(kept.ErrorCode, 3);
    EXPECT_EQ(kept.ErrorCause, TFailure::ReadError);
    fileSystem.Arm(TFaultyFileSystem::TFault::RefuseRead);
    EXPECT_EQ(kept.LoadFromFile(dir.File(name), fileSystem).Cause(), TFailure::PermissionDenied);
    EXPECT_EQ(kept.TableName, "gard\xE9");
    ASSERT_EQ(kept.FieldCount(), 1);
    ASSERT_EQ(kept.RecordCount(), 2);
    EXPECT_EQ(kept.GetCell(1, 1), "valeur");
    EXPECT_EQ(kept.RecNo(), 1);
  }
}

// A view of one value is still read right after a write to another value of
// the same record of a table just loaded: the write gives the record a copy
// of its own, which must not free the bytes the view reads.
TEST(LoadedTable, AViewOfAValueSurvivesAWriteToAnotherValueOfItsRecord) {
  TempDir dir;
  TQor2 s;
  s.AddField("A");
  s.AddField("B");
  s.Append();
  s.SetFieldValue(1, "premi\xE8re valeur, assez longue pour un tas");
  s.SetFieldValue(2, "seconde");
  for (const char* name : {"one.qor", "one.csv"}) {
    ASSERT_TRUE(s.SaveToFile(dir.File(name)));
    TQor2 t;
    ASSERT_TRUE(t.LoadFromFile(dir.File(name)));
    const TValueView first = t.GetFieldValue(1);
    ASSERT_TRUE(t.SetFieldValue(2,
                                "chang\xE9"
                                "e"));
    EXPECT_EQ(first, "premi\xE8re valeur, assez longue pour un tas") << name;
    EXPECT_EQ(t.GetCell(2, 1),
              "chang\xE9"
              "e")
        << name;
  }
}

TEST(LoadedTable, WritesGiveTheRecordACopyAndLeaveSnapshotsAndHeldRecordsAlone) {
  TempDir dir;
  TRecord held;
  TQor2 undo;
  {
    TQor2 s;
    s.AddField("A");
    s.AddField("B");
    for (int i = 0; i < 3; ++i) {
      s.Append();
      s.SetFieldValue(1, "a" + std::to_string(i));
      s.SetFieldValue(2, "b" + std::to_string(i));
    }
    ASSERT_TRUE(s.SaveQorFile(dir.File("s.qor")));
    TQor2 t;
    ASSERT_TRUE(t.LoadQorFile(dir.File("s.qor")));
    undo.Assign(t);
    held = t.RecordList().GetShared(1);
    t.GoToRecord(2);
    EXPECT_TRUE(t.SetFieldValue(1, "changed"));
    EXPECT_EQ(t.GetCell(1, 2), "changed");
    EXPECT_EQ(t.GetCell(2, 2), "b1");
    t.AddField("C");
    t.GoToRecord(3);
    t.SetFieldValue(3, "c2");
    t.SortText("A", false);
    t.DeleteField("B");
    EXPECT_EQ(Cells(t),
              (std::vector<std::vector<std::string>>{{"changed", ""}, {"a2", "c2"}, {"a0", ""}}));
  }
  // The loaded table is gone; what was shared with it is not.
  EXPECT_EQ(held->Get(0), "a1");
  EXPECT_EQ(held->Count(), 2);
  EXPECT_EQ(Cells(undo),
            (std::vector<std::vector<std::string>>{{"a0", "b0"}, {"a1", "b1"}, {"a2", "b2"}}));
  undo.GoToRecord(1);
  undo.SetFieldValue(2, "u");
  EXPECT_EQ(undo.GetCell(2, 1), "u");
}

TEST(LoadedTable, RecordsBeyondOneBlockKeepTheirValuesAndATooLargeRecordIsRefused) {
  // Blocks of at most 40 bytes: a 40-byte record still fits in one of its own.
  TRecordBuilder builder(3, 0, 0, 40);
  builder.SetCutAtZero();
  std::vector<std::vector<std::string>> expected;
  std::mt19937 rng(7);
  for (int r = 0; r < 200; ++r) {
    expected.emplace_back();
    for (int v = 0; v < (r % 5 == 0 ? 2 : 4); ++v) {  // missing and surplus values
      std::string s(rng() % 14, static_cast<char>('a' + r % 26));
      if (r % 7 == 0 && !s.empty()) s[s.size() / 2] = '\0';
      builder.Append(s.data(), s.size());
      builder.EndValue();
      if (v < 3) expected.back().push_back(s.substr(0, s.find('\0')));
    }
    expected.back().resize(3);
    builder.EndRecord();
  }
  TKBaseList records;
  ASSERT_TRUE(builder.Finish(records));
  ASSERT_EQ(records.Count(), 200);
  for (int r = 0; r < 200; ++r)
    for (int v = 0; v < 3; ++v) ASSERT_EQ(records.Get(r)->Get(v), expected[r][v]) << r << v;

  TRecordBuilder small(1, 0, 0, 40);
  small.Append("x", 1);
  small.EndValue();
  small.EndRecord();
  small.Append(std::string(41, 'y').data(), 41);
  small.EndValue();
  small.EndRecord();
  EXPECT_TRUE(small.Failed());
  TKBaseList none;
  EXPECT_FALSE(small.Finish(none));
  EXPECT_EQ(none.Count(), 0);
}

TEST(LoadedTable, EditsSinceMarkNameTheRecordsWrittenUntilSomethingElseChanges) {
  TQor2 t;
  t.AddField("A");
  for (int i = 0; i < 100; ++i) t.Append();
  std::vector<int> written;
  EXPECT_FALSE(t.EditsSinceMark(written));  // never marked
  t.MarkEdits();
  EXPECT_TRUE(t.EditsSinceMark(written));
  EXPECT_TRUE(written.empty());
  t.GoToRecord(3);
  t.SetFieldValue(1, "x");
  t.SetFieldValue(1, "y");
  t.GoToRecord(5);
  t.SetValueByName("A", "z");
  t.SetFieldValue(7, "no such field");
  EXPECT_TRUE(t.EditsSinceMark(written));
  EXPECT_EQ(written, (std::vector<int>{3, 5}));
  t.Append();
  EXPECT_FALSE(t.EditsSinceMark(written));
  t.MarkEdits();
  for (int r = 1; r <= 100; ++r) {
    t.GoToRecord(r);
    t.SetFieldValue(1, "w");
  }
  EXPECT_FALSE(t.EditsSinceMark(written));  // too many to list
  t.MarkEdits();
  t.SortText("A", true);
  EXPECT_FALSE(t.EditsSinceMark(written));
  t.MarkEdits();
  t.SetFieldName(1, "B");
  EXPECT_FALSE(t.EditsSinceMark(written));
}

}  // namespace
