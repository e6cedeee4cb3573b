#include "TableFile.h"

#include "DbfImport.h"
#include "TQor2.h"

namespace {

bool EndsWith(const std::string& path, const char* ending) {
  const std::string e(ending);
  if (path.size() < e.size()) return false;
  for (size_t i = 0; i < e.size(); ++i) {
    char c = path[path.size() - e.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != e[i]) return false;
  }
  return true;
}

}  // namespace

TTableFileKind TableFileKindOf(const std::string& path) {
  if (EndsWith(path, ".qor")) return TTableFileKind::Table;
  if (EndsWith(path, ".dbf")) return TTableFileKind::Dbase;
  const TForeignKind foreign = ForeignKindOf(path);
  if (IsWorkbook(foreign)) return TTableFileKind::Workbook;
  if (foreign != TForeignKind::None) return TTableFileKind::Database;
  return TTableFileKind::Text;
}

TStatus LoadTableFile(TQor2& table, const std::string& path, const std::string& part,
                      TTableFileReport* report) {
  TTableFileReport local;
  TTableFileReport& r = report ? *report : local;
  r = TTableFileReport();
  r.kind = TableFileKindOf(path);
  switch (r.kind) {
    case TTableFileKind::Table:
      return table.LoadQorFile(path);
    case TTableFileKind::Dbase:
      return LoadDbfTable(path, table);
    case TTableFileKind::Workbook:
    case TTableFileKind::Database: {
      TForeignOptions options;
      options.part = part;
      return ReadForeignTable(path, table, r.foreign, options);
    }
    case TTableFileKind::Text:
      break;
  }
  const TStatus recognized = RecognizeTextFile(path, r.textKind);
  if (!recognized) return recognized;
  return LoadTextFile(table, path, r.textKind, TTextOptions(), &r.text);
}
