#include "TableImport.h"

#include "DbfImport.h"
#include "TTextImport.h"

TImportKind ImportKindOf(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (name.find(".txt") != std::string::npos) return TImportKind::Tab;
  if (name.find(".csv") != std::string::npos) return TImportKind::Semicolon;
  if (name.find(".dbf") != std::string::npos) return TImportKind::Dbase;
  return TImportKind::None;
}

TImportResult ImportFile(TQor2& table, const std::string& path, TImportKind kind,
                         const TProgressFn& progress, IFileSystem& fileSystem) {
  switch (kind) {
    case TImportKind::Tab:
      return TTextImport::Append(table, path, '\t', progress, fileSystem);
    case TImportKind::Semicolon:
      return TTextImport::Append(table, path, ';', progress, fileSystem);
    case TImportKind::Dbase:
      return AppendDbfTable(table, path, progress, fileSystem);
    case TImportKind::None:
      break;
  }
  TImportResult result;
  result.status = TStatus(TFailure::UnknownImportKind, path);
  return result;
}
