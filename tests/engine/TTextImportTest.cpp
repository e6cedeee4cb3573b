// Appending tab and semicolon text to a table, and writing a selection: what a
// user finds in the table and in the written file.

#include <gtest/gtest.h>

#include <filesystem>

#include "TFaultyFileSystem.h"
#include "TQor2.h"
#include "TTextImport.h"
#include "TableExport.h"
#include "TestFiles.h"

namespace {

// A table with the given fields and one record "old" in the first.
void MakeTable(TQor2& t, int fields) {
  for (int i = 1; i <= fields; ++i) t.AddField("F" + std::to_string(i));
  t.Append();
  t.SetFieldValue(1, "old");
}

std::vector<std::string> Record(const TQor2& t, int recNo) {
  std::vector<std::string> v;
  for (int i = 1; i <= t.FieldCount(); ++i) v.push_back(t.GetCell(i, recNo).str());
  return v;
}

using Values = std::vector<std::string>;

}  // namespace

TEST(TTextImportTest, LinesBecomeRecordsByPositionAfterTheOthers) {
  TempDir dir;
  const std::string path = dir.File("two.txt");
  WriteBytes(path, "Dupont\tParis\r\nDurand\tLyon\tx\ty\r\n");

  TQor2 three;
  MakeTable(three, 3);
  TImportResult r = TTextImport::Append(three, path, '\t');
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.appended, 2);
  ASSERT_EQ(three.RecordCount(), 3);
  EXPECT_EQ(Record(three, 1), (Values{"old", "", ""}));
  EXPECT_EQ(Record(three, 2), (Values{"Dupont", "Paris", ""}));
  EXPECT_EQ(Record(three, 3), (Values{"Durand", "Lyon", "x"}));

  TQor2 one;
  MakeTable(one, 1);
  TTextImport::Append(one, path, '\t');
  EXPECT_EQ(Record(one, 2), Values{"Dupont"});
  EXPECT_EQ(Record(one, 3), Values{"Durand"});

  // Any line end; an empty line is an empty record; a last line without its
  // break counts; nothing is cut at 255 characters; byte 26 ends the file.
  const std::string longValue(300, 'z');
  WriteBytes(path, "a;b\nc;" + longValue +
                       "\r\re;\xE9t\xE9\x1A"
                       "after");
  TQor2 two;
  MakeTable(two, 2);
  r = TTextImport::Append(two, path, ';');
  EXPECT_FALSE(r.utf8);
  ASSERT_EQ(two.RecordCount(), 5);
  EXPECT_EQ(Record(two, 2), (Values{"a", "b"}));
  EXPECT_EQ(Record(two, 3), (Values{"c", longValue}));
  EXPECT_EQ(Record(two, 4), (Values{"", ""}));
  EXPECT_EQ(Record(two, 5), (Values{"e", "\xE9t\xE9"}));  // Windows-1252 as it stands
}

TEST(TTextImportTest, Utf8IsRecognisedAndConverted) {
  TempDir dir;
  const std::string path = dir.File("u.txt");
  // Without a mark: é, the euro sign, and a character Windows-1252 lacks.
  WriteBytes(path, "Caf\xC3\xA9\t\xE2\x82\xAC 5\r\n\xE4\xB8\xAD\xE6\x96\x87\r\n");
  TQor2 t;
  MakeTable(t, 2);
  TImportResult r = TTextImport::Append(t, path, '\t');
  EXPECT_TRUE(r.utf8);
  EXPECT_EQ(r.replaced, 2);
  EXPECT_EQ(Record(t, 2), (Values{"Caf\xE9", "\x80 5"}));
  EXPECT_EQ(Record(t, 3), (Values{"??", ""}));

  // With the mark, plain ASCII is UTF-8 too and the mark is no part of a value.
  WriteBytes(path, "\xEF\xBB\xBFNom\r\n");
  TQor2 m;
  MakeTable(m, 1);
  r = TTextImport::Append(m, path, '\t');
  EXPECT_TRUE(r.utf8);
  EXPECT_EQ(m.GetCell(1, 2), "Nom");

  // Text that is not well-formed UTF-8 stays byte for byte, even when part of
  // it would read as UTF-8.
  WriteBytes(path, "\xC3\xA9t\xE9\r\n");
  TQor2 w;
  MakeTable(w, 1);
  r = TTextImport::Append(w, path, '\t');
  EXPECT_FALSE(r.utf8);
  EXPECT_EQ(r.replaced, 0);
  EXPECT_EQ(w.GetCell(1, 2), "\xC3\xA9t\xE9");
}

TEST(TTextImportTest, ACancelledImportLeavesTheTableAsItWas) {
  TempDir dir;
  const std::string path = dir.File("big.csv");
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "v" + std::to_string(i) + ";w\r\n";
  WriteBytes(path, text);
  TQor2 t;
  MakeTable(t, 2);
  int64_t seenDone = 0, seenTotal = 0;
  const TImportResult r = TTextImport::Append(t, path, ';', [&](int64_t done, int64_t total) {
    seenDone = done;
    seenTotal = total;
    return false;
  });
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.appended, 0);
  EXPECT_EQ(t.RecordCount(), 1);
  EXPECT_EQ(seenTotal, static_cast<int64_t>(text.size()));
  EXPECT_GT(seenDone, 0);

  // A missing file changes nothing either.
  EXPECT_EQ(TTextImport::Append(t, dir.File("absent.csv"), ';').status.Cause(), TFailure::NotFound);
  EXPECT_EQ(TTextImport::Append(t, dir.Path(), ';').status.Cause(), TFailure::IsFolder);
  EXPECT_EQ(t.RecordCount(), 1);
}

