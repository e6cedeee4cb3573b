// Turning a dBase table into a TQor2: fields and types, converted values,
// memo texts and deleted records, and failures that leave the table alone.

#include <gtest/gtest.h>

#include "DbfBytes.h"
#include "DbfImport.h"
#include "LargeMemory.h"
#include "TFaultyFileSystem.h"
#include "TableImport.h"

using dbftest::DbfLayout;
using dbftest::DbtLayout;

namespace {

class DbfImportTest : public dbftest::TempDirTest {
 protected:
  // A table "Ancienne" with one field and one record, to see what a failure leaves.
  void FillOld(TQor2& t) {
    t.TableName = "Ancienne";
    t.AddField("X");
    t.Append();
    t.SetFieldValue(1, "old");
  }
};

TEST_F(DbfImportTest, FieldsValuesMemosAndDeletedRecords) {
  DbfLayout s;
  s.version = 131;
  s.fields = {{"NOM", 'C', 12}, {"PRIX", 'N', 8},  {"TAUX", 'F', 6},
              {"NE", 'D', 8},   {"NOTE", 'M', 10}, {"OK", 'L', 1}};
  s.rows = {{{" Andr\x82 ", "   12.50", "  0.5", "20240131", "         1", "T"}},
            {{"\x83ge", "", "", "", "", "F"}, true}};
  DbtLayout m;
  m.Put(1, DbtLayout::IIIText("  ligne\x8D\nsuite \x8A  "));
  std::string path = Write("Clients.dbf", s.Bytes());
  Write("Clients.dbt", m.Bytes());

  TQor2 t;
  FillOld(t);
  ASSERT_TRUE(LoadDbfTable(path, t));
  EXPECT_EQ(t.TableName, "Clients");
  ASSERT_EQ(t.FieldCount(), 6);
  const char* names[] = {"NOM", "PRIX", "TAUX", "NE", "NOTE", "OK"};
  const char* types[] = {"STRING", "FLOAT", "FLOAT", "STRING", "STRING", "STRING"};
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(t.GetFieldName(i), names[i - 1]);
    EXPECT_EQ(t.GetFieldType(i), types[i - 1]);
  }
  ASSERT_EQ(t.RecordCount(), 2);
  EXPECT_EQ(t.GetCell(1, 1), "Andr\xE9");
  EXPECT_EQ(t.GetCell(2, 1), "12.50");
  EXPECT_EQ(t.GetCell(3, 1), "0.5");
  EXPECT_EQ(t.GetCell(4, 1), "20240131");
  EXPECT_EQ(t.GetCell(5, 1), "lignesuite \xE8");  // the soft break reads as CR, then CR LF goes
  EXPECT_EQ(t.GetCell(6, 1), "T");
  EXPECT_EQ(t.GetCell(1, 2), "\xE2ge");  // deleted record kept
  EXPECT_EQ(t.GetCell(5, 2), "");
}

TEST_F(DbfImportTest, BlankAndRepeatedNamesKeepEveryColumn) {
  DbfLayout s;
  s.fields = {{"A", 'C', 1}, {"A", 'C', 1}, {"", 'C', 1}};
  s.rows = {{{"1", "2", "3"}}};
  TQor2 t;
  ASSERT_TRUE(LoadDbfTable(Write("n.dbf", s.Bytes()), t));
  ASSERT_EQ(t.FieldCount(), 3);
  EXPECT_EQ(t.GetFieldName(1), "A");
  EXPECT_EQ(t.GetFieldName(2), "A_2");
  EXPECT_EQ(t.GetFieldName(3), "FIELD_3");
  EXPECT_EQ(t.GetCell(3, 1), "3");
}

TEST_F(DbfImportTest, EmptyTableGivesFieldsAndNoRecord) {
  DbfLayout s;
  s.fields = {{"NOM", 'C', 5}};
  TQor2 t;
  ASSERT_TRUE(LoadDbfTable(Write("e.dbf", s.Bytes()), t));
  EXPECT_EQ(t.FieldCount(), 1);
  EXPECT_EQ(t.RecordCount(), 0);
}

