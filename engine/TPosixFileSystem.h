#pragma once
// TPosixFileSystem: IFileSystem on the machine's own file system, the one the
// engine uses unless a test installs another. A write interrupted by a signal
// before it wrote anything is started again. SyncFolder succeeds without a
// flush when the folder cannot be opened for reading (the name is in place all
// the same) or when its file system cannot flush a folder (EINVAL).

#include "IFileSystem.h"

class TPosixFileSystem : public IFileSystem {
 public:
  int Create(const std::string& path, unsigned mode) override;
  long Write(int fd, const void* data, size_t size) override;
  bool Sync(int fd) override;
  bool Close(int fd) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  bool SyncFolder(const std::string& folder) override;
  int OpenRead(const std::string& path) override;
  long Read(int fd, void* data, size_t size) override;
  long ReadAt(int fd, long long offset, void* data, size_t size) override;
  long long Size(int fd) override;
};
