#include <gtest/gtest.h>

#include "TQor2.h"
#include "TestFiles.h"

namespace {

TQor2* MakeTable(TQor2& t, std::initializer_list<std::string> fields,
                 std::initializer_list<std::vector<std::string>> rows) {
  for (const std::string& f : fields) t.AddField(f);
  for (const auto& row : rows) {
    t.Append();
    for (size_t i = 0; i < row.size(); ++i) t.SetFieldValue(static_cast<int>(i) + 1, row[i]);
  }
  return &t;
}

TEST(CsvFile, EscapesAndReadsBack) {
  TempDir dir;
  TQor2 t;
  MakeTable(t, {"A", "B"}, {{"a;b\\c\r\nd", "x"}, {"lone\nlf", "lone\rcr"}});
  ASSERT_TRUE(t.SaveCsvFile(dir.File("t.csv")));
  EXPECT_EQ(ReadBytes(dir.File("t.csv")),
            "A;B\r\n"
            "a\\;b\\\\c\\nd;x\r\n"
            "lonelf;lone\\ncr\r\n");
  TQor2 u;
  ASSERT_TRUE(u.LoadFromFile(dir.File("t.csv")));
  EXPECT_EQ(u.TableName, "t");
  EXPECT_EQ(u.GetCell(1, 1), "a;b\\c\r\nd");
  EXPECT_EQ(u.GetCell(1, 2), "lonelf");      // a lone LF is lost
  EXPECT_EQ(u.GetCell(2, 2), "lone\r\ncr");  // a lone CR comes back as CR LF
  EXPECT_EQ(u.RecNo(), 2);
}

TEST(CsvFile, LineShapes) {
  TempDir dir;
  WriteBytes(dir.File("l.csv"),
             "A;B;;A\r\n"
             "1;2;3;4\r\n"
             "\r\n"
             "   \r\n"
             "only\r\n"
             "end\\\r\n"
             "x\\y;\\N\x1A"
             "after eof\r\n");
  TQor2 t;
  ASSERT_TRUE(t.LoadCsvFile(dir.File("l.csv")));
  ASSERT_EQ(t.FieldCount(), 2);     // the blank and repeated names make no field
  ASSERT_EQ(t.RecordCount(), 4);    // blank lines are skipped
  EXPECT_EQ(t.GetCell(2, 1), "2");  // extra values dropped
  EXPECT_EQ(t.GetCell(1, 2), "only");
  EXPECT_EQ(t.GetCell(2, 2), "");
  EXPECT_EQ(t.GetCell(1, 3), "end\\");  // a backslash ending the line stands for itself
  EXPECT_EQ(t.GetCell(1, 4), "xy");
  EXPECT_EQ(t.GetCell(2, 4), "\r\n");
}

// The program writes CR LF; files from elsewhere end their lines in LF or CR,
// and read the same.
TEST(CsvFile, LfAndCrEndLinesAsCrLfDoes) {
  TempDir dir;
  WriteBytes(dir.File("lf.csv"), "A;B\nc;d\re;f\r\ng\\nh;i\n\n");
  TQor2 t;
  ASSERT_TRUE(t.LoadCsvFile(dir.File("lf.csv")));
  ASSERT_EQ(t.FieldCount(), 2);
  EXPECT_EQ(t.GetFieldName(2), "B");
  ASSERT_EQ(t.RecordCount(), 3);
  EXPECT_EQ(t.GetCell(2, 1), "d");
  EXPECT_EQ(t.GetCell(1, 2), "e");
  EXPECT_EQ(t.GetCell(1, 3), "g\r\nh");  // the escape still stands for CR LF
  EXPECT_EQ(t.GetCell(2, 3), "i");
}

TEST(CsvFile, NamesAreWrittenUnescapedAndTablesWithoutFields) {
  TempDir dir;
  TQor2 t;
  MakeTable(t, {"a;b"}, {{"v"}});
  ASSERT_TRUE(t.SaveCsvFile(dir.File("n.csv")));
  TQor2 u;
  ASSERT_TRUE(u.LoadCsvFile(dir.File("n.csv")));
  EXPECT_EQ(u.FieldCount(), 2);

  TQor2 e;
  e.Append();
  e.Append();
  ASSERT_TRUE(e.SaveCsvFile(dir.File("e.csv")));
  EXPECT_EQ(ReadBytes(dir.File("e.csv")), "\r\n\r\n");
}

TEST(CsvFile, FailuresKeepTheTable) {
  TempDir dir;
  TQor2 t;
  MakeTable(t, {"A"}, {{"v"}});
  t.TableName = "kept";
  EXPECT_FALSE(t.LoadCsvFile(dir.File("missing.csv")));
  EXPECT_EQ(t.ErrorCode, 3);
  EXPECT_EQ(t.ErrorMessage, "1-Unable to open the file for reading");
  EXPECT_FALSE(t.LoadCsvFile("   "));
  EXPECT_EQ(t.ErrorCode, 3);
  EXPECT_EQ(t.TableName, "kept");
  EXPECT_EQ(t.GetCell(1, 1), "v");
  EXPECT_FALSE(t.SaveCsvFile(dir.File("none/x.csv")));
  EXPECT_EQ(t.ErrorMessage, "1-Unable to open the file for writing");
}

TEST(TxtFile, QuotesStringsAndReadsBack) {
  TempDir dir;
  TQor2 t;
  MakeTable(t, {"Nom", "Montant"}, {{"dit \"oui\"; 1 234", "12,5"}, {"a\r\nb", ""}});
  t.SetFieldType(2, "FLOAT");
  ASSERT_TRUE(t.SaveToFile(dir.File("t.txt")));
  EXPECT_EQ(ReadBytes(dir.File("t.txt")),
            "\"Nom\";\"Montant\"\r\n"
            "\"dit \"\"oui\"\"; 1 234\";12,5\r\n"
            "\"a\r\nb\";\r\n");
  TQor2 u;
  ASSERT_TRUE(u.LoadFromFile(dir.File("t.txt")));
  ASSERT_EQ(u.RecordCount(), 2);
  EXPECT_EQ(u.GetCell(1, 1), "dit \"oui\"; 1 234");
  EXPECT_EQ(u.GetCell(2, 1), "12,5");
  EXPECT_EQ(u.GetCell(1, 2), "a\r\nb");
  EXPECT_EQ(u.GetFieldType(1), "STRING");
  EXPECT_EQ(u.GetFieldType(2), "FLOAT");  // bare values come back as numbers
  EXPECT_EQ(u.TableName, "t");
}

TEST(TxtFile, TokenRules) {
  TempDir dir;
  WriteBytes(dir.File("k.txt"),
             "\"A\";B ;\"\";C\r\n"
             "1 234;\"x  y\";z\r\n"
             "\r\n"
             ";;last");
  TQor2 t;
  ASSERT_TRUE(t.LoadTxtFile(dir.File("k.txt")));
  ASSERT_EQ(t.FieldCount(), 3);  // the empty token makes no field
  ASSERT_EQ(t.RecordCount(), 3);
  EXPECT_EQ(t.GetCell(1, 1), "1234");  // spaces outside quotes are dropped
  EXPECT_EQ(t.GetCell(2, 1), "x  y");
  EXPECT_EQ(t.GetCell(1, 2), "");      // an empty line gives an empty record
  EXPECT_EQ(t.GetCell(3, 3), "last");  // last line without CR LF
}

TEST(TxtFile, LfAndCrEndLinesAndTheLastBreakAddsNothing) {
  TempDir dir;
  WriteBytes(dir.File("lf.txt"), "\"A\";\"B\"\n\"x\";1\r\"y\";\"a\nb\"\n");
  TQor2 t;
  ASSERT_TRUE(t.LoadTxtFile(dir.File("lf.txt")));
  ASSERT_EQ(t.FieldCount(), 2);
  EXPECT_EQ(t.GetFieldName(2), "B");
  ASSERT_EQ(t.RecordCount(), 2);
  EXPECT_EQ(t.GetCell(2, 1), "1");
  EXPECT_EQ(t.GetCell(2, 2), "a\nb");  // a line break inside quotes is the value's
  WriteBytes(dir.File("f.txt"), "\"A\"\r\n\"x\"\r\n");
  ASSERT_TRUE(t.LoadTxtFile(dir.File("f.txt")));
  EXPECT_EQ(t.RecordCount(), 1);
  WriteBytes(dir.File("g.txt"), "\"A\"\n\"x\"\n");
  ASSERT_TRUE(t.LoadTxtFile(dir.File("g.txt")));
  EXPECT_EQ(t.RecordCount(), 1);
}

TEST(TxtFile, UnopenableFileKeepsTheTableAndSaysWhy) {
  TempDir dir;
  TQor2 t;
  MakeTable(t, {"A"}, {{"v"}});
  EXPECT_FALSE(t.LoadTxtFile(dir.File("missing.txt")));
  EXPECT_EQ(t.ErrorCode, 3);
  EXPECT_EQ(t.GetCell(1, 1), "v");
}

}  // namespace
