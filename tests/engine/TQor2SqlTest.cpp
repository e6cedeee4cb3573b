#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "LiteralSql.h"
#include "TQor2Sql.h"

namespace {

// Fields, then one vector of values per record.
void Fill(TQor2& t, const std::vector<std::string>& fields,
          const std::vector<std::vector<std::string>>& records) {
  t.Clear();
  for (const std::string& f : fields) t.AddField(f);
  for (const auto& r : records) {
    t.Append();
    for (size_t i = 0; i < r.size(); ++i) t.SetFieldValue(static_cast<int>(i) + 1, r[i]);
  }
}

// Values of one column, record by record, joined by "|".
std::string Column(TQor2& t, const std::string& field) {
  std::string s;
  const int f = t.FieldIndex(field);
  for (int r = 1; r <= t.RecordCount(); ++r) s += (r > 1 ? "|" : "") + t.GetCell(f, r);
  return s;
}

// Everything a caller can see of a result table.
std::string Dump(const TQor2& t) {
  std::string s = t.Distinct ? "D" : "-";
  for (int f = 1; f <= t.FieldCount(); ++f) s += " " + t.GetFieldName(f) + ":" + t.GetFieldType(f);
  for (int r = 1; r <= t.RecordCount(); ++r) {
    s += "\n";
    for (int f = 1; f <= t.FieldCount(); ++f) s += "[" + t.GetCell(f, r) + "]";
  }
  return s;
}

class TQor2SqlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fill(source, {"Nom", "Prenom", "Ville", "Age", "Prix"},
         {{"Dupont", "Jean", "Paris", "30", "12,50"},
          {"DUPUIS", "Anne", "paris", "9", "abc"},
          {"du Pont", "Luc", "Paris ", "65", "8"},
          {"Martin", "Marie", "Lyon", "75", "10"},
          {"O'Neil", "Sean", "Lyon", "18", "10.5"},
          {"Durand", "Paul", "Lyon", "30", ""}});
    source.SetFieldType(4, "FLOAT");
  }
  std::string Selected(const std::string& field = "Nom") { return Column(sql.Selected(), field); }
  std::string Rejected(const std::string& field = "Nom") { return Column(sql.Rejected(), field); }

  TQor2 source;
  TQor2Sql sql{source};
};

TEST_F(TQor2SqlTest, StarCopiesEveryFieldAsStringAndSplitsTheRecords) {
  ASSERT_TRUE(sql.Execute("SELECT * WHERE Ville = 'Paris'"));
  EXPECT_EQ(Dump(sql.Selected()),
            "- Nom:STRING Prenom:STRING Ville:STRING Age:STRING Prix:STRING\n"
            "[Dupont][Jean][Paris][30][12,50]");
  EXPECT_EQ(Rejected(), "DUPUIS|du Pont|Martin|O'Neil|Durand");  // paris, "Paris " differ
  EXPECT_EQ(sql.Rejected().FieldCount(), 5);
  // The source keeps its content and ends on its last record.
  EXPECT_EQ(source.RecordCount(), 6);
  EXPECT_EQ(source.RecNo(), 6);
  EXPECT_TRUE(source.Eof);
  EXPECT_EQ(source.GetFieldType(4), "FLOAT");
}

TEST_F(TQor2SqlTest, ColumnListKeepsOrderAndToleratesRepeatsAndUnknownNames) {
  ASSERT_TRUE(sql.Execute("SELECT Prenom,Nom , Prenom Inconnu WHERE Age >= 18"));
  EXPECT_EQ(Dump(sql.Selected()).substr(0, 41), "- Prenom:STRING Nom:STRING Inconnu:STRING");
  EXPECT_EQ(Selected(), "Dupont|du Pont|Martin|O'Neil|Durand");
  EXPECT_EQ(Selected("Inconnu"), "||||");
  EXPECT_EQ(Rejected("Prenom"), "Anne");
}

