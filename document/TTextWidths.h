#pragma once
// TTextWidths: widths of Windows-1252 texts in one font, exactly as
// QFontMetricsF (in 1/64 pixel) and QFontMetrics (rounded pixels) measure them,
// without shaping every text.
//
// At construction every byte's own advance is measured, and every pair of
// printable ASCII characters once. A text is "additive" when it is printable
// ASCII and each two neighbours add up (no kerning, no ligature between them):
// its width is then the sum of its characters' advances. Any other text is
// measured. For one font the tables are built once per process (For()).

#include <QFont>
#include <QFontMetricsF>
#include <array>
#include <cstdint>
#include <string_view>

class TTextWidths {
 public:
  explicit TTextWidths(const QFont& font);
  // The shared tables of a font; valid for the life of the process.
  static const TTextWidths& For(const QFont& font);

  // Width in 1/64 pixel.
  int64_t Width64(std::string_view ansi) const;
  // Rounded to pixels, as QFontMetrics::horizontalAdvance rounds.
  int Width(std::string_view ansi) const { return Round(Width64(ansi)); }
  // Sum of the characters' own advances: the width when nothing between them
  // kerns. Equal to Width64 for additive texts.
  int64_t Estimate64(std::string_view ansi) const;
  bool Additive(std::string_view ansi) const;
  // The smallest number of spaces which, put in front of the text, make its
  // rounded width at least target: what adding one space at a time and
  // measuring gives, in one step.
  int PaddingFor(std::string_view ansi, int target) const;
  // The most spaces which, put in front of the text, keep its width (not
  // rounded) within room64: what a cell that much wide shows uncut. 0 when
  // the text alone is wider.
  int SpacesFitting(std::string_view ansi, int64_t room64) const;

  static int Round(int64_t width64) { return static_cast<int>((width64 + 32) >> 6); }

 private:
  int64_t Measure64(std::string_view ansi) const;
  bool PairAdds(unsigned char a, unsigned char b) const {
    return a >= 32 && a < 127 && b >= 32 && b < 127 && pairs_[a - 32][b - 32];
  }

  QFont font_;
  QFontMetricsF metrics_;
  std::array<int64_t, 256> advance64_{};
  // pairs_[a - 32][b - 32]: "ab" is as wide as "a" and "b" together.
  std::array<std::array<bool, 95>, 95> pairs_{};
};
