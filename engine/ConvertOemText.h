#pragma once
// ConvertOemText: turns one value typed in a DOS program into the Windows
// code page of the tables. It trims the bytes 0..32 at both ends, deletes every
// CR LF pair (also pairs that only meet once an inner pair is gone; a lone CR
// or LF stays) and replaces the DOS codes of eight French letters:
//   0x82 é -> 0xE9   0x8A è -> 0xE8   0x93 ô -> 0xF4   0x89 ë -> 0xEB
//   0x88 ê -> 0xEA   0x87 ç -> 0xE7   0x83 â -> 0xE2   0x8C î -> 0xEE
// No other byte changes.

#include <string>

std::string ConvertOemText(const std::string& text);
