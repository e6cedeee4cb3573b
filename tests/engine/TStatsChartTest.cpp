// The chart of the statistics window, decided without drawing: which groups
// get a bar, in which order, what "Autres" holds, and the histogram's classes.

#include <gtest/gtest.h>

#include "TQor2.h"
#include "TStatsChart.h"

namespace {

// Groups named from their values: group "Gnn" holds `count` records of `value`.
class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddField("Groupe");
    t.AddField("Valeur");
  }
  void Add(const std::string& group, const std::string& value, int count = 1) {
    for (int i = 0; i < count; ++i) {
      t.Append();
      t.SetFieldValue(1, group);
      t.SetFieldValue(2, value);
    }
  }
  const TStatsResult& Compute(bool grouped = true) {
    TStatsRequest q;
    q.groupField = grouped ? "Groupe" : "";
    q.numberField = "Valeur";
    q.keepValues = true;
    EXPECT_TRUE(ComputeStats(t, q, r));
    return r;
  }
  static std::vector<std::string> Labels(const TStatsChart& c) {
    std::vector<std::string> v;
    for (const TChartBar& b : c.bars) v.push_back(b.label);
    return v;
  }
  static std::vector<double> Values(const TStatsChart& c) {
    std::vector<double> v;
    for (const TChartBar& b : c.bars) v.push_back(b.value);
    return v;
  }
  TQor2 t;
  TStatsResult r;
};

TEST_F(ChartTest, ThirtyLargestGroupsAndTheRestAsAutres) {
  // G00 .. G34: group i has i + 1 records of value 10 - i.
  for (int i = 0; i < 35; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "G%02d", i);
    Add(name, std::to_string(10 - i), i + 1);
  }
  Compute();
  const std::vector<uint32_t> byName = StatsOrder(r, TStatsColumn::Group, true);
  TStatsChart c = BarChart(r, byName, TStatsMeasure::Count);
  ASSERT_EQ(c.bars.size(), 31u);
  EXPECT_TRUE(c.others);
  EXPECT_EQ(c.bars[0].label, "G05");  // the five smallest counts are in "Autres"
  EXPECT_EQ(c.bars[29].label, "G34");
  EXPECT_EQ(c.bars[30].label, "Autres");
  EXPECT_EQ(c.bars[30].value, 1 + 2 + 3 + 4 + 5);
  EXPECT_EQ(c.bars[30].groups, 5);
  EXPECT_EQ(c.bars[29].value, 35);
  EXPECT_EQ(c.largestBar, 29);
  EXPECT_EQ(r.groups[static_cast<size_t>(c.largestGroup)].key, "G34");

  // The chart follows the table's order: by count descending, G34 first.
  c = BarChart(r, StatsOrder(r, TStatsColumn::Count, false), TStatsMeasure::Count);
  EXPECT_EQ(c.bars[0].label, "G34");
  EXPECT_EQ(c.bars[29].label, "G05");
  EXPECT_EQ(c.bars[30].label, "Autres");

  // Sums: group i sums (i + 1) * (10 - i); in size, the negative ones are
  // the largest (G34 -840). The smallest: G10 (0), G00 and G09 (10), G11
  // (-12), and of G01 and G08 (18), the one later in the order.
  c = BarChart(r, byName, TStatsMeasure::Sum);
  std::vector<std::string> labels = Labels(c);
  for (const char* gone : {"G00", "G08", "G09", "G10", "G11"})
    EXPECT_EQ(std::count(labels.begin(), labels.end(), gone), 0) << gone;
  EXPECT_EQ(std::count(labels.begin(), labels.end(), "G01"), 1);
  EXPECT_EQ(c.bars[30].value, 10 + 18 + 10 + 0 - 12);
  EXPECT_EQ(r.groups[static_cast<size_t>(c.largestGroup)].key, "G34");

  // Means: "Autres" is the mean of all the numbers of its groups.
  c = BarChart(r, byName, TStatsMeasure::Mean);
  // Means 10 - i: the five nearest zero are G08 to G12 (2, 1, 0, -1, -2).
  EXPECT_EQ(c.bars[30].value, (18.0 + 10 + 0 - 12 - 26) / (9 + 10 + 11 + 12 + 13));
}

TEST_F(ChartTest, FewGroupsEachHaveABar) {
  Add("", "1", 2);
  Add("b", "x");
  Add("a", "-4");
  Compute();
  const TStatsChart c = BarChart(r, StatsOrder(r, TStatsColumn::Group, true), TStatsMeasure::Mean);
  EXPECT_FALSE(c.others);
  EXPECT_EQ(Labels(c), (std::vector<std::string>{"(vide)", "a", "b"}));
  EXPECT_EQ(Values(c), (std::vector<double>{1, -4, 0}));  // b has no number: 0
  EXPECT_EQ(c.largestBar, 1);
  // Ties at the limit go to the groups first in the table's order.
  const TStatsChart two =
      BarChart(r, StatsOrder(r, TStatsColumn::Group, false), TStatsMeasure::Count, 1);
  EXPECT_EQ(Labels(two), (std::vector<std::string>{"(vide)", "Autres"}));
  const TStatsChart one =
      BarChart(r, StatsOrder(r, TStatsColumn::Group, false), TStatsMeasure::Sum, 2);
  EXPECT_EQ(Labels(one), (std::vector<std::string>{"a", "(vide)", "Autres"}));
}

TEST_F(ChartTest, HistogramClassesBySturgesRule) {
  EXPECT_EQ(SturgesBins(1), 1);
  EXPECT_EQ(SturgesBins(8), 4);
  EXPECT_EQ(SturgesBins(1000), 11);
  EXPECT_EQ(SturgesBins(1000000), 21);

  for (int v = 0; v <= 100; ++v) Add("", std::to_string(v));
  Add("", "abc");
  Compute(false);
  ASSERT_EQ(r.values.size(), 101u);
  TStatsChart c = Histogram(r.values, 10);
  EXPECT_TRUE(c.histogram);
  ASSERT_EQ(c.bars.size(), 10u);
  EXPECT_EQ(c.bars[0].label, "[0 ; 10[");
  EXPECT_EQ(c.bars[9].label, "[90 ; 100]");
  EXPECT_EQ(c.bars[0].value, 10);
  EXPECT_EQ(c.bars[9].value, 11);  // 100 belongs to the last class
  EXPECT_EQ(c.largestBar, 9);
  double total = 0;
  for (const TChartBar& b : c.bars) total += b.value;
  EXPECT_EQ(total, 101);

  c = Histogram(r.values, 40);
  EXPECT_EQ(c.bars[1].label, "[2,5 ; 5,0[");
  c = Histogram(r.values, 7);
  EXPECT_EQ(c.bars[1].label, "[14 ; 29[");
  c = Histogram({-1500.5, 1500.5}, 2);
  EXPECT_EQ(Labels(c), (std::vector<std::string>{"[-1 500,5 ; 0,0[", "[0,0 ; 1 500,5]"}));
  c = Histogram({5, 5, 5}, 8);
  EXPECT_EQ(Labels(c), (std::vector<std::string>{"[5 ; 5]"}));
  EXPECT_EQ(c.bars[0].value, 3);
  EXPECT_TRUE(Histogram({}, 8).bars.empty());
  EXPECT_EQ(Histogram(r.values, 100000).bars.size(), static_cast<size_t>(kMaxHistogramBins));
}

}  // namespace
