#include <gtest/gtest.h>

#include <random>

#include "TQor2.h"

namespace {

std::vector<std::string> Column(const TQor2& t, int field) {
  std::vector<std::string> v;
  for (int r = 1; r <= t.RecordCount(); ++r) v.push_back(t.GetCell(field, r).str());
  return v;
}

TEST(Structure, AddFieldRules) {
  TQor2 t;
  EXPECT_FALSE(t.AddField(""));
  EXPECT_FALSE(t.AddField("   "));
  EXPECT_TRUE(t.AddField(" Nom"));
  EXPECT_EQ(t.GetFieldName(1), " Nom");  // leading space kept
  EXPECT_FALSE(t.AddField(" Nom"));
  EXPECT_TRUE(t.AddField("Nom"));
  EXPECT_EQ(t.FieldCount(), 2);
  EXPECT_EQ(t.GetFieldType(2), "STRING");
  EXPECT_EQ(t.FieldIndex("nom"), 0);
  EXPECT_EQ(t.FieldIndex("Nom"), 2);
  EXPECT_EQ(t.GetFieldName(3), "");
  t.SetFieldName(9, "x");  // out of range: ignored
  t.SetFieldType(2, "WHATEVER");
  EXPECT_EQ(t.GetFieldType(2), "WHATEVER");
}

TEST(Structure, AddAndDeleteFieldKeepRecordsRectangular) {
  TQor2 t;
  t.AddField("A");
  t.AddField("B");
  t.AddField("C");
  for (int i = 0; i < 3; ++i) {
    t.Append();
    t.SetFieldValue(1, "a" + std::to_string(i));
    t.SetFieldValue(2, "b" + std::to_string(i));
    t.SetFieldValue(3, "c" + std::to_string(i));
  }
  EXPECT_TRUE(t.AddField("D"));
  EXPECT_EQ(Column(t, 4), (std::vector<std::string>{"", "", ""}));
  EXPECT_FALSE(t.DeleteField("b"));
  EXPECT_TRUE(t.DeleteField("B"));
  EXPECT_EQ(t.FieldCount(), 3);
  EXPECT_EQ(t.GetFieldName(2), "C");
  EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"a0", "a1", "a2"}));
  EXPECT_EQ(Column(t, 2), (std::vector<std::string>{"c0", "c1", "c2"}));
  for (int r = 0; r < 3; ++r) EXPECT_EQ(t.RecordList().Get(r)->Count(), 3);
}

// Many fields at once are added as one by one, blank and repeated names refused.
TEST(Structure, AddFieldsRefusesWhatAddFieldRefuses) {
  TQor2 t;
  t.AddField("A");
  t.Append();
  t.SetFieldValue(1, "a");
  EXPECT_EQ(t.AddFields({"B", "  ", "A", "B", " B", "C"}), 3);
  EXPECT_EQ(t.FieldCount(), 4);
  EXPECT_EQ(t.GetFieldName(3), " B");
  EXPECT_EQ(t.GetFieldType(4), "STRING");
  EXPECT_EQ(t.GetCell(1, 1), "a");
  EXPECT_EQ(t.RecordList().Get(0)->Count(), 4);
}

TEST(Structure, ClearKeepsTableNameAndResetsEverythingElse) {
  TQor2 t;
  t.TableName = "clients";
  t.AddField("A");
  t.Append();
  t.Distinct = true;
  t.SetError(2, "x");
  t.Clear();
  EXPECT_EQ(t.TableName, "clients");
  EXPECT_EQ(t.FieldCount(), 0);
  EXPECT_EQ(t.RecordCount(), 0);
  EXPECT_EQ(t.RecNo(), 0);
  EXPECT_TRUE(t.Bof && t.Eof);
  EXPECT_FALSE(t.Distinct);
  EXPECT_EQ(t.ErrorCode, 0);
  EXPECT_EQ(t.ErrorMessage, "");
}

TEST(Structure, RemoveDuplicatesKeepsFirstOfEachGroupInOrder) {
  TQor2 t;
  t.AddField("V");
  t.AddField("W");
  const char* values[] = {"A", "B", "A", "A", "B", "a", "A "};
  for (const char* v : values) {
    t.Append();
    t.SetFieldValue(1, v);
  }
  t.GoToRecord(7);
  t.RemoveDuplicates();
  EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"A", "B", "a", "A "}));
  EXPECT_EQ(t.RecNo(), 7);  // the index is left for the caller to move
  EXPECT_EQ(t.GetFieldValue(1), "");
}

