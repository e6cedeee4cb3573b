#pragma once
// TImportResult: what appending a file's records to a table did, for the
// window's import command and `vektool import`, which word its status each in
// their own way (FailureSentence). TProgressFn: how an import reports its
// progress and learns that it is to stop.

#include <cstdint>
#include <functional>
#include <utility>

#include "TStatus.h"

// Asked every so often with the work done and the whole work (bytes or
// records, the same unit for both); returning false cancels the import.
using TProgressFn = std::function<bool(int64_t done, int64_t total)>;

struct TImportResult {
  // Why the import stopped short: the file could not be opened or is not of
  // its kind (nothing appended), a read error or a damaged dBase table (what
  // was appended before it stays), or OutOfMemory (nothing appended). Ok for
  // a whole file, and for a cancelled import.
  TStatus status;
  bool cancelled = false;  // stopped by the progress function; nothing was kept
  int appended = 0;        // records added to the table and kept
  bool utf8 = false;       // the text was read as UTF-8 and converted
  int64_t replaced = 0;    // characters that became "?" in the conversion

  bool Ok() const { return status.ok() && !cancelled; }
  // An import that stopped before it appended anything.
  static TImportResult Failed(TStatus why) {
    TImportResult result;
    result.status = std::move(why);
    return result;
  }
};
