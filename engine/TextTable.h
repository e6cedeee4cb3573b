#pragma once
// Text files as tables, read by TTextReader: opening a delimited text file as
// a new table, appending its records to a table (the import, and its preview),
// and telling the program's own two text formats from the world's.
//
// Opening (LoadTextTable): fields named after the header's values, without
// their surrounding blanks (a blank one becomes "Champ" and its column's
// number, a repeated one gets its column's number appended), or "Champ1",
// "Champ2"... without a header; one record for each line after it. A line with
// fewer values gets empty ones; a line with more widens the table up to its
// last non-empty value (the new fields named "ChampN"), within
// TTextReader::kMaxFields fields and as many values in all as the file has
// bytes (or 16 million); values beyond are dropped and counted. Every value is
// kept exactly as read. A field is "FLOAT" when its non-empty values, at least
// one, are all numbers (IsNumberText) none of which is written with a zero
// before another digit, so that codes such as "06000" keep their column
// "STRING"; every other field is "STRING". TableName comes from the file's
// name, as for the program's own text files; the last record is current.
//
// Importing (AppendTextFile): the records go after the table's own, the header
// line never among them. When the file has a header whose names (NameKey) are
// all names of the table's fields, in any order, each value goes to the field
// of its column's name; otherwise values go by position. Either way a value
// that finds no field is dropped, and counted when it is not empty; a missing
// one leaves its field empty.
//
// Both read the whole file before they change the table: a failure (a file
// that cannot be read, is not text, or needs more memory than there is) or a
// cancel by the progress function (asked every 1,024 records with the bytes
// read and the file's size) leaves the table exactly as it was.

#include <string>
#include <vector>

#include "TImportResult.h"
#include "TStatus.h"
#include "TTextReader.h"

class TQor2;

// What a load or an import did.
struct TTextReport {
  TTextDialect dialect;       // how the file was read, and what reading found
  int records = 0;            // records made, or appended
  int64_t droppedValues = 0;  // non-empty values that found no field
  bool byName = false;        // values went to the fields their header names
  bool cancelled = false;     // the progress function stopped it: nothing changed
};

// The fields' names, as an opened file has them: the header's values
// without their surrounding blanks; "Champ" and the column's number (from 1)
// for a blank one or beyond the header; a repeated one gets its column's
// number appended. Every name distinct.
std::vector<std::string> UniqueFieldNames(const std::vector<std::string>& header, size_t fields);

TStatus LoadTextTable(TQor2& table, const std::string& path,
                      const TTextOptions& options = TTextOptions(), TTextReport* report = nullptr,
                      const TProgressFn& progress = nullptr);

TStatus AppendTextFile(TQor2& table, const std::string& path,
                       const TTextOptions& options = TTextOptions(), TTextReport* report = nullptr,
                       const TProgressFn& progress = nullptr);

// The records of `source`, a table read from another file (a sheet, the
// program's own text), appended as AppendTextFile appends a file's: by name
// when the names of source's fields are all names of the table's, else by
// position; a value that finds no field dropped, and counted when not empty.
// Nothing is appended when memory runs out (OutOfMemory).
TStatus AppendTable(TQor2& table, const TQor2& source, TTextReport* report = nullptr);

// The first records of an import as AppendTextFile would append them to a
// table of the fields `fieldNames`, read from the first megabyte of the file
// at most (options.byteLimit, when set, instead): report.records of them in
// `records`, each with one value per field.
struct TTextPreview {
  TTextReport report;
  std::vector<std::string> headerNames;  // the file's header, when it has one
  std::vector<std::vector<std::string>> records;
};
TStatus PreviewTextImport(const std::string& path, const TTextOptions& options,
                          const std::vector<std::string>& fieldNames, int maxRecords,
                          TTextPreview& preview);

// Which reader makes a table of a text file, from its name and its first 64 KB:
// - VekQuoted: a name ending in "txt" (any case) whose first line is field
//   names in double quotes joined by ";" and ended by CR LF, as SaveTxtFile
//   writes it;
// - VekEscaped: any other name but ".tsv", when nothing in the text says
//   otherwise: no byte-order mark, no zero byte, every line ended by CR LF, no
//   accent in UTF-8, no quote in the first line and ";" in it unless it holds
//   none of ",", tab and "|", every backslash one that SaveCsvFile writes (\\,
//   \;, \n or ending the line), and no value beginning with a quote unless such
//   a backslash is there to say the file is escaped text;
// - Delimited: every other text, read by TTextReader.
// An empty file is VekEscaped (or VekQuoted by its name): both read it alike.
enum class TTextFileKind { Delimited, VekEscaped, VekQuoted };
TStatus RecognizeTextFile(const std::string& path, TTextFileKind& kind);
// Loads a text file by the reader of its kind: the table's own LoadCsvFile or
// LoadTxtFile, or LoadTextTable with `options` and `report` for delimited text.
TStatus LoadTextFile(TQor2& table, const std::string& path, TTextFileKind kind,
                     const TTextOptions& options = TTextOptions(), TTextReport* report = nullptr);
