// A save that fails at any step of writing - the temporary file refused, a
// write error, a full disk, a failed flush, close or rename - leaves the
// previous file as it was and no temporary file beside it, and the table says
// why in ErrorCode and ErrorMessage. Every format goes the same way.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "TFaultyFileSystem.h"
#include "TQor2.h"
#include "TestFiles.h"

namespace {

using TFault = TFaultyFileSystem::TFault;

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FailedSave, LeavesThePreviousFileAndNoTemporaryFile) {
  TQor2 table;
  table.AddField("NOM");
  table.AddField("PRIX");
  for (int i = 0; i < 50; ++i) {
    table.Append();
    table.SetFieldValue(1, "client " + std::to_string(i));
    table.SetFieldValue(2, std::to_string(i * 3));
  }
  const std::string cannotCreate = "1-Unable to open the file for writing";
  const std::string writeError =
      "Erreur d'\xE9"
      "criture du fichier";
  const struct {
    TFault fault;
    size_t after;
  } faults[] = {{TFault::RefuseTemporary, 0}, {TFault::WriteError, 0}, {TFault::WriteError, 100},
                {TFault::DiskFull, 0},        {TFault::DiskFull, 100}, {TFault::FailSync, 0},
                {TFault::FailClose, 0},       {TFault::FailRename, 0}};
  for (const char* name : {"t.qor", "t.txt", "t.csv", "t.xls", "t.xml"}) {
    for (const auto& f : faults) {
      SCOPED_TRACE(std::string(name) + ", " + FaultName(f.fault) + " after " +
                   std::to_string(f.after));
      TempDir dir;
      const std::string path = dir.File(name);
      WriteBytes(path, "previous");
      TFaultyFileSystem fileSystem;
      fileSystem.Arm(f.fault, f.after);

      EXPECT_FALSE(table.SaveToFile(path));
      EXPECT_EQ(table.ErrorCode, 3);
      EXPECT_EQ(table.ErrorMessage, f.fault == TFault::RefuseTemporary ? cannotCreate : writeError);
      EXPECT_EQ(ReadBytes(path), "previous");
      EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{name});
      EXPECT_EQ(fileSystem.Temporaries().size(), f.fault == TFault::RefuseTemporary ? 0u : 1u);

      // The same save with nothing failing replaces the file.
      fileSystem.Arm(TFault::None);
      EXPECT_TRUE(table.SaveToFile(path));
      EXPECT_EQ(table.ErrorCode, 0);
      EXPECT_NE(ReadBytes(path), "previous");
      EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{name});
    }
  }
}

}  // namespace
