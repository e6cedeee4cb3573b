#include <gtest/gtest.h>

#include <sstream>

#include "DbfBytes.h"
#include "LargeMemory.h"
#include "TFaultyFileSystem.h"
#include "TQor2.h"
#include "TTableLock.h"
#include "TestFiles.h"
#include "VekTool.h"

namespace {

struct Result {
  int code;
  std::string out, err;
};

Result RunTool(std::vector<std::string> args) {
  std::ostringstream out, err;
  VekTool tool(out, err);
  const int code = tool.Run(args);
  return {code, out.str(), err.str()};
}

class Tool : public ::testing::Test {
 protected:
  void SetUp() override {
    TQor2 t;
    t.TableName = "clients";
    t.AddField("Nom");
    t.AddField("Montant");
    t.SetFieldType(2, "FLOAT");
    const char* rows[][2] = {
        {"Martin", "10"}, {"Dupont", "9,5"}, {"Martin", "10"}, {"Abel", "100"}};
    for (auto& r : rows) {
      t.Append();
      t.SetFieldValue(1, r[0]);
      t.SetFieldValue(2, r[1]);
    }
    ASSERT_TRUE(t.SaveQorFile(dir.File("c.qor")));
  }
  std::vector<std::string> Column(const std::string& file, int field) {
    TQor2 t;
    EXPECT_TRUE(t.LoadFromFile(file));
    std::vector<std::string> v;
    for (int r = 1; r <= t.RecordCount(); ++r) v.push_back(t.GetCell(field, r).str());
    return v;
  }
  TempDir dir;
};

TEST_F(Tool, Info) {
  const Result r = RunTool({"info", dir.File("c.qor")});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out,
            "table\tclients\nfields\t2\nrecords\t4\nfield\tNom\tSTRING\nfield\tMontant\tFLOAT\n");
}

