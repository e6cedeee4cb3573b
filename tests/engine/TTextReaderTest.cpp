// Text files as users send them, opened as tables: what the reader detects and
// the table a user then sees, for each file of a small corpus (textfiles/);
// and what reading in pieces of any size, huge lines and wide files do.

#include <gtest/gtest.h>

#include <fstream>

#include "TQor2.h"
#include "TRecordCollector.h"
#include "TTextReader.h"
#include "TableContents.h"
#include "TestFiles.h"
#include "TextTable.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string CaseFile(const std::string& name) {
  return std::string(TEXT_FILES_DIR) + "/" + name;
}

struct Case {
  const char* file;
  char separator;
  TTextEncoding encoding;
  bool byteOrderMark;
  bool header;
  std::vector<std::string> fields;
  Rows records;
  int64_t replaced;
  int64_t openQuoteLine;
};

const TTextEncoding kAscii = TTextEncoding::Ascii, kUtf8 = TTextEncoding::Utf8,
                    kCp1252 = TTextEncoding::Windows1252;

const Case kCases[] = {
    {"releve-banque.csv",
     ';',
     kCp1252,
     false,
     true,
     {"Date:STRING", "Libell\xE9:STRING", "Montant:FLOAT", "Solde:FLOAT"},
     {{"02/01/2024", "Pr\xE9l\xE8vement EDF", "-45,20", "1 234,56"},
      {"03/01/2024", "Virement re\xE7u; loyer", "650,00", "1 884,56"},
      {"05/01/2024", "Carte Caf\xE9 de la Gare", "-3,50", "1 881,06"}},
     0,
     0},
    {"tableur-utf8-bom.csv",
     ';',
     kUtf8,
     true,
     true,
     {"Nom:STRING", "Code postal:STRING", "Ville:STRING", "Quantit\xE9:FLOAT"},
     {{"Zo\xE9 M\xFCller", "06000", "Nice", "1 234,5"},
      {"Jean \"Le Grand\" Dupr\xE9", "75001", "Paris", "12"},
      {"\x8C"
       "uvre \"\xC9t\xE9\"",
       "08123", "\xC9pinal", "0,5"}},
     0,
     0},
    {"boutique-virgules-lf.csv",
     ',',
     kUtf8,
     false,
     true,
     {"id:FLOAT", "name:STRING", "price:FLOAT", "note:STRING"},
     {{"1", "Chaise, ch\xEAne", "12.5", ""},
      {"2", "Table", "199",
       "livr\xE9"
       "e\nen kit"},
      {"3", "Lampe \"Arc\"", "45.90", "ok"}},
     0,
     0},
    {"liste-tab-cr.txt",
     '\t',
     kAscii,
     false,
     false,
     {"Champ1:STRING", "Champ2:FLOAT", "Champ3:STRING"},
     {{"Martin", "12", "Lyon"}, {"Durand", "7", "Nantes"}, {"Petit", "30", "Lille"}},
     0,
     0},
    {"pipes-fins-melangees.csv",
     '|',
     kAscii,
     false,
     true,
     {"ref:STRING", "qty:FLOAT", "label:STRING"},
     {{"A1", "3", "vis"}, {"B2", "10", "ecrou"}, {"C3", "7", "rondelle"}},
     0,
     0},
    {"excel-unicode-utf16le.txt",
     '\t',
     TTextEncoding::Utf16LE,
     true,
     true,
     {"Produit:STRING", "Prix:FLOAT"},
     {{"Th\xE9 vert", "4,5"}, {"Caf\xE9 ?", "3"}},
     1,
     0},
    {"utf16be.csv",
     ';',
     TTextEncoding::Utf16BE,
     true,
     true,
     {"a:STRING", "b:FLOAT"},
     {{"\xE9", "1"}},
     0,
     0},
    {"lignes-inegales.csv",
     ';',
     kAscii,
     false,
     true,
     {"Nom:STRING", "Age:FLOAT", "Champ3:STRING", "Champ4:STRING"},
     {{"Anne", "31", "", ""},
      {"Bob", "", "", ""},
      {"Carl", "45", "extra", ""},
      {"Dora", "22", "", "plus"}},
     0,
     0},
    {"guillemet-ouvert.csv",
     ';',
     kAscii,
     false,
     true,
     {"Nom:STRING", "Age:FLOAT", "Note:STRING"},
     {{"Anne", "31", "ok"}, {"Bob", "40", "pas fini\r\nCarl;12;x\r\n"}},
     0,
     3},
    {"sans-entete.csv",
     ';',
     kAscii,
     false,
     false,
     {"Champ1:STRING", "Champ2:FLOAT", "Champ3:STRING"},
     {{"Dupont", "12", "Paris"}, {"Martin", "7", "Lyon"}},
     0,
     0},
    {"utf8-octet-isole.csv",
     ';',
     kUtf8,
     false,
     false,
     {"Champ1:STRING", "Champ2:STRING"},
     {{"Nom", "Ville"},
      {"Ren\xE9",
       "Orl\xE9"
       "ans"},
      {"Ga\xEBl", "Brest"}},
     0,
     0},
    {"une-colonne.txt",
     ';',
     kAscii,
     false,
     false,
     {"Champ1:STRING"},
     {{"Ville"}, {"Paris"}, {"Lyon"}, {"75"}},
     0,
     0},
};

