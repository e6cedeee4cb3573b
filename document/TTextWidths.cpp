#include "TTextWidths.h"

#include <QFontMetrics>
#include <QHash>
#include <cmath>
#include <memory>

#include "AnsiCodec.h"

namespace {

int64_t To64(qreal width) {
  return std::llround(width * 64);
}

}  // namespace

TTextWidths::TTextWidths(const QFont& font) : font_(font), metrics_(font) {
  for (int b = 0; b < 256; ++b)
    advance64_[b] =
        To64(metrics_.horizontalAdvance(QString(AnsiToChar(static_cast<unsigned char>(b)))));
  for (int a = 32; a < 127; ++a)
    for (int b = 32; b < 127; ++b) {
      const QString pair = QString(QChar(a)) + QChar(b);
      pairs_[a - 32][b - 32] =
          To64(metrics_.horizontalAdvance(pair)) == advance64_[a] + advance64_[b];
    }
}

const TTextWidths& TTextWidths::For(const QFont& font) {
  static QHash<QString, std::shared_ptr<const TTextWidths>> cache;
  std::shared_ptr<const TTextWidths>& entry = cache[font.key()];
  if (!entry) entry = std::make_shared<const TTextWidths>(font);
  return *entry;
}

bool TTextWidths::Additive(std::string_view ansi) const {
  if (ansi.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(ansi[0]);
    return c >= 32 && c < 127;
  }
  for (size_t i = 1; i < ansi.size(); ++i)
    if (!PairAdds(ansi[i - 1], ansi[i])) return false;
  return true;
}

int64_t TTextWidths::Estimate64(std::string_view ansi) const {
  int64_t w = 0;
  for (const char c : ansi) w += advance64_[static_cast<unsigned char>(c)];
  return w;
}

int64_t TTextWidths::Measure64(std::string_view ansi) const {
  return To64(metrics_.horizontalAdvance(FromAnsi(ansi.data(), ansi.size())));
}

int64_t TTextWidths::Width64(std::string_view ansi) const {
  return Additive(ansi) ? Estimate64(ansi) : Measure64(ansi);
}

int TTextWidths::PaddingFor(std::string_view ansi, int target) const {
  const int64_t space = advance64_[' '];
  if (space <= 0) return 0;  // spaces would never widen the text
  // The spaces in front must add up among themselves and with the text.
  const bool additive =
      PairAdds(' ', ' ') && Additive(ansi) && (ansi.empty() || PairAdds(' ', ansi[0]));
  const int64_t width = additive ? Estimate64(ansi) : Measure64(ansi);
  auto reaches = [&](int64_t n) { return Round(width + n * space) >= target; };
  if (reaches(0)) return 0;
  int64_t n = (static_cast<int64_t>(target) * 64 - 32 - width + space - 1) / space;
  if (n < 0) n = 0;
  while (n > 0 && reaches(n - 1)) --n;
  while (!reaches(n)) ++n;
  if (!additive) {
    // The spaces and the text's first character may kern: confirm on the text
    // itself, which is then at most a step or two away.
    const QFontMetrics metrics(font_);
    const QString text = FromAnsi(ansi.data(), ansi.size());
    auto measured = [&](int64_t k) {
      return metrics.horizontalAdvance(QString(static_cast<qsizetype>(k), QLatin1Char(' ')) +
                                       text) >= target;
    };
    while (n > 0 && measured(n - 1)) --n;
    while (!measured(n)) ++n;
  }
  return static_cast<int>(n);
}

int TTextWidths::SpacesFitting(std::string_view ansi, int64_t room64) const {
  const int64_t space = advance64_[' '];
  const bool additive =
      PairAdds(' ', ' ') && Additive(ansi) && (ansi.empty() || PairAdds(' ', ansi[0]));
  const int64_t width = additive ? Estimate64(ansi) : Measure64(ansi);
  if (space <= 0 || width > room64) return 0;
  int64_t n = (room64 - width) / space;
  if (!additive) {
    // Spaces may kern with the text's first character: confirm on the text.
    const QString text = FromAnsi(ansi.data(), ansi.size());
    auto fits = [&](int64_t k) {
      return To64(metrics_.horizontalAdvance(QString(static_cast<qsizetype>(k), QLatin1Char(' ')) +
                                             text)) <= room64;
    };
    while (n > 0 && !fits(n)) --n;
  }
  return static_cast<int>(n);
}
