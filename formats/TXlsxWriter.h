#pragma once
// TXlsxWriter: writes a table as an Excel workbook (.xlsx, Office Open XML):
// the package's few small parts, and the sheet made a few hundred records at
// a time while TZipWriter compresses it, so a table of a million records
// costs little memory beyond its own. Strings are written inline, without a
// shared table. (libxlsxwriter's constant-memory mode does the same, but its
// zip packer deflates at zlib's default level, which alone took longer than a
// million records may take.)
//
// One sheet named after the table (TSheetLayout); the field names in a bold
// first row, frozen; below, one row per record. A FLOAT field's value that is
// a number (ParseTableNumber) is written as a number, anything else (every
// STRING value, "06000" included) as text, in UTF-8; an empty value leaves
// its cell empty. Line breaks become Excel's (LF); control characters that no
// XML can hold are left out. Columns are as wide as their longest text.
//
// A sheet holds 1,048,576 rows, 16,384 columns and 32,767 characters a cell:
// larger tables are refused (TooLargeForXlsx) before anything is written.
// The file is staged (TStagedFile): a failure leaves the previous file as it
// was.

#include <string>

#include "TStatus.h"

class TQor2;

class TXlsxWriter {
 public:
  static TStatus Write(const TQor2& table, const std::string& path);
};
