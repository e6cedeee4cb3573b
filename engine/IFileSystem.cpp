#include "IFileSystem.h"

#include "TPosixFileSystem.h"

namespace {
IFileSystem* installed = nullptr;
}

IFileSystem::~IFileSystem() = default;

IFileSystem& FileSystem() {
  static TPosixFileSystem real;
  return installed ? *installed : real;
}

IFileSystem* SetFileSystem(IFileSystem* fileSystem) {
  IFileSystem* previous = installed;
  installed = fileSystem;
  return previous;
}
