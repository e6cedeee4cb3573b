#pragma once
// LoadDbfTable: reads a whole dBase table into a new TQor2, for the
// command-line converter. AppendDbfTable: appends a dBase table's records to a
// table that has its fields already, for the import command.
//
// The table gets one field per dBase field, in order, named after the
// descriptor (a blank or repeated name gets the field's number appended so
// that every column keeps its place), of type "FLOAT" for the numeric letters
// "N" and "F" and "STRING" for the others. Every record, those marked deleted
// included, becomes one record whose values are the fields' texts (memo text
// included) passed through ConvertOemText. TableName is set from the path.
//
// On success the table's previous content is replaced and the last record is
// current. On failure (missing file, or any EXBaseException, whose message goes
// to error) the table is left exactly as it was.

#include <string>

#include "TImportResult.h"
#include "TQor2.h"

bool LoadDbfTable(const std::string& path, TQor2& table, std::string& error);

// Every record of the dBase table, deleted ones included, becomes a new record
// after the table's own. Values go by position: dBase field i, passed through
// ConvertOemText, goes to field i; a memo field is skipped, so its table field
// stays empty; dBase fields beyond the table's are dropped.
//
// A path whose file name does not end in ".dbf" (any letter case) is NotDbase,
// a missing file CannotOpen; nothing changes then. A reader failure (a damaged
// table) stops with DbaseError and the reader's message in detail; the records
// appended before it stay. The progress function is asked every 1024 records
// with the records read and the count the header states; when it answers
// false the records appended are removed again.
TImportResult AppendDbfTable(TQor2& table, const std::string& path,
                             const TProgressFn& progress = nullptr);
