// The XML form of a table: exact bytes, escaping, the Windows-1252 to UTF-8
// conversion, and a save that fails leaving the previous file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "TQor2.h"
#include "TXmlWriter.h"
#include "TestFiles.h"

namespace {

std::unique_ptr<TQor2> Table(const std::vector<std::string>& fields,
                             const std::vector<std::vector<std::string>>& rows) {
  auto t = std::make_unique<TQor2>();
  for (const std::string& f : fields) t->AddField(f);
  for (const auto& row : rows) {
    t->Append();
    for (size_t i = 0; i < row.size(); ++i) t->SetFieldValue(static_cast<int>(i) + 1, row[i]);
  }
  return t;
}

}  // namespace

TEST(TXmlWriterTest, OneRecordGivesExactlySevenLines) {
  auto t = Table({"Nom", "Ville"}, {{"Dupont", "Paris"}});
  t->GoToRecord(1);
  EXPECT_EQ(TXmlWriter::Text(*t),
            "<?xml version=\"1.0\" ?>\r\n"
            "<racine>\r\n"
            "<record>\r\n"
            "<Nom>Dupont</Nom>\r\n"
            "<Ville>Paris</Ville>\r\n"
            "</record>\r\n"
            "</racine>\r\n");
  EXPECT_EQ(t->RecNo(), 1);  // the cursor is not moved
}

TEST(TXmlWriterTest, EmptyTablesAndEmptyValues) {
  EXPECT_EQ(TXmlWriter::Text(*Table({}, {})),
            "<?xml version=\"1.0\" ?>\r\n<racine>\r\n</racine>\r\n");
  EXPECT_EQ(TXmlWriter::Text(*Table({"A"}, {{""}, {"x"}})),
            "<?xml version=\"1.0\" ?>\r\n<racine>\r\n"
            "<record>\r\n<A></A>\r\n</record>\r\n"
            "<record>\r\n<A>x</A>\r\n</record>\r\n"
            "</racine>\r\n");
  // A record without fields still has its block.
  TQor2 bare;
  bare.Append();
  EXPECT_EQ(TXmlWriter::Text(bare),
            "<?xml version=\"1.0\" ?>\r\n<racine>\r\n<record>\r\n</record>\r\n</racine>\r\n");
}

TEST(TXmlWriterTest, MarkupCharactersAreEscaped) {
  std::string out;
  TXmlWriter::AppendEscaped(out, "a<b & c>d \"e\" 'f'");
  EXPECT_EQ(out, "a&lt;b &amp; c&gt;d \"e\" 'f'");
  out.clear();
  TXmlWriter::AppendEscaped(out, "&amp;");
  EXPECT_EQ(out, "&amp;amp;");
}

TEST(TXmlWriterTest, Windows1252BecomesUtf8) {
  std::string out;
  TXmlWriter::AppendEscaped(out, "\xE9t\xE9 \x80 \x9C \xA0 \xFF \x81 \x9D");
  EXPECT_EQ(out, "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xC5\x93 \xC2\xA0 \xC3\xBF \xC2\x81 \xC2\x9D");
  // Tab, line feed and carriage return stay; other controls cannot be in XML.
  out.clear();
  TXmlWriter::AppendEscaped(out, std::string("a\tb\nc\rd\x01"
                                             "e\0f",
                                             11));
  EXPECT_EQ(out,
            "a\tb\nc\rd\xEF\xBF\xBD"
            "e\xEF\xBF\xBD"
            "f");
  // Field names are converted too.
  EXPECT_NE(TXmlWriter::Text(*Table({"Pr\xE9nom"}, {{"L\xE9o"}}))
                .find("<Pr\xC3\xA9nom>L\xC3\xA9o</Pr\xC3\xA9nom>\r\n"),
            std::string::npos);
}

// Any field name gives an element that XML readers accept.
TEST(TXmlWriterTest, FieldNamesBecomeXmlNames) {
  auto t = Table({"Code postal", "2e adresse", "-x", ".y", "a:b", "Pr\xE9nom", "N\xB0", "Prix \x80",
                  "Qt\xE9 (kg)", "x&y<z", "_ok-1.2"},
                 {{"75001", "", "", "", "",
                   "L\xE9"
                   "a",
                   "3", "", "", "", ""}});
  const std::string xml = TXmlWriter::Text(*t);
  EXPECT_EQ(xml.substr(xml.find("<record>")),
            "<record>\r\n"
            "<Code_postal>75001</Code_postal>\r\n"
            "<_2e_adresse></_2e_adresse>\r\n"
            "<_-x></_-x>\r\n"
            "<_.y></_.y>\r\n"
            "<a_b></a_b>\r\n"
            "<Pr\xC3\xA9nom>L\xC3\xA9"
            "a</Pr\xC3\xA9nom>\r\n"
            "<N_>3</N_>\r\n"
            "<Prix_\xE2\x82\xAC></Prix_\xE2\x82\xAC>\r\n"
            "<Qt\xC3\xA9__kg_></Qt\xC3\xA9__kg_>\r\n"
            "<x_y_z></x_y_z>\r\n"
            "<_ok-1.2></_ok-1.2>\r\n"
            "</record>\r\n"
            "</racine>\r\n");

  if (std::system("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
  TempDir dir;
  ASSERT_TRUE(SaveXmlFile(*t, dir.File("t.xml")));
  EXPECT_EQ(std::system(("xmllint --noout '" + dir.File("t.xml") + "'").c_str()), 0);
}

TEST(TXmlWriterTest, RecordBlocksCanBeWrittenOneByOne) {
  auto t = Table({"N"}, {{"1"}, {"2"}, {"3"}});
  std::string out;
  TXmlWriter::Begin(out);
  TXmlWriter::AppendRecord(out, *t, 3);
  TXmlWriter::AppendRecord(out, *t, 0);
  TXmlWriter::AppendRecord(out, *t, 4);
  TXmlWriter::End(out);
  EXPECT_EQ(out,
            "<?xml version=\"1.0\" ?>\r\n<racine>\r\n<record>\r\n<N>3</N>\r\n</record>\r\n"
            "</racine>\r\n");
}

TEST(TXmlWriterTest, SaveWritesTheFileOrLeavesThePreviousOne) {
  TempDir dir;
  auto t = Table({"A"}, {{"x&y"}});
  const std::string path = dir.File("t.xml");
  ASSERT_TRUE(SaveXmlFile(*t, path));
  EXPECT_EQ(ReadBytes(path), TXmlWriter::Text(*t));
  EXPECT_EQ(t->ErrorCode, 0);

  chmod(path.c_str(), 0444);
  auto other = Table({"B"}, {{"z"}});
  EXPECT_FALSE(SaveXmlFile(*other, path));
  EXPECT_EQ(other->ErrorCode, 3);
  EXPECT_EQ(other->ErrorMessage, "1-Unable to open the file for writing");
  EXPECT_EQ(ReadBytes(path), TXmlWriter::Text(*t));
  EXPECT_FALSE(SaveXmlFile(*other, dir.File("missing/t.xml")));
}
