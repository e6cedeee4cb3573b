#pragma once
// TChartPrintout: the statistics chart on one landscape page: across the top
// the heading (the window's title in bold on the left, "Imprimé le <date>" on
// the right, as the lists print it), the chart below it filling the page
// inside margins of a twenty-fifth of the page, and under the chart the note
// on values that were not numbers, when there is one.
//
// The chart view must live as long as the printout.

#include <QString>

#include "TPrintout.h"

class TStatsChartView;

class TChartPrintout : public TPrintout {
 public:
  TChartPrintout(const TStatsChartView& chart, const QString& title, const QString& note);

 protected:
  QString Title() const override { return title_; }
  std::optional<QPageLayout::Orientation> JobOrientation() const override {
    return QPageLayout::Landscape;
  }
  void Draw(TPrinter& printer) override;

 private:
  const TStatsChartView& chart_;
  QString title_;
  QString note_;
};