TEST_F(TQor2SqlTest, QuotedValuesCompareAsTextBareValuesAsNumbers) {
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Age >= '18'"));
  EXPECT_EQ(Selected(), "Dupont|DUPUIS|du Pont|Martin|O'Neil|Durand");  // "9" after "1"
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Prix > 10"));
  EXPECT_EQ(Selected(), "Dupont|O'Neil");  // 12,50 and 10.5; abc and '' read as 0
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Nom = 'O''Neil'"));
  EXPECT_EQ(Selected(), "O'Neil");
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Nom < 'Dupontx'"));
  EXPECT_EQ(Selected(), "Dupont|DUPUIS");  // a prefix first; U before u
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Ville <> 'Lyon' AND Age <= 30 AND Age <> 9"));
  EXPECT_EQ(Selected(), "Dupont");
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Age = 30.0"));
  EXPECT_EQ(Selected(), "Dupont|Durand");
  // Bytes compare unsigned: an accented letter comes after every ASCII letter.
  Fill(source, {"V"}, {{"\xC9"}, {"z"}, {"Z"}});
  ASSERT_TRUE(sql.Execute("SELECT V WHERE V > 'z'"));
  EXPECT_EQ(Selected("V"), "\xC9");
}

TEST_F(TQor2SqlTest, PatternOperatorIgnoresSpacesAndLetterCase) {
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Nom ~= 'dup*'"));
  EXPECT_EQ(Selected(), "Dupont|DUPUIS|du Pont");
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Ville ~= 'P A R I S'"));
  EXPECT_EQ(Selected(), "Dupont|DUPUIS|du Pont");
  // Without quotes, or with an operator that is not one, nothing matches.
  for (const char* s : {"SELECT Nom WHERE Nom ~= dup*", "SELECT Nom WHERE Nom == 'Dupont'",
                        "SELECT Nom WHERE Nom ~ 'Dupont'", "SELECT Nom WHERE Age =< 30",
                        "SELECT Nom WHERE Nom 'Dupont'"}) {
    ASSERT_TRUE(sql.Execute(s)) << s;
    EXPECT_EQ(Selected(), "") << s;
    EXPECT_EQ(sql.Rejected().RecordCount(), 6) << s;
  }
}

TEST_F(TQor2SqlTest, AndBindsTighterThanOrAndParenthesesGroup) {
  Fill(source, {"Ville", "Age"},
       {{"Lyon", "30"}, {"Paris", "65"}, {"Lyon", "75"}, {"Paris", "20"}});
  ASSERT_TRUE(sql.Execute("SELECT * WHERE Ville = 'Lyon' OR Age > 60 AND Age < 70"));
  EXPECT_EQ(Selected("Age"), "30|65|75");
  ASSERT_TRUE(sql.Execute("SELECT * WHERE (Ville = 'Lyon' OR Age > 60) AND Age < 70"));
  EXPECT_EQ(Selected("Age"), "30|65");
  ASSERT_TRUE(sql.Execute("SELECT * WHERE Age < 70 AND ((Ville = 'Paris'))"));
  EXPECT_EQ(Selected("Age"), "65|20");
}

TEST_F(TQor2SqlTest, MalformedConditionsEndWhereTheyStop) {
  Fill(source, {"Ville", "Age"}, {{"Lyon", "30"}, {"Paris", "65"}, {"Lyon", "0"}, {"Nice", "12"}});
  struct {
    const char* condition;
    const char* ages;
  } cases[] = {
      {"(Ville = 'Lyon' OR Age > 60", "30|65|0"},    // missing ")" closes at the end
      {"Ville = 'Lyon') OR Age > 60", "30|0"},       // extra ")" ends the condition
      {"Ville = 'Lyon' xyz OR Age > 60", "30|0"},    // stray token ends it
      {"Ville = 'Lyon' or Age > 60", "30|0"},        // keywords are case-sensitive
      {"(Ville = 'Lyon' xyz) OR Age > 60", "30|0"},  // the stray token closes the group
      {"Age =", "0"},                                // missing value: the number 0
      {"Age > 12,5", "30|65"},                       // the comma splits 12 and 5
      {"Age > 12.5", "30|65"},                       //
      {"Ville = 'Lyon' OR", "30|0"},                 // nothing after OR
      {"Ville = 'Lyon' AND", "30|0"},                // nothing after AND
      {"Ville = 'Lyon' AND ", ""},                   // an empty comparison after AND
      {"(", ""},                                     //
      {"Ville = 'Lyonx", "30|0"},                    // unterminated: loses its last letter
      {"Ville = 'Lyon'AND Age=30", "30"},            // no blanks needed around quotes
      {"Ville='Lyon'\r\nAND Age=30", "30|0"},        // a line break is not a blank
      {"'Ville' = ''", "30|65|0|12"},                // a quoted name names no field
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(sql.Execute(std::string("SELECT * WHERE ") + c.condition)) << c.condition;
    EXPECT_EQ(Selected("Age"), c.ages) << c.condition;
    EXPECT_EQ(sql.Selected().RecordCount() + sql.Rejected().RecordCount(), 4) << c.condition;
  }
}

