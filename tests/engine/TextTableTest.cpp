// Text files made into tables and tables into text: the fields and types an
// opened file gets, where imported values land, what the import's preview
// shows, which reader takes which file, and the export for spreadsheets.

#include <gtest/gtest.h>

#include <cerrno>

#include "SpreadsheetCsv.h"
#include "TFaultyFileSystem.h"
#include "TPosixFileSystem.h"
#include "TQor2.h"
#include "TableContents.h"
#include "TestFiles.h"
#include "TextTable.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Names = std::vector<std::string>;

void Fill(TQor2& t, const Names& fields, const Rows& rows) {
  for (const std::string& f : fields) t.AddField(f);
  for (const auto& row : rows) {
    t.Append();
    for (size_t i = 0; i < row.size(); ++i) t.SetFieldValue(static_cast<int>(i) + 1, row[i]);
  }
}

// The machine's files, whose reads fail once `budget` bytes were read.
class FailingReads : public TPosixFileSystem {
 public:
  explicit FailingReads(long budget) : budget_(budget), previous_(SetFileSystem(this)) {}
  ~FailingReads() override { SetFileSystem(previous_); }
  long Read(int fd, void* data, size_t size) override {
    if (budget_ <= 0) {
      errno = EIO;
      return -1;
    }
    const long n = TPosixFileSystem::Read(fd, data, std::min<size_t>(size, budget_));
    budget_ -= n;
    return n;
  }

 private:
  long budget_;
  IFileSystem* previous_;
};

TEST(OpenTextFile, FieldsAreNamedUniquelyAndTypedByTheirValues) {
  TempDir dir;
  WriteBytes(dir.File("c.csv"),
             " Nom ; ;Nom;Code;Prix;Vide;Tel\r\n"
             "  Anne ;a;b;06000;1 234,5;;0612\r\n"
             "Bob;c;d;75001;-3;;+33\r\n"
             "Carl;e;f;;0,5;;7\r\n");
  TQor2 t;
  ASSERT_TRUE(LoadTextTable(t, dir.File("c.csv")).ok());
  EXPECT_EQ(FieldsOf(t), (Names{"Nom:STRING", "Champ2:STRING", "Nom3:STRING", "Code:STRING",
                                "Prix:FLOAT", "Vide:STRING", "Tel:STRING"}));
  EXPECT_EQ(t.GetCell(1, 1), "  Anne ");  // values are kept exactly
  EXPECT_EQ(t.GetCell(4, 1), "06000");
  EXPECT_EQ(t.TableName, "c");

  // Without a header: ChampN, and a later line wider than the first ones.
  WriteBytes(dir.File("n.csv"), "1;x\r\n2;y\r\n3;z;w\r\n");
  ASSERT_TRUE(LoadTextTable(t, dir.File("n.csv")).ok());
  EXPECT_EQ(FieldsOf(t), (Names{"Champ1:FLOAT", "Champ2:STRING", "Champ3:STRING"}));
  EXPECT_EQ(RecordsOf(t), (Rows{{"1", "x", ""}, {"2", "y", ""}, {"3", "z", "w"}}));
}

TEST(ImportTextFile, ValuesGoByHeaderNamesInAnyOrder) {
  TempDir dir;
  TQor2 t;
  Fill(t, {"Nom", "Ville", "Age"}, {{"Zo\xE9", "Nice", "40"}});
  WriteBytes(dir.File("i.csv"), "Ville,nom , AGE\nLyon,Anne,31\nLille,Bob\n");
  TTextReport report;
  ASSERT_TRUE(AppendTextFile(t, dir.File("i.csv"), TTextOptions(), &report).ok());
  EXPECT_TRUE(report.dialect.header);
  EXPECT_TRUE(report.byName);
  EXPECT_EQ(report.records, 2);
  EXPECT_EQ(report.droppedValues, 0);
  EXPECT_EQ(RecordsOf(t),
            (Rows{{"Zo\xE9", "Nice", "40"}, {"Anne", "Lyon", "31"}, {"Bob", "Lille", ""}}));
  EXPECT_EQ(t.RecNo(), 3);
}

