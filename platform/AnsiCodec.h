#pragma once
// The one conversion between the engine's Windows-1252 bytes and Qt's text.
//
// Bytes map by the Windows-1252 table; the five bytes it leaves unassigned (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the code points of the same value, so every byte
// string survives FromAnsi then ToAnsi unchanged. A character that Windows-1252
// cannot hold becomes "?" (one "?" for a character outside the basic plane).
// Both directions are table lookups with one allocation.

#include <QChar>
#include <QString>
#include <string>
#include <string_view>

QString FromAnsi(std::string_view bytes);
QString FromAnsi(const char* bytes, size_t length);
std::string ToAnsi(const QString& text);

QChar AnsiToChar(unsigned char byte);
// '?' when the character has no Windows-1252 byte.
char CharToAnsi(QChar c);
