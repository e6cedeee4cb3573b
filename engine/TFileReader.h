#pragma once
// TFileReader: one file read through an IFileSystem, as every loader of the
// engine and the dBase reader reads: opened by name, read front to back or at
// an offset, closed when the reader goes. The first failure is kept with its
// cause (TFailure.h: NotFound, PermissionDenied, IsFolder, ReadError...), so
// that a loader can say why it stopped. A read asks again after a short read:
// fewer bytes than asked for mean the end of the file.

#include <cstddef>
#include <string>

#include "IFileSystem.h"
#include "TFailure.h"

class TFileReader {
 public:
  explicit TFileReader(IFileSystem& fileSystem = FileSystem()) : fs_(fileSystem) {}
  ~TFileReader() { Close(); }
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;

  // False when the file cannot be opened, a folder included.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // The bytes read: `size`, or fewer at the end of the file; -1 on failure.
  long Read(void* data, size_t size);
  // The same from `offset`, leaving the position of Read where it was.
  long ReadAt(long long offset, void* data, size_t size);
  // The file's size by the system (0 for a pipe); -1 on failure.
  long long Size();

  bool Failed() const { return failure_ != TFailure::None; }
  TFailure Failure() const { return failure_; }

 private:
  long Fail(int error);

  IFileSystem& fs_;
  int fd_ = -1;
  TFailure failure_ = TFailure::None;
};