TEST(ImportTextFile, ValuesGoByPositionOtherwiseAndWhatIsDroppedIsCounted) {
  TempDir dir;
  TQor2 t;
  Fill(t, {"A", "B"}, {});
  // A header the table does not know: by position, the header not appended.
  WriteBytes(dir.File("h.csv"), "Name;Age;Extra\r\nAnne;31;x\r\nBob;;\r\nCarl\r\n");
  TTextReport report;
  ASSERT_TRUE(AppendTextFile(t, dir.File("h.csv"), TTextOptions(), &report).ok());
  EXPECT_FALSE(report.byName);
  EXPECT_EQ(report.droppedValues, 1);  // "x"; an empty value is no loss
  EXPECT_EQ(RecordsOf(t), (Rows{{"Anne", "31"}, {"Bob", ""}, {"Carl", ""}}));

  // The records of a table exported by the program come back without their header.
  TQor2 own;
  Fill(own, {"Nom", "Note", "Prix"}, {{"Anne", "dit \"oui\"; bien", "12,5"}, {"Bob", "", "3"}});
  own.SetFieldType(3, "FLOAT");
  ASSERT_TRUE(own.SaveTxtFile(dir.File("own.txt")));
  ASSERT_TRUE(AppendTextFile(own, dir.File("own.txt")).ok());
  EXPECT_EQ(RecordsOf(own), (Rows{{"Anne", "dit \"oui\"; bien", "12,5"},
                                  {"Bob", "", "3"},
                                  {"Anne", "dit \"oui\"; bien", "12,5"},
                                  {"Bob", "", "3"}}));
}

TEST(ImportTextFile, CancelOrFailureLeavesTheTableAsItWas) {
  TempDir dir;
  std::string text = "N;V\r\n";
  for (int i = 0; i < 20000; ++i)
    text += "n" + std::to_string(i) + ";" + std::to_string(i) + "\r\n";
  WriteBytes(dir.File("big.csv"), text);
  TQor2 t;
  Fill(t, {"N", "V"}, {{"kept", "1"}});
  int asked = 0;
  TTextReport report;
  ASSERT_TRUE(AppendTextFile(t, dir.File("big.csv"), TTextOptions(), &report,
                             [&](int64_t done, int64_t total) {
                               EXPECT_LE(done, total);
                               return ++asked < 3;
                             })
                  .ok());
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(RecordsOf(t), (Rows{{"kept", "1"}}));

  TQor2 opened;
  Fill(opened, {"Old"}, {{"o"}});
  {
    FailingReads reads(100000);
    const TStatus s = AppendTextFile(t, dir.File("big.csv"));
    EXPECT_EQ(s.Cause(), TFailure::ReadError);
    EXPECT_EQ(LoadTextTable(opened, dir.File("big.csv")).Cause(), TFailure::ReadError);
  }
  EXPECT_EQ(RecordsOf(t), (Rows{{"kept", "1"}}));
  EXPECT_EQ(FieldsOf(opened), Names{"Old:STRING"});
  EXPECT_EQ(RecordsOf(opened), Rows{{"o"}});
}

