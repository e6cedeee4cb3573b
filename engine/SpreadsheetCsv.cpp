#include "SpreadsheetCsv.h"

#include "Cp1252.h"
#include "RecordWalk.h"
#include "TAtomicFile.h"
#include "TQor2.h"

namespace {

bool NeedsQuotes(std::string_view v) {
  if (v.empty()) return false;
  if (v.find_first_of(";\"\r\n") != std::string_view::npos) return true;
  if (v.front() == ' ' || v.back() == ' ') return true;
  return v.size() > 1 && v[0] == '0' && v[1] >= '0' && v[1] <= '9';
}

void PutValue(std::string& out, std::string_view v) {
  const bool quoted = NeedsQuotes(v);
  if (quoted) out.push_back('"');
  for (const char c : v) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      out.push_back(c);
      if (c == '"') out.push_back('"');
    } else {
      AppendUtf8(out, Cp1252ToUnicode(u));
    }
  }
  if (quoted) out.push_back('"');
}

template <typename Flush>
void Produce(const TQor2& t, std::string& out, Flush flush) {
  out += "\xEF\xBB\xBF";
  const TKStringList& names = t.Names();
  for (int i = 0; i < names.Count(); ++i) {
    if (i) out.push_back(';');
    PutValue(out, names.Get(i));
  }
  out += "\r\n";
  WalkRecords(t.RecordList().Items(), 0, [&](size_t, const TKStringList& rec) {
    for (int i = 0; i < rec.Count(); ++i) {
      if (i) out.push_back(';');
      PutValue(out, rec.Get(i));
    }
    out += "\r\n";
    flush();
  });
}

}  // namespace

TStatus SaveSpreadsheetCsv(const TQor2& table, const std::string& path) {
  return WriteFileInPieces(path,
                           [&](std::string& out, auto flush) { Produce(table, out, flush); });
}

std::string SpreadsheetCsvText(const TQor2& table) {
  std::string out;
  Produce(table, out, [] {});
  return out;
}
