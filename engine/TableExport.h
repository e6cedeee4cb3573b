#pragma once
// The export of a table, or of the records a filter selects, as the window's
// export command and `vektool export` write it. Every file is written
// atomically and a piece at a time, a selection as it is found: a failure
// leaves any previous file as it was, sets the table's ErrorCode to 3, its
// ErrorMessage and ErrorCause, and is returned.
//
// The whole table: escaped semicolon text (Csv), quoted semicolon text (Txt),
// both with a header line, or XML (TXmlWriter).
//
// A selection: the records that FindNext(field, op, value) reaches from the
// first record forward, in table order. Csv and Txt write one line per record,
// its values in field order joined by ";" (Csv) or a tab (Txt), each line
// ended by CR LF; no header line, no quoting, no escaping, so a value holding
// the separator or a line break is written as it stands. Xml writes the same
// file as for the whole table, with only the selected records.
// The selection walk leaves the cursor on the last selected record (or where
// it was when none is selected).

#include <string>

#include "TStatus.h"

class TQor2;

enum class TExportFormat { Csv, Txt, Xml };

// By the path's ending, in any letter case: ".csv", ".txt" or ".xml". False
// for any other ending.
bool ExportFormatOf(const std::string& path, TExportFormat& format);

TStatus ExportTable(TQor2& table, const std::string& path, TExportFormat format);

TStatus ExportSelection(TQor2& table, const std::string& path, TExportFormat format,
                        const std::string& field, const std::string& op, const std::string& value);
