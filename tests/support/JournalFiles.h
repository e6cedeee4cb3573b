#pragma once
// Recovery journals for tests: what a program that dies leaves behind, made
// without a process to kill, and the journals the state folder holds.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TDocument.h"
#include "TRecoveryFolder.h"

// The document's journal as a program that died after its last change
// leaves it: flushed, and held by nobody (a copy, made while the document
// keeps its own, which goes with it). Returns the copy's path.
inline std::string LeaveOrphan(TDocument& doc) {
  EXPECT_TRUE(doc.FlushJournal());
  const std::string own = doc.JournalPath();
  EXPECT_FALSE(own.empty());
  const std::string copy = own.substr(0, own.size() - 8) + "-left.journal";
  std::filesystem::copy_file(own, copy, std::filesystem::copy_options::overwrite_existing);
  return copy;
}

// The journal files in the recovery folder, by name.
inline std::vector<std::string> JournalFiles() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(TRecoveryFolder::Path(), ec))
    names.push_back(entry.path().filename().string());
  return names;
}
