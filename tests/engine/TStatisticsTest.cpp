// Statistics by group, checked against a plain computation made from what the
// test itself wrote into the table: amounts kept as whole cents, so that every
// sum and mean is known to the last digit.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "TQor2.h"
#include "TStatistics.h"
#include "TestFiles.h"

namespace {

// "12 450,50" from cents, as a person would read it.
std::string Cents(int64_t cents) {
  const bool negative = cents < 0;
  const uint64_t m = negative ? static_cast<uint64_t>(-cents) : static_cast<uint64_t>(cents);
  std::string whole = std::to_string(m / 100);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
    whole.insert(static_cast<size_t>(i), " ");
  const std::string frac = std::to_string(100 + m % 100).substr(1);
  return (negative ? "-" : "") + whole + "," + frac;
}

// cents / n rounded half away from zero, as cents.
int64_t RoundedQuotient(int64_t cents, int64_t n) {
  const int64_t m = cents < 0 ? -cents : cents;
  int64_t q = m / n;
  if (2 * (m % n) >= n) ++q;
  return cents < 0 ? -q : q;
}

struct Expected {
  int count = 0, numbers = 0;
  int64_t sum = 0, min = 0, max = 0;
};

// A table of Ville (STRING) and Montant (FLOAT) with its own expected results.
class StatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddField("Ville");
    t.AddField("Montant");
    t.SetFieldType(2, "FLOAT");
  }
  // A record whose amount is `cents` written as `text`; kind 0 number, 1 blank,
  // 2 not a number.
  void Add(const std::string& town, const std::string& text, int kind = 0, int64_t cents = 0) {
    t.Append();
    t.SetFieldValue(1, town);
    t.SetFieldValue(2, text);
    rows.push_back({town, kind, cents});
  }
  // Grouped by Ville, over Montant.
  TStatsResult ByTown() {
    TStatsRequest q;
    q.groupField = "Ville";
    q.numberField = "Montant";
    TStatsResult r;
    EXPECT_TRUE(ComputeStats(t, q, r));
    return r;
  }
  std::map<std::string, Expected> Plain(int from, int to, const std::string& only = "") const {
    std::map<std::string, Expected> e;
    for (int i = from; i <= to; ++i) {
      const Row& r = rows[static_cast<size_t>(i) - 1];
      if (!only.empty() && r.town != only) continue;
      Expected& x = e[r.town];
      ++x.count;
      if (r.kind != 0) continue;
      if (x.numbers == 0 || r.cents < x.min) x.min = r.cents;
      if (x.numbers == 0 || r.cents > x.max) x.max = r.cents;
      x.sum += r.cents;
      ++x.numbers;
    }
    return e;
  }
  void ExpectSame(const TStatsResult& r, const std::map<std::string, Expected>& e) {
    ASSERT_EQ(r.groups.size(), e.size());
    int64_t records = 0;
    for (const auto& [town, x] : e) records += x.count;
    EXPECT_EQ(r.records, records);
    size_t i = 0;
    for (const auto& [town, x] : e) {  // std::map orders as bytes, as the groups are
      const TStatsGroup& g = r.groups[i++];
      SCOPED_TRACE(town);
      EXPECT_EQ(g.key, town);
      EXPECT_EQ(g.count, x.count);
      EXPECT_EQ(g.numbers, x.numbers);
      EXPECT_EQ(StatsCell(r, g, TStatsColumn::Sum, ' '), Cents(x.sum));
      EXPECT_EQ(StatsCell(r, g, TStatsColumn::Mean, ' '),
                x.numbers ? Cents(RoundedQuotient(x.sum, x.numbers)) : "");
      EXPECT_EQ(StatsCell(r, g, TStatsColumn::Minimum, ' '), x.numbers ? Cents(x.min) : "");
      EXPECT_EQ(StatsCell(r, g, TStatsColumn::Maximum, ' '), x.numbers ? Cents(x.max) : "");
      EXPECT_EQ(StatsCell(r, g, TStatsColumn::Share, 0),
                Cents(RoundedQuotient(int64_t{x.count} * 10000, records)));
    }
  }

  struct Row {
    std::string town;
    int kind;
    int64_t cents;
  };
  TQor2 t;
  std::vector<Row> rows;
};

