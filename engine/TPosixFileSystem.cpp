#include "TPosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int TPosixFileSystem::Create(const std::string& path, unsigned mode) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      static_cast<mode_t>(mode));
  if (fd < 0) return -1;
  // The umask applied to open(); the file gets the permissions the target has
  // or would have.
  fchmod(fd, static_cast<mode_t>(mode));
  return fd;
}

long TPosixFileSystem::Write(int fd, const void* data, size_t size) {
  for (;;) {
    const ssize_t n = write(fd, data, size);
    if (n >= 0 || errno != EINTR) return static_cast<long>(n);
  }
}

bool TPosixFileSystem::Sync(int fd) {
  return fsync(fd) == 0;
}

bool TPosixFileSystem::Close(int fd) {
  return close(fd) == 0;
}

bool TPosixFileSystem::Rename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool TPosixFileSystem::Remove(const std::string& path) {
  return unlink(path.c_str()) == 0;
}

bool TPosixFileSystem::SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;
  bool ok = fsync(fd) == 0 || errno == EINVAL;
  const int error = errno;
  close(fd);
  errno = error;
  return ok;
}

int TPosixFileSystem::OpenRead(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}

long TPosixFileSystem::Read(int fd, void* data, size_t size) {
  for (;;) {
    const ssize_t n = read(fd, data, size);
    if (n >= 0 || errno != EINTR) return static_cast<long>(n);
  }
}

long TPosixFileSystem::ReadAt(int fd, long long offset, void* data, size_t size) {
  for (;;) {
    const ssize_t n = pread(fd, data, size, static_cast<off_t>(offset));
    if (n >= 0 || errno != EINTR) return static_cast<long>(n);
  }
}

long long TPosixFileSystem::Size(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0) return -1;
  return static_cast<long long>(st.st_size);
}
