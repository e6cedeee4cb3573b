#pragma once
// LoadDbfTable: reads a whole dBase table into a TQor2, for the command-line
// converter and the import.
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

#include "TQor2.h"

bool LoadDbfTable(const std::string& path, TQor2& table, std::string& error);
