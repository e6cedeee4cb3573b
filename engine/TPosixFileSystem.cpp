#include "TPosixFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

int TPosixFileSystem::OpenTemporary(std::string& pattern, unsigned mode) {
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return -1;
  pattern = name.data();
  // mkstemp makes the file private; it gets the permissions the target has
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
