#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TQor2.h"
#include "TXlsWriter.h"
#include "TXmlWriter.h"
#include "TestFiles.h"

namespace {

std::string U16(uint16_t v) {
  return std::string{char(v & 0xFF), char(v >> 8)};
}
std::string U32(uint32_t v) {
  return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}
std::string Str(const std::string& s) {
  return U32(static_cast<uint32_t>(s.size())) + s;
}
std::string Swap(const std::string& le) {
  return std::string(le.rbegin(), le.rend());
}

// A little-endian file image holding table "T" with fields N (STRING) and M
// (FLOAT) and the records ("a","1") and ("","22").
std::string SampleFile() {
  std::string body = U16(0) + Str("T") + U32(2) + U32(2);
  body += '\0' + Str("N");
  body += '\1' + Str("M");
  body += U32(4 + 1 + 4 + 1) + Str("a") + Str("1");
  body += U32(4 + 0 + 4 + 2) + Str("") + Str("22");
  return std::string("QOR") + '\2' + '\0' + '\1' + U16(1) + U16(0) + U16(0) +
         U32(static_cast<uint32_t>(body.size())) + body;
}

void ExpectSample(const TQor2& t) {
  EXPECT_EQ(t.TableName, "T");
  ASSERT_EQ(t.FieldCount(), 2);
  EXPECT_EQ(t.GetFieldName(1), "N");
  EXPECT_EQ(t.GetFieldType(1), "STRING");
  EXPECT_EQ(t.GetFieldType(2), "FLOAT");
  ASSERT_EQ(t.RecordCount(), 2);
  EXPECT_EQ(t.GetCell(1, 1), "a");
  EXPECT_EQ(t.GetCell(2, 2), "22");
  EXPECT_EQ(t.RecNo(), 2);  // the last record is current
}

TEST(QorFile, WritesExactBytes) {
  TempDir dir;
  TQor2 t;
  t.TableName = "T";
  t.AddField("N");
  t.AddField("M");
  t.SetFieldType(2, "FLOAT");
  t.Append();
  t.SetFieldValue(1, "a");
  t.SetFieldValue(2, "1");
  t.Append();
  t.SetFieldValue(2, "22");
  t.First();
  ASSERT_TRUE(t.SaveQorFile(dir.File("t.qor")));
  EXPECT_EQ(ReadBytes(dir.File("t.qor")), SampleFile());
  EXPECT_EQ(t.RecNo(), 1);  // saving does not move the cursor
}

TEST(QorFile, EmptyTableIs30BytesPlusName) {
  TempDir dir;
  TQor2 t;
  t.TableName = "clients";
  ASSERT_TRUE(t.SaveToFile(dir.File("c.QoR")));
  const std::string bytes = ReadBytes(dir.File("c.QoR"));
  ASSERT_EQ(bytes.size(), 30u + 7);
  EXPECT_EQ(bytes.substr(12, 4), U32(14 + 7));
  TQor2 u;
  ASSERT_TRUE(u.LoadFromFile(dir.File("c.QoR")));
  EXPECT_EQ(u.TableName, "clients");
  EXPECT_EQ(u.FieldCount(), 0);
  EXPECT_EQ(u.RecNo(), 0);
  EXPECT_TRUE(u.Bof && u.Eof);
}

TEST(QorFile, ReadsLittleAndBigEndianTwins) {
  TempDir dir;
  WriteBytes(dir.File("le.qor"), SampleFile());
  TQor2 t;
  ASSERT_TRUE(t.LoadQorFile(dir.File("le.qor")));
  ExpectSample(t);

  std::string body = Swap(U16(0)) + Swap(U32(1)) + "T" + Swap(U32(2)) + Swap(U32(2));
  body += '\0' + Swap(U32(1)) + "N";
  body += '\1' + Swap(U32(1)) + "M";
  body += Swap(U32(10)) + Swap(U32(1)) + "a" + Swap(U32(1)) + "1";
  body += Swap(U32(10)) + Swap(U32(0)) + Swap(U32(2)) + "22";
  std::string be = std::string("QOR") + '\2' + '\0' + '\0' + Swap(U16(1)) + Swap(U16(0)) +
                   Swap(U16(0)) + Swap(U32(static_cast<uint32_t>(body.size()))) + body;
  WriteBytes(dir.File("be.qor"), be);
  TQor2 u;
  ASSERT_TRUE(u.LoadQorFile(dir.File("be.qor")));
  ExpectSample(u);
}

TEST(QorFile, RoundTripKeepsEveryByteAndUnknownTypesBecomeString) {
  TempDir dir;
  TQor2 t;
  t.TableName = "r\xE9sum\xE9";
  t.AddField("Texte");
  t.AddField("Autre");
  t.SetFieldType(2, "DATE");
  t.Append();
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  t.SetFieldValue(1, all);
  ASSERT_TRUE(t.SaveQorFile(dir.File("r.qor")));
  TQor2 u;
  ASSERT_TRUE(u.LoadQorFile(dir.File("r.qor")));
  EXPECT_EQ(u.TableName, t.TableName);
  EXPECT_EQ(u.GetCell(1, 1), all);
  EXPECT_EQ(u.GetFieldType(2), "STRING");
}

TEST(QorFile, ValueIsCutAtZeroByteAndSecondTableIgnored) {
  TempDir dir;
  std::string f = SampleFile();
  f[6] = 2;  // two tables: only the first is read
  f += "garbage after the first table";
  const size_t at = f.find(Str("a"));
  f.replace(at, 5, U32(1) + std::string(1, '\0'));
  WriteBytes(dir.File("z.qor"), f);
  TQor2 t;
  ASSERT_TRUE(t.LoadQorFile(dir.File("z.qor")));
  EXPECT_EQ(t.GetCell(1, 1), "");
  EXPECT_EQ(t.GetCell(2, 2), "22");
}

TEST(QorFile, RepeatedFieldNameShiftsLaterFields) {
  TempDir dir;
  std::string body = U16(0) + Str("T") + U32(3) + U32(1);
  body += '\0' + Str("A") + '\1' + Str("A") + '\1' + Str("C");
  body += U32(15) + Str("1") + Str("2") + Str("3");
  std::string f = std::string("QOR") + '\2' + '\0' + '\1' + U16(1) + U16(0) + U16(0) +
                  U32(static_cast<uint32_t>(body.size())) + body;
  WriteBytes(dir.File("d.qor"), f);
  TQor2 t;
  ASSERT_TRUE(t.LoadQorFile(dir.File("d.qor")));
  ASSERT_EQ(t.FieldCount(), 2);
  EXPECT_EQ(t.GetFieldName(2), "C");
  // Each type is set right after its own AddField, by descriptor number:
  // descriptor 2's type found no second field yet, and 3's no third.
  EXPECT_EQ(t.GetFieldType(2), "STRING");
  EXPECT_EQ(t.GetCell(2, 1), "2");
}

class QorLoadFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    t.TableName = "kept";
    t.AddField("X");
    t.Append();
    t.SetFieldValue(1, "v");
    t.Append();
    t.First();
  }
  void ExpectKept() {
    EXPECT_EQ(t.TableName, "kept");
    EXPECT_EQ(t.FieldCount(), 1);
    EXPECT_EQ(t.RecordCount(), 2);
    EXPECT_EQ(t.GetCell(1, 1), "v");
    EXPECT_EQ(t.RecNo(), 1);
  }
  bool Load(const std::string& bytes) {
    WriteBytes(dir.File("bad.qor"), bytes);
    return t.LoadFromFile(dir.File("bad.qor")).ok();
  }
  TempDir dir;
  TQor2 t;
};

