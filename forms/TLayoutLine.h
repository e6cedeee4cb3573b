#pragma once
// TLayoutLine: one element of a record form, read from and written to one line
// of text. Plain C++: no window is needed to read, write or check a layout.
//
// Byte layout (Windows-1252 text, no line end):
//
//   KIND ' ' XXXX YYYY TAIL
//
// KIND is "TLabel", "TEdit", "TShape" or "TImage", compared exactly; any other
// word (also none: a line without a blank is all rest) is a line of no kind.
// XXXX and YYYY are the position, 4 hexadecimal digits each, read for every
// line whatever its kind. TAIL, by kind (widths in hexadecimal digits):
//
//   TLabel  caption, TAB, then at most 1024 characters: font size (2), style
//           digit (0 regular, 1 bold, 2 underlined, 3 italic, 4 struck out, any
//           other digit regular), colour (8: 00BBGGRR, or 800000nn for system
//           colour nn), font name (rest). Without a TAB the whole tail is both
//           the caption and the attribute text. An attribute is read only when
//           the text reaches it: the size when there is any text, the style from
//           3 characters, the colour from 11, the font name from 13.
//   TEdit   width (3), bound field name (rest).
//   TShape  fill flag (1 character, "1" filled, any other hollow), width (4),
//           height (4).
//   TImage  6 characters or fewer: a field picture. Longer: an embedded picture,
//           width (3), height (3), then one group BBGGRR per pixel, column by
//           column from the top, as far as the text goes.
//
// Reading accepts hexadecimal digits in either case; a number that is not
// hexadecimal (an empty one too) or a style character that is not a decimal
// digit fails the read, with the offending text ("$" and the digits for a
// hexadecimal number) for the message. A pixel group that is not hexadecimal
// leaves its pixel unset; nothing is allocated beyond what the line holds.
//
// Writing gives upper-case digits with leading zeros, clamps every number to
// its width (a negative one to 0) and keeps line ends and the caption's TAB out
// of the texts, so that every written line reads back as the same element.
// Unset pixels are written white. A line of no kind is written back as read.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TLayoutLine {
 public:
  enum TKind { Other, Label, Edit, Shape, Image };
  static constexpr uint32_t kUnsetPixel = 0xFFFFFFFFu;
  static constexpr uint32_t kWindowText = 0x80000008u;  // the system's window-text colour

  TKind kind = Other;
  std::string raw;  // a line of no kind, as read
  int x = 0, y = 0;

  // Label. Each attribute counts only when `has...` is set; readers take the
  // page's font for the others.
  std::string caption;
  bool hasSize = false, hasStyle = false, hasColor = false, hasFontName = false;
  int fontSize = 0;
  char styleDigit = '0';
  uint32_t color = kWindowText;
  std::string fontName;

  // Edit: width and field. Shape: fill, width and height. Image: embedded,
  // width, height and pixels (00BBGGRR, column order, at most width x height).
  std::string field;
  char fill = '2';
  int width = 0, height = 0;
  bool embedded = false;
  std::vector<uint32_t> pixels;

  bool IsFieldPicture() const { return kind == Image && !embedded; }
  bool IsFilled() const { return fill == '1'; }
  // 0 regular, 1 bold, 2 underlined, 3 italic, 4 struck out.
  int Style() const;

  // Replaces this element with the one the line describes. False when a number
  // cannot be read; `badText` then holds the text the message names.
  bool Read(std::string_view line, std::string* badText);
  std::string Write() const;

  // Upper-case hexadecimal, `digits` wide, value clamped to what fits.
  static std::string Hex(int64_t value, int digits);
};
