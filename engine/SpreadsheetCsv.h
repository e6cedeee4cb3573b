#pragma once
// The export "CSV pour tableurs": a table written as spreadsheet programs open
// it. RFC 4180 text: the field names on the first line, then one line per
// record in table order, values joined by ";", every line ended by CR LF, the
// whole in UTF-8 after its byte-order mark (EF BB BF), so that accents come
// through. A value (or a name) is put in double quotes only where it must be:
// when it holds ";", a double quote (then doubled), CR or LF, begins or ends
// with a blank, or begins with a zero followed by a digit ("06000"), a code
// that a spreadsheet would otherwise take for a number and lose its zeros.
//
// SaveSpreadsheetCsv writes through TAtomicFile, a piece at a time: a failure
// leaves any previous file as it was and says why. The table is not changed.

#include <string>

#include "TStatus.h"

class TQor2;

TStatus SaveSpreadsheetCsv(const TQor2& table, const std::string& path);
// The bytes SaveSpreadsheetCsv writes.
std::string SpreadsheetCsvText(const TQor2& table);
