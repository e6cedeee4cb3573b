#pragma once
// Small text routines shared by the engine, the SQL engine and the windows.
// Values are Windows-1252 byte strings; nothing here depends on the locale.

#include <string>
#include <string_view>

using Extended = long double;

// Lenient number reading: "." and "," are both the decimal mark, characters other
// than digits, signs, decimal marks and exponent letters are ignored, and text that
// is then not a well-formed number gives 0 ("1 234,50 €" -> 1234.5, "1.234,56" -> 0).
// A text that has the right shape but no digits to convert ("+", "-.") gives 0; an
// exponent letter with a sign and no digits ("1e+") reads as exponent 0.
Extended TextToFloat(std::string_view text);

// S without leading and trailing spaces (code 32 only).
std::string TrimBlanks(const std::string& s);

// S with every double quote doubled.
std::string DoubleQuotes(const std::string& s);
