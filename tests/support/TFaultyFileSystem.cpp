#include "TFaultyFileSystem.h"

#include <cerrno>

TFaultyFileSystem::TFaultyFileSystem() : previous_(SetFileSystem(this)) {}

TFaultyFileSystem::~TFaultyFileSystem() {
  SetFileSystem(previous_);
}

void TFaultyFileSystem::Arm(TFault fault, size_t after) {
  fault_ = fault;
  budget_ = after;
}

int TFaultyFileSystem::Create(const std::string& path, unsigned mode) {
  if (fault_ == TFault::RefuseTemporary) {
    errno = EACCES;
    return -1;
  }
  const int fd = real_.Create(path, mode);
  if (fd >= 0) temporaries_.push_back(path);
  return fd;
}

long TFaultyFileSystem::Write(int fd, const void* data, size_t size) {
  if (fault_ != TFault::WriteError && fault_ != TFault::DiskFull)
    return real_.Write(fd, data, size);
  if (budget_ == 0 || (fault_ == TFault::WriteError && size > budget_)) {
    // An error reported for the whole call may still have left a part behind.
    if (budget_ > 0) real_.Write(fd, data, budget_);
    budget_ = 0;
    errno = fault_ == TFault::DiskFull ? ENOSPC : EIO;
    return -1;
  }
  const long n = real_.Write(fd, data, size < budget_ ? size : budget_);
  if (n > 0) budget_ -= static_cast<size_t>(n);
  return n;
}

bool TFaultyFileSystem::Sync(int fd) {
  if (fault_ != TFault::FailSync) return real_.Sync(fd);
  errno = EIO;
  return false;
}

bool TFaultyFileSystem::Close(int fd) {
  if (fault_ != TFault::FailClose) return real_.Close(fd);
  // The descriptor is gone all the same, as after a failed close(2).
  real_.Close(fd);
  errno = EIO;
  return false;
}

bool TFaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  if (fault_ != TFault::FailRename) return real_.Rename(from, to);
  errno = EIO;
  return false;
}

bool TFaultyFileSystem::Remove(const std::string& path) {
  return real_.Remove(path);
}

bool TFaultyFileSystem::SyncFolder(const std::string& folder) {
  ++folderSyncs_;
  if (fault_ != TFault::FailFolderSync) return real_.SyncFolder(folder);
  errno = EIO;
  return false;
}

int TFaultyFileSystem::OpenRead(const std::string& path) {
  if (fault_ != TFault::RefuseRead) return real_.OpenRead(path);
  errno = EACCES;
  return -1;
}

bool TFaultyFileSystem::ReadBudget(size_t& size) {
  if (fault_ != TFault::ReadError) return true;
  if (budget_ == 0 && size > 0) {
    errno = EIO;
    return false;
  }
  if (size > budget_) size = budget_;
  return true;
}

long TFaultyFileSystem::Read(int fd, void* data, size_t size) {
  if (!ReadBudget(size)) return -1;
  const long n = real_.Read(fd, data, size);
  if (n > 0 && fault_ == TFault::ReadError) budget_ -= static_cast<size_t>(n);
  return n;
}

long TFaultyFileSystem::ReadAt(int fd, long long offset, void* data, size_t size) {
  if (!ReadBudget(size)) return -1;
  const long n = real_.ReadAt(fd, offset, data, size);
  if (n > 0 && fault_ == TFault::ReadError) budget_ -= static_cast<size_t>(n);
  return n;
}

long long TFaultyFileSystem::Size(int fd) {
  return real_.Size(fd);
}

const char* FaultName(TFaultyFileSystem::TFault fault) {
  switch (fault) {
    case TFaultyFileSystem::TFault::None:
      return "none";
    case TFaultyFileSystem::TFault::RefuseTemporary:
      return "folder refuses the temporary file";
    case TFaultyFileSystem::TFault::WriteError:
      return "write error";
    case TFaultyFileSystem::TFault::DiskFull:
      return "disk full";
    case TFaultyFileSystem::TFault::FailSync:
      return "failed sync";
    case TFaultyFileSystem::TFault::FailClose:
      return "failed close";
    case TFaultyFileSystem::TFault::FailRename:
      return "failed rename";
    case TFaultyFileSystem::TFault::FailFolderSync:
      return "failed folder sync";
    case TFaultyFileSystem::TFault::RefuseRead:
      return "file refused for reading";
    case TFaultyFileSystem::TFault::ReadError:
      return "read error";
  }
  return "";
}
