// Files that are not what they should be, and saves that fail part-way:
// each gives its cause, leaves the table that was being read as it was, and
// leaves every file as it was, without a temporary file.

#include <gtest/gtest.h>

#include <random>

#include "ForeignTable.h"
#include "FormatsTest.h"
#include "TFaultyFileSystem.h"
#include "TestFiles.h"

namespace {

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    kept.TableName = "garde";
    kept.AddField("x");
    kept.Append();
    kept.SetFieldValue(1, "intact");
  }
  // Reading `path` fails with `cause` and leaves the table as it was.
  void ExpectRefused(const std::string& path, TFailure cause, const std::string& sheet = "") {
    TForeignReport report;
    TForeignOptions options;
    options.part = sheet;
    const TStatus s = ReadForeignTable(path, kept, report, options);
    EXPECT_EQ(s.Cause(), cause) << path << ": " << FailureReason(s.Cause()) << " " << s.Detail();
    EXPECT_EQ(Dump(kept), "garde\nx:STRING|\nintact|\n") << path;
  }
  std::string Cell(const std::string& text) {
    return "<row><c t=\"inlineStr\"><is><t>" + text + "</t></is></c></row>";
  }
  TempDir dir;
  TQor2 kept;
};

TEST_F(BadInput, FilesNotWhatTheirEndingSays) {
  WriteBytes(dir.File("texte.xlsx"), "Nom;Ville\r\nDupont;Lyon\r\n");
  ExpectRefused(dir.File("texte.xlsx"), TFailure::NotAWorkbook);
  WriteBytes(dir.File("texte.ods"), "Nom;Ville\r\n");
  ExpectRefused(dir.File("texte.ods"), TFailure::NotAWorkbook);
  // An OpenDocument file named .xlsx, and the other way round.
  ASSERT_TRUE(MakeZip(dir.File("ods.xlsx"), OdsParts("<table:table table:name=\"a\"/>")));
  ExpectRefused(dir.File("ods.xlsx"), TFailure::NotAWorkbook);
  ASSERT_TRUE(MakeZip(dir.File("xlsx.ods"), XlsxParts(Cell("a"))));
  ExpectRefused(dir.File("xlsx.ods"), TFailure::NotAWorkbook);
  WriteBytes(dir.File("texte.sqlite"), std::string(2048, 'x'));
  ExpectRefused(dir.File("texte.sqlite"), TFailure::NotADatabase);
  ExpectRefused(dir.File("absent.xlsx"), TFailure::NotFound);
  ExpectRefused(dir.File("absent.db"), TFailure::NotFound);
}

TEST_F(BadInput, DamagedArchivesAndXml) {
  TQor2 t;
  MakeClients(t);
  ASSERT_TRUE(WriteForeignTable(t, dir.File("c.xlsx")));
  std::string bytes = ReadBytes(dir.File("c.xlsx"));
  // Cut short: the archive's directory is gone.
  WriteBytes(dir.File("cut.xlsx"), bytes.substr(0, bytes.size() / 2));
  TForeignReport report;
  const TStatus cut = ReadForeignTable(dir.File("cut.xlsx"), kept, report);
  EXPECT_TRUE(cut.Cause() == TFailure::NotAWorkbook || cut.Cause() == TFailure::DamagedFile);
  // Compressed bytes changed inside the sheet: its check fails.
  ASSERT_TRUE(MakeZip(dir.File("flip.xlsx"), XlsxParts(Cell(std::string(5000, 'a') + "b"))));
  bytes = ReadBytes(dir.File("flip.xlsx"));
  const size_t sheet = bytes.find("xl/worksheets/sheet1.xml");
  ASSERT_NE(sheet, std::string::npos);
  bytes[sheet + 40] = static_cast<char>(bytes[sheet + 40] ^ 0x55);
  WriteBytes(dir.File("flip.xlsx"), bytes);
  ExpectRefused(dir.File("flip.xlsx"), TFailure::DamagedFile);
  // XML that does not close, and a shared string that is not there.
  ASSERT_TRUE(MakeZip(dir.File("xml.xlsx"), XlsxParts("<row><c><v>1</v></row>")));
  ExpectRefused(dir.File("xml.xlsx"), TFailure::DamagedFile);
  ASSERT_TRUE(MakeZip(dir.File("sst.xlsx"),
                      XlsxParts("<row><c t=\"s\"><v>7</v></c></row>", "<si><t>seul</t></si>")));
  ExpectRefused(dir.File("sst.xlsx"), TFailure::DamagedFile);
  ASSERT_TRUE(MakeZip(dir.File("xml.ods"), OdsParts("<table:table><table:table-row>")));
  ExpectRefused(dir.File("xml.ods"), TFailure::DamagedFile);
}

