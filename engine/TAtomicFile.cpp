#include "TAtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

TAtomicFile::~TAtomicFile() {
  Abandon();
}

void TAtomicFile::Abandon() {
  if (fd_ >= 0) FileSystem().Close(fd_);
  fd_ = -1;
  if (!temp_.empty()) FileSystem().Remove(temp_);
  temp_.clear();
}

bool TAtomicFile::Open(const std::string& target) {
  Abandon();
  failed_ = false;
  if (target.empty()) return false;
  target_ = ResolveTarget(target);

  mode_t mode;
  struct stat st;
  if (stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target_.c_str(), W_OK) != 0)
      return false;
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }

  std::string name = target_ + ".tmpXXXXXX";
  fd_ = FileSystem().OpenTemporary(name, mode);
  if (fd_ < 0) return false;
  temp_ = name;
  return true;
}

bool TAtomicFile::Write(const void* data, size_t size) {
  if (fd_ < 0 || failed_) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const long n = FileSystem().Write(fd_, p, size);
    // Nothing written is no progress either: a full disk may say so.
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool TAtomicFile::Commit() {
  if (fd_ < 0 || failed_) {
    Abandon();
    return false;
  }
  bool ok = FileSystem().Sync(fd_);
  ok = FileSystem().Close(fd_) && ok;
  fd_ = -1;
  if (ok) ok = FileSystem().Rename(temp_, target_);
  if (ok) {
    temp_.clear();
  } else {
    Abandon();
  }
  return ok;
}

int WriteFileAtomically(const std::string& path, const std::string& content) {
  TAtomicFile f;
  if (!f.Open(path)) return 3;
  if (!f.Write(content) || !f.Commit()) return -1;
  return 0;
}

const char* AtomicWriteMessage(int result) {
  if (result == 0) return "";
  if (result == 3) return "1-Unable to open the file for writing";
  return "Erreur d'\xE9"
         "criture du fichier";
}
