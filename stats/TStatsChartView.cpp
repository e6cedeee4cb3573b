#include "TStatsChartView.h"

#include <QAccessibleWidget>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>

#include "AnsiCodec.h"

namespace {

// Upright labels from this many bars on, or when the labels side by side
// would need more characters than about this many.
const int kSlantFrom = 8;
const qsizetype kLabelCharacters = 60;

// A screen reader meets the view as a chart, named and described.
class TChartAccessible : public QAccessibleWidget {
 public:
  explicit TChartAccessible(QWidget* view) : QAccessibleWidget(view, QAccessible::Chart) {}
};

QAccessibleInterface* ChartAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("TStatsChartView") && object && object->isWidgetType())
    return new TChartAccessible(static_cast<QWidget*>(object));
  return nullptr;
}

}  // namespace

TStatsChartView::TStatsChartView(QWidget* parent) : QChartView(parent) {
  static const bool installed = (QAccessible::installFactory(ChartAccessible), true);
  Q_UNUSED(installed);
  setObjectName(QStringLiteral("Chart"));
  setAccessibleName(QStringLiteral("Graphique"));
  setRenderHint(QPainter::Antialiasing);
  setMinimumSize(320, 240);
  Show(TStatsChart(), TChartTexts());
}

void TStatsChartView::Show(const TStatsChart& chart, const TChartTexts& texts) {
  model_ = chart;
  texts_ = texts;
  QChart* old = this->chart();
  setChart(NewChart(model_, texts_));
  delete old;
  setAccessibleDescription(texts_.description);
}

QChart* TStatsChartView::NewChart(const TStatsChart& model, const TChartTexts& texts) {
  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setLocalizeNumbers(true);
  chart->setLocale(QLocale(QLocale::French, QLocale::France));
  chart->setTitle(texts.title);
  chart->legend()->hide();
  if (model.bars.empty()) return chart;

  auto* set = new QBarSet(texts.valueAxis);
  QStringList labels;
  double lo = 0, hi = 0;
  for (const TChartBar& bar : model.bars) {
    *set << bar.value;
    labels << FromAnsi(bar.label);
    lo = std::min(lo, bar.value);
    hi = std::max(hi, bar.value);
  }
  // Many bars: labels upright, whole (they may cross a neighbour's space
  // rather than shrink to "...").
  qsizetype longest = 0;
  for (const QString& label : labels) longest = std::max(longest, label.size());
  const bool upright = labels.size() >= kSlantFrom || longest * labels.size() > kLabelCharacters;
  if (upright) {
    // Qt Charts drops the label at either end of the axis when a line of text
    // is wider than its bar's room, as in a narrow window: an empty slot at
    // each end keeps the first group and "Autres" named. Their labels are
    // spaces no Windows-1252 value holds, so no group's label equals them.
    labels.prepend(QString(QChar(0x2002)));
    labels.append(QString(QChar(0x2003)));
    set->insert(0, 0);
    set->append(0);
  }
  auto* series = new QBarSeries;
  series->append(set);
  series->setBarWidth(model.histogram ? 1.0 : 0.8);
  chart->addSeries(series);

  auto* categories = new QBarCategoryAxis;
  categories->append(labels);
  categories->setTitleText(texts.categoryAxis);
  if (upright) {
    categories->setLabelsAngle(-90);
    categories->setTruncateLabels(false);
    // Upright, a label is as wide as a line of text: a smaller one fits the
    // narrow bars of thirty groups.
    QFont font = categories->labelsFont();
    font.setPointSizeF(font.pointSizeF() * 0.8);
    categories->setLabelsFont(font);
  }
  chart->addAxis(categories, Qt::AlignBottom);
  series->attachAxis(categories);

  auto* values = new QValueAxis;
  values->setTitleText(texts.valueAxis);
  values->setRange(lo, hi > lo ? hi : lo + 1);
  values->applyNiceNumbers();
  // Whole numbers unless the scale needs decimals.
  const double step = (values->max() - values->min()) / std::max(values->tickCount() - 1, 1);
  values->setLabelFormat(step >= 1 ? QStringLiteral("%.0f") : QStringLiteral("%.2f"));
  chart->addAxis(values, Qt::AlignLeft);
  series->attachAxis(values);
  return chart;
}

QSize TStatsChartView::PictureSize() {
  return QSize(1000, 620);
}

void TStatsChartView::Paint(QPainter& painter, const QRectF& target) const {
  QChartView view(NewChart(model_, texts_));
  view.setRenderHint(QPainter::Antialiasing);
  view.setFrameShape(QFrame::NoFrame);
  view.setBackgroundBrush(Qt::white);  // a picture has no window around it
  view.chart()->setBackgroundRoundness(0);
  view.resize(PictureSize());
  painter.save();
  painter.translate(target.topLeft());
  const double scale =
      std::min(target.width() / PictureSize().width(), target.height() / PictureSize().height());
  painter.scale(scale, scale);
  view.QWidget::render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  painter.restore();
}

QByteArray TStatsChartView::Picture(TPicture kind) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QSize size = PictureSize();
  switch (kind) {
    case TPicture::Png: {
      // Twice the pixels, for a sharp picture on today's screens and prints.
      QImage image(size * 2, QImage::Format_ARGB32);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        Paint(painter, QRectF(QPointF(0, 0), QSizeF(size * 2)));
      }
      image.save(&buffer, "PNG");
      break;
    }
    case TPicture::Svg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(size);
      svg.setViewBox(QRect(QPoint(0, 0), size));
      svg.setTitle(texts_.title);
      svg.setDescription(texts_.description);
      QPainter painter(&svg);
      Paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
      break;
    }
    case TPicture::Pdf: {
      QPdfWriter pdf(&buffer);
      pdf.setTitle(texts_.title);
      pdf.setCreator(QStringLiteral("Vek Base"));
      pdf.setPageSize(QPageSize(QPageSize::A4));
      pdf.setPageOrientation(QPageLayout::Landscape);
      QPainter painter(&pdf);
      const QRect page = painter.viewport();
      Paint(painter, QRectF(page));
      break;
    }
  }
  return bytes;
}