TEST(Structure, HasDuplicatesExactlyWhenRemovingThemShrinksTheTable) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    TQor2 t;
    t.AddField("A");
    t.AddField("B");
    const int records = static_cast<int>(random() % 6);
    for (int r = 0; r < records; ++r) {
      t.Append();
      // Few distinct values, so that equal records are common; values that
      // only differ by where one field ends and the next begins are not equal.
      t.SetFieldValue(1, std::string(random() % 3, 'x'));
      t.SetFieldValue(2, std::string(random() % 2, 'x'));
    }
    const bool duplicates = t.HasDuplicates();
    t.RemoveDuplicates();
    EXPECT_EQ(duplicates, t.RecordCount() < records) << "round " << round;
    EXPECT_FALSE(t.HasDuplicates());
  }
}

TEST(Structure, RestructureTakesValuesFromTheNamedFieldsOnly) {
  TQor2 t;
  t.TableName = "clients";
  for (const char* name : {"NOM", "VILLE", "PRIX"}) t.AddField(name);
  t.SetFieldType(3, "FLOAT");
  const char* rows[][3] = {{"Dupont", "Paris", "12,5"}, {"Martin", "Nice", "7"}};
  for (const auto& row : rows) {
    t.Append();
    for (int i = 0; i < 3; ++i) t.SetFieldValue(i + 1, row[i]);
  }
  TQor2 undo;
  undo.Assign(t);

  // PRIX first and retyped, NOM renamed, a new field, VILLE dropped; a repeated
  // name goes with its type, an origin beyond the fields gives empty values.
  t.Restructure({{"PRIX", "STRING", 3},
                 {"CLIENT", "STRING", 1},
                 {"CLIENT", "FLOAT", 2},
                 {"REMISE", "FLOAT", 0},
                 {"CODE", "STRING", 9}});
  ASSERT_EQ(t.FieldCount(), 4);
  EXPECT_EQ(t.GetFieldName(1), "PRIX");
  EXPECT_EQ(t.GetFieldType(1), "STRING");
  EXPECT_EQ(t.GetFieldName(2), "CLIENT");
  EXPECT_EQ(t.GetFieldType(2), "STRING");
  EXPECT_EQ(t.GetFieldType(3), "FLOAT");
  EXPECT_EQ(t.GetFieldName(4), "CODE");
  ASSERT_EQ(t.RecordCount(), 2);
  EXPECT_EQ(t.GetCell(1, 1), "12,5");
  EXPECT_EQ(t.GetCell(2, 2), "Martin");
  EXPECT_EQ(t.GetCell(3, 1), "");
  EXPECT_EQ(t.GetCell(4, 2), "");
  EXPECT_EQ(t.TableName, "clients");
  EXPECT_EQ(t.RecNo(), 2);
  // The snapshot taken before is untouched.
  EXPECT_EQ(undo.FieldCount(), 3);
  EXPECT_EQ(undo.GetCell(2, 1), "Paris");
}

TEST(Structure, SameRecords) {
  TQor2 t;
  t.Append();
  t.Append();
  EXPECT_TRUE(t.SameRecords(1, 2));  // no fields: always the same
  t.AddField("A");
  t.GoToRecord(1);
  t.SetFieldValue(1, "x");
  EXPECT_FALSE(t.SameRecords(1, 2));
  EXPECT_FALSE(t.SameRecords(1, 3));
}

TEST(Structure, SetNameFromFile) {
  TQor2 t;
  t.SetNameFromFile("/home/ann/dossier.v2/clients.2026.qor");
  EXPECT_EQ(t.TableName, "clients.2026");
  t.SetNameFromFile("/home/ann/sansextension");
  EXPECT_EQ(t.TableName, "");
}

