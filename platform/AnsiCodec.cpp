#include "AnsiCodec.h"

#include "Cp1252.h"

namespace {

char Encode(char16_t u) {
  char byte;
  return UnicodeToCp1252(u, byte) ? byte : '?';
}

}  // namespace

QChar AnsiToChar(unsigned char byte) {
  return QChar(static_cast<char16_t>(Cp1252ToUnicode(byte)));
}

char CharToAnsi(QChar c) {
  return Encode(c.unicode());
}

QString FromAnsi(const char* bytes, size_t length) {
  QString out(static_cast<qsizetype>(length), Qt::Uninitialized);
  QChar* dst = out.data();
  for (size_t i = 0; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    dst[i] = QChar(static_cast<char16_t>(Cp1252ToUnicode(b)));
  }
  return out;
}

QString FromAnsi(std::string_view bytes) {
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
