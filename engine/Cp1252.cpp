#include "Cp1252.h"

#include <cstring>

// The unassigned bytes keep their own value.
const char16_t kCp1252C1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

namespace {

// The length of the sequence a lead byte starts (0 for a byte that starts
// none) and the bounds of its first continuation byte, which rule out
// overlong forms, surrogates and code points above U+10FFFF.
int SequenceLength(unsigned char lead, unsigned char& lo, unsigned char& hi) {
  lo = 0x80;
  hi = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (lead == 0xE0) lo = 0xA0;
    if (lead == 0xED) hi = 0x9F;
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;
    return 4;
  }
  return 0;
}

// The bytes of the sequence starting at p that are well-formed so far (0 when
// p starts none), `length` being the length its first byte announces.
int WellFormed(const unsigned char* p, const unsigned char* end, int& length) {
  unsigned char lo, hi;
  length = SequenceLength(*p, lo, hi);
  int good = length > 0 ? 1 : 0;
  while (good > 0 && good < length && p + good < end && p[good] >= (good == 1 ? lo : 0x80) &&
         p[good] <= (good == 1 ? hi : 0xBF))
    ++good;
  return good;
}

}  // namespace

bool UnicodeC1RowToCp1252(char32_t code, char& byte) {
  for (int i = 0; i < 32; ++i) {
    if (kCp1252C1[i] == code) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

void Utf8ToCp1252(const char* data, size_t size, std::string& out, int64_t& replaced) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  const unsigned char* end = p + size;
  while (p < end) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p++));
      continue;
    }
    unsigned char lo, hi;
    const int length = SequenceLength(*p, lo, hi);
    bool ok = length > 0 && end - p >= length && p[1] >= lo && p[1] <= hi;
    for (int i = 2; ok && i < length; ++i) ok = p[i] >= 0x80 && p[i] <= 0xBF;
    if (!ok) {
      out.push_back('?');
      ++replaced;
      ++p;
      continue;
    }
    char32_t code = *p & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) code = (code << 6) | (p[i] & 0x3F);
    p += length;
    char byte;
    if (UnicodeToCp1252(code, byte)) {
      out.push_back(byte);
    } else {
      out.push_back('?');
      ++replaced;
    }
  }
}

size_t Utf8ToCp1252InPlace(char* data, size_t size, bool last, int64_t& replaced, size_t& cut) {
  unsigned char* const base = reinterpret_cast<unsigned char*>(data);
  const unsigned char* r = base;
  const unsigned char* const end = base + size;
  unsigned char* w = base;
  cut = 0;
  while (r < end) {
    const unsigned char b = *r;
    if (b < 0x80) {
      // A run of ASCII moves in one piece (not at all before the first change).
      const unsigned char* q = r + 1;
      for (; end - q >= 8; q += 8) {
        uint64_t word;
        std::memcpy(&word, q, 8);
        if (word & 0x8080808080808080ull) break;
      }
      while (q < end && *q < 0x80) ++q;
      if (w != r) std::memmove(w, r, static_cast<size_t>(q - r));
      w += q - r;
      r = q;
      continue;
    }
    int length;
    const int good = WellFormed(r, end, length);
    if (good > 0 && good < length && r + good == end && !last) {
      // Cut by the end of the piece: moved behind what was written.
      cut = static_cast<size_t>(end - r);
      std::memmove(w, r, cut);
      return static_cast<size_t>(w - base);
    }
    if (good == 0 || good < length) {
      *w++ = b;
      ++r;
      continue;
    }
    char32_t code = b & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) code = (code << 6) | (r[i] & 0x3F);
    r += length;
    char byte;
    if (UnicodeToCp1252(code, byte)) {
      *w++ = static_cast<unsigned char>(byte);
    } else {
      *w++ = '?';
      ++replaced;
    }
  }
  return static_cast<size_t>(w - base);
}

void CountUtf8(const char* data, size_t size, int64_t& sequences, int64_t& strays) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  const unsigned char* const end = p + size;
  while (p < end) {
    if (*p < 0x80) {
      ++p;
      continue;
    }
    int length;
    const int good = WellFormed(p, end, length);
    if (good > 0 && good == length) {
      ++sequences;
      p += length;
    } else if (good > 0 && p + good == end) {
      break;  // cut by the end
    } else {
      ++strays;
      ++p;
    }
  }
}

void TUtf8Detector::Feed(const char* data, size_t size) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  const unsigned char* end = p + size;
  for (; p < end && valid_; ++p) {
    const unsigned char b = *p;
    if (pending_ > 0) {
      if (b < lo_ || b > hi_) {
        valid_ = false;
        break;
      }
      --pending_;
      lo_ = 0x80;
      hi_ = 0xBF;
    } else if (b >= 0x80) {
      const int length = SequenceLength(b, lo_, hi_);
      if (length == 0) {
        valid_ = false;
        break;
      }
      pending_ = length - 1;
      nonAscii_ = true;
    }
  }
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out.push_back(static_cast<char>(u));
  } else if (u < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (u >> 6)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (u >> 12)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

std::string Cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}