TEST(ImportPreview, ShowsTheFirstRecordsAsTheyWillBeAppended) {
  TempDir dir;
  std::string text = "Age;Nom;Pays\r\n";
  for (int i = 1; i <= 30; ++i) text += std::to_string(i) + ";n" + std::to_string(i) + ";x\r\n";
  WriteBytes(dir.File("p.csv"), text);
  TTextPreview preview;
  ASSERT_TRUE(
      PreviewTextImport(dir.File("p.csv"), TTextOptions(), {"NOM", "AGE"}, 20, preview).ok());
  EXPECT_EQ(preview.headerNames, (Names{"Age", "Nom", "Pays"}));
  ASSERT_EQ(preview.records.size(), 20u);
  EXPECT_EQ(preview.report.records, 20);
  // "Pays" is no field of the table: by position.
  EXPECT_FALSE(preview.report.byName);
  EXPECT_EQ(preview.records[0], (Names{"1", "n1"}));
  EXPECT_EQ(preview.report.droppedValues, 20);
  EXPECT_EQ(preview.report.dialect.separator, ';');

  // Changing a choice changes the preview.
  TTextOptions noHeader;
  noHeader.header = TTextHeader::No;
  ASSERT_TRUE(PreviewTextImport(dir.File("p.csv"), noHeader, {"NOM", "AGE"}, 2, preview).ok());
  EXPECT_EQ(preview.records, (Rows{{"Age", "Nom"}, {"1", "n1"}}));

  // A file of one huge line: only its first megabyte is read.
  WriteBytes(dir.File("huge.csv"), std::string(3 << 20, 'x') + "\r\n");
  ASSERT_TRUE(PreviewTextImport(dir.File("huge.csv"), TTextOptions(), {"A"}, 20, preview).ok());
  EXPECT_TRUE(preview.report.dialect.cut);
  ASSERT_EQ(preview.records.size(), 1u);
  EXPECT_EQ(preview.records[0][0].size(), size_t{1} << 20);
}

TEST(RecognizeTextFile, TheProgramsOwnFilesKeepTheirReaders) {
  TempDir dir;
  TQor2 t;
  Fill(t, {"Nom", "Note"}, {{"\"Cit\xE9\"", "a;b\\c"}, {"x", "12"}});
  ASSERT_TRUE(t.SaveCsvFile(dir.File("own.csv")));
  ASSERT_TRUE(t.SaveTxtFile(dir.File("own.txt")));
  ASSERT_TRUE(t.SaveCsvFile(dir.File("plain.dat")));
  TQor2 plain;
  Fill(plain, {"Nom", "Ville"}, {{"Anne", "Lyon"}});
  ASSERT_TRUE(plain.SaveCsvFile(dir.File("plain.csv")));
  ASSERT_TRUE(plain.SaveTxtFile(dir.File("plain.TXT")));

  const struct {
    std::string file;
    std::string bytes;  // written first when not empty
    TTextFileKind kind;
  } cases[] = {
      {"own.csv", "", TTextFileKind::VekEscaped},
      {"own.txt", "", TTextFileKind::VekQuoted},
      {"plain.dat", "", TTextFileKind::VekEscaped},
      {"plain.csv", "", TTextFileKind::VekEscaped},
      {"plain.TXT", "", TTextFileKind::VekQuoted},
      {"empty.csv", " ", TTextFileKind::VekEscaped},
      {"lf.csv", "a;b\n1;2\n", TTextFileKind::Delimited},
      {"bom.csv",
       "\xEF\xBB\xBF"
       "a;b\r\n",
       TTextFileKind::Delimited},
      {"comma.csv", "a,b\r\n1,2\r\n", TTextFileKind::Delimited},
      {"quoted.csv", "a;b\r\n\"x;y\";2\r\n", TTextFileKind::Delimited},
      {"path.csv", "a;b\r\nC:\\temp;2\r\n", TTextFileKind::Delimited},
      {"utf8.csv", "a;b\r\n\xC3\xA9t\xC3\xA9;2\r\n", TTextFileKind::Delimited},
      {"tab.txt", "a\tb\r\n1\t2\r\n", TTextFileKind::Delimited},
      {"list.tsv", "a;b\r\n", TTextFileKind::Delimited},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    if (!c.bytes.empty()) WriteBytes(dir.File(c.file), c.bytes == " " ? "" : c.bytes);
    TTextFileKind kind;
    ASSERT_TRUE(RecognizeTextFile(dir.File(c.file), kind).ok());
    EXPECT_EQ(kind, c.kind);
  }
  TTextFileKind kind;
  EXPECT_EQ(RecognizeTextFile(dir.File("none.csv"), kind).Cause(), TFailure::NotFound);
}