TEST_F(TQor2SqlTest, StatementsWithoutSelectOrWhere) {
  ASSERT_TRUE(sql.Execute("SELECT Nom WHERE Ville = 'Lyon'"));
  // Not SELECT: refused, the previous results stay.
  for (const char* s : {"select * where Nom = 'x'", "", "  ", "SELECT*WHERE Age > 1", "Nom"}) {
    EXPECT_EQ(sql.Execute(s).Cause(), TFailure::StatementWithoutSelect) << s;
    EXPECT_EQ(Selected(), "Martin|O'Neil|Durand") << s;
  }
  // No WHERE: refused, columns without records.
  EXPECT_EQ(sql.Execute("SELECT *").Cause(), TFailure::StatementWithoutWhere);
  EXPECT_EQ(sql.Selected().FieldCount(), 5);
  EXPECT_EQ(sql.Selected().RecordCount() + sql.Rejected().RecordCount(), 0);
  EXPECT_FALSE(sql.Execute("SELECT Nom Ville where Age > 1"));
  EXPECT_EQ(Dump(sql.Rejected()), "- Nom:STRING Ville:STRING where:STRING Age:STRING");
  EXPECT_FALSE(sql.Execute("SELECT Nom Ville"));  // the last token is not a column
  EXPECT_EQ(Dump(sql.Selected()), "- Nom:STRING");
  EXPECT_FALSE(sql.Execute("SELECT * Nom WHERE Age > 1"));
  // An operator in the column list can never lead to WHERE (and must not hang).
  EXPECT_FALSE(sql.Execute("SELECT Nom = 'x' WHERE Age > 1"));
  EXPECT_EQ(Dump(sql.Selected()), "- Nom:STRING");
  EXPECT_FALSE(sql.Execute("SELECT DISTINCT <> WHERE Age > 1"));
  // Two lines: the line break joins the words around it.
  EXPECT_FALSE(sql.Execute("SELECT *\r\nWHERE Age > 1"));
  // WHERE with nothing after it: every record fails.
  for (const char* s : {"SELECT * WHERE", "SELECT Nom WHERE  ,", "SELECT WHERE"}) {
    ASSERT_TRUE(sql.Execute(s)) << s;
    EXPECT_EQ(sql.Selected().RecordCount(), 0) << s;
    EXPECT_EQ(sql.Rejected().RecordCount(), 6) << s;
  }
  // An empty source: true, columns only, the cursor untouched.
  TQor2 empty;
  Fill(empty, {"A"}, {});
  TQor2Sql onEmpty(empty);
  EXPECT_TRUE(onEmpty.Execute("SELECT * WHERE A = 1"));
  EXPECT_EQ(Dump(onEmpty.Rejected()), "- A:STRING");
  EXPECT_EQ(empty.RecNo(), 0);
}

TEST_F(TQor2SqlTest, DistinctRemovesLaterDuplicatesFromBothTables) {
  ASSERT_TRUE(sql.Execute("SELECT DISTINCT Ville WHERE Age > 10"));
  EXPECT_TRUE(sql.Selected().Distinct);
  EXPECT_TRUE(sql.Rejected().Distinct);
  EXPECT_EQ(Selected("Ville"), "Paris|Paris |Lyon");
  EXPECT_EQ(Rejected("Ville"), "paris");
  ASSERT_TRUE(sql.Execute("SELECT DISTINCT Ville WHERE Age > 100"));
  EXPECT_EQ(Rejected("Ville"), "Paris|paris|Paris |Lyon");
  // The flag and the deduplication belong to one run only.
  ASSERT_TRUE(sql.Execute("SELECT Ville WHERE Age > 10"));
  EXPECT_FALSE(sql.Selected().Distinct);
  EXPECT_EQ(Selected("Ville"), "Paris|Paris |Lyon|Lyon|Lyon");
}

