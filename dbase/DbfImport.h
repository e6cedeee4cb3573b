#pragma once
// LoadDbfTable: reads a whole dBase table into a TQor2, for the command-line
// converter. AppendDbfTable: appends a dBase table's records to a table that
// has its fields already, for the import command. Both read through the
// IFileSystem handed in (FileSystem() unless told otherwise).
//
// LoadDbfTable gives the table one field per dBase field, in order, named
// after the descriptor (a blank or repeated name gets the field's number
// appended so that every column keeps its place), of type "FLOAT" for the
// numeric letters "N" and "F" and "STRING" for the others. Every record, those
// marked deleted included, becomes one record whose values are the fields'
// texts (memo text included) passed through ConvertOemText. TableName is set
// from the path. On success the table's previous content is replaced and the
// last record is current. On failure (the reader's status, or OutOfMemory) the
// table is left exactly as it was.

#include <string>

#include "IFileSystem.h"
#include "TImportResult.h"
#include "TQor2.h"

TStatus LoadDbfTable(const std::string& path, TQor2& table, IFileSystem& fileSystem = FileSystem());

// Every record of the dBase table, deleted ones included, becomes a new record
// after the table's own. Values go by position: dBase field i, passed through
// ConvertOemText, goes to field i; a memo field is skipped, so its table field
// stays empty; dBase fields beyond the table's are dropped.
//
// A path whose file name does not end in ".dbf" (any letter case) is
// NotADbfName; a file that cannot be opened, or whose header is damaged, says
// why; nothing changes then. A reader failure in mid-table (a damaged record,
// a read error) stops with its status; the records read before it are
// appended. OutOfMemory appends nothing. The progress function is asked every
// 1024 records with the records read and the count the header states; when it
// answers false nothing is appended.
TImportResult AppendDbfTable(TQor2& table, const std::string& path,
                             const TProgressFn& progress = nullptr,
                             IFileSystem& fileSystem = FileSystem());
