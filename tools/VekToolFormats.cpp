// vektool's side of spreadsheets and databases: the options that choose a
// sheet or a table, loads and saves through formats/ (ForeignTable.h), and
// the listing of a source's sheets or tables for info.

#include <ostream>

#include "Cp1252.h"
#include "ForeignTable.h"
#include "TQor2.h"
#include "VekTool.h"

bool VekTool::TakeForeignOptions(std::vector<std::string>& args) {
  std::vector<std::string> kept;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--sheet" || args[i] == "--table") {
      if (i + 1 >= args.size()) return false;
      (args[i] == "--sheet" ? sheet_ : table_) = args[i + 1];
      ++i;
    } else if (args[i] == "--replace") {
      replace_ = true;
    } else {
      kept.push_back(args[i]);
    }
  }
  args.swap(kept);
  return true;
}

bool VekTool::LoadForeign(const std::string& source, TQor2& table) {
  TForeignOptions options;
  options.part = IsWorkbook(ForeignKindOf(source)) ? sheet_ : table_;
  TForeignReport report;
  const TStatus s = ReadForeignTable(source, table, report, options);
  if (!s) {
    Fail("ouvrir '" + source + "'", s);
    return false;
  }
  if (!report.leftOut.empty()) {
    std::string names;
    for (const std::string& n : report.leftOut) names += (names.empty() ? "" : ", ") + n;
    err_ << "vektool: colonnes binaires laissées de côté : " << names << "\n";
  }
  WarnReplaced(err_, report.replaced);
  return true;
}

bool VekTool::SaveForeign(TQor2& table, const std::string& target) {
  TForeignOptions options;
  if (!IsWorkbook(ForeignKindOf(target))) options.part = table_;
  options.replace = replace_;
  const TStatus s = WriteForeignTable(table, target, options);
  if (!s) Fail("enregistrer '" + target + "'", s);
  return s.ok();
}

bool VekTool::ListForeign(const std::string& source) {
  const TForeignKind kind = ForeignKindOf(source);
  if (kind == TForeignKind::None) return true;
  std::vector<std::string> names;
  const TStatus s = ListForeignTables(source, names);
  if (!s) {
    Fail("lire '" + source + "'", s);
    return false;
  }
  for (const std::string& n : names)
    out_ << (IsWorkbook(kind) ? "sheet\t" : "dbtable\t") << n << "\n";
  return true;
}
