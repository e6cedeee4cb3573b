#include "ForeignTable.h"

#include "TOdsReader.h"
#include "TOdsWriter.h"
#include "TPgTable.h"
#include "TQor2.h"
#include "TSqliteTable.h"
#include "TXlsxReader.h"
#include "TXlsxWriter.h"
#include "Utf8Text.h"

std::string ForeignTableName(const TQor2& table, const std::string& target) {
  std::string name;
  AppendAsUtf8(name, table.TableName);
  if (name.find_first_not_of(' ') != std::string::npos) return name;
  const size_t slash = target.rfind('/');
  name = target.substr(slash == std::string::npos ? 0 : slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name.empty() ? "table" : name;
}

std::string LowerEnding(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string e = path.substr(dot + 1);
  for (char& c : e)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return e;
}

TForeignKind ForeignKindOf(const std::string& source) {
  if (TPgTable::IsAddress(source)) return TForeignKind::Postgres;
  const std::string e = LowerEnding(source);
  if (e == "xlsx") return TForeignKind::Xlsx;
  if (e == "ods") return TForeignKind::Ods;
  if (e == "sqlite" || e == "sqlite3" || e == "db") return TForeignKind::Sqlite;
  return TForeignKind::None;
}

TStatus ListForeignTables(const std::string& source, std::vector<std::string>& names,
                          const TForeignOptions& options) {
  switch (ForeignKindOf(source)) {
    case TForeignKind::Xlsx:
      return TXlsxReader::Sheets(source, names);
    case TForeignKind::Ods:
      return TOdsReader::Sheets(source, names);
    case TForeignKind::Sqlite:
      return TSqliteTable::Tables(source, names);
    case TForeignKind::Postgres:
      return TPgTable::Tables(source, names, options.connectTimeout);
    case TForeignKind::None:
      break;
  }
  return TStatus(TFailure::Other, "format inconnu");
}

TStatus ReadForeignTable(const std::string& source, TQor2& table, TForeignReport& report,
                         const TForeignOptions& options) {
  switch (ForeignKindOf(source)) {
    case TForeignKind::Xlsx:
      return TXlsxReader::Read(source, options.part, table, report.replaced);
    case TForeignKind::Ods:
      return TOdsReader::Read(source, options.part, table, report.replaced);
    case TForeignKind::Sqlite:
      return TSqliteTable::Read(source, options.part, table, report.leftOut, report.replaced);
    case TForeignKind::Postgres:
      return TPgTable::Read(source, options.part, table, report.leftOut, report.replaced,
                            options.connectTimeout);
    case TForeignKind::None:
      break;
  }
  return TStatus(TFailure::Other, "format inconnu");
}

TStatus WriteForeignTable(const TQor2& table, const std::string& target,
                          const TForeignOptions& options) {
  const std::string name = options.part.empty() ? ForeignTableName(table, target) : options.part;
  switch (ForeignKindOf(target)) {
    case TForeignKind::Xlsx:
      return TXlsxWriter::Write(table, target);
    case TForeignKind::Ods:
      return TOdsWriter::Write(table, target);
    case TForeignKind::Sqlite:
      return TSqliteTable::Write(table, target, name, options.replace);
    case TForeignKind::Postgres:
      return TPgTable::Write(table, target, name, options.replace, options.connectTimeout);
    case TForeignKind::None:
      break;
  }
  return TStatus(TFailure::Other, "format inconnu");
}