TEST_F(Tool, SortUsesTheFieldType) {
  ASSERT_EQ(RunTool({"sort", dir.File("c.qor"), "Montant", dir.File("s.qor")}).code, 0);
  EXPECT_EQ(Column(dir.File("s.qor"), 2), (std::vector<std::string>{"9,5", "10", "10", "100"}));
  ASSERT_EQ(RunTool({"sort", dir.File("c.qor"), "Nom", dir.File("d.csv"), "--desc"}).code, 0);
  EXPECT_EQ(Column(dir.File("d.csv"), 1),
            (std::vector<std::string>{"Martin", "Martin", "Dupont", "Abel"}));
  const Result bad = RunTool({"sort", dir.File("c.qor"), "Absent", dir.File("x.qor")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.qor")));
}

TEST_F(Tool, DedupAndConvert) {
  ASSERT_EQ(RunTool({"dedup", dir.File("c.qor"), dir.File("u.txt")}).code, 0);
  EXPECT_EQ(ReadBytes(dir.File("u.txt")),
            "\"Nom\";\"Montant\"\r\n\"Martin\";10\r\n\"Dupont\";9,5\r\n\"Abel\";100\r\n");
  ASSERT_EQ(RunTool({"convert", dir.File("c.qor"), dir.File("c.XLS")}).code, 0);
  EXPECT_EQ(ReadBytes(dir.File("c.XLS")).substr(0, 4), std::string("\x09\x08\x06\x00", 4));
}

TEST_F(Tool, SqlWritesTheSelectionAsEscapedText) {
  const Result r = RunTool({"sql", dir.File("c.qor"), "SELECT Nom WHERE Montant >= 10"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "Nom\r\nMartin\r\nMartin\r\nAbel\r\n");
  ASSERT_EQ(RunTool({"sql", dir.File("c.qor"), "SELECT DISTINCT * WHERE Nom = 'Martin'",
                     dir.File("m.csv")})
                .code,
            0);
  EXPECT_EQ(ReadBytes(dir.File("m.csv")), "Nom;Montant\r\nMartin;10\r\n");
  const Result bad = RunTool({"sql", dir.File("c.qor"), "select * where Nom = 'x'"});
  EXPECT_EQ(bad.code, 1);  // keywords are case-sensitive
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err,
            "vektool: requête illisible 'select * where Nom = 'x'' : elle doit commencer par "
            "SELECT\n");
}

// Names and values are Windows-1252 in the tables and UTF-8 on the terminal.
TEST_F(Tool, SpeaksUtf8ToTheTerminal) {
  TQor2 t;
  t.TableName = "march\xE9";
  t.AddField("Pr\xE9nom");
  t.AddField("Ville");
  const char* rows[][2] = {{"L\xE9",
                            "Orl\xE9"
                            "ans"},
                           {"Zo\xE9", "Paris"},
                           {"Andr\xE9",
                            "Orl\xE9"
                            "ans"}};
  for (auto& r : rows) {
    t.Append();
    t.SetFieldValue(1, r[0]);
    t.SetFieldValue(2, r[1]);
  }
  ASSERT_TRUE(t.SaveQorFile(dir.File("m.qor")));
  EXPECT_EQ(RunTool({"info", dir.File("m.qor")}).out,
            "table\tmarché\nfields\t2\nrecords\t3\nfield\tPrénom\tSTRING\nfield\tVille\tSTRING\n");
  ASSERT_EQ(RunTool({"sort", dir.File("m.qor"), "Prénom", dir.File("s.qor")}).code, 0);
  EXPECT_EQ(Column(dir.File("s.qor"), 1),
            (std::vector<std::string>{"Andr\xE9", "L\xE9", "Zo\xE9"}));
  const Result r = RunTool({"sql", dir.File("m.qor"), "SELECT Prénom WHERE Ville = 'Orléans'"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "Pr\xE9nom\r\nL\xE9\r\nAndr\xE9\r\n");  // the file's own bytes
  const Result bad = RunTool({"sort", dir.File("m.qor"), "Prénoms", dir.File("x.qor")});
  EXPECT_EQ(bad.err, "vektool: impossible de trier : la table n'a pas de champ 'Prénoms'\n");
}

TEST_F(Tool, ConvertsDbaseInputAndXmlOutput) {
  dbftest::DbfLayout dbf;
  dbf.fields = {{"NOM", 'C', 8}, {"MONTANT", 'N', 6}};
  dbf.rows = {{{"Andr\x82", "  12.5"}}, {{"Zo\x89", "     3"}, true}};
  WriteBytes(dir.File("t.DBF"), dbf.Bytes());
  ASSERT_EQ(RunTool({"convert", dir.File("t.DBF"), dir.File("t.qor")}).code, 0);
  const Result info = RunTool({"info", dir.File("t.qor")});
  EXPECT_NE(info.out.find("records\t2\nfield\tNOM\tSTRING\nfield\tMONTANT\tFLOAT\n"),
            std::string::npos)
      << info.out;
  ASSERT_EQ(RunTool({"convert", dir.File("t.qor"), dir.File("t.xml")}).code, 0);
  const std::string xml = ReadBytes(dir.File("t.xml"));
  EXPECT_NE(xml.find("Andr\xC3\xA9"), std::string::npos);  // DOS letters, then UTF-8

  const Result missing = RunTool({"convert", dir.File("none.dbf"), dir.File("x.qor")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_FALSE(missing.err.empty());
}

TEST_F(Tool, FailuresSayWhyInUtf8) {
  WriteBytes(dir.File("bad.qor"), "XYZ");
  const Result r = RunTool({"info", dir.File("bad.qor")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "vektool: impossible d'ouvrir '" + dir.File("bad.qor") +
                       "' : ce n'est pas une table Vek Base\n");
  EXPECT_EQ(r.out, "");
  const Result w = RunTool({"convert", dir.File("c.qor"), dir.File("no/such/out.qor")});
  EXPECT_EQ(w.code, 1);
  EXPECT_EQ(w.err, "vektool: impossible d'enregistrer '" + dir.File("no/such/out.qor") +
                       "' : le dossier n'existe pas\n");
  {
    TFaultyFileSystem fileSystem;
    fileSystem.Arm(TFaultyFileSystem::TFault::DiskFull, 10);
    const Result full = RunTool({"dedup", dir.File("c.qor"), dir.File("d.qor")});
    EXPECT_EQ(full.code, 1);
    EXPECT_EQ(full.err, "vektool: impossible d'enregistrer '" + dir.File("d.qor") +
                            "' : le disque est plein\n");
  }
  const Result dbf = RunTool({"info", dir.File("none.dbf")});
  EXPECT_EQ(dbf.code, 1);
  EXPECT_EQ(dbf.err, "vektool: impossible d'ouvrir '" + dir.File("none.dbf") +
                         "' : le fichier n'existe pas\n");
  EXPECT_EQ(RunTool({"frobnicate"}).code, 2);
  EXPECT_EQ(RunTool({}).code, 2);
  const Result h = RunTool({"--help"});
  EXPECT_EQ(h.code, 0);
  for (const char* cmd : {"info", "convert", "sort", "dedup", "sql", "import", "export"})
    EXPECT_NE(h.out.find(cmd), std::string::npos) << cmd;
}

// Usage, help and failures are French, in the windows' words; the engine's
// own English never shows.
TEST_F(Tool, SpeaksFrenchOnly) {
  const Result none = RunTool({});
  EXPECT_EQ(none.code, 2);
  EXPECT_EQ(none.err.rfind("vektool: commande manquante\nvektool - travaux en série", 0), 0u)
      << none.err;
  EXPECT_EQ(RunTool({"frobnicate"}).err.rfind("vektool: commande inconnue 'frobnicate'\n", 0), 0u);
  EXPECT_EQ(RunTool({"sort", dir.File("c.qor")})
                .err.rfind("vektool: sort prend ENTRÉE CHAMP SORTIE [--desc]\n", 0),
            0u);
  EXPECT_EQ(RunTool({"info", dir.File("c.qor"), "--sep", "ab"})
                .err.rfind("vektool: --sep prend un caractère (ou tab), pas 'ab'\n", 0),
            0u);
  const std::string help = RunTool({"--help"}).out;
  for (const char* english : {"usage:", "print", "write", "read", " the ", "records"})
    EXPECT_EQ(help.find(english), std::string::npos) << english;
  const Result version = RunTool({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("vektool (Vek Base) ", 0), 0u) << version.out;
  {
    TFaultyFileSystem fileSystem;
    fileSystem.Arm(TFaultyFileSystem::TFault::ReadError, 40);  // in mid-file
    EXPECT_EQ(RunTool({"info", dir.File("c.qor")}).err, "vektool: impossible d'ouvrir '" +
                                                            dir.File("c.qor") +
                                                            "' : erreur de lecture du fichier\n");
  }
  {
    TAllocationLimit noMemory(0);
    const Result r = RunTool({"convert", dir.File("c.qor"), dir.File("x.qor")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "vektool: mémoire insuffisante pour ouvrir '" + dir.File("c.qor") + "'\n");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.qor")));
}

TEST_F(Tool, ImportAppendsTextOrDbaseAsTheWindowDoes) {
  WriteBytes(dir.File("in.txt.bak"), "Z\xC3\xA9lie\t7\r\nUn\xE4\xB8\x80\r\n");
  const Result r =
      RunTool({"import", dir.File("c.qor"), dir.File("in.txt.bak"), dir.File("o.qor")});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err,
            "vektool: 1 caractère du fichier n'a pas d'équivalent dans la table : il a été "
            "remplacé par « ? »\n");
  EXPECT_EQ(Column(dir.File("o.qor"), 1),
            (std::vector<std::string>{"Martin", "Dupont", "Martin", "Abel", "Z\xE9lie", "Un?"}));
  EXPECT_EQ(Column(dir.File("o.qor"), 2)[4], "7");

  dbftest::DbfLayout dbf;
  dbf.fields = {{"N", 'C', 4}};
  dbf.rows = {{{"Ab"}}, {{"Cd"}}};
  WriteBytes(dir.File("d.dbf"), dbf.Bytes());
  ASSERT_EQ(RunTool({"import", dir.File("c.qor"), dir.File("d.dbf"), dir.File("d.csv")}).code, 0);
  EXPECT_EQ(Column(dir.File("d.csv"), 1).back(), "Cd");

  dbf.recordCount = 3;  // damaged: nothing is written
  WriteBytes(dir.File("bad.dbf"), dbf.Bytes());
  const Result bad = RunTool({"import", dir.File("c.qor"), dir.File("bad.dbf"), dir.File("b.qor")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err, "vektool: impossible d'importer '" + dir.File("bad.dbf") +
                         "' : enregistrement dBase illisible\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("b.qor")));
  EXPECT_EQ(RunTool({"import", dir.File("c.qor"), dir.File("x.dat"), dir.File("b.qor")}).code, 1);
}

// A CSV as a web shop writes it (commas, LF, UTF-8, quotes) becomes a table,
// and info tells how the file was read.
TEST_F(Tool, ConvertReadsTheWorldsCsvAndInfoTellsHow) {
  WriteBytes(
      dir.File("people.csv"),
      "id,name,city\n1,\"Dupr\xC3\xA9, Jean\",Paris\n2,Zo\xC3\xA9,\"Saint-\n\xC3\x89tienne\"\n");
  ASSERT_EQ(RunTool({"convert", dir.File("people.csv"), dir.File("people.qor")}).code, 0);
  EXPECT_EQ(Column(dir.File("people.qor"), 2),
            (std::vector<std::string>{"Dupr\xE9, Jean", "Zo\xE9"}));
  EXPECT_EQ(Column(dir.File("people.qor"), 3)[1], "Saint-\n\xC9tienne");
  const Result info = RunTool({"info", dir.File("people.csv")});
  EXPECT_EQ(info.out,
            "table\tpeople\nfields\t3\nrecords\t2\nfield\tid\tFLOAT\nfield\tname\tSTRING\n"
            "field\tcity\tSTRING\nformat\tdelimited text\nseparator\t, (detected)\n"
            "encoding\tUTF-8 (detected)\nheader\tyes (detected)\n");

  // Options override what the reader would find.
  const Result given = RunTool(
      {"info", dir.File("people.csv"), "--sep", "tab", "--no-header", "--encoding=windows-1252"});
  // (Quotes start values only: with tabs, the quoted line break ends a line.)
  EXPECT_NE(given.out.find("fields\t1\nrecords\t4\n"), std::string::npos) << given.out;
  EXPECT_NE(given.out.find("separator\ttab (given)\nencoding\tWindows-1252 (given)\n"
                           "header\tno (given)\n"),
            std::string::npos)
      << given.out;
  EXPECT_EQ(RunTool({"info", dir.File("people.csv"), "--encoding", "ebcdic"}).code, 2);
  EXPECT_EQ(RunTool({"info", dir.File("people.csv"), "--sep"}).code, 2);

  // What reading found is said; a binary file is refused.
  WriteBytes(dir.File("open.csv"), "a;b\r\n1;\"x\r\n2;y\r\n");
  const Result open = RunTool({"convert", dir.File("open.csv"), dir.File("open.qor")});
  EXPECT_EQ(open.code, 0);
  EXPECT_EQ(open.err,
            "vektool: le guillemet ouvert à la ligne 2 n'est jamais fermé : le reste du fichier "
            "est sa valeur\n");
  WriteBytes(dir.File("bin.csv"), std::string("GIF89a\0\0", 8));
  const Result bin = RunTool({"convert", dir.File("bin.csv"), dir.File("bin.qor")});
  EXPECT_EQ(bin.code, 1);
  EXPECT_EQ(bin.err, "vektool: impossible d'ouvrir '" + dir.File("bin.csv") +
                         "' : ce n'est pas un fichier texte\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("bin.qor")));
}

// The program's own text files still read exactly as the program reads them.
TEST_F(Tool, TheProgramsOwnTextFilesKeepTheirReading) {
  TQor2 t;
  t.AddField("Nom");
  t.AddField("Note");
  t.Append();
  t.SetFieldValue(1, "\"Le Monde\"");
  t.SetFieldValue(2, "a;b\\c");
  ASSERT_TRUE(t.SaveCsvFile(dir.File("own.csv")));
  ASSERT_TRUE(t.SaveTxtFile(dir.File("own.txt")));
  for (const char* file : {"own.csv", "own.txt"}) {
    SCOPED_TRACE(file);
    ASSERT_EQ(RunTool({"convert", dir.File(file), dir.File("c.qor")}).code, 0);
    EXPECT_EQ(Column(dir.File("c.qor"), 1), std::vector<std::string>{"\"Le Monde\""});
    EXPECT_EQ(Column(dir.File("c.qor"), 2), std::vector<std::string>{"a;b\\c"});
  }
  EXPECT_EQ(RunTool({"info", dir.File("own.csv")}).out,
            "table\town\nfields\t2\nrecords\t1\nfield\tNom\tSTRING\nfield\tNote\tSTRING\n"
            "format\tVek Base escaped text\n");
  EXPECT_NE(RunTool({"info", dir.File("own.txt")}).out.find("format\tVek Base quoted text\n"),
            std::string::npos);
}

TEST_F(Tool, ImportPlacesTheWorldsValuesByTheirHeaderNames) {
  WriteBytes(dir.File("more.csv"), "\xEF\xBB\xBFMontant;Nom\r\n7,5;Zo\xC3\xA9\r\n3;Lu;extra\r\n");
  const Result r = RunTool({"import", dir.File("c.qor"), dir.File("more.csv"), dir.File("o.qor")});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "vektool: 1 valeur sans champ a été laissée de côté\n");
  EXPECT_EQ(Column(dir.File("o.qor"), 1),
            (std::vector<std::string>{"Martin", "Dupont", "Martin", "Abel", "Zo\xE9", "Lu"}));
  EXPECT_EQ(Column(dir.File("o.qor"), 2).back(), "3");

  // The program's own export comes back without its header line.
  ASSERT_EQ(RunTool({"export", dir.File("c.qor"), dir.File("all.txt")}).code, 0);
  ASSERT_EQ(RunTool({"import", dir.File("c.qor"), dir.File("all.txt"), dir.File("twice.qor")}).code,
            0);
  EXPECT_EQ(Column(dir.File("twice.qor"), 1),
            (std::vector<std::string>{"Martin", "Dupont", "Martin", "Abel", "Martin", "Dupont",
                                      "Martin", "Abel"}));
}

TEST_F(Tool, ExportWritesTheTableOrTheRecordsWhere) {
  ASSERT_EQ(
      RunTool({"export", dir.File("c.qor"), dir.File("s.CSV"), "--where", "Nom", "=", "Martin"})
          .code,
      0);
  EXPECT_EQ(ReadBytes(dir.File("s.CSV")), "Martin;10\r\nMartin;10\r\n");
  ASSERT_EQ(
      RunTool({"export", dir.File("c.qor"), dir.File("s.txt"), "--where", "Nom", "like", "?u*"})
          .code,
      0);
  EXPECT_EQ(ReadBytes(dir.File("s.txt")), "Dupont\t9,5\r\n");
  ASSERT_EQ(RunTool({"export", dir.File("c.qor"), dir.File("all.txt")}).code, 0);
  EXPECT_EQ(ReadBytes(dir.File("all.txt")),
            "\"Nom\";\"Montant\"\r\n\"Martin\";10\r\n\"Dupont\";9,5\r\n\"Martin\";10\r\n"
            "\"Abel\";100\r\n");
  ASSERT_EQ(RunTool({"export", dir.File("c.qor"), dir.File("all.xml")}).code, 0);
  EXPECT_EQ(ReadBytes(dir.File("all.xml")).rfind("<?xml version=\"1.0\" ?>\r\n<racine>\r\n", 0),
            0u);
  EXPECT_EQ(RunTool({"export", dir.File("c.qor"), dir.File("x.xls")}).code, 2);
  EXPECT_EQ(RunTool({"export", dir.File("c.qor"), dir.File("x.csv"), "--where", "Nom"}).code, 2);
  EXPECT_EQ(RunTool({"export", dir.File("c.qor"), dir.File("no/x.csv")}).err,
            "vektool: impossible d'enregistrer '" + dir.File("no/x.csv") +
                "' : le dossier n'existe pas\n");
}

TEST_F(Tool, ATableVekBaseHoldsOpenIsWrittenOverOnlyWithForce) {
  ASSERT_EQ(RunTool({"convert", dir.File("c.qor"), dir.File("open.qor")}).code, 0);
  const std::string before = ReadBytes(dir.File("open.qor"));
  TTableLock held;  // as a document window holds its file
  ASSERT_EQ(held.Acquire(dir.File("open.qor")), TTableLock::TResult::Acquired);

  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"dedup", dir.File("c.qor"), dir.File("open.qor")},
        {"sql", dir.File("c.qor"), "SELECT Nom WHERE Nom = 'Abel'", dir.File("open.qor")},
        {"convert", dir.File("c.qor"), dir.File("open.qor")}}) {
    const Result r = RunTool(command);
    EXPECT_EQ(r.code, 1) << command[0];
    EXPECT_EQ(r.err, "vektool: '" + dir.File("open.qor") +
                         "' est ouvert dans Vek Base : il n'est pas remplacé (--force pour le "
                         "remplacer)\n");
    EXPECT_EQ(ReadBytes(dir.File("open.qor")), before);
  }
  TTableLock text;  // a text file open as a table
  ASSERT_EQ(text.Acquire(dir.File("open.csv")), TTableLock::TResult::Acquired);
  EXPECT_EQ(RunTool({"export", dir.File("c.qor"), dir.File("open.csv")}).code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("open.csv")));

  const Result forced = RunTool({"dedup", dir.File("c.qor"), dir.File("open.qor"), "--force"});
  EXPECT_EQ(forced.code, 0);
  EXPECT_EQ(forced.err, "vektool: '" + dir.File("open.qor") +
                            "' est ouvert dans Vek Base ; remplacé quand même (--force)\n");
  EXPECT_EQ(Column(dir.File("open.qor"), 1),
            (std::vector<std::string>{"Martin", "Dupont", "Abel"}));
  // Once the program lets go, no option is needed.
  held.Release();
  EXPECT_EQ(RunTool({"convert", dir.File("c.qor"), dir.File("open.qor")}).err, "");
  // The lock the tool held while writing goes with it.
  EXPECT_FALSE(std::filesystem::exists(TTableLock::LockFileName(dir.File("open.qor"))));
}

}  // namespace
