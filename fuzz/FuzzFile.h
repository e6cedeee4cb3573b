#pragma once
// Writes fuzz input to a private temporary file for the loaders, which read by
// file name, and removes it afterwards.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

class FuzzFile {
 public:
  FuzzFile(const uint8_t* data, size_t size, const char* ending) {
    std::string tmpl = std::string("/tmp/vekfuzz-XXXXXX") + ending;
    int fd = mkstemps(tmpl.data(), static_cast<int>(std::string(ending).size()));
    if (fd < 0) std::abort();
    path_ = tmpl;
    size_t done = 0;
    while (done < size) {
      ssize_t n = write(fd, data + done, size - done);
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
    close(fd);
  }
  ~FuzzFile() { unlink(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
