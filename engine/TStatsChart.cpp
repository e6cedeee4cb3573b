#include "TStatsChart.h"

#include <algorithm>
#include <cmath>

namespace {

// Decimals that show a class width: the fewest that tell two bounds apart,
// one more when that writes the width exactly (2,5), at most 6.
int WidthDecimals(double width) {
  const int least = std::clamp(static_cast<int>(std::ceil(-std::log10(width))), 0, 6);
  for (int d = least; d <= std::min(least + 1, 6); ++d) {
    const double scaled = width * std::pow(10.0, d);
    if (std::fabs(scaled - std::round(scaled)) <= 1e-9 * scaled) return d;
  }
  return least;
}

std::string Bound(double x, int decimals) {
  return TDecimal::LongDoubleText(x, decimals, ' ');
}

}  // namespace

double StatsMeasure(const TStatsGroup& group, TStatsMeasure measure) {
  double m = 0;
  switch (measure) {
    case TStatsMeasure::Count:
      m = group.count;
      break;
    case TStatsMeasure::Sum:
      m = static_cast<double>(group.sum.Value());
      break;
    case TStatsMeasure::Mean:
      m = group.numbers ? static_cast<double>(group.sum.Value() / group.numbers) : 0.0;
      break;
  }
  // A sum beyond every range (1e5000 was read) has no bar to draw.
  return std::isfinite(m) ? m : 0.0;
}

TStatsChart BarChart(const TStatsResult& result, const std::vector<uint32_t>& order,
                     TStatsMeasure measure, size_t maxBars) {
  TStatsChart chart;
  const auto& groups = result.groups;
  std::vector<double> size(groups.size());
  for (size_t i = 0; i < groups.size(); ++i) size[i] = std::fabs(StatsMeasure(groups[i], measure));

  // Which groups get a bar of their own: all, or the maxBars largest.
  std::vector<bool> own(groups.size(), true);
  if (order.size() > maxBars) {
    std::vector<double> sizes;
    sizes.reserve(order.size());
    for (const uint32_t i : order) sizes.push_back(size[i]);
    std::nth_element(sizes.begin(), sizes.begin() + static_cast<long>(maxBars) - 1, sizes.end(),
                     std::greater<double>());
    const double threshold = maxBars ? sizes[maxBars - 1] : HUGE_VAL;
    size_t above = 0;
    for (const double s : sizes) above += s > threshold;
    size_t ties = maxBars - above;  // places left for groups at the threshold
    std::fill(own.begin(), own.end(), false);
    for (const uint32_t i : order) {
      if (size[i] > threshold) {
        own[i] = true;
      } else if (size[i] == threshold && ties > 0) {
        own[i] = true;
        --ties;
      }
    }
  }

  TStatsGroup rest;  // the groups without a bar, together
  int64_t restGroups = 0;
  for (const uint32_t i : order) {
    if (i >= groups.size()) continue;
    const TStatsGroup& g = groups[i];
    if (!own[i]) {
      rest.count += g.count;
      rest.numbers += g.numbers;
      rest.sum += g.sum;
      ++restGroups;
      continue;
    }
    if (chart.largestGroup < 0 || size[i] > size[static_cast<size_t>(chart.largestGroup)]) {
      chart.largestGroup = i;
      chart.largestBar = static_cast<int>(chart.bars.size());
    }
    chart.bars.push_back(
        {result.grouped ? StatsLabel(g) : "Ensemble", StatsMeasure(g, measure), 1});
  }
  if (restGroups > 0) {
    chart.bars.push_back({"Autres", StatsMeasure(rest, measure), restGroups});
    chart.others = true;
  }
  return chart;
}

int SturgesBins(size_t n) {
  if (n == 0) return 1;
  return static_cast<int>(std::ceil(std::log2(static_cast<double>(n)))) + 1;
}

TStatsChart Histogram(const std::vector<double>& values, int bins) {
  TStatsChart chart;
  chart.histogram = true;
  if (values.empty()) return chart;
  bins = std::clamp(bins, 1, kMaxHistogramBins);
  const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
  const double lo = *lowest, hi = *highest;
  if (!(lo < hi) || !std::isfinite(hi - lo)) {
    const int d = std::isfinite(lo) && lo != std::floor(lo) ? 2 : 0;
    chart.bars.push_back(
        {"[" + Bound(lo, d) + " ; " + Bound(hi, d) + "]", static_cast<double>(values.size()), 0});
    chart.largestBar = 0;
    return chart;
  }
  const double width = (hi - lo) / bins;
  std::vector<int64_t> counts(static_cast<size_t>(bins), 0);
  for (const double v : values) {
    const int b = static_cast<int>((v - lo) / width);
    ++counts[static_cast<size_t>(std::clamp(b, 0, bins - 1))];
  }
  const int decimals = WidthDecimals(width);
  auto edge = [&](int i) { return i == bins ? hi : lo + (hi - lo) * i / bins; };
  for (int i = 0; i < bins; ++i) {
    const std::string close = i + 1 == bins ? "]" : "[";
    chart.bars.push_back(
        {"[" + Bound(edge(i), decimals) + " ; " + Bound(edge(i + 1), decimals) + close,
         static_cast<double>(counts[static_cast<size_t>(i)]), 0});
    if (chart.largestBar < 0 ||
        counts[static_cast<size_t>(i)] > counts[static_cast<size_t>(chart.largestBar)])
      chart.largestBar = i;
  }
  return chart;
}
