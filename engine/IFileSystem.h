#pragma once
// IFileSystem: the system calls through which the program reads and writes
// files (TAtomicFile, and so every save and WriteFileAtomically; the loaders,
// which are handed one and take FileSystem() unless told otherwise; read them
// with TFileReader), gathered so that tests can make any one of them fail and
// check what a failed load or save leaves behind. The real one,
// TPosixFileSystem, is in use unless another is installed with SetFileSystem.
//
// Each call behaves as the POSIX call it is named after: failure is reported by
// the result, with the reason in errno.

#include <cstddef>
#include <string>

class IFileSystem {
 public:
  virtual ~IFileSystem();

  // Creates the file `path` and opens it for writing, with exactly the
  // permission bits `mode`. Fails (EEXIST) when anything of that name exists,
  // a symbolic link included, so that nothing else is ever written through it.
  // Returns the descriptor, -1 when no file was created.
  virtual int Create(const std::string& path, unsigned mode) = 0;
  // Writes at most `size` bytes; returns how many were written, -1 on failure.
  virtual long Write(int fd, const void* data, size_t size) = 0;
  virtual bool Sync(int fd) = 0;
  virtual bool Close(int fd) = 0;
  // Replaces `to` by `from` in one step.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Flushes the entries of `folder` to the disk, so that a rename in it
  // survives a power cut.
  virtual bool SyncFolder(const std::string& folder) = 0;

  // Opens an existing file for reading; -1 when it cannot be (EISDIR for a
  // folder). Closed with Close.
  virtual int OpenRead(const std::string& path) = 0;
  // Reads at most `size` bytes; returns how many were read (0 at the end),
  // -1 on failure.
  virtual long Read(int fd, void* data, size_t size) = 0;
  // The same from `offset`, without moving the file's position (pread).
  virtual long ReadAt(int fd, long long offset, void* data, size_t size) = 0;
  // The size in bytes of the open file, -1 on failure.
  virtual long long Size(int fd) = 0;
};

// The file system in use.
IFileSystem& FileSystem();
// Installs `fileSystem` (nullptr: the real one again) and returns the one
// installed before (nullptr for the real one). The caller keeps ownership.
IFileSystem* SetFileSystem(IFileSystem* fileSystem);
