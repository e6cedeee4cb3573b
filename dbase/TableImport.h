#pragma once
// The import of a file into a table, chosen by the file's name as the window's
// import command and `vektool import` both choose it: the first of ".txt" (tab
// text), ".csv" (semicolon text) and ".dbf" (dBase) that the lower-cased file
// name contains, tested in that order, so that a file is imported once
// ("clients.txt.bak" is tab text). Folder names play no part.

#include <string>

#include "IFileSystem.h"
#include "TImportResult.h"

class TQor2;

enum class TImportKind { None, Tab, Semicolon, Dbase };

TImportKind ImportKindOf(const std::string& path);

// Appends the file's records to the table by the import of that kind (see
// TTextImport and AppendDbfTable), reading through `fileSystem`;
// UnknownImportKind, changing nothing, for None.
TImportResult ImportFile(TQor2& table, const std::string& path, TImportKind kind,
                         const TProgressFn& progress = nullptr,
                         IFileSystem& fileSystem = FileSystem());
