#pragma once
// Numbers between the table's text and the formats' own forms. The table
// holds a number as the program shows it: up to 15 significant digits, a
// decimal comma, no thousands separator, no trailing zeros ("12,5", "-3",
// "1,5e+20"). Spreadsheets and databases hold C-locale decimals ("12.5").

#include <string>
#include <string_view>

// A double as the table writes it.
void AppendNumberText(std::string& out, double value);
// A C-locale decimal (from a file or a server) as the table writes it.
// Integers of any length keep all their digits; anything else goes through a
// double. False, with nothing appended, for text that is no number.
bool AppendDecimalAsNumberText(std::string& out, std::string_view decimal);

// A FLOAT value that is a number through and through: blanks around it, a
// sign, digits with "," or "." as the decimal mark, an exponent. Values such
// as "1 234,50 €" or "abc" are not, and are written as text so that nothing
// is lost. `value` receives the number, `decimal` (when given) its C-locale
// text, exact, for servers that keep decimals exactly.
bool ParseTableNumber(std::string_view text, double& value, std::string* decimal = nullptr);
