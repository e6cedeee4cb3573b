#include "TSqliteTable.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

#include "IFileSystem.h"
#include "NumberText.h"
#include "RecordWalk.h"
#include "TQor2.h"
#include "TRecordBuilder.h"
#include "TStagedFile.h"
#include "Utf8Text.h"

namespace {

struct DbCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;
struct StmtCloser {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtCloser>;

TStatus Failure(int code, sqlite3* db) {
  const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  switch (code & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return TStatus(TFailure::NotADatabase, detail);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return TStatus(TFailure::DatabaseLocked, detail);
    case SQLITE_NOMEM:
      return TStatus(TFailure::OutOfMemory, detail);
    case SQLITE_FULL:
      return TStatus(TFailure::DiskFull, detail);
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
      return TStatus(TFailure::PermissionDenied, detail);
    case SQLITE_CANTOPEN:
      return TStatus(TFailure::ReadError, detail);
    default:
      return TStatus(TFailure::Other, detail);
  }
}

std::string Quoted(const std::string& name) {
  std::string q = "\"";
  for (const char c : name) {
    q.push_back(c);
    if (c == '"') q.push_back('"');
  }
  return q + "\"";
}

// Opens an existing file; a missing or unreadable file gets the system's reason.
TStatus OpenExisting(const std::string& path, int flags, Db& db) {
  const int fd = FileSystem().OpenRead(path);
  if (fd < 0) return TStatus(ReadFailure(errno));
  FileSystem().Close(fd);
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  db.reset(raw);
  if (rc != SQLITE_OK) return Failure(rc, raw);
  sqlite3_busy_timeout(raw, 500);
  return TStatus::Ok();
}

TStatus Prepare(sqlite3* db, const std::string& sql, Stmt& stmt) {
  sqlite3_stmt* raw = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
  stmt.reset(raw);
  return rc == SQLITE_OK ? TStatus::Ok() : Failure(rc, db);
}

TStatus Exec(sqlite3* db, const std::string& sql) {
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? TStatus::Ok() : Failure(rc, db);
}

TStatus ListTables(sqlite3* db, std::vector<std::string>& names) {
  Stmt q;
  TStatus s = Prepare(db,
                      "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                      "'sqlite\\_%' ESCAPE '\\' ORDER BY rowid",
                      q);
  if (!s) return s;
  names.clear();
  int rc;
  while ((rc = sqlite3_step(q.get())) == SQLITE_ROW)
    names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q.get(), 0)));
  return rc == SQLITE_DONE ? TStatus::Ok() : Failure(rc, db);
}

bool Contains(const std::string& upper, const char* part) {
  return upper.find(part) != std::string::npos;
}

}  // namespace

TStatus TSqliteTable::Tables(const std::string& path, std::vector<std::string>& names) {
  Db db;
  const TStatus s = OpenExisting(path, SQLITE_OPEN_READONLY, db);
  return s ? ListTables(db.get(), names) : s;
}

