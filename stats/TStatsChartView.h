#pragma once
// TStatsChartView: the chart of the statistics window, drawn with Qt Charts
// from the chart's model (TStatsChart): one bar per entry of the model, its
// labels along the bottom (upright when there are many), values up the side in
// French ("12 450"), the axis titles and the chart's title given. A histogram's
// bars touch. The view's accessible description says what the chart shows, for
// a screen reader (the results table holds the same numbers).
//
// Pictures and printouts draw the same chart again at a size of their own
// (PictureSize, about a screen's width), so that what is saved does not depend
// on the size of the window: Paint scales it into any rectangle of any painter
// (a printer's, an SVG or PDF writer's: vector drawing), Picture gives a
// file's bytes.

#include <QByteArray>
#include <QChartView>
#include <QString>

#include "TStatsChart.h"

struct TChartTexts {
  QString title;         // "Somme de Montant par Ville"
  QString categoryAxis;  // "Ville"
  QString valueAxis;     // "Somme de Montant"
  QString description;   // the accessible description
};

class TStatsChartView : public QChartView {
  Q_OBJECT

 public:
  enum class TPicture { Png, Svg, Pdf };

  explicit TStatsChartView(QWidget* parent = nullptr);

  void Show(const TStatsChart& chart, const TChartTexts& texts);
  const TStatsChart& Model() const { return model_; }
  const TChartTexts& Texts() const { return texts_; }

  static QSize PictureSize();
  void Paint(QPainter& painter, const QRectF& target) const;
  QByteArray Picture(TPicture kind) const;

 private:
  static QChart* NewChart(const TStatsChart& model, const TChartTexts& texts);

  TStatsChart model_;
  TChartTexts texts_;
};
