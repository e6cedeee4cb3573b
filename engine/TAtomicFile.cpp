#include "TAtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "IFileSystem.h"

namespace {

// The file a path finally names, following symbolic links, so that saving
// through a link replaces the linked file and keeps the link.
std::string ResolveTarget(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char buf[PATH_MAX];
    if (realpath(path.c_str(), buf)) return buf;
  }
  return path;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string TAtomicFile::TemporaryName(const std::string& target) {
  const size_t slash = target.rfind('/');
  const size_t name = slash == std::string::npos ? 0 : slash + 1;
  return target.substr(0, name) + "." + target.substr(name) + ".tmp";
}

TAtomicFile::~TAtomicFile() {
  Abandon();
}

void TAtomicFile::Abandon() {
  if (fd_ >= 0) FileSystem().Close(fd_);
  fd_ = -1;
  if (!temp_.empty()) FileSystem().Remove(temp_);
  temp_.clear();
}

bool TAtomicFile::Fail(TFailure failure) {
  if (failure_ == TFailure::None) failure_ = failure;
  return false;
}

bool TAtomicFile::Open(const std::string& target) {
  Abandon();
  failure_ = TFailure::None;
  if (target.empty()) return Fail(TFailure::NotFound);
  target_ = ResolveTarget(target);

  mode_t mode;
  struct stat st;
  if (stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail(TFailure::IsFolder);
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target_.c_str(), W_OK) != 0)
      return Fail(TFailure::PermissionDenied);
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }

  const std::string name = TemporaryName(target_);
  // What a save cut short left behind goes first; failing that, creating the
  // file fails too and says why.
  FileSystem().Remove(name);
  fd_ = FileSystem().Create(name, mode);
  if (fd_ < 0) return Fail(CreateFailure(errno));
  temp_ = name;
  return true;
}

bool TAtomicFile::Write(const void* data, size_t size) {
  if (fd_ < 0 || failure_ != TFailure::None) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const long n = FileSystem().Write(fd_, p, size);
    // Nothing written is no progress either: a full disk may say so.
    if (n <= 0) return Fail(n == 0 ? TFailure::DiskFull : WriteFailure(errno));
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool TAtomicFile::Commit() {
  if (fd_ < 0 || failure_ != TFailure::None) {
    Abandon();
    return Fail(TFailure::WriteError);
  }
  bool ok = FileSystem().Sync(fd_) || Fail(WriteFailure(errno));
  ok = (FileSystem().Close(fd_) || Fail(WriteFailure(errno))) && ok;
  fd_ = -1;
  if (ok) ok = FileSystem().Rename(temp_, target_) || Fail(WriteFailure(errno));
  if (!ok) {
    Abandon();
    return false;
  }
  temp_.clear();
  return FileSystem().SyncFolder(FolderOf(target_)) || Fail(WriteFailure(errno));
}

TStatus WriteFileAtomically(const std::string& path, const std::string& content) {
  TAtomicFile f;
  if (!f.Open(path)) return TStatus(f.Failure(), AtomicWriteMessage(3));
  if (!f.Write(content) || !f.Commit()) return TStatus(f.Failure(), AtomicWriteMessage(-1));
  return TStatus::Ok();
}

int WriteFileAtomically(const std::string& path, const std::string& content, TFailure* failure) {
  const TStatus written = WriteFileAtomically(path, content);
  if (failure) *failure = written.Cause();
  if (written) return 0;
  return written.Detail() == AtomicWriteMessage(3) ? 3 : -1;
}

const char* AtomicWriteMessage(int result) {
  if (result == 0) return "";
  if (result == 3) return "1-Unable to open the file for writing";
  return "Erreur d'\xE9"
         "criture du fichier";
}
