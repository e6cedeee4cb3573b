#include "TColorCode.h"

QColor TColorCode::ToColor(uint32_t code, const QPalette& palette) {
  if ((code & 0xFFFFFF00u) == 0x80000000u) {
    switch (code & 0xFF) {
      case 0x05:
        return palette.color(QPalette::Base);
      case 0x0F:
        return palette.color(QPalette::Button);
      case 0x12:
        return palette.color(QPalette::ButtonText);
      case 0x0D:
        return palette.color(QPalette::Highlight);
      case 0x0E:
        return palette.color(QPalette::HighlightedText);
      default:
        return palette.color(QPalette::WindowText);
    }
  }
  return QColor(static_cast<int>(code & 0xFF), static_cast<int>(code >> 8 & 0xFF),
                static_cast<int>(code >> 16 & 0xFF));
}

uint32_t TColorCode::FromColor(const QColor& color) {
  return static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
         static_cast<uint32_t>(color.blue()) << 16;
}
