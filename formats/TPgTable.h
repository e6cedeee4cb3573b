#pragma once
// TPgTable: a table of a PostgreSQL database, through libpq, for tables that
// outgrow one desk. The server is named by a libpq connection URI
// ("postgresql://HOST/DB", "postgresql:///DB?host=/run/postgresql"); a
// password is taken from PGPASSWORD or ~/.pgpass as libpq does, never from
// the URI itself (PasswordInAddress). Connecting gives up after
// `connectTimeout` seconds.
//
// Writing: in one transaction, the table `name` is created with one column
// per field (NUMERIC for a FLOAT field whose values are all numbers, TEXT
// otherwise) and loaded with COPY; an existing table of that name is dropped
// first only when `replace` says so (else TableExists). Any failure rolls the
// whole transaction back: the database is as it was. Texts go as UTF-8, empty
// FLOAT values as NULL.
//
// Reading: the table's columns, numeric types (integers, reals, NUMERIC) as
// FLOAT fields, bytea left out (named in `leftOut`), others STRING; read with
// COPY, NULL empty, numbers as the table writes them, text converted to
// Windows-1252 ("?" for a character without a code, counted).
//
// Failures: ServerUnreachable (the connection failed; detail: libpq's
// reason), ServerRefused (the server refused a statement; detail: its
// message), NoSuchSheet, TableExists, PasswordInAddress.

#include <cstdint>
#include <string>
#include <vector>

#include "TStatus.h"

class TQor2;

class TPgTable {
 public:
  static bool IsAddress(const std::string& source);
  static TStatus Tables(const std::string& uri, std::vector<std::string>& names,
                        int connectTimeout = 10);
  static TStatus Read(const std::string& uri, const std::string& name, TQor2& table,
                      std::vector<std::string>& leftOut, int64_t& replaced,
                      int connectTimeout = 10);
  static TStatus Write(const TQor2& table, const std::string& uri, const std::string& name,
                       bool replace, int connectTimeout = 10);
};