TStatus TSqliteTable::Read(const std::string& path, const std::string& name, TQor2& table,
                           std::vector<std::string>& leftOut, int64_t& replaced) {
  Db db;
  TStatus s = OpenExisting(path, SQLITE_OPEN_READONLY, db);
  if (!s) return s;
  // Pages read in place rather than copied through the page cache.
  sqlite3_exec(db.get(), "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
  std::vector<std::string> names;
  s = ListTables(db.get(), names);
  if (!s) return s;
  if (names.empty()) return TStatus(TFailure::NoTable);
  std::string chosen;
  for (const std::string& n : names)
    if (chosen.empty() && (name.empty() || n == name)) chosen = n;
  if (chosen.empty()) return TStatus(TFailure::NoSuchSheet, name);
  Stmt q;
  s = Prepare(db.get(), "SELECT * FROM " + Quoted(chosen), q);
  if (!s) return s;
  try {
    // The columns kept, and their fields.
    std::vector<int> columns;
    std::vector<bool> integer;
    std::vector<std::pair<std::string, std::string>> fields;
    leftOut.clear();
    for (int c = 0; c < sqlite3_column_count(q.get()); ++c) {
      const char* declared = sqlite3_column_decltype(q.get(), c);
      std::string upper = declared ? declared : "";
      for (char& ch : upper) ch = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
      const char* colName = sqlite3_column_name(q.get(), c);
      if (Contains(upper, "BLOB")) {
        leftOut.emplace_back(colName);
        continue;
      }
      const bool number = Contains(upper, "INT") || Contains(upper, "REAL") ||
                          Contains(upper, "FLOA") || Contains(upper, "DOUB");
      std::string field;
      AppendAsCp1252(field, colName, replaced);
      if (field.find_first_not_of(' ') == std::string::npos)
        field = "Colonne" + std::to_string(c + 1);
      for (int k = 2;; ++k) {
        bool taken = false;
        for (const auto& f : fields) taken = taken || f.first == field;
        if (!taken) break;
        field = std::string(colName) + "_" + std::to_string(k);
      }
      fields.emplace_back(field, number ? "FLOAT" : "STRING");
      columns.push_back(c);
    }
    TRecordBuilder builder(static_cast<int>(columns.size()));
    std::string text;
    int rc;
    while ((rc = sqlite3_step(q.get())) == SQLITE_ROW) {
      for (const int c : columns) {
        switch (sqlite3_column_type(q.get(), c)) {
          case SQLITE_INTEGER: {
            char buf[32];
            const int n = std::snprintf(buf, sizeof buf, "%lld",
                                        static_cast<long long>(sqlite3_column_int64(q.get(), c)));
            builder.Append(buf, static_cast<size_t>(n));
            break;
          }
          case SQLITE_FLOAT:
            text.clear();
            AppendNumberText(text, sqlite3_column_double(q.get(), c));
            builder.Append(text.data(), text.size());
            break;
          case SQLITE_NULL:
            break;
          default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(q.get(), c));
            const int n = sqlite3_column_bytes(q.get(), c);
            text.clear();
            if (p) AppendAsCp1252(text, std::string_view(p, static_cast<size_t>(n)), replaced);
            builder.Append(text.data(), text.size());
          }
        }
        builder.EndValue();
      }
      builder.EndRecord();
    }
    if (rc != SQLITE_DONE) return Failure(rc, db.get());
    std::string tableName;
    AppendAsCp1252(tableName, chosen, replaced);
    if (!table.TakeRecords(tableName, fields, builder)) return TStatus(TFailure::OutOfMemory);
  } catch (const std::bad_alloc&) {
    return TStatus(TFailure::OutOfMemory);
  }
  return TStatus::Ok();
}

