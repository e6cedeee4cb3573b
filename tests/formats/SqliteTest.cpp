#include <gtest/gtest.h>
#include <sqlite3.h>

#include "FormatsTest.h"
#include "TSqliteTable.h"
#include "TestFiles.h"

namespace {

class Sqlite : public ::testing::Test {
 protected:
  void SetUp() override {
    if (RunCommand("command -v sqlite3").empty())
      GTEST_SKIP() << "the sqlite3 shell is not installed";
  }
  std::string Shell(const std::string& db, const std::string& sql) {
    WriteBytes(dir.File("q.sql"), sql);
    return RunCommand("sqlite3 " + db + " < " + dir.File("q.sql") + " 2>&1");
  }
  TempDir dir;
  std::vector<std::string> leftOut;
  int64_t replaced = 0;
};

TEST_F(Sqlite, TheShellReadsOurTableValueByValue) {
  TQor2 t;
  MakeClients(t);
  ASSERT_TRUE(TSqliteTable::Write(t, dir.File("c.db"), "clients", false));
  EXPECT_EQ(
      Shell(dir.File("c.db"),
            ".schema\n.mode quote\nSELECT \"Nom\", \"Code postal\", \"Notes\" FROM clients;\n"
            ".mode list\nSELECT printf('%.15g', \"Montant\"), typeof(\"Montant\") FROM clients;\n"),
      "CREATE TABLE IF NOT EXISTS \"clients\" (\"Nom\" TEXT, \"Code postal\" TEXT, "
      "\"Montant\" REAL, \"Notes\" TEXT);\n"
      "'Dupont','06000','a;b \"cit\u00e9\" & <c>'\n"
      "'\u00c9l\u00e9onore','75001','deux  espaces\tet une tabulation'\n"
      "'  Martin','','ligne 1\r\nligne 2'\n"
      "'Prix \u20ac','00120','  '\n"
      "'Z\u00fcrich','8000',''\n"
      "'Grand','1','fin '\n"
      "12.5|real\n-3|real\n1234567|real\n0|null\n0.001|real\n1.5e+20|real\n");
}

TEST_F(Sqlite, ReadsBackItsOwnTableUnchanged) {
  TQor2 t, back;
  MakeClients(t);
  ASSERT_TRUE(TSqliteTable::Write(t, dir.File("c.sqlite"), "clients", false));
  ASSERT_TRUE(TSqliteTable::Read(dir.File("c.sqlite"), "", back, leftOut, replaced));
  EXPECT_EQ(Dump(back), Dump(t));
}

TEST_F(Sqlite, ReadsWhatTheShellMakes) {
  Shell(dir.File("s.db"),
        "CREATE TABLE photos (id INTEGER PRIMARY KEY, image BLOB, titre TEXT);\n"
        "INSERT INTO photos VALUES (1, x'FFD8', 'plage');\n"
        "CREATE TABLE ventes (ref TEXT, qte INTEGER, prix REAL, code VARCHAR(5), note, big BIGINT,"
        " \"unité\" DOUBLE PRECISION);\n"
        "INSERT INTO ventes VALUES ('A1', 3, 9.99, '06000', 'x', 9007199254740993, NULL);\n"
        "INSERT INTO ventes VALUES (NULL, -2, 0.1, NULL, 12, NULL, 2.5);\n"
        "INSERT INTO ventes VALUES ('Crème ☃', 0, 1e300, 'é', NULL, 1, 0);\n");
  std::vector<std::string> names;
  ASSERT_TRUE(TSqliteTable::Tables(dir.File("s.db"), names));
  EXPECT_EQ(names, (std::vector<std::string>{"photos", "ventes"}));
  TQor2 t;
  ASSERT_TRUE(TSqliteTable::Read(dir.File("s.db"), "ventes", t, leftOut, replaced));
  EXPECT_EQ(Dump(t),
            "ventes\nref:STRING|qte:FLOAT|prix:FLOAT|code:STRING|note:STRING|big:FLOAT|"
            "unit\xE9:FLOAT|\n"
            "A1|3|9,99|06000|x|9007199254740993||\n"
            "|-2|0,1||12||2,5|\n"
            "Cr\xE8me ?|0|1e+300|\xE9||1|0|\n");
  EXPECT_EQ(replaced, 1);
  EXPECT_TRUE(leftOut.empty());
  // The first table by default; its BLOB column is left out and named.
  ASSERT_TRUE(TSqliteTable::Read(dir.File("s.db"), "", t, leftOut, replaced));
  EXPECT_EQ(Dump(t), "photos\nid:FLOAT|titre:STRING|\n1|plage|\n");
  EXPECT_EQ(leftOut, std::vector<std::string>{"image"});
}

TEST_F(Sqlite, KeepsTheOtherTablesAndReplacesOnlyWhenAsked) {
  Shell(dir.File("b.db"),
        "CREATE TABLE autres (x TEXT); INSERT INTO autres VALUES ('garder');\n"
        "CREATE TABLE Clients (y TEXT); INSERT INTO Clients VALUES ('ancien');\n");
  TQor2 t;
  MakeClients(t);
  const std::string before = ReadBytes(dir.File("b.db"));
  const TStatus refused = TSqliteTable::Write(t, dir.File("b.db"), "clients", false);
  EXPECT_EQ(refused.Cause(), TFailure::TableExists);
  EXPECT_EQ(ReadBytes(dir.File("b.db")), before);
  EXPECT_FALSE(std::ifstream(dir.File(".b.db.tmp")).good());

  ASSERT_TRUE(TSqliteTable::Write(t, dir.File("b.db"), "clients", true));
  EXPECT_EQ(Shell(dir.File("b.db"),
                  "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name;\n"
                  "SELECT * FROM autres; SELECT count(*) FROM clients;\n"),
            "autres\nclients\ngarder\n6\n");
}

TEST_F(Sqlite, ALockedOrForeignFileIsRefusedAndLeftAlone) {
  TQor2 t, kept;
  MakeClients(t);
  ASSERT_TRUE(TSqliteTable::Write(t, dir.File("l.db"), "clients", false));
  // Another program holds the database for writing.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(dir.File("l.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(TSqliteTable::Read(dir.File("l.db"), "", kept, leftOut, replaced).Cause(),
            TFailure::DatabaseLocked);
  EXPECT_EQ(TSqliteTable::Write(t, dir.File("l.db"), "autre", false).Cause(),
            TFailure::DatabaseLocked);
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(kept.FieldCount(), 0);

  // Not a database (an encrypted one reads the same): refused, not overwritten.
  WriteBytes(dir.File("x.db"), std::string(4096, '\x5A'));
  EXPECT_EQ(TSqliteTable::Read(dir.File("x.db"), "", kept, leftOut, replaced).Cause(),
            TFailure::NotADatabase);
  EXPECT_EQ(TSqliteTable::Write(t, dir.File("x.db"), "clients", true).Cause(),
            TFailure::NotADatabase);
  EXPECT_EQ(ReadBytes(dir.File("x.db")), std::string(4096, '\x5A'));
  EXPECT_FALSE(std::ifstream(dir.File(".x.db.tmp")).good());
  // A table that is not there.
  EXPECT_EQ(TSqliteTable::Read(dir.File("l.db"), "nulle", kept, leftOut, replaced).Cause(),
            TFailure::NoSuchSheet);
}

}  // namespace
