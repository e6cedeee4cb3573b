#include "TXmlWriter.h"

#include "Cp1252.h"
#include "TAtomicFile.h"
#include "TQor2.h"

namespace {

const char kEol[] = "\r\n";

// The characters XML allows at the start of a name, and anywhere in it (the
// ranges that code points of Windows-1252 can reach). The colon is left out: it
// would make the name a namespace prefix that nothing declares.
bool IsNameStart(char32_t u) {
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || (u >= 0xC0 && u <= 0xD6) ||
         (u >= 0xD8 && u <= 0xF6) || (u >= 0xF8 && u <= 0x2FF) || (u >= 0x370 && u <= 0x37D) ||
         (u >= 0x37F && u <= 0x1FFF) || u == 0x200C || u == 0x200D || (u >= 0x2070 && u <= 0x218F);
}

bool IsNameChar(char32_t u) {
  return IsNameStart(u) || u == '-' || u == '.' || (u >= '0' && u <= '9') || u == 0xB7 ||
         (u >= 0x300 && u <= 0x36F) || u == 0x203F || u == 0x2040;
}

void AppendElement(std::string& out, std::string_view name, std::string_view value) {
  const size_t start = out.size();
  out += '<';
  TXmlWriter::AppendName(out, name);
  const std::string tag = out.substr(start + 1);
  out += '>';
  TXmlWriter::AppendEscaped(out, value);
  out += "</";
  out += tag;
  out += '>';
  out += kEol;
}

}  // namespace

void TXmlWriter::AppendEscaped(std::string& out, std::string_view ansi) {
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
        AppendUtf8(out, b < 0x20 ? 0xFFFD : Cp1252ToUnicode(b));
    }
  }
}

void TXmlWriter::AppendName(std::string& out, std::string_view ansi) {
  const size_t start = out.size();
  for (const char ch : ansi) {
    const char32_t u = Cp1252ToUnicode(static_cast<unsigned char>(ch));
    if (IsNameChar(u))
      AppendUtf8(out, u);
    else
      out += '_';
  }
  if (out.size() == start || !IsNameStart(Cp1252ToUnicode(static_cast<unsigned char>(out[start]))))
    out.insert(start, 1, '_');
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

TStatus SaveXmlFile(TQor2& table, const std::string& fileName) {
  table.ClearError();
  const TStatus written = WriteFileInPieces(fileName, [&table](std::string& out, auto flush) {
    TXmlWriter::Begin(out);
    for (int n = 1; n <= table.RecordCount(); ++n) {
      TXmlWriter::AppendRecord(out, table, n);
      flush();
    }
    TXmlWriter::End(out);
  });
  return written ? written : table.SetError(3, written);
}
