#include "AnsiCodec.h"

namespace {

// 0x80..0x9F; the unassigned bytes keep their own value.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

char FromHigh(char16_t u) {
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == u) return static_cast<char>(0x80 + i);
  return '?';
}

char Encode(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
  return FromHigh(u);
}

}  // namespace

QChar AnsiToChar(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return QChar(kHigh[byte - 0x80]);
  return QChar(byte);
}

char CharToAnsi(QChar c) {
  return Encode(c.unicode());
}

QString FromAnsi(const char* bytes, size_t length) {
  QString out(static_cast<qsizetype>(length), Qt::Uninitialized);
  QChar* dst = out.data();
  for (size_t i = 0; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
  }
  return out;
}

QString FromAnsi(const std::string& bytes) {
  return FromAnsi(bytes.data(), bytes.size());
}

std::string ToAnsi(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  const QChar* src = text.constData();
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = src[i].unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(src[i + 1].unicode())) {
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(Encode(u));
  }
  return out;
}
