#include <gtest/gtest.h>

#include "TQor2.h"

namespace {

class Search : public ::testing::Test {
 protected:
  // Records 1..5 with Nom and Montant.
  void SetUp() override {
    t.AddField("Nom");
    t.AddField("Montant");
    const char* rows[][2] = {
        {"Dupont", "10"}, {"Martin", "1 234,50"}, {"dupuis", "abc"}, {"Zoe", "9"}, {"DUPRE", "-3"}};
    for (auto& r : rows) {
      t.Append();
      t.SetFieldValue(1, r[0]);
      t.SetFieldValue(2, r[1]);
    }
  }
  std::vector<int> AllMatches(const std::string& op, const std::string& value) {
    std::vector<int> found;
    t.First();
    t.BeginSearch(true);
    while (t.FindNext("Nom", op, value)) found.push_back(t.RecNo());
    t.EndSearch();
    return found;
  }
  TQor2 t;
};

TEST_F(Search, TextOperators) {
  t.GoToRecord(4);
  EXPECT_TRUE(t.MatchText("Nom", "<", "abc"));  // upper case sorts first
  EXPECT_TRUE(t.MatchText("Nom", "=", "Zoe"));
  EXPECT_FALSE(t.MatchText("Nom", "=", "zoe"));
  EXPECT_TRUE(t.MatchText("Nom", ">=", "Zoe"));
  EXPECT_TRUE(t.MatchText("Nom", "<=", "Zoe"));
  EXPECT_FALSE(t.MatchText("Nom", "=<", "Zoe"));  // not an operator
  EXPECT_FALSE(t.MatchText("Nom", "<>", "x"));
  EXPECT_TRUE(t.MatchText("Nom", "like", "z*"));
  EXPECT_TRUE(t.MatchText("Absent", "=", ""));  // a missing field reads ''
  TQor2 u;
  u.AddField("V");
  u.Append();
  u.SetFieldValue(1, "abc");
  EXPECT_TRUE(u.MatchText("V", "<", "abcd"));  // a prefix comes first
  u.SetFieldValue(1, "\xE9t\xE9");
  EXPECT_TRUE(u.MatchText("V", ">", "zzz"));  // accented letters after ASCII
  EXPECT_FALSE(u.MatchText("V", "LIKE", "\xC9T\xC9"));
}

TEST_F(Search, FloatOperators) {
  t.GoToRecord(2);
  EXPECT_TRUE(t.MatchFloat("Montant", ">", 1000));
  EXPECT_TRUE(t.MatchFloat("Montant", "=", 1234.5));
  EXPECT_FALSE(t.MatchFloat("Montant", "LIKE", 1234.5));
  t.GoToRecord(3);
  EXPECT_TRUE(t.MatchFloat("Montant", "=", 0));  // not a number: 0
  EXPECT_TRUE(t.MatchFloat("Absent", "<=", 0));
}

TEST_F(Search, ForwardWalkVisitsEveryMatchOnce) {
  EXPECT_EQ(AllMatches("LIKE", "dup*"), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(t.RecNo(), 5);  // the final failure restores the last match
  EXPECT_EQ(AllMatches("=", "nobody"), std::vector<int>{});
  EXPECT_EQ(t.RecNo(), 1);
}

TEST_F(Search, StartingRecordIsTestedOnce) {
  t.GoToRecord(3);
  ASSERT_TRUE(t.BeginSearch(true));
  EXPECT_TRUE(t.FindNext("Nom", "LIKE", "dup*"));
  EXPECT_EQ(t.RecNo(), 3);
  EXPECT_TRUE(t.FindNext("Nom", "LIKE", "dup*"));
  EXPECT_EQ(t.RecNo(), 5);
  t.First();
  t.Prior();  // fails on the first record: Bof now true
  EXPECT_TRUE(t.Bof);
  t.BeginSearch(true);
  EXPECT_TRUE(t.FindNext("Nom", "=", "Martin"));
  EXPECT_TRUE(t.Bof);  // a success leaves the flags alone
  EXPECT_FALSE(t.FindNext("Nom", "=", "Martin"));
  EXPECT_EQ(t.RecNo(), 2);  // no match: back where it started
  EXPECT_FALSE(t.Bof || t.Eof);
  EXPECT_TRUE(t.EndSearch());
}

TEST_F(Search, BackwardAndNavigationPatterns) {
  // Previous selected record from record 3 when only record 1 matches.
  t.GoToRecord(3);
  t.BeginSearch(false);
  t.GoToRecord(2);
  EXPECT_TRUE(t.FindNext("Nom", "=", "Dupont"));
  EXPECT_EQ(t.RecNo(), 1);
  t.EndSearch();

  // First selected record: walk back until the search fails.
  t.GoToRecord(5);
  t.BeginSearch(false);
  while (t.FindNext("Nom", "LIKE", "dup*")) {
  }
  t.EndSearch();
  EXPECT_EQ(t.RecNo(), 1);

  // Next selected record from the last one: GoToRecord fails, and FindNext
  // tests the record the user is on.
  t.GoToRecord(5);
  t.BeginSearch(true);
  EXPECT_FALSE(t.GoToRecord(6));
  EXPECT_TRUE(t.FindNext("Nom", "LIKE", "dup*"));
  EXPECT_EQ(t.RecNo(), 5);
  t.EndSearch();
}

TEST_F(Search, NoCurrentRecordStartsAtFirstAndEmptyTables) {
  TQor2 u;
  u.AddField("Nom");
  EXPECT_FALSE(u.BeginSearch(true));
  EXPECT_FALSE(u.FindNext("Nom", "=", ""));
  EXPECT_FALSE(u.EndSearch());

  u.Append();
  u.SetFieldValue(1, "a");
  u.Append();
  u.DeleteRecord(2);  // the cursor index now lies past the end
  u.BeginSearch(false);
  EXPECT_FALSE(u.FindNext("Nom", "=", "zzz"));
  EXPECT_TRUE(u.Bof && u.Eof);
  EXPECT_TRUE(u.FindNext("Nom", "=", "a"));  // starts at the first record
  EXPECT_EQ(u.RecNo(), 1);
  u.Append();
  u.DeleteRecord(2);
  EXPECT_TRUE(u.EndSearch());  // makes a record current again
  EXPECT_EQ(u.RecNo(), 1);
}

}  // namespace