TEST_F(DbfImportTest, FailuresLeaveTheTableAsItWas) {
  DbfLayout s;
  s.fields = {{"NOM", 'C', 5}};
  s.rows = {{{"un"}}, {{"deux"}}};
  std::string cut = s.Bytes();
  cut.resize(cut.size() - 4);  // record 2 cut short
  DbfLayout memo;
  memo.version = 131;
  memo.fields = {{"NOTE", 'M', 10}};
  memo.rows = {{{"1"}}};

  struct Case {
    std::string path;
    TFailure cause;
  } cases[] = {
      {dir_ + "/absent.dbf", TFailure::NotFound},
      {Write("cut.dbf", cut), TFailure::DbfRecordUnreadable},
      {Write("memo.dbf", memo.Bytes()), TFailure::DbfMemoFileUnreadable},
  };
  for (const Case& c : cases) {
    TQor2 t;
    FillOld(t);
    EXPECT_EQ(LoadDbfTable(c.path, t).Cause(), c.cause) << c.path;
    EXPECT_EQ(t.TableName, "Ancienne");
    ASSERT_EQ(t.FieldCount(), 1);
    ASSERT_EQ(t.RecordCount(), 1);
    EXPECT_EQ(t.GetCell(1, 1), "old");
  }
}

TEST_F(DbfImportTest, AppendGoesByPositionAndSkipsMemos) {
  DbfLayout s;
  s.version = 131;  // with a memo file, which the import never reads
  s.fields = {{"NOM", 'C', 8}, {"NOTE", 'M', 10}, {"PRIX", 'N', 6}, {"EXTRA", 'C', 2}};
  s.rows = {{{"Andr\x82", "         1", "  12.5", "zz"}},
            {{"B", "", "", ""}, true},
            {{"C", "", "     3", ""}}};
  const std::string path = Write("Trois.DBF", s.Bytes());
  Write("Trois.DBT", std::string(512, '\0'));
  TQor2 t;
  FillOld(t);
  t.AddField("Y");
  t.AddField("Z");
  const TImportResult r = AppendDbfTable(t, path);
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.appended, 3);
  EXPECT_EQ(t.TableName, "Ancienne");
  ASSERT_EQ(t.FieldCount(), 3);
  ASSERT_EQ(t.RecordCount(), 4);
  EXPECT_EQ(t.GetCell(1, 2), "Andr\xE9");
  EXPECT_EQ(t.GetCell(2, 2), "");  // the memo's place stays empty
  EXPECT_EQ(t.GetCell(3, 2), "12.5");
  EXPECT_EQ(t.GetCell(1, 3), "B");  // marked deleted, imported all the same
  EXPECT_EQ(t.GetCell(1, 4), "C");  // the last record too
  EXPECT_EQ(t.GetCell(3, 4), "3");
}

TEST_F(DbfImportTest, ADamagedTableKeepsWhatWasAppendedBeforeIt) {
  DbfLayout s;
  s.fields = {{"NOM", 'C', 5}};
  s.rows = {{{"un"}}, {{"deux"}}, {{"trois"}}};
  s.recordCount = 5;  // two records more than the file holds
  TQor2 t;
  FillOld(t);
  TImportResult r = AppendDbfTable(t, Write("d.dbf", s.Bytes()));
  EXPECT_EQ(r.status.Cause(), TFailure::DbfRecordUnreadable);
  EXPECT_EQ(r.appended, 3);
  EXPECT_EQ(t.GetCell(1, 4), "trois");

  // A name the reader would not read as it stands changes nothing.
  r = AppendDbfTable(t, Write("d.dbf.bak", s.Bytes()));
  EXPECT_EQ(r.status.Cause(), TFailure::NotADbfName);
  EXPECT_EQ(AppendDbfTable(t, dir_ + "/absent.dbf").status.Cause(), TFailure::NotFound);
  EXPECT_EQ(t.RecordCount(), 4);
}

