#include "TFileReader.h"

#include <cerrno>

bool TFileReader::Open(const std::string& path) {
  Close();
  failure_ = TFailure::None;
  fd_ = fs_.OpenRead(path);
  if (fd_ >= 0) return true;
  Fail(errno);
  return false;
}

void TFileReader::Close() {
  if (fd_ >= 0) fs_.Close(fd_);
  fd_ = -1;
}

long TFileReader::Fail(int error) {
  if (failure_ == TFailure::None) failure_ = ReadFailure(error);
  return -1;
}

long TFileReader::Read(void* data, size_t size) {
  char* p = static_cast<char*>(data);
  size_t got = 0;
  while (got < size) {
    const long n = fs_.Read(fd_, p + got, size - got);
    if (n < 0) return Fail(errno);
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return static_cast<long>(got);
}

long TFileReader::ReadAt(long long offset, void* data, size_t size) {
  char* p = static_cast<char*>(data);
  size_t got = 0;
  while (got < size) {
    const long n = fs_.ReadAt(fd_, offset + static_cast<long long>(got), p + got, size - got);
    if (n < 0) return Fail(errno);
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return static_cast<long>(got);
}

long long TFileReader::Size() {
  const long long size = fs_.Size(fd_);
  if (size < 0) Fail(errno);
  return size;
}
