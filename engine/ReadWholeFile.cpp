#include "ReadWholeFile.h"

#include <algorithm>
#include <cerrno>

TStatus ReadWholeFile(IFileSystem& fileSystem, const std::string& path, std::string& bytes) {
  const int fd = fileSystem.OpenRead(path);
  if (fd < 0) return TStatus(ReadFailure(errno), path);
  std::string read;
  // A hint only: the file may have grown or shrunk since, or lie about its size.
  const long long size = fileSystem.Size(fd);
  if (size > 0) read.reserve(static_cast<size_t>(std::min<long long>(size, 1 << 24)));
  char buffer[1 << 16];
  for (;;) {
    const long n = fileSystem.Read(fd, buffer, sizeof buffer);
    if (n < 0) {
      const int error = errno;
      fileSystem.Close(fd);
      return TStatus(ReadFailure(error), path);
    }
    if (n == 0) break;
    read.append(buffer, static_cast<size_t>(n));
  }
  fileSystem.Close(fd);
  bytes = std::move(read);
  return TStatus();
}