TEST_F(StatsTest, GroupsMatchAPlainComputation) {
  std::mt19937 rng(7);
  const char* towns[] = {"Paris", "Lyon", "", "Saint-\xC9tienne", "paris", "Zo\xE9", "Lyon "};
  int64_t nonNumeric = 0, blank = 0;
  for (int i = 0; i < 5000; ++i) {
    const std::string town = towns[rng() % 7];
    const int64_t cents = static_cast<int64_t>(rng() % 2000000001) - 1000000000;  // +-10 million
    const std::string text = Cents(cents);
    switch (rng() % 9) {
      case 0:
        Add(town, "", 1);
        ++blank;
        break;
      case 1:
        Add(town, rng() % 2 ? "abc" : "1.234,56", 2);
        ++nonNumeric;
        break;
      case 2:  // the other decimal mark, no thousands space, a currency sign
        Add(town,
            (cents < 0 ? "-" : "") + std::to_string(std::abs(cents) / 100) + "." +
                text.substr(text.size() - 2) + " \x80",
            0, cents);
        break;
      default:
        Add(town, text, 0, cents);
    }
  }
  TStatsRequest q;
  q.groupField = "Ville";
  q.numberField = "Montant";
  TStatsResult r;
  ASSERT_TRUE(ComputeStats(t, q, r));
  ExpectSame(r, Plain(1, 5000));
  EXPECT_EQ(r.nonNumeric, nonNumeric);
  EXPECT_EQ(r.blank, blank);
  EXPECT_EQ(StatsLabel(r.groups[0]), "(vide)");

  // "Portée" and a selection: records 100 to 2999 whose town is Lyon.
  q.from = 100;
  q.to = 2999;
  q.useFilter = true;
  q.filter = {"Ville", "=", "Lyon"};
  ASSERT_TRUE(ComputeStats(t, q, r));
  ExpectSame(r, Plain(100, 2999, "Lyon"));
  EXPECT_EQ(t.RecNo(), 5000);  // the cursor did not move
}

TEST_F(StatsTest, SumsAndMeansAreExactWhereADoubleDrifts) {
  // Amounts of nineteen digits and more: a long double would lose the cents.
  for (int i = 0; i < 3; ++i) Add("A", "12 345 678 901 234 567,89");
  for (int i = 0; i < 3; ++i) Add("B", "0,10");
  Add("C", "0,01");
  Add("C", "0,00");
  Add("D", "-0,01");
  Add("D", "0");
  Add("E", "2,675");
  Add("F", "1e-12");
  Add("F", "1,5e3");
  TStatsResult r = ByTown();
  ASSERT_EQ(r.groups.size(), 6u);
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Sum, ' '), "37 037 036 703 703 703,67");
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Mean, ' '), "12 345 678 901 234 567,89");
  EXPECT_EQ(StatsCell(r, r.groups[1], TStatsColumn::Sum, 0), "0,30");
  EXPECT_EQ(StatsCell(r, r.groups[1], TStatsColumn::Mean, 0), "0,10");
  EXPECT_EQ(StatsCell(r, r.groups[2], TStatsColumn::Mean, 0), "0,01");   // 0,005 rounds up
  EXPECT_EQ(StatsCell(r, r.groups[3], TStatsColumn::Mean, 0), "-0,01");  // and away from zero
  EXPECT_EQ(StatsCell(r, r.groups[4], TStatsColumn::Maximum, 0), "2,68");
  EXPECT_EQ(StatsCell(r, r.groups[5], TStatsColumn::Sum, 0), "1500,00");
  EXPECT_FALSE(r.groups[5].sum.Exact());  // 1e-12 has more decimals than the count holds

  // Ten thousand values of 0,10 add up to exactly 1 000.
  TQor2 many;
  many.AddField("Montant");
  for (int i = 0; i < 10000; ++i) {
    many.Append();
    many.SetFieldValue(1, "0,10");
  }
  TStatsRequest all;
  all.numberField = "Montant";
  ASSERT_TRUE(ComputeStats(many, all, r));
  ASSERT_EQ(r.groups.size(), 1u);
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Sum, ' '), "1 000,00");
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Count, ' '), "10 000");
}

TEST_F(StatsTest, OneGroupWithoutGroupingAndCountsWithoutNumbers) {
  Add("Paris", "-3", 0, -300);
  Add("Lyon", "-7", 0, -700);
  Add("Nice", "x", 2);
  TStatsRequest q;
  q.numberField = "Montant";
  q.keepValues = true;
  TStatsResult r;
  ASSERT_TRUE(ComputeStats(t, q, r));
  ASSERT_EQ(r.groups.size(), 1u);
  EXPECT_EQ(r.groups[0].count, 3);
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Minimum, 0), "-7,00");
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Maximum, 0), "-3,00");
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Mean, 0), "-5,00");
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Share, 0), "100,00");
  EXPECT_EQ(r.nonNumeric, 1);
  std::sort(r.values.begin(), r.values.end());  // kept in no given order
  EXPECT_EQ(r.values, (std::vector<double>{-7, -3}));
  EXPECT_EQ(StatsColumns(r),
            (std::vector<TStatsColumn>{TStatsColumn::Count, TStatsColumn::Sum, TStatsColumn::Mean,
                                       TStatsColumn::Minimum, TStatsColumn::Maximum,
                                       TStatsColumn::Share}));

  // Counts only, by town; an empty range gives no group at all.
  TStatsRequest counts;
  counts.groupField = "Ville";
  ASSERT_TRUE(ComputeStats(t, counts, r));
  EXPECT_EQ(StatsColumns(r), (std::vector<TStatsColumn>{TStatsColumn::Group, TStatsColumn::Count,
                                                        TStatsColumn::Share}));
  EXPECT_EQ(r.groups.size(), 3u);
  EXPECT_EQ(r.nonNumeric, 0);
  counts.from = 3;
  counts.to = 2;
  ASSERT_TRUE(ComputeStats(t, counts, r));
  EXPECT_TRUE(r.groups.empty());
}

