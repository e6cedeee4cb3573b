#pragma once
// TResultFile: "Enregistrer" of the SQL and query-by-example windows and
// "Exporter..." of the statistics window: the save dialog with one choice per
// kind offered, then the statement or the result table written in the chosen
// kind.
//
// The chosen name loses its own extension (from the last "." of the file's
// name) and takes the choice's: ".sql", ".txt", ".csv", ".xls" or ".xlsx". An
// existing file is replaced only after "Ce fichier existe déjà. Le remplacer ?"
// is answered Yes. Every write goes to a temporary file renamed over the target,
// so a failed save leaves the previous file as it was; it is reported as
// "Impossible d'enregistrer '<name>' : <reason>" (FailureMessage).
//
// The statement is written in Windows-1252, each line ended by CR LF; the
// result as tab-separated text, semicolon text, an .xls spreadsheet (the
// engine's writers) or an Excel workbook of one sheet (ForeignTable.h). The
// table is only read, but for its ErrorCode and ErrorMessage, which tell the
// last failure.

#include <QString>
#include <vector>

class TQor2;

class TResultFile {
 public:
  enum Kind { kStatement, kTxt, kCsv, kXls, kXlsx };

  // True when a file was written; false when cancelled, refused or failed.
  static bool Save(const std::vector<Kind>& kinds, TQor2& result, const QString& statement);
};