TEST(TextCorpus, EachFileOpensAsItsSenderMeantIt) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    TQor2 t;
    TTextReport report;
    const TStatus s = LoadTextTable(t, CaseFile(c.file), TTextOptions(), &report);
    ASSERT_TRUE(s.ok()) << FailureReason(s.Cause());
    EXPECT_EQ(report.dialect.separator, c.separator);
    EXPECT_EQ(report.dialect.encoding, c.encoding);
    EXPECT_EQ(report.dialect.byteOrderMark, c.byteOrderMark);
    EXPECT_EQ(report.dialect.header, c.header);
    EXPECT_TRUE(report.dialect.separatorDetected && report.dialect.encodingDetected &&
                report.dialect.headerDetected);
    EXPECT_EQ(report.dialect.replaced, c.replaced);
    EXPECT_EQ(report.dialect.openQuoteLine, c.openQuoteLine);
    EXPECT_EQ(FieldsOf(t), c.fields);
    EXPECT_EQ(RecordsOf(t), c.records);
    EXPECT_EQ(report.records, static_cast<int>(c.records.size()));
    EXPECT_EQ(t.RecNo(), t.RecordCount());  // the last record is current
    std::string name = c.file;
    EXPECT_EQ(t.TableName, name.substr(0, name.rfind('.')));
  }
}

// A file read a byte, a few bytes or a piece at a time gives the same records:
// values, quotes, line ends and characters cut anywhere.
TEST(TextCorpus, PiecesOfAnySizeReadTheSame) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    Rows whole;
    for (const size_t piece : {size_t{256 * 1024}, size_t{1}, size_t{2}, size_t{3}, size_t{5}}) {
      TTextReader reader(piece);
      ASSERT_TRUE(reader.Open(CaseFile(c.file)).ok());
      TRecordCollector rows;
      ASSERT_TRUE(reader.Read(rows).ok());
      EXPECT_TRUE(reader.AtEnd());
      EXPECT_EQ(reader.Dialect().encoding, c.encoding) << piece;
      EXPECT_EQ(reader.Dialect().replaced, c.replaced) << piece;
      if (whole.empty())
        whole = rows.rows;
      else
        EXPECT_EQ(rows.rows, whole) << piece;
    }
  }
}

TEST(TextReader, AFileWithZeroBytesIsRefusedAndTheTableKept) {
  TQor2 t;
  t.AddField("Kept");
  t.Append();
  const TStatus s = LoadTextTable(t, CaseFile("image.csv"));
  EXPECT_EQ(s.Cause(), TFailure::NotText);
  EXPECT_STREQ(FailureReason(s.Cause()), "ce n'est pas un fichier texte");
  EXPECT_EQ(t.FieldCount(), 1);
  EXPECT_EQ(t.RecordCount(), 1);
  EXPECT_EQ(AppendTextFile(t, CaseFile("image.csv")).Cause(), TFailure::NotText);
  EXPECT_EQ(t.RecordCount(), 1);

  TempDir dir;
  TQor2 u;
  EXPECT_EQ(LoadTextTable(u, dir.File("missing.csv")).Cause(), TFailure::NotFound);
  EXPECT_EQ(LoadTextTable(u, dir.Path()).Cause(), TFailure::IsFolder);
}

