#pragma once
// ReadWholeFile: the bytes of a file, read through the file-system seam that
// the caller hands over (IFileSystem), for the small text files the windows
// load whole (a form layout, the notepad). The size the file reports only
// reserves memory, never more than it can be trusted with; the bytes are read
// until the end. On failure `bytes` is left as it was and the status gives the
// cause (ReadFailure of errno: NotFound for a missing file) with the path as
// detail.

#include <string>

#include "IFileSystem.h"
#include "TStatus.h"

TStatus ReadWholeFile(IFileSystem& fileSystem, const std::string& path, std::string& bytes);