TEST_F(StatsTest, AMillionGroups) {
  // Loaded from a file, as a table of that size is, and much faster than
  // appended record by record.
  std::string text = "Ville;Montant\r\n";
  for (int i = 0; i < 1000000; ++i)
    text += "R" + std::to_string(i) + ";" + std::to_string(i % 1000) + ",5\r\n";
  TempDir dir;
  WriteBytes(dir.File("t.csv"), text);
  ASSERT_TRUE(t.LoadCsvFile(dir.File("t.csv")));
  TStatsResult r = ByTown();
  ASSERT_EQ(r.groups.size(), 1000000u);
  EXPECT_EQ(r.groups[0].key, "R0");
  EXPECT_EQ(r.groups[1].key, "R1");
  EXPECT_EQ(r.groups[2].key, "R10");
  EXPECT_EQ(r.groups.back().key, "R999999");
  EXPECT_EQ(StatsCell(r, r.groups.back(), TStatsColumn::Sum, 0), "999,50");
  EXPECT_EQ(StatsCell(r, r.groups.back(), TStatsColumn::Share, 0), "0,00");
  const std::vector<uint32_t> bySum = StatsOrder(r, TStatsColumn::Sum, false);
  EXPECT_EQ(r.groups[bySum[0]].key, "R100999");  // the first of the 999,5 in text order
}

TEST_F(StatsTest, OrdersFollowTheColumnAndKeepTiesInGroupOrder) {
  Add("b", "5");
  Add("a", "x", 2);
  Add("c", "5");
  Add("c", "-1");
  Add("d", "-2");
  TStatsResult r = ByTown();
  auto keys = [&](TStatsColumn c, bool ascending) {
    std::string s;
    for (const uint32_t i : StatsOrder(r, c, ascending)) s += r.groups[i].key;
    return s;
  };
  EXPECT_EQ(keys(TStatsColumn::Group, true), "abcd");
  EXPECT_EQ(keys(TStatsColumn::Group, false), "dcba");
  EXPECT_EQ(keys(TStatsColumn::Count, false), "cabd");
  EXPECT_EQ(keys(TStatsColumn::Sum, true), "dacb");
  EXPECT_EQ(keys(TStatsColumn::Mean, true), "adcb");  // a has no numbers: first
  EXPECT_EQ(keys(TStatsColumn::Minimum, false), "bcda");

  // Grouped by a number field, groups go in numeric order.
  t.SetFieldType(1, "FLOAT");
  t.GoToRecord(1);
  t.SetFieldValue(1, "10");
  t.GoToRecord(2);
  t.SetFieldValue(1, "9");
  r = ByTown();
  EXPECT_EQ(keys(TStatsColumn::Group, true), "cd910");  // text keys read as 0
}

TEST_F(StatsTest, NumbersBeyondEveryRangeBreakNothing) {
  Add("a", "1e99999");
  Add("a", "-1e99999");
  Add("b", "1e99999");
  Add("c", "2");
  const TStatsResult r = ByTown();
  EXPECT_EQ(StatsCell(r, r.groups[0], TStatsColumn::Sum, ' '), "nan");
  EXPECT_EQ(StatsCell(r, r.groups[1], TStatsColumn::Mean, ' '), "inf");
  EXPECT_EQ(StatsCell(r, r.groups[1], TStatsColumn::Maximum, ' '), "inf");
  const std::vector<uint32_t> bySum = StatsOrder(r, TStatsColumn::Sum, true);
  EXPECT_EQ(bySum, (std::vector<uint32_t>{0, 2, 1}));  // the undefined sum first
  EXPECT_EQ(StatsOrder(r, TStatsColumn::Mean, false), (std::vector<uint32_t>{1, 2, 0}));
}

