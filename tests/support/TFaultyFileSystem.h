#pragma once
// TFaultyFileSystem: the machine's file system with one fault armed, for tests
// of what a failed save or load leaves behind. It installs itself
// (SetFileSystem) for its whole life and puts the previous file system back
// when destroyed; it may also be handed to a loader directly.
//
// Until a fault is armed every call goes to the real file system. An armed fault
// strikes every time its call comes:
//   RefuseTemporary  the folder refuses the temporary file (EACCES);
//   WriteError       writes succeed until `after` bytes in all, then fail (EIO);
//   DiskFull         the same with ENOSPC, and the write that reaches the limit
//                    writes only what still fits, as a full disk does;
//   FailSync, FailRename, FailFolderSync  that call does nothing and fails (EIO);
//   FailClose        the file is closed, but the call reports EIO, as a file
//                    system that writes late does;
//   RefuseRead       no file opens for reading (EACCES);
//   ReadError        reads (Read, ReadAt) deliver `after` bytes in all, the
//                    read that reaches the limit only what still fits, and
//                    then fail (EIO), as a damaged disk does in mid-file.
// Temporary files created are recorded, so that a test can check none is left.

#include <string>
#include <vector>

#include "TPosixFileSystem.h"

class TFaultyFileSystem : public IFileSystem {
 public:
  enum class TFault {
    None,
    RefuseTemporary,
    WriteError,
    DiskFull,
    FailSync,
    FailClose,
    FailRename,
    FailFolderSync,
    RefuseRead,
    ReadError
  };

  TFaultyFileSystem();
  ~TFaultyFileSystem() override;
  TFaultyFileSystem(const TFaultyFileSystem&) = delete;
  TFaultyFileSystem& operator=(const TFaultyFileSystem&) = delete;

  void Arm(TFault fault, size_t after = 0);
  const std::vector<std::string>& Temporaries() const { return temporaries_; }
  int FolderSyncs() const { return folderSyncs_; }

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

 private:
  TPosixFileSystem real_;
  IFileSystem* previous_;
  // The bytes a read may still deliver under ReadError; false once spent.
  bool ReadBudget(size_t& size);

  TFault fault_ = TFault::None;
  size_t budget_ = 0;
  std::vector<std::string> temporaries_;
  int folderSyncs_ = 0;
};

// The name of a fault, for test messages.
const char* FaultName(TFaultyFileSystem::TFault fault);
