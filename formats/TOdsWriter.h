#pragma once
// TOdsWriter: writes a table as an OpenDocument spreadsheet (.ods) through
// libzip. content.xml is made while libzip compresses it, a few hundred
// records at a time, so the table is never held twice.
//
// The archive: "mimetype" first and stored, then META-INF/manifest.xml,
// content.xml, styles.xml and settings.xml. One sheet named after the table
// (TSheetLayout), the field names in a bold first row that settings.xml
// freezes, one row per record below. A FLOAT field's value that is a number
// is written as a float cell (its value in C notation, its text as the table
// holds it); everything else as a string cell whose paragraph keeps tabs,
// runs of spaces and line breaks; an empty value is an empty cell. Control
// characters XML cannot hold are left out. Columns are as wide as their
// longest text. The file is staged (TStagedFile).

#include <string>

#include "TStatus.h"

class TQor2;

class TOdsWriter {
 public:
  static TStatus Write(const TQor2& table, const std::string& path);
};
