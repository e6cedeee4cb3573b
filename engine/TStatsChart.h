#pragma once
// TStatsChart: what the statistics window draws, decided without drawing: the
// bars, their labels and values.
//
// Bars per group (BarChart): one bar per group for the measure chosen - its
// records, the sum or the mean of its numbers (0 for a group without
// numbers). With more than `maxBars` groups (30), the `maxBars` groups whose
// measure is largest in size (absolute value; on a tie, the one first in
// `order`) have a bar each, and all the others together one last bar,
// "Autres": their records, their sum, or the mean of all their numbers. The
// bars follow `order`, the results table's order, so the chart follows the
// table's sort. A group's label is its value, "(vide)" for the empty one;
// without grouping the one bar is "Ensemble".
//
// Histogram: the numbers counted in `bins` classes of equal width from the
// smallest to the largest; each class holds the numbers from its lower bound
// up to, not including, its upper one, and the last also its upper bound:
// labels "[10 ; 20[" ... "[90 ; 100]", with as many decimals as the width
// needs to tell the bounds apart. All numbers equal: one class "[5 ; 5]".
// The window starts from Sturges' rule, ceil(log2 n) + 1 classes for n
// numbers (21 for a million), which suits the roughly bell-shaped columns of
// amounts and ages this program holds; the user can change it.
//
// Labels are Windows-1252 bytes; the numbers in them are French ("1 234,5").

#include <cstdint>
#include <string>
#include <vector>

#include "TStatistics.h"

enum class TStatsMeasure { Count, Sum, Mean };

struct TChartBar {
  std::string label;
  double value = 0;
  int64_t groups = 1;  // groups the bar stands for; for a class, 0
};

struct TStatsChart {
  bool histogram = false;
  std::vector<TChartBar> bars;
  bool others = false;        // the last bar is "Autres"
  int largestBar = -1;        // the largest group's bar (in size), or the fullest class
  int64_t largestGroup = -1;  // that group's position in the result's groups
};

constexpr int kMaxChartBars = 30;
constexpr int kMaxHistogramBins = 200;

// The bar's height: 0 for a measure that is no finite number.
double StatsMeasure(const TStatsGroup& group, TStatsMeasure measure);

TStatsChart BarChart(const TStatsResult& result, const std::vector<uint32_t>& order,
                     TStatsMeasure measure, size_t maxBars = kMaxChartBars);

int SturgesBins(size_t n);
// bins is clamped to 1..kMaxHistogramBins.
TStatsChart Histogram(const std::vector<double>& values, int bins);
