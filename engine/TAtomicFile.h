#pragma once
// TAtomicFile: writes a file so that the previous one survives any failure.
// Open creates a temporary file beside the target, named after it: a dot, the
// target's name and ".tmp" (".clients.qor.tmp" beside "clients.qor"). Commit
// flushes it to the disk, renames it over the target and flushes the folder,
// so that the new name survives a power cut. Until the rename the target is
// untouched, and a failed Write or Commit, or a TAtomicFile destroyed without
// a successful Commit, removes the temporary file. A save cut short by a crash
// thus leaves at most that one file, which the next save of the same target
// replaces (a leftover is removed, never written through).
//
// An existing target that nobody may write (no write permission bit, or
// refused by the system) is refused by Open, as replacing it would be. The new
// file gets the permissions of the one it replaces. When only the flush of the
// folder fails, the new file is in place but might not survive a power cut:
// Commit reports the failure, so that the caller saves again.
//
// Failure() says why the first failing step failed. Every creation, write,
// flush, rename and removal goes through FileSystem() (IFileSystem.h).

#include <string>

#include "TStatus.h"

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
  TFailure Failure() const { return failure_; }

  // The temporary file's name for `target`, in the same folder.
  static std::string TemporaryName(const std::string& target);

 private:
  void Abandon();
  bool Fail(TFailure failure);

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  TFailure failure_ = TFailure::None;
};

// The engine's ErrorMessage for a result of the numbered WriteFileAtomically
// below ("" for 0).
const char* AtomicWriteMessage(int result);

// Writes `content` to `path` through TAtomicFile. On failure the cause says
// why and the detail is the engine's message for a table's ErrorMessage:
// "1-Unable to open the file for writing" when the file could not be created,
// "Erreur d'écriture du fichier" (Windows-1252) when writing it failed.
TStatus WriteFileAtomically(const std::string& path, const std::string& content);

// The same for a large file made piece by piece: produce(out, flush) appends
// the bytes to `out` and calls flush() now and then (between records); flush
// hands `out` to the file once it holds a quarter of a megabyte, so the whole
// file is never in memory at once.
template <typename Produce>
TStatus WriteFileInPieces(const std::string& path, Produce produce) {
  constexpr size_t kPiece = size_t{1} << 18;
  TAtomicFile file;
  if (!file.Open(path)) return TStatus(file.Failure(), AtomicWriteMessage(3));
  std::string out;
  out.reserve(kPiece + kPiece / 4);
  bool ok = true;
  auto flush = [&] {
    if (out.size() < kPiece) return;
    ok = ok && file.Write(out);
    out.clear();
  };
  produce(out, flush);
  if (!ok || !file.Write(out) || !file.Commit())
    return TStatus(file.Failure(), AtomicWriteMessage(-1));
  return TStatus::Ok();
}

// Kept for the callers that still speak in numbers: 0 on success, 3 when the
// file cannot be created, -1 on a write error after it was created; `failure`
// receives the cause. New code takes the status above.
int WriteFileAtomically(const std::string& path, const std::string& content, TFailure* failure);
