#pragma once
// Tables in other programs' files: Excel and OpenDocument workbooks, SQLite
// databases and PostgreSQL servers, chosen by the file's ending or the
// address's scheme. This is what the windows and vektool call; the readers
// and writers behind it are TXlsxReader/TXlsxWriter, TOdsReader/TOdsWriter,
// TSqliteTable and TPgTable.
//
// A source holds several tables (sheets of a workbook, tables of a
// database): ListForeignTables names them (UTF-8) so that a caller can offer
// a choice; `part` names the one to read or write ("" for the first when
// reading, the table's own name when writing). Names in TForeignReport and
// parts are UTF-8; the table's values are Windows-1252.
//
// Every file is written whole or not at all (a temporary file renamed into
// place), a PostgreSQL load in one transaction; a failed read leaves the
// table as it was.

#include <cstdint>
#include <string>
#include <vector>

#include "TStatus.h"

class TQor2;

enum class TForeignKind { None, Xlsx, Ods, Sqlite, Postgres };

// ".xlsx", ".ods", ".sqlite", ".sqlite3", ".db" in any letter case, or a
// "postgresql://" (or "postgres://") address; None for anything else.
// The ending of a file's name after its last dot, lower-cased ("xlsx");
// empty without one.
std::string LowerEnding(const std::string& path);

TForeignKind ForeignKindOf(const std::string& source);
// Workbooks hold sheets, databases tables.
inline bool IsWorkbook(TForeignKind k) {
  return k == TForeignKind::Xlsx || k == TForeignKind::Ods;
}

struct TForeignOptions {
  std::string part;         // the sheet or table; "" as above
  bool replace = false;     // writing: replace a database table of that name
  int connectTimeout = 10;  // seconds, for a server
};

struct TForeignReport {
  std::vector<std::string> leftOut;  // columns not read (BLOB, bytea)
  int64_t replaced = 0;              // characters without a Windows-1252 code, now "?"
};

TStatus ListForeignTables(const std::string& source, std::vector<std::string>& names,
                          const TForeignOptions& options = TForeignOptions());
TStatus ReadForeignTable(const std::string& source, TQor2& table, TForeignReport& report,
                         const TForeignOptions& options = TForeignOptions());
TStatus WriteForeignTable(const TQor2& table, const std::string& target,
                          const TForeignOptions& options = TForeignOptions());
// The name a table is written under when no part is given: its own name
// (UTF-8), or the target's file name without its ending when it has none.
std::string ForeignTableName(const TQor2& table, const std::string& target);