TEST(Assign, CopiesFieldsTypesValuesNotName) {
  TQor2 s;
  s.TableName = "source";
  s.AddField("A");
  s.AddField("N");
  s.SetFieldType(2, "FLOAT");
  TQor2 d;
  d.TableName = "dest";
  d.Assign(s);  // fields but no records
  EXPECT_EQ(d.FieldCount(), 2);
  EXPECT_EQ(d.GetFieldType(2), "FLOAT");
  EXPECT_EQ(d.RecNo(), 0);
  EXPECT_TRUE(d.Bof && d.Eof);
  s.Append();
  s.SetFieldValue(1, "x");
  s.Append();
  s.SetFieldValue(2, "12,5");
  s.First();
  d.Assign(s);
  EXPECT_EQ(d.TableName, "dest");
  EXPECT_EQ(d.RecordCount(), 2);
  EXPECT_EQ(d.RecNo(), 2);
  EXPECT_EQ(d.GetCell(1, 1), "x");
  EXPECT_EQ(d.GetCell(2, 2), "12,5");
}

TEST(Assign, SharedRecordsBehaveAsCopies) {
  TQor2 s;
  s.AddField("A");
  for (int i = 0; i < 3; ++i) {
    s.Append();
    s.SetFieldValue(1, std::to_string(i));
  }
  TQor2 undo;
  undo.Assign(s);
  s.GoToRecord(2);
  s.SetFieldValue(1, "changed");
  s.AddField("B");
  s.GoToRecord(3);
  s.SetFieldValue(2, "b");
  EXPECT_EQ(undo.GetCell(1, 2), "1");
  EXPECT_EQ(undo.FieldCount(), 1);
  EXPECT_EQ(undo.RecordList().Get(2)->Count(), 1);
  undo.GoToRecord(1);
  undo.SetFieldValue(1, "u");
  EXPECT_EQ(s.GetCell(1, 1), "0");
  s.Assign(undo);  // taking the snapshot back
  EXPECT_EQ(s.FieldCount(), 1);
  EXPECT_EQ(s.GetCell(1, 1), "u");
  EXPECT_EQ(s.GetCell(1, 2), "1");
  // A record handed out for reading keeps its values when the table writes.
  const TRecord held = s.RecordList().GetShared(0);
  s.GoToRecord(1);
  s.SetFieldValue(1, "w");
  EXPECT_EQ(held->Get(0), "u");
  EXPECT_EQ(s.RecordList().GetShared(-1), nullptr);
  EXPECT_EQ(s.RecordList().GetShared(s.RecordCount()), nullptr);
}

TEST(Assign, RepeatedNameInSourceIsDroppedAsAddFieldWould) {
  TQor2 s;
  s.AddField("A");
  s.AddField("B");
  s.AddField("C");
  s.SetFieldName(2, "A");  // renaming checks nothing
  s.SetFieldType(3, "FLOAT");
  s.Append();
  s.SetFieldValue(1, "1");
  s.SetFieldValue(2, "2");
  s.SetFieldValue(3, "3");
  TQor2 d;
  d.Assign(s);
  ASSERT_EQ(d.FieldCount(), 2);
  EXPECT_EQ(d.GetFieldName(2), "C");
  EXPECT_EQ(d.GetFieldType(2), "STRING");  // SetFieldType(3) found no third field
  EXPECT_EQ(d.GetCell(1, 1), "1");
  EXPECT_EQ(d.GetCell(2, 1), "2");  // values follow the position
}

}  // namespace

namespace {

TEST(AppendFrom, SharesOrPicksColumnsAndNeverWritesThroughToTheSource) {
  TQor2 s;
  s.AddField("A");
  s.AddField("B");
  s.Append();
  s.SetFieldValue(1, "a1");
  s.SetFieldValue(2, "b1");
  TQor2 all;
  all.AddField("A");
  all.AddField("B");
  EXPECT_TRUE(all.AppendFrom(s, 1, {1, 2}));
  EXPECT_EQ(all.RecNo(), 1);
  all.SetFieldValue(1, "changed");
  EXPECT_EQ(s.GetCell(1, 1), "a1");
  EXPECT_EQ(all.GetCell(2, 1), "b1");

  TQor2 some;
  some.AddField("B");
  some.AddField("X");
  EXPECT_TRUE(some.AppendFrom(s, 1, {2, 0}));
  EXPECT_EQ(some.GetCell(1, 1), "b1");
  EXPECT_EQ(some.GetCell(2, 1), "");
  EXPECT_EQ(some.RecordList().Get(0)->Count(), 2);
}

}  // namespace
