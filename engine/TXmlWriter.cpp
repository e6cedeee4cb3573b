#include "TXmlWriter.h"

#include "TAtomicFile.h"
#include "TQor2.h"

namespace {

const char kEol[] = "\r\n";

// Windows-1252 0x80..0x9F; the unassigned bytes keep their own value.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

void PutUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out.push_back(static_cast<char>(u));
  } else if (u < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (u >> 6)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (u >> 12)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

void AppendElement(std::string& out, const std::string& name, const std::string& value) {
  out += '<';
  TXmlWriter::AppendEscaped(out, name);
  out += '>';
  TXmlWriter::AppendEscaped(out, value);
  out += "</";
  TXmlWriter::AppendEscaped(out, name);
  out += '>';
  out += kEol;
}

}  // namespace

void TXmlWriter::AppendEscaped(std::string& out, const std::string& ansi) {
  for (const char ch : ansi) {
    const unsigned char b = static_cast<unsigned char>(ch);
    switch (b) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\t':
      case '\n':
      case '\r':
        out.push_back(ch);
        break;
      default:
        if (b < 0x20)
          PutUtf8(out, 0xFFFD);
        else if (b >= 0x80 && b < 0xA0)
          PutUtf8(out, kHigh[b - 0x80]);
        else
          PutUtf8(out, b);
    }
  }
}

void TXmlWriter::Begin(std::string& out) {
  out += "<?xml version=\"1.0\" ?>";
  out += kEol;
  out += "<racine>";
  out += kEol;
}

void TXmlWriter::AppendRecord(std::string& out, const TQor2& table, int recNo) {
  if (recNo < 1 || recNo > table.RecordCount()) return;
  out += "<record>";
  out += kEol;
  const TKStringList& names = table.Names();
  for (int f = 1; f <= table.FieldCount(); ++f)
    AppendElement(out, names.Get(f - 1), table.GetCell(f, recNo));
  out += "</record>";
  out += kEol;
}

void TXmlWriter::End(std::string& out) {
  out += "</racine>";
  out += kEol;
}

std::string TXmlWriter::Text(const TQor2& table) {
  std::string out;
  Begin(out);
  for (int r = 1; r <= table.RecordCount(); ++r) AppendRecord(out, table, r);
  End(out);
  return out;
}

bool SaveXmlFile(TQor2& table, const std::string& fileName) {
  table.ClearError();
  TFailure failure;
  const int r = WriteFileAtomically(fileName, TXmlWriter::Text(table), &failure);
  if (r == 0) return true;
  table.SetError(3, AtomicWriteMessage(r), failure);
  return false;
}
