#include "TLayoutLine.h"

#include <algorithm>

namespace {

const size_t kAttributeChars = 1024;
const size_t kPixelChars = 6;

// Characters `from` (1-based) to `from + count - 1`, as far as the text goes.
std::string_view Copy(std::string_view s, size_t from, size_t count) {
  if (from < 1 || from > s.size()) return {};
  return s.substr(from - 1, count);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// At most 8 digits, so the value always fits.
bool ParseHex(std::string_view digits, uint32_t& value) {
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t v = 0;
  for (const char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    v = v << 4 | static_cast<uint32_t>(d);
  }
  value = v;
  return true;
}

template <typename T>
bool ReadHex(std::string_view digits, T& value, std::string* badText) {
  uint32_t v = 0;
  if (!ParseHex(digits, v)) {
    if (badText) *badText = "$" + std::string(digits);
    return false;
  }
  value = static_cast<T>(v);
  return true;
}

// A text part of a line: line ends would cut the line, and `also` (the TAB
// after a caption) would move the parts after it.
std::string Clean(const std::string& s, char also = '\n') {
  std::string out = s;
  for (char& c : out)
    if (c == '\r' || c == '\n' || c == also) c = ' ';
  return out;
}

}  // namespace

int TLayoutLine::Style() const {
  return styleDigit >= '1' && styleDigit <= '4' ? styleDigit - '0' : 0;
}

std::string TLayoutLine::Hex(int64_t value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  const int64_t top = (int64_t{1} << (4 * digits)) - 1;
  uint64_t v = static_cast<uint64_t>(std::clamp<int64_t>(value, 0, top));
  std::string s(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<size_t>(i)] = kDigits[v & 15];
  return s;
}

bool TLayoutLine::Read(std::string_view line, std::string* badText) {
  *this = TLayoutLine();
  const size_t blank = line.find(' ');
  const std::string_view word =
      blank == std::string_view::npos ? std::string_view() : line.substr(0, blank);
  const std::string_view rest = blank == std::string_view::npos ? line : line.substr(blank + 1);
  if (word == "TLabel")
    kind = Label;
  else if (word == "TEdit")
    kind = Edit;
  else if (word == "TShape")
    kind = Shape;
  else if (word == "TImage")
    kind = Image;
  if (!ReadHex(Copy(rest, 1, 4), x, badText) || !ReadHex(Copy(rest, 5, 4), y, badText))
    return false;
  const std::string_view tail = rest.size() > 8 ? rest.substr(8) : std::string_view();

  switch (kind) {
    case Other:
      raw = std::string(line);
      return true;
    case Label: {
      const size_t tab = tail.find('\t');
      caption = std::string(tail.substr(0, tab));
      const std::string_view after =
          (tab == std::string_view::npos ? tail : tail.substr(tab + 1)).substr(0, kAttributeChars);
      if (!after.empty()) {
        if (!ReadHex(Copy(after, 1, 2), fontSize, badText)) return false;
        hasSize = true;
      }
      const std::string_view style = Copy(after, 3, kAttributeChars);
      if (!style.empty()) {
        if (style[0] < '0' || style[0] > '9') {
          if (badText) *badText = std::string(1, style[0]);
          return false;
        }
        styleDigit = style[0];
        hasStyle = true;
      }
      if (style.size() > 8) {
        if (!ReadHex(Copy(style, 2, 8), color, badText)) return false;
        hasColor = true;
      }
      if (style.size() > 10) {
        fontName = std::string(style.substr(9));
        hasFontName = true;
      }
      return true;
    }
    case Edit:
      if (!ReadHex(Copy(tail, 1, 3), width, badText)) return false;
      field = std::string(Copy(tail, 4, std::string_view::npos));
      return true;
    case Shape:
      fill = tail.empty() ? '2' : tail[0];
      return ReadHex(Copy(tail, 2, 4), width, badText) &&
             ReadHex(Copy(tail, 6, 4), height, badText);
    case Image: {
      if (tail.size() <= kPixelChars) return true;  // a field picture
      embedded = true;
      if (!ReadHex(Copy(tail, 1, 3), width, badText) || !ReadHex(Copy(tail, 4, 3), height, badText))
        return false;
      // Only the groups the line holds: a large size with little data costs nothing.
      const std::string_view data = tail.substr(kPixelChars);
      const size_t groups = (data.size() + kPixelChars - 1) / kPixelChars;
      const size_t count =
          std::min(static_cast<size_t>(width) * static_cast<size_t>(height), groups);
      pixels.resize(count);
      for (size_t k = 0; k < count; ++k) {
        uint32_t v = 0;
        pixels[k] = ParseHex(data.substr(k * kPixelChars, kPixelChars), v) ? v : kUnsetPixel;
      }
      return true;
    }
  }
  return true;
}

std::string TLayoutLine::Write() const {
  if (kind == Other) return raw;
  static const char* const kWords[] = {"", "TLabel", "TEdit", "TShape", "TImage"};
  std::string s = kWords[kind];
  s += ' ';
  s += Hex(x, 4);
  s += Hex(y, 4);
  switch (kind) {
    case Label: {
      s += Clean(caption, '\t');
      s += '\t';
      // Each attribute is found by its place: the ones before the last given
      // one are written too.
      const int given = hasFontName ? 4 : hasColor ? 3 : hasStyle ? 2 : hasSize ? 1 : 0;
      if (given >= 1) s += Hex(fontSize, 2);
      if (given >= 2) s += styleDigit >= '0' && styleDigit <= '9' ? styleDigit : '0';
      if (given >= 3) s += Hex(color, 8);
      if (given >= 4) s += Clean(fontName).substr(0, kAttributeChars - 11);
      break;
    }
    case Edit:
      s += Hex(width, 3);
      s += Clean(field);
      break;
    case Shape:
      s += fill == '\r' || fill == '\n' ? '2' : fill;
      s += Hex(width, 4);
      s += Hex(height, 4);
      break;
    case Image: {
      if (!embedded) break;
      s += Hex(width, 3);
      s += Hex(height, 3);
      const size_t count =
          std::min(pixels.size(), static_cast<size_t>(std::clamp(width, 0, 0xFFF)) *
                                      static_cast<size_t>(std::clamp(height, 0, 0xFFF)));
      // A picture without any pixel still needs a group, or it would read
      // back as a field picture; a picture of no size ignores it.
      if (count == 0) {
        s += "FFFFFF";
        break;
      }
      s.reserve(s.size() + count * kPixelChars);
      for (size_t k = 0; k < count; ++k)
        s += Hex(pixels[k] == kUnsetPixel ? 0xFFFFFF : pixels[k] & 0xFFFFFF, 6);
      break;
    }
    default:
      break;
  }
  return s;
}
