#pragma once
// Small text routines shared by the engine, the SQL engine and the windows.
// Values are Windows-1252 byte strings; nothing here depends on the locale.

#include <string>

using Extended = long double;

// Lenient number reading: "." and "," are both the decimal mark, characters other
// than digits, signs, decimal marks and exponent letters are ignored, and text that
// is then not a well-formed number gives 0 ("1 234,50 €" -> 1234.5, "1.234,56" -> 0).
// A text that has the right shape but no digits to convert ("+", "-.") gives 0; an
// exponent letter with a sign and no digits ("1e+") reads as exponent 0.
Extended TextToFloat(const std::string& text);

// S without leading and trailing spaces (code 32 only).
std::string TrimBlanks(const std::string& s);

// S with every double quote doubled.
std::string DoubleQuotes(const std::string& s);

// The Unicode code point of a Windows-1252 byte; the five bytes the code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the code points of
// the same value, so that every byte has one.
char32_t AnsiToUnicode(unsigned char byte);
// Appends the UTF-8 form of a code point below U+10000.
void AppendUtf8(std::string& out, char32_t code);
// Windows-1252 bytes as UTF-8, for terminals and messages.
std::string AnsiToUtf8(const std::string& ansi);
// UTF-8 as Windows-1252 bytes; a character the code page cannot hold becomes
// "?". Text that is not well-formed UTF-8 is taken to be Windows-1252 already
// and comes back unchanged.
std::string Utf8ToAnsi(const std::string& utf8);