TEST_F(BadInput, EncryptedWorkbooks) {
  // Excel protects a workbook by wrapping it in an OLE compound file.
  WriteBytes(dir.File("secret.xlsx"),
             std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(1024, '\0'));
  ExpectRefused(dir.File("secret.xlsx"), TFailure::EncryptedFile);
  // A zip whose parts are encrypted.
  if (!zip_encryption_method_supported(ZIP_EM_AES_256, 1)) GTEST_SKIP() << "libzip without AES";
  int error = 0;
  zip_t* z = zip_open(dir.File("aes.ods").c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_TRUE(z);
  const std::string content = OdsParts("<table:table table:name=\"a\"/>")[1].second;
  zip_source_t* src = zip_source_buffer(z, content.data(), content.size(), 0);
  const zip_int64_t i = zip_file_add(z, "content.xml", src, 0);
  ASSERT_GE(i, 0);
  ASSERT_EQ(zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), ZIP_EM_AES_256, "motdepasse"),
            0);
  ASSERT_EQ(zip_close(z), 0);
  ExpectRefused(dir.File("aes.ods"), TFailure::EncryptedFile);
}

TEST_F(BadInput, ZipBombsAreRefused) {
  // A sheet of a few megabytes of blanks inflates a thousand times its size.
  const std::string blanks(3 << 20, ' ');
  ASSERT_TRUE(MakeZip(dir.File("bomb.xlsx"), XlsxParts(Cell("a") + blanks)));
  ExpectRefused(dir.File("bomb.xlsx"), TFailure::ZipBomb);
  std::vector<std::pair<std::string, std::string>> ods = OdsParts("<table:table/>" + blanks);
  ASSERT_TRUE(MakeZip(dir.File("bomb.ods"), ods));
  ExpectRefused(dir.File("bomb.ods"), TFailure::ZipBomb);
  // The shared strings are held to the same rule.
  ASSERT_TRUE(MakeZip(dir.File("sst.xlsx"), XlsxParts(Cell("a"), "<si><t>x</t></si>" + blanks)));
  ExpectRefused(dir.File("sst.xlsx"), TFailure::ZipBomb);
}

TEST_F(BadInput, AMillionColumnsOrRowsAreRefused) {
  ASSERT_TRUE(MakeZip(dir.File("wide.xlsx"),
                      XlsxParts("<row><c r=\"BDWGN1\"><v>1</v></c></row>")));  // column 1,000,000
  ExpectRefused(dir.File("wide.xlsx"), TFailure::TooManyColumns);
  std::string cells;
  for (int i = 0; i < 16385; ++i) cells += "<c><v>1</v></c>";
  ASSERT_TRUE(MakeZip(dir.File("wide2.xlsx"), XlsxParts("<row>" + cells + "</row>")));
  ExpectRefused(dir.File("wide2.xlsx"), TFailure::TooManyColumns);
  ASSERT_TRUE(
      MakeZip(dir.File("long.xlsx"), XlsxParts("<row r=\"2000000\"><c><v>1</v></c></row>")));
  ExpectRefused(dir.File("long.xlsx"), TFailure::TooManyRows);
  ASSERT_TRUE(MakeZip(dir.File("wide.ods"),
                      OdsParts("<table:table table:name=\"a\"><table:table-row><table:table-cell "
                               "office:value-type=\"float\" office:value=\"1\" "
                               "table:number-columns-repeated=\"1000000\"/></table:table-row>"
                               "</table:table>")));
  ExpectRefused(dir.File("wide.ods"), TFailure::TooManyColumns);
  ASSERT_TRUE(MakeZip(dir.File("long.ods"),
                      OdsParts("<table:table table:name=\"a\"><table:table-row "
                               "table:number-rows-repeated=\"2000000000\"><table:table-cell "
                               "office:value-type=\"float\" office:value=\"1\"/></table:table-row>"
                               "</table:table>")));
  ExpectRefused(dir.File("long.ods"), TFailure::TooManyRows);
}

