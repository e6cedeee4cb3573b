// The conditions of count and calculate, and the query by example's, read
// without a window: what a typed text means, the range, and the 6-byte total.

#include <gtest/gtest.h>

#include "TExpression.h"
#include "TQbeQuery.h"

namespace {

class ConditionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddField("Nom");
    t.AddField("Age");
    t.SetFieldType(2, "FLOAT");
    for (const char* const* r : {kRows[0], kRows[1], kRows[2], kRows[3]}) {
      t.Append();
      t.SetFieldValue(1, r[0]);
      t.SetFieldValue(2, r[1]);
    }
    t.GoToRecord(2);
  }
  int Count(const std::string& condition, int from = 1, int to = 4) {
    return CountRecords(t, condition, from, to);
  }

  static constexpr const char* kRows[4][2] = {
      {"Paris", "9"}, {"O'Neil", "10"}, {"Lyon", "1e5"}, {"paris", "abc"}};
  TQor2 t;
};

TEST_F(ConditionTest, TypedConditionsReadAsTheUserMeansThem) {
  EXPECT_EQ(Count("Nom=Paris"), 1);
  EXPECT_EQ(Count("Age>=10"), 2);          // as numbers: 10 and 1e5
  EXPECT_EQ(Count("Age<9"), 1);            // abc reads as 0
  EXPECT_EQ(Count("Nom>=P"), 2);           // text, case-sensitive: Paris and paris
  EXPECT_EQ(Count("Nom<='Lyon'"), 1);      // quotes go with a two-character operator
  EXPECT_EQ(Count("Nom>=\"O'Neil\""), 3);  // O'Neil, Paris and paris
  EXPECT_EQ(Count("Nom = Paris"), 1);      // blanks around the operator are not the name's
  EXPECT_EQ(Count("Nom==Paris"), 0);
  EXPECT_EQ(Count("Nom<>Paris"), 0);
  EXPECT_EQ(Count("Paris"), 0);
  EXPECT_EQ(Count(""), 4);
  EXPECT_EQ(Count("", 3, 100), 2);
  EXPECT_EQ(Count("", -5, 1), 1);
  EXPECT_TRUE(Expression(t, "Nom=O'Neil"));  // on the current record
  EXPECT_FALSE(Expression(t, "Age>10"));
  EXPECT_EQ(t.RecNo(), 2);
}

TEST_F(ConditionTest, BlanksAroundNameOperatorAndValueGoAndQuotedBlanksStay) {
  t.GoToRecord(4);
  t.SetFieldValue(1, "Saint Jean ");
  EXPECT_EQ(Count("  Nom  =  Paris  "), 1);
  EXPECT_EQ(Count("Nom\t>=\tP"), 2);  // Paris, Saint Jean
  EXPECT_EQ(Count("Age >= 10"), 2);
  EXPECT_EQ(Count("Nom = Saint Jean "), 0);  // the value typed ends at its last letter
  EXPECT_EQ(Count("Nom = 'Saint Jean '"), 1);
  EXPECT_EQ(Count("Nom = \"Saint Jean \""), 1);
  EXPECT_EQ(Count("Nom = 'O'Neil'"), 1);  // to the last quote
  EXPECT_EQ(Count("Nom=O'Neil"), 1);
  EXPECT_EQ(Count("Nom < 'M"), 1);  // no closing quote: Lyon
  EXPECT_EQ(Count("  "), 4);
}

TEST_F(ConditionTest, ConditionsThatCanSelectNothingSayWhy) {
  const std::pair<const char*, const char*> cases[] = {
      {"Vile = Paris", "la table n'a pas de champ 'Vile'"},
      {"Pr\xE9nom=x", "la table n'a pas de champ 'Pr\xC3\xA9nom'"},
      {" = Paris", "aucun champ n'est nomm\xC3\xA9"},
      {"Nom<>Paris", "l'op\xC3\xA9rateur \xC2\xAB <> \xC2\xBB n'est pas reconnu"},
      {"Nom => P", "l'op\xC3\xA9rateur \xC2\xAB => \xC2\xBB n'est pas reconnu"},
      {"Nom==Paris", "l'op\xC3\xA9rateur \xC2\xAB == \xC2\xBB n'est pas reconnu"},
      {"Paris", "la condition n'a pas d'op\xC3\xA9rateur"},
  };
  for (const auto& [condition, reason] : cases) {
    const TExpression expression(t, condition);
    EXPECT_EQ(StatusReason(expression.Status()), reason) << condition;
    EXPECT_EQ(CountRecords(t, expression, 1, 4), 0) << condition;
  }
  EXPECT_TRUE(TExpression(t, "Age <= 10").Status().ok());
  EXPECT_TRUE(TExpression(t, "").Status().ok());
}

TEST_F(ConditionTest, TotalsAreSixByteRealsAndAverageOverNoneIsNoDivision) {
  const TCalculation sum = CalculateField(t, "", "Age", TCalcOperation::kSomme, 1, 4);
  EXPECT_EQ(sum.count, 4);
  EXPECT_EQ(sum.result.Value(), 100019.0);
  const TCalculation max = CalculateField(t, "Nom>A", "Age", TCalcOperation::kMaximum, 1, 4);
  EXPECT_EQ(max.result.Value(), 100000.0);
  const TCalculation min = CalculateField(t, "", "Age", TCalcOperation::kMinimum, 2, 4);
  EXPECT_EQ(min.result.Value(), 0.0);
  const TCalculation none = CalculateField(t, "Nom=x", "Age", TCalcOperation::kMoyenne, 1, 4);
  EXPECT_EQ(none.count, 0);
  EXPECT_FALSE(none.overflow);
  t.GoToRecord(1);
  t.SetFieldValue(2, "0.1");
  const TCalculation third = CalculateField(t, "", "Age", TCalcOperation::kSomme, 1, 1);
  TReal48 tenth;
  TReal48::FromDouble(0.1, tenth);
  EXPECT_EQ(third.result.Value(), tenth.Value());
  EXPECT_NE(third.result.Value(), 0.1);
  t.SetFieldValue(2, "1e38");
  t.GoToRecord(3);
  t.SetFieldValue(2, "1e38");
  const TCalculation over = CalculateField(t, "", "Age", TCalcOperation::kSomme, 1, 4);
  EXPECT_TRUE(over.overflow);
  EXPECT_EQ(t.RecNo(), 3);
}

TEST(TQbeQuery, ConditionsSplitIntoOperatorAndValue) {
  const std::pair<const char*, std::pair<const char*, const char*>> cases[] = {
      {"<=5", {"<=", "5"}},           {">= 18", {">=", "18"}},
      {"<'a b '", {"<", "a b "}},     {"=x", {"=", "x"}},
      {"> \"q\"uoted\"", {">", "q"}}, {"like dup*", {"LIKE", "dup*"}},
      {"Paris", {"=", "Paris"}},      {"'Saint Jean '", {"=", "Saint Jean "}},
      {"LIK", {"=", "LIK"}},
  };
  for (const auto& c : cases) {
    std::string op, value;
    TQbeQuery::SplitCondition(c.first, op, value);
    EXPECT_EQ(op, c.second.first) << c.first;
    EXPECT_EQ(value, c.second.second) << c.first;
  }
  std::string op, value;
  TQbeQuery::SplitCondition("=" + std::string(300, 'v'), op, value);
  EXPECT_EQ(value.size(), 255u);
}

}  // namespace
