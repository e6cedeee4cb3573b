#pragma once
// TTextDecoder: turns the bytes of a text file into the tables' Windows-1252,
// a piece at a time and in place: no encoding it reads ever takes fewer bytes
// than its Windows-1252 form.
//
// Utf8: Utf8ToCp1252InPlace (Cp1252.h): a character without a Windows-1252
// code becomes "?" and is counted; a byte of no well-formed sequence is read as
// the Windows-1252 byte it is. Utf16LE, Utf16BE: a character without a code,
// one beyond the basic plane (a surrogate pair), a lone surrogate and an odd
// last byte each become one "?", counted. Windows1252: unchanged. Ascii means
// not decided yet: bytes pass unchanged up to the first byte beyond ASCII,
// where the rest of that piece decides: UTF-8 when it holds more well-formed
// UTF-8 sequences than stray bytes (a few bad bytes in a UTF-8 file are read as
// Windows-1252), otherwise Windows-1252. Encoding() then tells which.
//
// The bytes of a character cut by the end of a piece are kept back: the caller
// puts them before the next piece (TakeCarry), or gives the last piece with
// `last`, which decodes everything.

#include <cstddef>
#include <cstdint>

enum class TTextEncoding { Auto, Ascii, Utf8, Utf16LE, Utf16BE, Windows1252 };

class TTextDecoder {
 public:
  explicit TTextDecoder(TTextEncoding encoding = TTextEncoding::Ascii)
      : encoding_(encoding == TTextEncoding::Auto ? TTextEncoding::Ascii : encoding) {}

  // Decodes [data, data + size) in place and returns the length of the
  // Windows-1252 text now at data. The bytes of a cut character are kept.
  size_t Decode(char* data, size_t size, bool last);
  // Copies the bytes kept back to `to` (room for 4) and returns how many.
  size_t TakeCarry(char* to);

  TTextEncoding Encoding() const { return encoding_; }
  int64_t Replaced() const { return replaced_; }

 private:
  size_t DecodeUtf16(unsigned char* data, size_t size, bool last);
  void Keep(const char* data, size_t size);

  TTextEncoding encoding_;
  int64_t replaced_ = 0;
  char carry_[4] = {};
  size_t carrySize_ = 0;
};
