#pragma once
// TFailure: why a file operation (or a statement) failed, finer than the
// engine's ErrorCode, for whoever tells the user. The engine's ErrorMessage
// stays what it always was; FailureReason gives the cause in French, the one
// wording shared by the windows and vektool.
//
// The causes of failed system calls come from errno: ReadFailure for opening
// and reading a file, CreateFailure for making a new file in a folder,
// WriteFailure for writing, flushing and renaming.

#include <string>

enum class TFailure {
  None,
  Truncated,         // the file ends before the table it declares
  NotATable,         // not a Vek Base table: signature, table count, first block
  IsFolder,          // the name is a folder's
  NotFound,          // no such file
  FolderNotFound,    // the folder to write into does not exist
  PermissionDenied,  // reading or replacing the file is not allowed
  FolderRefuses,     // the folder takes no new file (a save writes its temporary there)
  DiskFull,
  ReadError,
  WriteError,
  NotADbfTable,            // a dBase table that cannot be read
  TooLargeForXls,          // more records or fields than the spreadsheet format holds
  StatementWithoutSelect,  // an SQL statement that does not begin with SELECT
  StatementWithoutWhere,   // one that the engine stops reading before its condition
  OutOfMemory,             // the memory for the work could not be had
  NotText,                 // a text file was expected: the file holds zero bytes
  // Spreadsheets and databases (formats/).
  NotAWorkbook,       // not the .xlsx/.ods archive its ending says
  EncryptedFile,      // protected by a password
  DamagedFile,        // an archive or its XML that cannot be read through
  ZipBomb,            // an entry inflating past what its size allows
  TooManyColumns,     // a sheet wider than 16,384 columns
  TooManyRows,        // a sheet longer than 1,048,576 rows
  CellTooLarge,       // one cell of more than the readers take
  NoSuchSheet,        // no sheet or database table of the name asked for
  NoTable,            // a workbook or database without any sheet or table
  TableExists,        // the database already has a table of that name
  NotADatabase,       // not an SQLite database
  DatabaseLocked,     // another program holds the SQLite database
  TooLargeForXlsx,    // more than an .xlsx sheet holds
  ServerUnreachable,  // no connection to a database server (detail: libpq's reason)
  ServerRefused,      // the server refused the work (detail: its reason)
  PasswordInAddress,  // a connection address that holds a password
  Other,                   // said by the detail alone (UTF-8 French, or a peer's own words)
  NotADbfName,             // a dBase import of a file whose name does not end in ".dbf"
  UnknownImportKind,       // an import of a file named neither .txt, .csv nor .dbf
  DbfHeaderUnreadable,     // the dBase reader's failures, one each
  DbfRecordUnreadable,
  DbfMemoUnreadable,
  DbfMemoFileUnreadable,  // the ".dbt" of a table with memos cannot be opened
  DbfRecordTooLong,
  DbfTooManyFields,
  DbfNotOpen,
  // A sort, or a typed condition, on a field the table does not have (detail:
  // the name, for a condition).
  NoSuchField,
  // A typed condition without a comparison operator, or with one that is not
  // known (detail: the operator as typed).
  NoOperator,
  UnknownOperator,
};

TFailure ReadFailure(int error);
TFailure CreateFailure(int error);
TFailure WriteFailure(int error);

// The cause in French, UTF-8, without a capital or a full stop, to follow
// "Impossible d'ouvrir 'x' : ". "" for None and Other (said by a status's
// detail: StatusReason in TStatus.h).
const char* FailureReason(TFailure failure);
