// A save that fails at any step of writing - the temporary file refused, a
// write error, a full disk, a failed flush, close or rename - leaves the
// previous file as it was and no temporary file beside it, and the table says
// why in ErrorCode, ErrorMessage and ErrorCause. Every format goes the same
// way. The temporary file is named after the target, so a save cut short
// leaves one file that the next save replaces.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

void Fill(TQor2& table) {
  table.AddField("NOM");
  table.AddField("PRIX");
  for (int i = 0; i < 50; ++i) {
    table.Append();
    table.SetFieldValue(1, "client " + std::to_string(i));
    table.SetFieldValue(2, std::to_string(i * 3));
  }
}

TEST(FailedSave, LeavesThePreviousFileAndNoTemporaryFile) {
  TQor2 table;
  Fill(table);
  const std::string cannotCreate = "1-Unable to open the file for writing";
  const std::string writeError =
      "Erreur d'\xE9"
      "criture du fichier";
  const struct {
    TFault fault;
    size_t after;
    TFailure cause;
  } faults[] = {{TFault::RefuseTemporary, 0, TFailure::FolderRefuses},
                {TFault::WriteError, 0, TFailure::WriteError},
                {TFault::WriteError, 100, TFailure::WriteError},
                {TFault::DiskFull, 0, TFailure::DiskFull},
                {TFault::DiskFull, 100, TFailure::DiskFull},
                {TFault::FailSync, 0, TFailure::WriteError},
                {TFault::FailClose, 0, TFailure::WriteError},
                {TFault::FailRename, 0, TFailure::WriteError}};
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
      EXPECT_EQ(table.ErrorCause, f.cause);
      EXPECT_EQ(ReadBytes(path), "previous");
      EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{name});
      EXPECT_EQ(fileSystem.Temporaries(),
                f.fault == TFault::RefuseTemporary
                    ? std::vector<std::string>{}
                    : std::vector<std::string>{dir.File(std::string(".") + name + ".tmp")});

      // The same save with nothing failing replaces the file, and flushes the
      // folder after the rename.
      fileSystem.Arm(TFault::None);
      EXPECT_TRUE(table.SaveToFile(path));
      EXPECT_EQ(table.ErrorCode, 0);
      EXPECT_EQ(table.ErrorCause, TFailure::None);
      EXPECT_NE(ReadBytes(path), "previous");
      EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{name});
      EXPECT_EQ(fileSystem.FolderSyncs(), 1);
    }
  }
}

// The rename is done when the folder's flush fails: the new file is there, but
// might not survive a power cut, so the save says it failed.
TEST(FailedSave, AFailedFolderFlushIsReported) {
  TQor2 table;
  Fill(table);
  TempDir dir;
  const std::string path = dir.File("t.qor");
  WriteBytes(path, "previous");
  TFaultyFileSystem fileSystem;
  fileSystem.Arm(TFault::FailFolderSync);
  EXPECT_FALSE(table.SaveToFile(path));
  EXPECT_EQ(table.ErrorCause, TFailure::WriteError);
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"t.qor"});
  TQor2 back;
  EXPECT_TRUE(back.LoadFromFile(path));
  EXPECT_EQ(back.RecordCount(), 50);
}

// A crash in the middle of a save leaves ".t.qor.tmp" behind: the next save
// replaces it, without writing through it when it is a link.
TEST(FailedSave, TheLeftoverOfACrashIsReplacedByTheNextSave) {
  TQor2 table;
  Fill(table);
  TempDir dir;
  const std::string path = dir.File("t.qor");
  WriteBytes(path, "previous");
  WriteBytes(dir.File(".t.qor.tmp"), "half a table");
  ASSERT_TRUE(table.SaveToFile(path));
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"t.qor"});

  WriteBytes(dir.File("other"), "someone else's");
  ASSERT_EQ(symlink(dir.File("other").c_str(), dir.File(".t.qor.tmp").c_str()), 0);
  ASSERT_TRUE(table.SaveToFile(path));
  EXPECT_EQ(ReadBytes(dir.File("other")), "someone else's");
  EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"other", "t.qor"}));
}

// Why a file cannot be written, or read when it is not a table file (the
// document window's test shows the reasons a table file gives).
TEST(FailedFile, TheCauseIsKnown) {
  TempDir dir;
  TQor2 table;
  Fill(table);
  ASSERT_TRUE(table.SaveToFile(dir.File("t.qor")));
  std::filesystem::create_directory(dir.File("folder.qor"));
  const auto saveCause = [&](const std::string& name) {
    EXPECT_FALSE(table.SaveToFile(dir.File(name))) << name;
    return table.ErrorCause;
  };
  EXPECT_EQ(saveCause("folder.qor"), TFailure::IsFolder);
  EXPECT_EQ(saveCause("none/t.qor"), TFailure::FolderNotFound);
  TQor2 text;
  EXPECT_FALSE(text.LoadFromFile(dir.File("none.csv")));
  EXPECT_EQ(text.ErrorCause, TFailure::NotFound);
  if (geteuid() != 0) {  // the super-user may read and write anything
    chmod(dir.File("t.qor").c_str(), 0);
    EXPECT_FALSE(text.LoadFromFile(dir.File("t.qor")));
    EXPECT_EQ(text.ErrorCause, TFailure::PermissionDenied);
    EXPECT_EQ(saveCause("t.qor"), TFailure::PermissionDenied);
    std::filesystem::create_directory(dir.File("closed"));
    chmod(dir.File("closed").c_str(), 0555);
    EXPECT_EQ(saveCause("closed/t.qor"), TFailure::FolderRefuses);
  }
}

}  // namespace
