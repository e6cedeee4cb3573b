#include "TStagedFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "IFileSystem.h"
#include "TAtomicFile.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

TStagedFile::~TStagedFile() {
  if (!temp_.empty()) FileSystem().Remove(temp_);
}

TStatus TStagedFile::Open(const std::string& target) {
  if (target.empty()) return TStatus(TFailure::NotFound);
  target_ = target;
  mode_t mode;
  struct stat st;
  if (stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return TStatus(TFailure::IsFolder);
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.c_str(), W_OK) != 0)
      return TStatus(TFailure::PermissionDenied);
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  const std::string name = TAtomicFile::TemporaryName(target);
  FileSystem().Remove(name);  // what a save cut short left
  const int fd = FileSystem().Create(name, mode);
  if (fd < 0) return TStatus(CreateFailure(errno));
  temp_ = name;
  if (!FileSystem().Close(fd)) return TStatus(WriteFailure(errno));
  return TStatus::Ok();
}

TStatus TStagedFile::Commit() {
  if (temp_.empty()) return TStatus(TFailure::WriteError);
  IFileSystem& fs = FileSystem();
  const int fd = fs.OpenRead(temp_);
  if (fd < 0) return TStatus(WriteFailure(errno));
  bool ok = fs.Sync(fd);
  int error = errno;
  if (!fs.Close(fd) && ok) {
    ok = false;
    error = errno;
  }
  if (ok && !fs.Rename(temp_, target_)) {
    ok = false;
    error = errno;
  }
  if (!ok) return TStatus(WriteFailure(error));
  temp_.clear();
  if (!fs.SyncFolder(FolderOf(target_))) return TStatus(WriteFailure(errno));
  return TStatus::Ok();
}