TEST_F(QorLoadFailure, HeaderErrorsKeepTheTable) {
  EXPECT_FALSE(t.LoadQorFile(dir.File("missing.qor")));
  EXPECT_EQ(t.ErrorCode, 3);
  EXPECT_EQ(t.ErrorMessage, "4-Unable to open file for reading");
  ExpectKept();

  std::string f = SampleFile();
  f[0] = 'X';
  EXPECT_FALSE(Load(f));
  EXPECT_EQ(t.ErrorCode, 2);
  EXPECT_EQ(t.ErrorMessage, "1-File's Signature must be QOR");
  ExpectKept();

  f = SampleFile();
  f[6] = 0;
  EXPECT_FALSE(Load(f));
  EXPECT_EQ(t.ErrorMessage, "2-number of tables must be at least 1");
  ExpectKept();

  f = SampleFile();
  f[10] = 1;
  EXPECT_FALSE(Load(f));
  EXPECT_EQ(t.ErrorCode, 2);
  EXPECT_EQ(t.ErrorMessage, "3-First Block must be a TABLE");
  ExpectKept();

  EXPECT_FALSE(t.LoadQorFile(dir.Path()));  // a folder cannot be read
  EXPECT_EQ(t.ErrorCode, 3);
  ExpectKept();
}

