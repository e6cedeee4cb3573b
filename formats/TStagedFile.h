#pragma once
// TStagedFile: a file that a library writes by its own name (libxlsxwriter,
// libzip, SQLite), saved as TAtomicFile saves: the library writes the
// temporary file beside the target (".clients.xlsx.tmp" beside
// "clients.xlsx", TAtomicFile::TemporaryName); Commit flushes it to the disk,
// renames it over the target and flushes the folder, all through
// FileSystem(). Until the rename the target is untouched; a TStagedFile
// destroyed without a successful Commit removes the temporary file.
//
// Open checks what a save would meet: a target that is a folder or that
// nobody may write, a missing folder, a folder that takes no new file; it
// leaves an empty temporary file with the target's permissions for the
// library to write over.

#include <string>

#include "TStatus.h"

class TStagedFile {
 public:
  TStagedFile() = default;
  ~TStagedFile();
  TStagedFile(const TStagedFile&) = delete;
  TStagedFile& operator=(const TStagedFile&) = delete;

  TStatus Open(const std::string& target);
  const std::string& Path() const { return temp_; }
  TStatus Commit();

 private:
  std::string target_;
  std::string temp_;
};