TEST(SpreadsheetCsv, QuotesOnlyWhereNeededAndReadsBack) {
  TempDir dir;
  TQor2 t;
  Fill(t, {"Nom", "Code", "Note;x"},
       {{"Zo\xE9", "06000", "dit \"oui\""}, {" Bob", "75001", "a\r\nb"}, {"", "0,5", "\x80"}});
  t.SetFieldType(2, "FLOAT");
  ASSERT_TRUE(SaveSpreadsheetCsv(t, dir.File("s.csv")).ok());
  EXPECT_EQ(ReadBytes(dir.File("s.csv")),
            "\xEF\xBB\xBFNom;Code;\"Note;x\"\r\n"
            "Zo\xC3\xA9;\"06000\";\"dit \"\"oui\"\"\"\r\n"
            "\" Bob\";75001;\"a\r\nb\"\r\n"
            ";0,5;\xE2\x82\xAC\r\n");
  TQor2 back;
  TTextReport report;
  ASSERT_TRUE(LoadTextTable(back, dir.File("s.csv"), TTextOptions(), &report).ok());
  EXPECT_EQ(report.dialect.encoding, TTextEncoding::Utf8);
  EXPECT_TRUE(report.dialect.header);
  EXPECT_EQ(RecordsOf(back), RecordsOf(t));
  EXPECT_EQ(FieldsOf(back), (Names{"Nom:STRING", "Code:STRING", "Note;x:STRING"}));

  // A failed write keeps the previous file.
  {
    TFaultyFileSystem fileSystem;
    fileSystem.Arm(TFaultyFileSystem::TFault::DiskFull, 10);
    EXPECT_EQ(SaveSpreadsheetCsv(back, dir.File("s.csv")).Cause(), TFailure::DiskFull);
  }
  EXPECT_EQ(ReadBytes(dir.File("s.csv")).substr(0, 6), "\xEF\xBB\xBFNom");
  EXPECT_EQ(SaveSpreadsheetCsv(t, dir.File("no/s.csv")).Cause(), TFailure::FolderNotFound);
}

// A table of texts alone has no column of numbers to tell its names from a
// record: its export for spreadsheets still comes back with its names, with
// records or without; the same lines in a plain text file keep the first as a
// record, and so does a first line narrower than the lines below.
TEST(SpreadsheetCsv, AnAllTextTableComesBackWithItsNames) {
  TempDir dir;
  TQor2 t;
  Fill(t, {"Nom", "Ville"},
       {{"Dupont", "Nice"},
        {"Zo\xE9",
         "Orl\xE9"
         "ans"}});
  ASSERT_TRUE(SaveSpreadsheetCsv(t, dir.File("s.csv")).ok());
  TQor2 back;
  ASSERT_TRUE(LoadTextTable(back, dir.File("s.csv"), TTextOptions()).ok());
  EXPECT_EQ(FieldsOf(back), (Names{"Nom:STRING", "Ville:STRING"}));
  EXPECT_EQ(RecordsOf(back), RecordsOf(t));

  TQor2 empty, emptyBack;
  Fill(empty, {"Nom", "Ville"}, {});
  ASSERT_TRUE(SaveSpreadsheetCsv(empty, dir.File("e.csv")).ok());
  ASSERT_TRUE(LoadTextTable(emptyBack, dir.File("e.csv"), TTextOptions()).ok());
  EXPECT_EQ(FieldsOf(emptyBack), (Names{"Nom:STRING", "Ville:STRING"}));
  EXPECT_EQ(emptyBack.RecordCount(), 0);

  WriteBytes(dir.File("p.csv"), "Nom;Ville\r\nDupont;Nice\r\n");
  TQor2 plain;
  ASSERT_TRUE(LoadTextTable(plain, dir.File("p.csv"), TTextOptions()).ok());
  EXPECT_EQ(RecordsOf(plain), (Rows{{"Nom", "Ville"}, {"Dupont", "Nice"}}));
  // Nor does a first line narrower than the lines below name them.
  WriteBytes(dir.File("n.csv"), "\xEF\xBB\xBFNom\r\nDupont;Nice\r\n");
  ASSERT_TRUE(LoadTextTable(plain, dir.File("n.csv"), TTextOptions()).ok());
  EXPECT_EQ(RecordsOf(plain), (Rows{{"Nom", ""}, {"Dupont", "Nice"}}));
}

}  // namespace