TEST_F(StatsTest, ResultTableIsWrittenAndReadBack) {
  Add("Paris", "1 234,5");
  Add("Lyon", "2");
  Add("Paris", "3");
  Add("Lyon;Sud", "");
  TStatsResult r = ByTown();
  TQor2 out;
  StatsTable(r, StatsOrder(r, TStatsColumn::Count, false), out);
  EXPECT_EQ(out.CsvText(),
            "Ville;Nombre;Somme;Moyenne;Minimum;Maximum;Part (%)\r\n"
            "Paris;2;1237,50;618,75;3,00;1234,50;50,00\r\n"
            "Lyon;1;2,00;2,00;2,00;2,00;25,00\r\n"
            "Lyon\\;Sud;1;0,00;;;;25,00\r\n");
  EXPECT_EQ(out.GetFieldType(2), "FLOAT");
  TempDir dir;
  ASSERT_TRUE(out.SaveCsvFile(dir.File("r.csv")));
  TQor2 back;
  ASSERT_TRUE(back.LoadCsvFile(dir.File("r.csv")));
  ASSERT_EQ(back.RecordCount(), 3);
  EXPECT_EQ(back.GetCell(1, 3), std::string("Lyon;Sud"));
  EXPECT_EQ(TextToFloat(back.GetCell(3, 1)), 1237.5L);

  // A grouping field named like a column keeps a column of its own.
  t.SetFieldName(1, "Nombre");
  TStatsRequest q;
  q.groupField = "Nombre";
  q.numberField = "Montant";
  ASSERT_TRUE(ComputeStats(t, q, r));
  StatsTable(r, StatsOrder(r, TStatsColumn::Group, true), out);
  EXPECT_EQ(out.GetFieldName(1), "Groupe Nombre");
  EXPECT_EQ(out.FieldCount(), 7);
}

TEST_F(StatsTest, ProgressIsReportedAndCanStopTheWork) {
  for (int i = 0; i < 200000; ++i) Add("x", "1");
  TStatsRequest q;
  q.groupField = "Ville";
  int64_t lastDone = -1, lastTotal = 0;
  TStatsResult r;
  ASSERT_TRUE(ComputeStats(t, q, r, [&](int64_t done, int64_t total) {
    lastDone = done;
    lastTotal = total;
    return true;
  }));
  EXPECT_EQ(lastDone, 200000);
  EXPECT_EQ(lastTotal, 200000);
  int calls = 0;
  const TStatus stopped = ComputeStats(t, q, r, [&](int64_t, int64_t) { return ++calls < 2; });
  EXPECT_FALSE(stopped);
  EXPECT_EQ(stopped.Cause(), TFailure::Other);
  EXPECT_TRUE(r.groups.empty());
}

TEST(Decimal, ReadsNumbersAsTheEngineDoes) {
  // Every text of a few characters from this alphabet: what TextToFloat
  // reads as a number is a number here, with the same value.
  const std::string alphabet = "0159+-.,eE a";
  std::string text;
  int numbers = 0;
  for (int n = 0; n <= 5; ++n) {
    std::vector<size_t> pick(static_cast<size_t>(n), 0);
    for (;;) {
      text.clear();
      for (const size_t p : pick) text.push_back(alphabet[p]);
      TDecimal d;
      const TNumberKind kind = TDecimal::Read(text, d);
      const long double expected = TextToFloat(text);
      SCOPED_TRACE(text);
      if (kind == TNumberKind::Number) {
        ++numbers;
        EXPECT_EQ(d.Value(), expected);
      } else {
        EXPECT_EQ(d.Value(), 0.0L);
        EXPECT_EQ(expected, 0.0L);
        EXPECT_EQ(kind == TNumberKind::Blank, text.find_first_not_of(' ') == std::string::npos);
      }
      size_t k = 0;
      while (k < pick.size() && ++pick[k] == alphabet.size()) pick[k++] = 0;
      if (k == pick.size()) break;
    }
  }
  EXPECT_GT(numbers, 10000);
  TDecimal d;
  EXPECT_EQ(TDecimal::Read("+", d), TNumberKind::NotANumber);
  EXPECT_EQ(TDecimal::Read("\x80", d), TNumberKind::NotANumber);
  EXPECT_EQ(TDecimal::Read("1e+", d), TNumberKind::Number);
}

TEST(Decimal, TextsInTheTablesNumberFormat) {
  TDecimal d;
  TDecimal::Read("12450,5", d);
  EXPECT_EQ(d.Text(2, ' '), "12 450,50");
  EXPECT_EQ(d.Text(2, 0), "12450,50");
  TDecimal::Read("-1234567", d);
  EXPECT_EQ(d.Text(2, ' '), "-1 234 567,00");
  TDecimal::Read("0,5", d);
  EXPECT_EQ(d.Text(2, ' '), "0,50");
  TDecimal::Read("-0,004", d);
  EXPECT_EQ(d.Text(2, ' '), "0,00");
  EXPECT_EQ(TDecimal::LongDoubleText(-123456.125L, 2, ' '), "-123 456,13");
  EXPECT_EQ(TDecimal::IntegerText(-1000000, ' '), "-1 000 000");
  EXPECT_EQ(TDecimal::IntegerText(999, ' '), "999");
}

}  // namespace
