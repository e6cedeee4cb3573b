#pragma once
// TXlsWriter: writes an Excel 2.1 (BIFF2) worksheet one record at a time.
// Every record is a 16-bit code, a 16-bit data length and the data, all
// little-endian. The file starts with a beginning-of-file record (0x0809) and a
// dimensions record (0x0200), and Done ends it with 0x000A. The records are
// gathered in memory and the file is written atomically by Done, so a failure
// leaves any previous file as it was.
//
// SaveXlsFile writes a whole table: the field names in row 0, then every value
// as a text (label, 0x0004) cell, column by column. A label holds at most 255
// bytes (cut there, and at a zero byte); rows and columns are 16-bit numbers, so
// tables beyond 65,535 records or 256 fields are refused and no file is written.

#include <cstdint>
#include <string>

#include "TStatus.h"

class TQor2;

class TXlsWriter {
 public:
  enum CellKind { kBlank = 1, kInteger = 2, kNumber = 4, kLabel = 8, kBoolean = 16 };

  uint16_t FirstRow = 0, LastRow = 100, FirstCol = 0, LastCol = 100;

  // Starts a new file image with the beginning-of-file and dimensions records;
  // the dimensions state rows 0 to lastRow and columns 0 to lastCol.
  void Init(const std::string& fileName, uint16_t lastRow = 100, uint16_t lastCol = 100);
  // Any kind other than the five above writes nothing.
  void WriteCell(int kind, uint16_t row, uint16_t col, const std::string& data);
  // Writes the end-of-file record and the file (WriteFileAtomically).
  TStatus Done();

  const std::string& Bytes() const { return out_; }

 private:
  void WriteRecordHeader();
  void WriteBof();
  void WriteDimensions();
  void WriteEof();
  void Put16(uint16_t v);

  std::string fileName_;
  std::string out_;
  uint16_t code_ = 0, length_ = 0;
};

// Ok when the file was written. On failure the table's ErrorCode is 3, its
// ErrorMessage and ErrorCause say why (TooLargeForXls for a table beyond the
// format's limits), and no file is left behind.
TStatus SaveXlsFile(TQor2& table, const std::string& fileName);
