#pragma once
// The Windows-1252 code page the tables hold, against Unicode, without Qt.
// The five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the code points of the same value, so that every byte has a
// code point and comes back from it unchanged.

#include <cstdint>
#include <string>

// The code points of the bytes 0x80..0x9F, the one row (C1) that differs
// from Latin-1.
extern const char16_t kCp1252C1[32];

inline char32_t Cp1252ToUnicode(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kCp1252C1[byte - 0x80] : byte;
}

// The byte of a code point; false when Windows-1252 has none for it.
bool UnicodeC1RowToCp1252(char32_t code, char& byte);  // the C1 row's part
inline bool UnicodeToCp1252(char32_t code, char& byte) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
    byte = static_cast<char>(code);
    return true;
  }
  return UnicodeC1RowToCp1252(code, byte);
}

// Appends the UTF-8 form of a code point below U+10000.
void AppendUtf8(std::string& out, char32_t code);
// Windows-1252 bytes as UTF-8, for terminals and messages.
std::string Cp1252ToUtf8(const std::string& bytes);

// Converts UTF-8 bytes to Windows-1252, appending to out. A character that
// Windows-1252 cannot hold, and each byte of a malformed sequence, becomes "?"
// and is counted in replaced.
void Utf8ToCp1252(const char* data, size_t size, std::string& out, int64_t& replaced);

// Converts UTF-8 to Windows-1252 in place, a piece of a file at a time: a
// character Windows-1252 cannot hold becomes "?" and is counted in replaced,
// while a byte that starts no well-formed sequence is kept as it is, read as
// the Windows-1252 byte it is (a file mixing both encodings keeps its accents).
// Returns the number of bytes written at data. Unless `last`, a sequence cut
// by the end of the piece is left unconverted: its `cut` bytes follow the
// bytes written, and belong before the next piece.
size_t Utf8ToCp1252InPlace(char* data, size_t size, bool last, int64_t& replaced, size_t& cut);

// Counts in [data, data + size) the well-formed UTF-8 sequences of more than
// one byte (`sequences`) and the bytes beyond ASCII that belong to none
// (`strays`). A sequence cut by the end counts as neither.
void CountUtf8(const char* data, size_t size, int64_t& sequences, int64_t& strays);

// Recognises UTF-8 a block at a time: the bytes fed so far are well-formed
// UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF, no sequence
// cut at the end) and hold at least one character outside ASCII.
class TUtf8Detector {
 public:
  void Feed(const char* data, size_t size);
  bool IsUtf8() const { return valid_ && pending_ == 0 && nonAscii_; }
  bool Malformed() const { return !valid_; }

 private:
  bool valid_ = true;
  bool nonAscii_ = false;
  int pending_ = 0;       // continuation bytes still expected
  unsigned char lo_ = 0;  // bounds of the next continuation byte
  unsigned char hi_ = 0;
};
