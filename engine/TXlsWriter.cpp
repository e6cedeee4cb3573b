#include "TXlsWriter.h"

#include <cstring>

#include "TAtomicFile.h"
#include "TQor2.h"

void TXlsWriter::Put16(uint16_t v) {
  out_.push_back(static_cast<char>(v & 0xFF));
  out_.push_back(static_cast<char>(v >> 8));
}

void TXlsWriter::WriteRecordHeader() {
  Put16(code_);
  Put16(length_);
}

void TXlsWriter::WriteBof() {
  code_ = 0x0809;
  length_ = 6;
  WriteRecordHeader();
  Put16(0);
  Put16(0x0010);
  Put16(0);
}

void TXlsWriter::WriteDimensions() {
  code_ = 0x0200;
  length_ = 10;
  WriteRecordHeader();
  Put16(FirstRow);
  Put16(LastRow);
  Put16(FirstCol);
  Put16(LastCol);
  Put16(0);
}

void TXlsWriter::WriteEof() {
  code_ = 0x000A;
  length_ = 0;
  WriteRecordHeader();
}

void TXlsWriter::Init(const std::string& fileName, uint16_t lastRow, uint16_t lastCol) {
  FirstRow = 0;
  LastRow = lastRow;
  FirstCol = 0;
  LastCol = lastCol;
  fileName_ = fileName;
  out_.clear();
  WriteBof();
  WriteDimensions();
}

void TXlsWriter::WriteCell(int kind, uint16_t row, uint16_t col, const std::string& data) {
  std::string text;
  switch (kind) {
    case kBlank:
      code_ = 0x0001;
      length_ = 7;
      break;
    case kInteger:
      code_ = 0x0002;
      length_ = 9;
      break;
    case kNumber:
      code_ = 0x0003;
      length_ = 15;
      break;
    case kLabel: {
      const size_t zero = data.find('\0');
      text = data.substr(0, zero == std::string::npos ? data.size() : zero);
      if (text.size() > 255) text.resize(255);
      code_ = 0x0004;
      length_ = static_cast<uint16_t>(text.size() + 8);
      break;
    }
    case kBoolean:
      code_ = 0x0005;
      length_ = 9;
      break;
    default:
      return;
  }
  WriteRecordHeader();
  Put16(row);
  Put16(col);
  out_.append(3, '\0');
  auto valueBytes = [&](size_t n) {
    std::string v = data.substr(0, n);
    v.resize(n, '\0');
    out_ += v;
  };
  switch (kind) {
    case kLabel:
      out_.push_back(static_cast<char>(text.size()));
      out_ += text;
      break;
    case kBoolean:
      out_.push_back(!data.empty() && data[0] != '\0' ? 1 : 0);
      out_.push_back(0);
      break;
    case kInteger:
      valueBytes(2);
      break;
    case kNumber:
      valueBytes(8);
      break;
    default:
      break;
  }
}

TStatus TXlsWriter::Done() {
  WriteEof();
  return WriteFileAtomically(fileName_, out_);
}

TStatus SaveXlsFile(TQor2& table, const std::string& fileName) {
  table.ClearError();
  const int fields = table.FieldCount();
  const int records = table.RecordCount();
  if (records > 65535 || fields > 256)
    return table.SetError(3,
                          "Trop de donn\xE9"
                          "es pour le format Excel : 65 535 enregistrements et 256 "
                          "champs au plus",
                          TFailure::TooLargeForXls);
  // Readers that trust the dimensions record must see every cell.
  TXlsWriter w;
  w.Init(fileName, static_cast<uint16_t>(records > 100 ? records : 100),
         static_cast<uint16_t>(fields - 1 > 100 ? fields - 1 : 100));
  for (int i = 1; i <= fields; ++i)
    w.WriteCell(TXlsWriter::kLabel, 0, static_cast<uint16_t>(i - 1), table.GetFieldName(i));
  for (int i = 1; i <= fields; ++i)
    for (int r = 1; r <= records; ++r)
      w.WriteCell(TXlsWriter::kLabel, static_cast<uint16_t>(r), static_cast<uint16_t>(i - 1),
                  table.GetCell(i, r).str());
  const TStatus written = w.Done();
  return written ? written : table.SetError(3, written);
}
