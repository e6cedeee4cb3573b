#pragma once
// TTableLock: one writer per table file. Whoever means to write a table over
// its file (a document window of any running Vek Base) holds the table's lock;
// another program finds it held and opens the table read-only, and vektool
// refuses to write over it unless forced.
//
// A lock is an empty file in the state folder's "locks" folder, named after
// the table's canonical path (EscapedName), held with flock(2). The system
// drops a flock when the process that took it dies, however it dies, so a
// lock never outlives its program, and the lock file itself is removed by the
// holder when it lets go. A lock on the table file itself would not do: every
// save replaces the file by a new one, which nobody would hold.
//
// The state folder is $XDG_STATE_HOME/vekbase, or ~/.local/state/vekbase when
// XDG_STATE_HOME is unset or not an absolute path; it is read at each call, so
// that tests point it at a temporary folder. Folders are made with mode 0700.
//
// Acquire answers HeldByOther when another process - or another holder in
// this one - has the lock, and Unavailable when no lock can be made at all
// (no home folder, a folder that refuses files): the caller then writes
// without one, as before locks existed. Nothing here talks to the user.

#include <string>

class TTableLock {
 public:
  enum class TResult { Acquired, HeldByOther, Unavailable };

  TTableLock() = default;
  ~TTableLock() { Release(); }
  TTableLock(const TTableLock&) = delete;
  TTableLock& operator=(const TTableLock&) = delete;
  TTableLock(TTableLock&& other) noexcept;
  TTableLock& operator=(TTableLock&& other) noexcept;

  // Takes the lock of `tablePath` (a lock held before is let go first).
  TResult Acquire(const std::string& tablePath);
  // Lets go: removes the lock file while still holding it, then closes it.
  void Release();
  bool Held() const { return fd_ >= 0; }
  const std::string& TablePath() const { return table_; }  // canonical; empty when not held

  // True when some holder has the lock of `tablePath` now. Creates nothing,
  // so that vektool can ask without leaving anything behind.
  static bool IsLocked(const std::string& tablePath);
  // Removes the lock files that nobody holds: those of programs that died.
  static void RemoveStale();

  // "" when there is neither XDG_STATE_HOME nor HOME.
  static std::string StateFolder();
  // Makes `folder` and its missing parents (mode 0700); true when it exists after.
  static bool MakeFolder(const std::string& folder);
  // The absolute path with symbolic links and "." and ".." resolved, for a
  // file that exists; for one that does not, its folder's canonical path and
  // its name; otherwise the absolute path as it stands.
  static std::string CanonicalPath(const std::string& path);
  // A file name that stands for `canonicalPath`: every "/", "%" and control
  // byte written as %XX ("/home/anna/clients.qor" gives
  // "%2Fhome%2Fanna%2Fclients.qor"), so the path reads back from the name. A
  // name that would exceed 180 bytes becomes "h" + sixteen hexadecimal digits
  // of the path's hash + "+" + the end of the escaped path; readers then take
  // the path from the file's content.
  static std::string EscapedName(const std::string& canonicalPath);
  // The lock file of a table.
  static std::string LockFileName(const std::string& tablePath);

 private:
  int fd_ = -1;
  std::string table_;
  std::string file_;
};
