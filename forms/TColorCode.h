#pragma once
// TColorCode: the 32-bit colour values of the form layout. A direct colour is
// 00BBGGRR (red in the lowest byte); 800000nn stands for the desktop's system
// colour nn, taken here from the palette: 05 window background, 08 window
// text, 0F button face, 12 button text, 0D highlight, 0E highlighted text, any
// other number the window text.

#include <QColor>
#include <QPalette>
#include <cstdint>

class TColorCode {
 public:
  static QColor ToColor(uint32_t code, const QPalette& palette);
  static uint32_t FromColor(const QColor& color);  // a direct colour
};