TEST_F(QorLoadFailure, EveryTruncationIsRefusedAndKeepsTheTable) {
  const std::string f = SampleFile();
  for (size_t n = 0; n < f.size(); ++n) {
    EXPECT_FALSE(Load(f.substr(0, n))) << n;
    EXPECT_EQ(t.ErrorCode, 2) << n;
    ExpectKept();
  }
  EXPECT_TRUE(Load(f));
  EXPECT_EQ(t.ErrorCode, 0);
}

TEST_F(QorLoadFailure, HugeCountsAndLengthsAreRefused) {
  std::string f = SampleFile();
  f.replace(23, 4, U32(0x7FFFFFFF));  // field count
  EXPECT_FALSE(Load(f));
  ExpectKept();
  f = SampleFile();
  f.replace(27, 4, U32(0x7FFFFFFF));  // record count
  EXPECT_FALSE(Load(f));
  EXPECT_EQ(t.ErrorCode, 2);
  ExpectKept();
  f = SampleFile();
  f.replace(18, 4, U32(0xFFFFFFF0));  // table name length
  EXPECT_FALSE(Load(f));
  ExpectKept();
}

TEST(QorSave, FailedSaveLeavesPreviousFile) {
  TempDir dir;
  const std::string path = dir.File("t.qor");
  WriteBytes(path, "previous");
  chmod(path.c_str(), 0444);
  TQor2 t;
  t.AddField("A");
  EXPECT_FALSE(t.SaveQorFile(path));
  EXPECT_EQ(t.ErrorCode, 3);
  EXPECT_EQ(t.ErrorMessage, "1-Unable to open the file for writing");
  EXPECT_EQ(ReadBytes(path), "previous");

  EXPECT_FALSE(t.SaveToFile(dir.File("no/such/folder/t.qor")));
  EXPECT_EQ(t.ErrorCode, 3);
  EXPECT_FALSE(t.SaveToFile(dir.Path()));  // a folder
  EXPECT_EQ(t.ErrorCode, 3);

  chmod(path.c_str(), 0644);
  ASSERT_TRUE(t.SaveQorFile(path));
  EXPECT_EQ(t.ErrorCode, 0);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);  // the replaced file keeps its permissions
  // No temporary file is left beside the target.
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) entries += e.is_regular_file();
  EXPECT_EQ(entries, 1);
}

TEST(QorSave, FileKindPicksTheFormat) {
  EXPECT_EQ(TQor2::FileKind("a.qor"), "QOR");
  EXPECT_EQ(TQor2::FileKind("liste.Txt"), "TXT");
  EXPECT_EQ(TQor2::FileKind("xqor"), "QOR");  // no point needed
  EXPECT_EQ(TQor2::FileKind("ab"), "");
  TempDir dir;
  TQor2 t;
  t.AddField("A");
  t.Append();
  t.SetFieldValue(1, "x");
  ASSERT_TRUE(t.SaveToFile(dir.File("t.dat")));  // unknown ending: escaped text
  EXPECT_EQ(ReadBytes(dir.File("t.dat")), "A\r\nx\r\n");
  // The spreadsheet and the XML form by their endings too, in any case.
  ASSERT_TRUE(t.SaveToFile(dir.File("t.XmL")));
  EXPECT_EQ(ReadBytes(dir.File("t.XmL")), TXmlWriter::Text(t));
  ASSERT_TRUE(t.SaveToFile(dir.File("t.xls")));
  ASSERT_TRUE(SaveXlsFile(t, dir.File("reference.xls")));
  EXPECT_EQ(ReadBytes(dir.File("t.xls")), ReadBytes(dir.File("reference.xls")));
}

}  // namespace
