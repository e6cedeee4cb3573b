#include "TTableLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t kLongestName = 180;

std::string CurrentFolder() {
  char buf[PATH_MAX];
  return getcwd(buf, sizeof buf) ? std::string(buf) : std::string("/");
}

std::string Absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  return CurrentFolder() + "/" + path;
}

uint64_t Fnv1a(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (const unsigned char c : s) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

// True when `file` still names the file open on `fd`.
bool NamesFile(const std::string& file, int fd) {
  struct stat opened, named;
  return fstat(fd, &opened) == 0 && stat(file.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Waits up to 20 ms for `file` to stop naming the file open on `fd`.
bool WaitGone(const std::string& file, int fd) {
  for (int i = 0; i < 10; ++i) {
    if (!NamesFile(file, fd)) return true;
    usleep(2000);
  }
  return false;
}

}  // namespace

TTableLock::TTableLock(TTableLock&& other) noexcept
    : fd_(other.fd_), table_(std::move(other.table_)), file_(std::move(other.file_)) {
  other.fd_ = -1;
}

TTableLock& TTableLock::operator=(TTableLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    table_ = std::move(other.table_);
    file_ = std::move(other.file_);
    other.fd_ = -1;
  }
  return *this;
}

std::string TTableLock::StateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return std::string(state) + "/vekbase";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/state/vekbase";
  return std::string();
}

bool TTableLock::MakeFolder(const std::string& folder) {
  if (folder.empty()) return false;
  struct stat st;
  if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const size_t slash = folder.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolder(folder.substr(0, slash))) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string TTableLock::CanonicalPath(const std::string& path) {
  if (path.empty()) return path;
  char buf[PATH_MAX];
  if (realpath(path.c_str(), buf)) return buf;
  const std::string absolute = Absolute(path);
  const size_t slash = absolute.rfind('/');
  const std::string folder = slash == 0 ? "/" : absolute.substr(0, slash);
  if (realpath(folder.c_str(), buf)) {
    const std::string base(buf);
    return (base == "/" ? base : base + "/") + absolute.substr(slash + 1);
  }
  return absolute;
}

std::string TTableLock::EscapedName(const std::string& canonicalPath) {
  std::string name;
  name.reserve(canonicalPath.size() + 16);
  for (const unsigned char c : canonicalPath) {
    if (c == '/' || c == '%' || c < 0x20 || c == 0x7F) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      name += hex;
    } else {
      name += static_cast<char>(c);
    }
  }
  if (name.size() <= kLongestName) return name;
  char hash[20];
  std::snprintf(hash, sizeof hash, "h%016llx+",
                static_cast<unsigned long long>(Fnv1a(canonicalPath)));
  // The end of the path is what tells tables apart for a reader of the folder;
  // the cut never splits an escape.
  size_t keep = name.size() - (kLongestName - 18);
  while (keep < name.size() && (name[keep - 1] == '%' || (keep >= 2 && name[keep - 2] == '%')))
    ++keep;
  return hash + name.substr(keep);
}

std::string TTableLock::LockFileName(const std::string& tablePath) {
  const std::string state = StateFolder();
  if (state.empty()) return std::string();
  return state + "/locks/" + EscapedName(CanonicalPath(tablePath)) + ".lock";
}

TTableLock::TResult TTableLock::Acquire(const std::string& tablePath) {
  Release();
  const std::string table = CanonicalPath(tablePath);
  const std::string state = StateFolder();
  if (table.empty() || state.empty() || !MakeFolder(state + "/locks")) return TResult::Unavailable;
  const std::string file = state + "/locks/" + EscapedName(table) + ".lock";
  // A holder removes the file as it lets go: the file opened here may be gone
  // from the folder by the time it is locked, and then it locks nothing.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return TResult::Unavailable;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      // A holder letting go (or a stale lock being cleared) locks the file
      // only while removing it: once it is gone from the folder, try again.
      const bool dying = error == EWOULDBLOCK && WaitGone(file, fd);
      close(fd);
      if (dying) continue;
      return error == EWOULDBLOCK ? TResult::HeldByOther : TResult::Unavailable;
    }
    if (NamesFile(file, fd)) {
      fd_ = fd;
      table_ = table;
      file_ = file;
      return TResult::Acquired;
    }
    close(fd);
  }
  return TResult::Unavailable;
}

void TTableLock::Release() {
  if (fd_ < 0) return;
  unlink(file_.c_str());
  close(fd_);
  fd_ = -1;
  table_.clear();
  file_.clear();
}

bool TTableLock::IsLocked(const std::string& tablePath) {
  const std::string file = LockFileName(tablePath);
  if (file.empty()) return false;
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // A shared probe: two probes never take each other for a holder.
  const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return held;
}

void TTableLock::RemoveStale() {
  const std::string state = StateFolder();
  if (state.empty()) return;
  const std::string folder = state + "/locks";
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() <= 5 || name.compare(name.size() - 5, 5, ".lock") != 0) continue;
    // Removed while locked here: whoever opened it meanwhile finds it gone
    // from the folder once locked, and makes another (Acquire).
    const std::string file = folder + "/" + name;
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    // The file opened may have been let go and replaced by a new holder's
    // since: only the one the name still stands for is removed.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && NamesFile(file, fd)) unlink(file.c_str());
    close(fd);
  }
  closedir(dir);
}