TEST_F(BadInput, RepeatsThatWouldFillTheMemoryAreRefused) {
  // A few bytes of file: one line of 16,384 cells repeated a million times.
  ASSERT_TRUE(MakeZip(dir.File("rep.ods"),
                      OdsParts("<table:table table:name=\"a\"><table:table-row "
                               "table:number-rows-repeated=\"1000000\"><table:table-cell "
                               "office:value-type=\"float\" office:value=\"1\" "
                               "table:number-columns-repeated=\"16384\"/></table:table-row>"
                               "</table:table>")));
  ExpectRefused(dir.File("rep.ods"), TFailure::OutOfMemory);
}

TEST_F(BadInput, AHugeCellIsRefused) {
  // Eleven megabytes of letters that compress only a few times.
  std::mt19937 rng(7);
  std::string big(11 << 20, 'a');
  for (char& c : big) c = static_cast<char>('a' + rng() % 16);
  ASSERT_TRUE(MakeZip(dir.File("big.xlsx"), XlsxParts(Cell(big))));
  ExpectRefused(dir.File("big.xlsx"), TFailure::CellTooLarge);
  ASSERT_TRUE(
      MakeZip(dir.File("big.ods"),
              OdsParts("<table:table table:name=\"a\"><table:table-row><table:table-cell "
                       "office:value-type=\"string\"><text:p>" +
                       big + "</text:p></table:table-cell></table:table-row></table:table>")));
  ExpectRefused(dir.File("big.ods"), TFailure::CellTooLarge);
}

TEST_F(BadInput, ASheetOrTableThatIsNotThere) {
  TQor2 t;
  MakeClients(t);
  for (const char* name : {"c.xlsx", "c.ods", "c.sqlite"}) {
    ASSERT_TRUE(WriteForeignTable(t, dir.File(name))) << name;
    ExpectRefused(dir.File(name), TFailure::NoSuchSheet, "Absente");
  }
}

TEST_F(BadInput, AFailedSaveLeavesThePreviousFileAndNoTemporary) {
  TQor2 t;
  MakeClients(t);
  using F = TFaultyFileSystem::TFault;
  for (const char* name : {"c.xlsx", "c.ods", "c.sqlite"}) {
    WriteBytes(dir.File(name), "avant");
    for (const F fault : {F::RefuseTemporary, F::FailSync, F::FailRename}) {
      {
        TFaultyFileSystem fs;
        fs.Arm(fault);
        const TStatus s = WriteForeignTable(t, dir.File(name));
        EXPECT_FALSE(s.ok()) << name << " " << FaultName(fault);
      }
      EXPECT_EQ(ReadBytes(dir.File(name)), "avant") << name << " " << FaultName(fault);
      EXPECT_FALSE(std::ifstream(dir.File(std::string(".") + name + ".tmp")).good()) << name;
    }
  }
  // A table too large for a sheet writes nothing at all.
  t.Append();
  t.SetFieldValue(4, std::string(40000, 'x'));
  EXPECT_EQ(WriteForeignTable(t, dir.File("c.xlsx")).Cause(), TFailure::TooLargeForXlsx);
  EXPECT_EQ(ReadBytes(dir.File("c.xlsx")), "avant");
  // Into a folder that does not exist.
  EXPECT_EQ(WriteForeignTable(t, dir.File("non/c.ods")).Cause(), TFailure::FolderNotFound);
}

}  // namespace
