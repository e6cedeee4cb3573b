#pragma once
// The files the program opens as a table, whoever wrote them: its own table
// files (.qor), text, dBase tables (.dbf), Excel and OpenDocument workbooks
// (.xlsx, .ods) and SQLite databases (.sqlite, .sqlite3, .db). The kind comes
// from the name's ending, in any letter case; every other name is text, which
// RecognizeTextFile tells apart: the program's own escaped and quoted text are
// read by the table's own loaders, exactly as it writes them, every other
// text by TTextReader (LoadTextTable). A file holding zero bytes is no text
// (NotText).
//
// A workbook or a database holds several tables: `part` names the sheet or
// the database table (UTF-8, ListForeignTables), "" for the first.
//
// A failed load leaves the table as it was.

#include <string>

#include "ForeignTable.h"
#include "TStatus.h"
#include "TextTable.h"

class TQor2;

enum class TTableFileKind { Table, Text, Dbase, Workbook, Database };

TTableFileKind TableFileKindOf(const std::string& path);

// A workbook or a database: a choice of sheet or table may be needed.
inline bool HoldsSeveralTables(TTableFileKind kind) {
  return kind == TTableFileKind::Workbook || kind == TTableFileKind::Database;
}

// What a load read, for the window to tell the user.
struct TTableFileReport {
  TTableFileKind kind = TTableFileKind::Table;
  TTextFileKind textKind = TTextFileKind::Delimited;  // for text
  TTextReport text;        // delimited text: how it was read, values dropped
  TForeignReport foreign;  // workbooks and databases: columns left out, "?"
  // The file is in a form of the program's own (a table file, its escaped or
  // quoted text): saving the table over it writes back what was read.
  bool Own() const {
    return kind == TTableFileKind::Table ||
           (kind == TTableFileKind::Text && textKind != TTextFileKind::Delimited);
  }
};

TStatus LoadTableFile(TQor2& table, const std::string& path,
                      const std::string& part = std::string(), TTableFileReport* report = nullptr);
