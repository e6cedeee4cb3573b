#pragma once
// TAtomicFile: writes a file so that the previous one survives any failure.
// Open creates a temporary file beside the target (the target's name followed
// by ".tmp" and six characters); Commit flushes it to the disk and renames it
// over the target. Until Commit succeeds the target is untouched, and a failed
// Write or Commit, or a TAtomicFile destroyed without a successful Commit,
// removes the temporary file. An existing target that nobody may write (no
// write permission bit, or refused by the system) is refused by Open, as
// replacing it would be. The new file gets the permissions of the one it
// replaces. Every creation, write, flush, rename and removal goes through
// FileSystem() (IFileSystem.h).

#include <string>

class TAtomicFile {
 public:
  TAtomicFile() = default;
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  bool Open(const std::string& target);
  bool Write(const void* data, size_t size);
  bool Write(const std::string& s) { return Write(s.data(), s.size()); }
  bool Commit();

 private:
  void Abandon();

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool failed_ = false;
};

// Writes `content` to `path` through TAtomicFile. Result: 0 on success, 3 when the
// file cannot be created, -1 on a write error after it was created.
int WriteFileAtomically(const std::string& path, const std::string& content);
// The engine's ErrorMessage for a result of WriteFileAtomically ("" for 0).
const char* AtomicWriteMessage(int result);
