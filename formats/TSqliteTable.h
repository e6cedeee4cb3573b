#pragma once
// TSqliteTable: a table of an SQLite database (.sqlite, .sqlite3, .db), read
// and written through libsqlite3.
//
// Reading: the columns by their declared type: INTEGER and REAL affinities
// (a type naming INT, REAL, FLOA or DOUB) become FLOAT fields, others STRING;
// a column declared BLOB is left out and named in `leftOut`. NULL reads
// empty, integers in full, reals as the table writes numbers, text converted
// from UTF-8 to Windows-1252 ("?" for a character without a code, counted).
// The database is opened read-only and never changed.
//
// Writing: one table named `name` (UTF-8), one column per field, REAL for a
// FLOAT field whose values are all numbers and TEXT otherwise, every record
// inserted in one transaction: numbers as reals, empty FLOAT values as NULL,
// texts as UTF-8. The database's other tables are kept; a table of the same
// name is replaced only when `replace` says so (else TableExists, nothing
// written). The file is staged: an existing database is first copied (the
// backup API, so a database in use is copied whole) to the temporary file,
// which is changed and then renamed over it (TStagedFile).
//
// Failures: NotADatabase (not SQLite, or encrypted), DatabaseLocked (another
// program holds it), NoSuchSheet, NoTable, TableExists, the system's reasons.

#include <cstdint>
#include <string>
#include <vector>

#include "TStatus.h"

class TQor2;

class TSqliteTable {
 public:
  static TStatus Tables(const std::string& path, std::vector<std::string>& names);
  // The table `name` (the first for ""); the table takes its name.
  static TStatus Read(const std::string& path, const std::string& name, TQor2& table,
                      std::vector<std::string>& leftOut, int64_t& replaced);
  static TStatus Write(const TQor2& table, const std::string& path, const std::string& name,
                       bool replace);
};