// What the user chooses wins over what the reader would find.
TEST(TextReader, GivenSeparatorEncodingAndHeaderOverrideDetection) {
  TTextOptions o;
  o.separator = ',';
  o.encoding = TTextEncoding::Windows1252;
  o.header = TTextHeader::No;
  TQor2 t;
  TTextReport report;
  ASSERT_TRUE(LoadTextTable(t, CaseFile("tableur-utf8-bom.csv"), o, &report).ok());
  EXPECT_FALSE(report.dialect.separatorDetected || report.dialect.encodingDetected ||
               report.dialect.headerDetected);
  EXPECT_EQ(report.dialect.encoding, TTextEncoding::Windows1252);
  EXPECT_FALSE(report.dialect.byteOrderMark);  // a UTF-8 mark is then three letters
  ASSERT_EQ(t.FieldCount(), 2);                // "1 234,5" holds the one comma
  EXPECT_EQ(t.GetCell(1, 1), "\xEF\xBB\xBFNom;Code postal;Ville;Quantit\xC3\xA9");

  o = TTextOptions();
  o.header = TTextHeader::Yes;
  ASSERT_TRUE(LoadTextTable(t, CaseFile("sans-entete.csv"), o, &report).ok());
  EXPECT_EQ(FieldsOf(t), (std::vector<std::string>{"Dupont:STRING", "12:FLOAT", "Paris:STRING"}));
  EXPECT_EQ(t.RecordCount(), 1);
}

// A line of millions of bytes, or of thousands of values, reads in pieces:
// what the reader holds stays one piece, and the table gets every value.
TEST(TextReader, HugeLinesAndWideFilesAreReadWhole) {
  TempDir dir;
  std::string longValue(3 << 20, 'x');
  longValue[12345] = '"';
  std::string quoted = longValue;
  quoted.insert(12345, "\"");
  WriteBytes(dir.File("long.csv"), "a;" + longValue + ";b\n\"q;" + quoted + "\"\n");
  TQor2 t;
  ASSERT_TRUE(LoadTextTable(t, dir.File("long.csv")).ok());
  ASSERT_EQ(t.FieldCount(), 3);
  ASSERT_EQ(t.RecordCount(), 2);
  // (Compared as truths: a failure would print megabytes.)
  EXPECT_TRUE(t.GetCell(2, 1) == longValue);
  EXPECT_TRUE(t.GetCell(1, 2) == "q;" + longValue);

  std::string wide, names;
  for (int i = 1; i <= 10000; ++i) {
    names += (i > 1 ? ";N" : "N") + std::to_string(i);
    wide += (i > 1 ? ";" : "") + std::to_string(i);
  }
  WriteBytes(dir.File("wide.csv"), names + "\r\n" + wide + "\r\n" + wide + "\r\n");
  ASSERT_TRUE(LoadTextTable(t, dir.File("wide.csv")).ok());
  ASSERT_EQ(t.FieldCount(), 10000);
  EXPECT_EQ(t.GetFieldName(10000), "N10000");
  EXPECT_EQ(t.GetFieldType(10000), "FLOAT");
  EXPECT_EQ(t.GetCell(9999, 2), "9999");
}

// Beyond the columns a spreadsheet holds, values are dropped and counted; a
// line far wider than the rest cannot make the table larger than its file.
TEST(TextReader, WideningStopsWhereMemoryWouldRunAway) {
  TempDir dir;
  std::string line;
  for (int i = 0; i < TTextReader::kMaxFields + 5; ++i) line += "v;";
  WriteBytes(dir.File("w.csv"), "a\n" + line + "\n");
  TQor2 t;
  TTextReport report;
  ASSERT_TRUE(LoadTextTable(t, dir.File("w.csv"), TTextOptions(), &report).ok());
  EXPECT_EQ(t.FieldCount(), TTextReader::kMaxFields);
  EXPECT_EQ(report.droppedValues, 5);
  EXPECT_EQ(t.GetCell(TTextReader::kMaxFields, 2), "v");
}

}  // namespace