TStatus TSqliteTable::Write(const TQor2& table, const std::string& path, const std::string& name,
                            bool replace) {
  TStagedFile file;
  TStatus s = file.Open(path);
  if (!s) return s;
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(file.Path().c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                           nullptr);
  Db db(raw);
  if (rc != SQLITE_OK) return Failure(rc, raw);
  sqlite3_busy_timeout(raw, 500);

  const int probe = FileSystem().OpenRead(path);
  if (probe >= 0) {
    // An existing database is copied whole first, so that its other tables stay.
    FileSystem().Close(probe);
    Db source;
    s = OpenExisting(path, SQLITE_OPEN_READONLY, source);
    if (!s) return s;
    std::vector<std::string> names;
    s = ListTables(source.get(), names);  // not a database: said here
    if (!s) return s;
    sqlite3_backup* backup = sqlite3_backup_init(db.get(), "main", source.get(), "main");
    if (!backup) return Failure(sqlite3_errcode(db.get()), db.get());
    rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) return Failure(rc, source.get());
  }

  // The temporary file is renamed into place and flushed by Commit: the
  // database's own journal and syncs would only slow the load.
  Stmt mode;
  s = Prepare(db.get(), "PRAGMA journal_mode", mode);
  if (!s) return s;
  const bool wal =
      sqlite3_step(mode.get()) == SQLITE_ROW &&
      std::string(reinterpret_cast<const char*>(sqlite3_column_text(mode.get(), 0))) == "wal";
  mode.reset();
  if (!wal && !(s = Exec(db.get(), "PRAGMA journal_mode = OFF"))) return s;
  if (!(s = Exec(db.get(), "PRAGMA synchronous = OFF"))) return s;

  const int fields = table.FieldCount();
  std::vector<bool> real(static_cast<size_t>(fields));
  for (int c = 0; c < fields; ++c) real[c] = table.Types().Get(c) == "FLOAT";
  // A FLOAT field holding text that is no number stays TEXT: nothing is lost.
  WalkRecords(table.RecordList().Items(), 0, [&](size_t, const TKStringList& r) {
    double v;
    for (int c = 0; c < fields; ++c)
      if (real[c] && !r.Get(c).empty() && !ParseTableNumber(r.Get(c), v)) real[c] = false;
  });
  std::string create = "CREATE TABLE " + Quoted(name) + " (";
  std::string insert = "INSERT INTO " + Quoted(name) + " VALUES (";
  for (int c = 0; c < fields; ++c) {
    std::string field;
    AppendAsUtf8(field, table.Names().Get(c));
    create += (c ? ", " : "") + Quoted(field) + (real[c] ? " REAL" : " TEXT");
    insert += c ? ", ?" : "?";
  }
  create += ")";
  insert += ")";
  if (!(s = Exec(db.get(), "BEGIN"))) return s;
  std::vector<std::string> names;
  if (!(s = ListTables(db.get(), names))) return s;
  for (const std::string& n : names) {
    if (sqlite3_stricmp(n.c_str(), name.c_str()) != 0) continue;
    if (!replace) return TStatus(TFailure::TableExists, name);
    if (!(s = Exec(db.get(), "DROP TABLE " + Quoted(n)))) return s;
  }
  if (fields == 0) return TStatus(TFailure::Other, "une table sans champ ne peut pas être écrite");
  if (!(s = Exec(db.get(), create))) return s;
  Stmt ins;
  if (!(s = Prepare(db.get(), insert, ins))) return s;
  std::string text;
  rc = SQLITE_DONE;
  WalkRecords(table.RecordList().Items(), 0, [&](size_t, const TKStringList& r) {
    if (rc != SQLITE_DONE) return;
    text.clear();
    std::vector<size_t> ends;
    for (int c = 0; c < fields; ++c) {
      const TValueView v = r.Get(c);
      double number;
      if (real[c]) {
        if (v.empty())
          sqlite3_bind_null(ins.get(), c + 1);
        else if (ParseTableNumber(v, number))
          sqlite3_bind_double(ins.get(), c + 1, number);
        else
          sqlite3_bind_null(ins.get(), c + 1);
      } else {
        const size_t start = text.size();
        AppendAsUtf8(text, v);
        ends.push_back(start);
      }
    }
    // Bound once the text of all fields is made: the buffer no longer moves.
    size_t k = 0;
    for (int c = 0; c < fields; ++c) {
      if (real[c]) continue;
      const size_t start = ends[k];
      const size_t end = k + 1 < ends.size() ? ends[k + 1] : text.size();
      ++k;
      sqlite3_bind_text(ins.get(), c + 1, text.data() + start, static_cast<int>(end - start),
                        SQLITE_STATIC);
    }
    rc = sqlite3_step(ins.get());
    sqlite3_reset(ins.get());
  });
  if (rc != SQLITE_DONE) return Failure(rc, db.get());
  ins.reset();
  if (!(s = Exec(db.get(), "COMMIT"))) return s;
  rc = sqlite3_close(db.release());
  if (rc != SQLITE_OK) return TStatus(TFailure::WriteError);
  return file.Commit();
}