TEST_F(TQor2SqlTest, DeepNestingAndLongChainsDoNotExhaustTheStack) {
  const int n = 200000;
  std::string deep = "SELECT Nom WHERE " + std::string(n, '(') + "Age > 60";
  ASSERT_TRUE(sql.Execute(deep));
  EXPECT_EQ(Selected(), "du Pont|Martin");
  std::string chain = "SELECT Nom WHERE Age > 1";
  for (int i = 0; i < n; ++i) chain += i % 2 ? " AND Age > 1" : " OR Nom = 'x'";
  ASSERT_TRUE(sql.Execute(chain));
  EXPECT_EQ(sql.Selected().RecordCount(), 6);
}

// Random statements, most of them malformed, give exactly what the per-record
// reading gives: same answer, same tables, same cursor.
TEST(TQor2SqlAgreement, CompiledConditionMatchesPerRecordParsing) {
  std::mt19937 rng(20240607);
  auto pick = [&](const std::vector<std::string>& v) { return v[rng() % v.size()]; };
  const std::vector<std::string> names = {"Nom", "Ville", "Age", "Prix", "Inconnu", "'Nom'"};
  const std::vector<std::string> ops = {"=", "<>", "<", ">", "<=", ">=", "~=", "==", "~", ""};
  const std::vector<std::string> values = {
      "'Lyon'", "'lyon'", "'O''Neil'", "'du*'", "'[a-m]*'", "''", "'", "'Ly", "12",
      "12.5",   "12,5",   "abc",       "0",     "-3e2",     "",   "(", ")"};
  const std::vector<std::string> joins = {"AND", "OR", "AND", "OR", "and", "xyz", ")", "("};
  const std::vector<std::string> gaps = {" ", " ", ",", "", "  ", ", ", "\t"};
  const std::vector<std::string> cells = {"Lyon", "lyon",  "Paris", "O'Neil", "Dupont", "du pont",
                                          "12",   "12,50", "12.5",  "9",      "",       "abc"};

  TQor2 source;
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < 12; ++r) rows.push_back({pick(cells), pick(cells), pick(cells), pick(cells)});
  Fill(source, {"Nom", "Ville", "Age", "Prix"}, rows);
  TQor2Sql compiled(source);
  TQor2 shadow;
  Fill(shadow, {"Nom", "Ville", "Age", "Prix"}, rows);
  LiteralSql literal(shadow);

  for (int iter = 0; iter < 20000; ++iter) {
    std::string s = pick({"SELECT * WHERE ", "SELECT DISTINCT Nom,Ville WHERE ", "SELECT Age WHERE",
                          "SELECT Nom WHERE (", "SELECT * "});
    const int parts = 1 + rng() % 8;
    for (int i = 0; i < parts; ++i) {
      if (rng() % 4 == 0) s += "(" + pick(gaps);
      s += pick(names) + pick(gaps) + pick(ops) + pick(gaps) + pick(values);
      if (rng() % 4 == 0) s += pick(gaps) + ")";
      if (i + 1 < parts || rng() % 3 == 0) s += pick(gaps) + pick(joins) + pick(gaps);
    }
    if (rng() % 5 == 0) s.erase(rng() % s.size(), 1 + rng() % 3);

    const bool a = compiled.Execute(s).ok(), b = literal.Execute(s);
    ASSERT_EQ(a, b) << s;
    ASSERT_EQ(Dump(compiled.Selected()), Dump(literal.selected)) << s;
    ASSERT_EQ(Dump(compiled.Rejected()), Dump(literal.rejected)) << s;
    ASSERT_EQ(source.RecNo(), shadow.RecNo()) << s;
    ASSERT_EQ(source.Eof, shadow.Eof) << s;
  }
}

}  // namespace
