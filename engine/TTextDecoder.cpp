#include "TTextDecoder.h"

#include <cstring>

#include "Cp1252.h"

namespace {

// The first byte beyond ASCII, or end; eight bytes at a time.
const char* FirstHighByte(const char* p, const char* end) {
  for (; end - p >= 8; p += 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (w & 0x8080808080808080ull) break;
  }
  while (p < end && static_cast<unsigned char>(*p) < 0x80) ++p;
  return p;
}

}  // namespace

size_t TTextDecoder::Decode(char* data, size_t size, bool last) {
  if (encoding_ == TTextEncoding::Ascii) {
    const char* from = FirstHighByte(data, data + size);
    if (from == data + size) return size;
    int64_t sequences = 0, strays = 0;
    CountUtf8(from, static_cast<size_t>(data + size - from), sequences, strays);
    encoding_ = sequences > strays ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
  }
  switch (encoding_) {
    case TTextEncoding::Utf8: {
      size_t cut = 0;
      const size_t n = Utf8ToCp1252InPlace(data, size, last, replaced_, cut);
      Keep(data + n, cut);
      return n;
    }
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
      return DecodeUtf16(reinterpret_cast<unsigned char*>(data), size, last);
    default:
      return size;
  }
}

size_t TTextDecoder::DecodeUtf16(unsigned char* data, size_t size, bool last) {
  const bool le = encoding_ == TTextEncoding::Utf16LE;
  auto unit = [&](size_t at) -> unsigned {
    return le ? data[at] | (data[at + 1] << 8) : (data[at] << 8) | data[at + 1];
  };
  size_t r = 0, w = 0;
  while (r + 1 < size) {
    const unsigned u = unit(r);
    if (u >= 0xD800 && u < 0xDC00) {
      if (r + 3 >= size && !last) break;  // its pair may be in the next piece
      const bool pair = r + 3 < size && unit(r + 2) >= 0xDC00 && unit(r + 2) < 0xE000;
      data[w++] = '?';
      ++replaced_;
      r += pair ? 4 : 2;
      continue;
    }
    char byte;
    if (u >= 0xDC00 && u < 0xE000) {
      byte = '?';
      ++replaced_;
    } else if (!UnicodeToCp1252(u, byte)) {
      byte = '?';
      ++replaced_;
    }
    data[w++] = static_cast<unsigned char>(byte);
    r += 2;
  }
  if (r < size) {
    if (last) {
      data[w++] = '?';  // an odd last byte
      ++replaced_;
    } else {
      Keep(reinterpret_cast<const char*>(data + r), size - r);
    }
  }
  return w;
}

void TTextDecoder::Keep(const char* data, size_t size) {
  std::memcpy(carry_, data, size);
  carrySize_ = size;
}

size_t TTextDecoder::TakeCarry(char* to) {
  const size_t n = carrySize_;
  std::memcpy(to, carry_, n);
  carrySize_ = 0;
  return n;
}
