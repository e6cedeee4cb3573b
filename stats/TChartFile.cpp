#include "TChartFile.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

#include "FileNames.h"
#include "French.h"
#include "IServices.h"
#include "TAtomicFile.h"
#include "THourglass.h"
#include "TStatsChartView.h"

namespace {

struct TKind {
  const char* label;
  const char* pattern;
  const char* extension;
  TStatsChartView::TPicture picture;
};

const TKind kKinds[] = {
    {"Image PNG (*.png)", "*.png", ".png", TStatsChartView::TPicture::Png},
    {"Image SVG (*.svg)", "*.svg", ".svg", TStatsChartView::TPicture::Svg},
    {"Document PDF (*.pdf)", "*.pdf", ".pdf", TStatsChartView::TPicture::Pdf},
};

}  // namespace

bool TChartFile::Save(const TStatsChartView& chart) {
  TFileDialogRequest request;
  request.kind = TFileDialogKind::Save;
  request.caption = QStringLiteral("Enregistrer le graphique");
  for (const TKind& k : kKinds)
    request.filters.push_back({QString::fromUtf8(k.label), QString::fromLatin1(k.pattern)});
  const std::optional<TFileChoice> choice = Services().FileDialog(request);
  if (!choice) return false;
  const int count = static_cast<int>(std::size(kKinds));
  const TKind& kind =
      kKinds[choice->filterIndex >= 1 && choice->filterIndex <= count ? choice->filterIndex - 1
                                                                      : 0];
  const QString name = WithoutExtension(choice->path) + QLatin1String(kind.extension);
  if (QFileInfo::exists(name) &&
      !Services().Confirm(QStringLiteral("Ce fichier existe déjà. Le remplacer ?")))
    return false;

  TFailure failure = TFailure::None;
  int result;
  {
    THourglass hourglass;
    const QByteArray bytes = chart.Picture(kind.picture);
    result =
        WriteFileAtomically(QFile::encodeName(name).toStdString(), bytes.toStdString(), &failure);
  }
  if (result == 0) return true;
  Services().Warning(QStringLiteral("Impossible d'enregistrer '") + name + QStringLiteral("' : ") +
                     FailureText(failure, AtomicWriteMessage(result)));
  return false;
}
