#pragma once
// TImportResult: what appending a file's records to a table did, for the
// window's import command and `vektool import`, which word it each in their
// own language. TProgressFn: how an import reports its progress and learns
// that it is to stop.

#include <cstdint>
#include <functional>
#include <string>

#include "TFailure.h"

// Asked every so often with the work done and the whole work (bytes or
// records, the same unit for both); returning false cancels the import.
using TProgressFn = std::function<bool(int64_t done, int64_t total)>;

struct TImportResult {
  enum Status {
    Done,
    Cancelled,    // stopped by the progress function; nothing was kept
    CannotOpen,   // nothing was read
    ReadError,    // stopped part-way; what was appended stays
    NotDbase,     // a dBase import of a file whose name does not end in ".dbf"
    DbaseError,   // the dBase reader's failure, in detail; what was appended stays
    UnknownKind,  // a name that says neither tab text, semicolon text nor dBase
  };
  Status status = Done;
  int appended = 0;                 // records added to the table and kept
  bool utf8 = false;                // the text was read as UTF-8 and converted
  int64_t replaced = 0;             // characters that became "?" in the conversion
  std::string detail;               // the dBase reader's message (English)
  TFailure cause = TFailure::None;  // CannotOpen, ReadError: why (ImportFailureReason)

  bool Ok() const { return status == Done; }
};
