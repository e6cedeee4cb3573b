#include "ConvertOemText.h"

namespace {

unsigned char WindowsLetter(unsigned char c) {
  switch (c) {
    case 0x82:
      return 0xE9;
    case 0x8A:
      return 0xE8;
    case 0x93:
      return 0xF4;
    case 0x89:
      return 0xEB;
    case 0x88:
      return 0xEA;
    case 0x87:
      return 0xE7;
    case 0x83:
      return 0xE2;
    case 0x8C:
      return 0xEE;
    default:
      return c;
  }
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string ConvertOemText(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;

  // Deleting the pairs one at a time until none is left gives the same result
  // as this single pass: an LF cancels the CR just before it in the output.
  std::string out;
  out.reserve(end - begin);
  for (size_t i = begin; i < end; ++i) {
    char c = text[i];
    if (c == '\n' && !out.empty() && out.back() == '\r') {
      out.pop_back();
      continue;
    }
    out.push_back(static_cast<char>(WindowsLetter(static_cast<unsigned char>(c))));
  }
  return out;
}