TEST(TTextImportTest, AFileWithAZeroByteAtItsStartIsNoText) {
  TempDir dir;
  const std::string path = dir.File("binary.txt");
  TQor2 t;
  MakeTable(t, 2);
  // A program, a spreadsheet, or text in UTF-16: refused whole.
  for (const std::string& bytes : {std::string("MZ\x90\0\x03\0\0\0Nom\tVille\r\n", 16),
                                   std::string("\xFF\xFEN\0o\0m\0\r\0\n\0", 12),
                                   std::string(65535, 'a') + std::string(1, '\0')}) {
    WriteBytes(path, bytes);
    const TImportResult r = TTextImport::Append(t, path, '\t');
    EXPECT_EQ(r.status.Cause(), TFailure::NotText);
    EXPECT_EQ(r.appended, 0);
    EXPECT_EQ(t.RecordCount(), 1);
  }
  // Beyond the first 64 KB a zero byte is one more character of a value.
  WriteBytes(path, std::string(65536, 'a') + std::string("b\0c\td", 5) + "\r\n");
  const TImportResult r = TTextImport::Append(t, path, '\t');
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(Record(t, 2), (Values{std::string(65536, 'a') + std::string("b\0c", 3), "d"}));
}

// The disk fails in the second block of the file: the lines read whole before
// it are appended, and the import says why it stopped.
TEST(TTextImportTest, AReadErrorKeepsTheLinesReadWholeAndSaysWhy) {
  TempDir dir;
  const std::string path = dir.File("big.csv");
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "ligne " + std::to_string(100000 + i) + ";x\r\n";
  WriteBytes(path, text);
  TQor2 t;
  MakeTable(t, 2);
  TFaultyFileSystem fileSystem;
  // The import reads the file once to learn its encoding, then again for its lines.
  fileSystem.Arm(TFaultyFileSystem::TFault::ReadError, text.size() + 70000);
  const TImportResult r = TTextImport::Append(t, path, ';', nullptr, fileSystem);
  EXPECT_EQ(r.status.Cause(), TFailure::ReadError);
  const int whole = 65536 / 16;  // lines of 16 bytes in the first 64 KB
  EXPECT_EQ(r.appended, whole);
  ASSERT_EQ(t.RecordCount(), 1 + whole);
  EXPECT_EQ(Record(t, 1 + whole), (Values{"ligne " + std::to_string(100000 + whole - 1), "x"}));

  fileSystem.Arm(TFaultyFileSystem::TFault::ReadError, 1000);  // while learning the encoding
  EXPECT_EQ(TTextImport::Append(t, path, ';', nullptr, fileSystem).status.Cause(),
            TFailure::ReadError);
  EXPECT_EQ(t.RecordCount(), 1 + whole);
}

TEST(TableExportTest, ASelectionIsWrittenAsPlainLinesOrAsXml) {
  TempDir dir;
  TQor2 t;
  t.AddField("Nom");
  t.AddField("Ville");
  const char* rows[][2] = {{"Dupont", "Lyon"}, {"Durand", "Paris"}, {"A<B & \xE9", "Lyon"}};
  for (auto& row : rows) {
    t.Append();
    t.SetFieldValue(1, row[0]);
    t.SetFieldValue(2, row[1]);
  }
  ASSERT_TRUE(ExportSelection(t, dir.File("s.csv"), TExportFormat::Csv, "Ville", "=", "Lyon"));
  EXPECT_EQ(ReadBytes(dir.File("s.csv")), "Dupont;Lyon\r\nA<B & \xE9;Lyon\r\n");
  ASSERT_TRUE(ExportSelection(t, dir.File("s.txt"), TExportFormat::Txt, "Ville", "=", "Lyon"));
  EXPECT_EQ(ReadBytes(dir.File("s.txt")), "Dupont\tLyon\r\nA<B & \xE9\tLyon\r\n");
  ASSERT_TRUE(ExportSelection(t, dir.File("s.xml"), TExportFormat::Xml, "Ville", "=", "Lyon"));
  EXPECT_EQ(ReadBytes(dir.File("s.xml")),
            "<?xml version=\"1.0\" ?>\r\n<racine>\r\n"
            "<record>\r\n<Nom>Dupont</Nom>\r\n<Ville>Lyon</Ville>\r\n</record>\r\n"
            "<record>\r\n<Nom>A&lt;B &amp; \xC3\xA9</Nom>\r\n<Ville>Lyon</Ville>\r\n</record>\r\n"
            "</racine>\r\n");

  // Nothing selected: an empty file. A write that fails keeps the old file.
  ASSERT_TRUE(ExportSelection(t, dir.File("s.txt"), TExportFormat::Txt, "Ville", "=", "Nice"));
  EXPECT_EQ(ReadBytes(dir.File("s.txt")), "");
  TFaultyFileSystem fileSystem;
  fileSystem.Arm(TFaultyFileSystem::TFault::DiskFull, 5);
  EXPECT_FALSE(ExportSelection(t, dir.File("s.csv"), TExportFormat::Csv, "Ville", "=", "Paris"));
  EXPECT_EQ(t.ErrorCode, 3);
  EXPECT_EQ(t.ErrorMessage,
            "Erreur d'\xE9"
            "criture du fichier");
  EXPECT_EQ(ReadBytes(dir.File("s.csv")), "Dupont;Lyon\r\nA<B & \xE9;Lyon\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
}