TEST_F(DbfImportTest, ACancelledAppendLeavesTheTableAsItWas) {
  DbfLayout s;
  s.fields = {{"NOM", 'C', 5}};
  s.rows.assign(1500, dbftest::Row{{"x"}});
  TQor2 t;
  FillOld(t);
  int64_t seen = 0;
  const TImportResult r = AppendDbfTable(t, Write("c.dbf", s.Bytes()), [&](int64_t done, int64_t) {
    seen = done;
    return false;
  });
  EXPECT_TRUE(r.cancelled);
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(seen, 1024);
  EXPECT_EQ(t.RecordCount(), 1);
}

// The disk fails in mid-table: a load keeps the table it had, an import keeps
// the records read before the failure, and both say why.
TEST_F(DbfImportTest, AReadErrorInMidTableSaysWhy) {
  DbfLayout s;
  s.fields = {{"NOM", 'C', 5}};
  s.rows.assign(40000, dbftest::Row{{"x"}});  // 240 KB, several reads
  const std::string path = Write("big.dbf", s.Bytes());
  TQor2 t;
  FillOld(t);
  TFaultyFileSystem fileSystem;
  fileSystem.Arm(TFaultyFileSystem::TFault::ReadError, 100000);
  EXPECT_EQ(LoadDbfTable(path, t, fileSystem).Cause(), TFailure::ReadError);
  EXPECT_EQ(t.TableName, "Ancienne");
  ASSERT_EQ(t.RecordCount(), 1);

  fileSystem.Arm(TFaultyFileSystem::TFault::ReadError, 100000);
  const TImportResult r = AppendDbfTable(t, path, nullptr, fileSystem);
  EXPECT_EQ(r.status.Cause(), TFailure::ReadError);
  EXPECT_GT(r.appended, 0);
  EXPECT_LT(r.appended, 40000);
  EXPECT_EQ(t.RecordCount(), 1 + r.appended);
  EXPECT_EQ(t.GetCell(1, t.RecordCount()), "x");

  fileSystem.Arm(TFaultyFileSystem::TFault::RefuseRead);
  EXPECT_EQ(AppendDbfTable(t, path, nullptr, fileSystem).status.Cause(),
            TFailure::PermissionDenied);
  EXPECT_EQ(t.RecordCount(), 1 + r.appended);
}

TEST_F(DbfImportTest, WithoutMemoryNothingIsLoadedOrAppended) {
  DbfLayout s;
  s.fields = {{"NOM", 'C', 8}};
  s.rows.assign(3000, dbftest::Row{{"Dupont"}});
  const std::string path = Write("m.dbf", s.Bytes());
  TQor2 t;
  FillOld(t);
  for (size_t allowed : {0, 2}) {
    TAllocationLimit limit(allowed);
    EXPECT_EQ(LoadDbfTable(path, t).Cause(), TFailure::OutOfMemory) << allowed;
    const TImportResult r = AppendDbfTable(t, path);
    EXPECT_EQ(r.status.Cause(), TFailure::OutOfMemory) << allowed;
    EXPECT_EQ(r.appended, 0);
  }
  EXPECT_EQ(t.TableName, "Ancienne");
  ASSERT_EQ(t.RecordCount(), 1);
  EXPECT_EQ(t.GetCell(1, 1), "old");
}

TEST(TableImportTest, TheFileNameChoosesOneImport) {
  EXPECT_EQ(ImportKindOf("/data/clients.txt.bak"), TImportKind::Tab);
  EXPECT_EQ(ImportKindOf("/data/CLIENTS.CSV"), TImportKind::Semicolon);
  EXPECT_EQ(ImportKindOf("/data/clients.dbf.txt"), TImportKind::Tab);  // once, not twice
  EXPECT_EQ(ImportKindOf("/my.txt/clients.dbf"), TImportKind::Dbase);  // folders do not count
  EXPECT_EQ(ImportKindOf("/data/clients.dat"), TImportKind::None);
}

}  // namespace
