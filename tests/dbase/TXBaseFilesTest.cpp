// The reader's files: names and extensions, read-only opening, closing on
// every path out, and tables cut short or missing their memo file.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "DbfBytes.h"
#include "TXBase.h"

using dbftest::DbfLayout;
using dbftest::DbtLayout;

namespace {

// Access modes (O_RDONLY, O_RDWR...) of this process's descriptors on path.
std::vector<int> OpenModes(const std::string& path) {
  std::vector<int> modes;
  std::string target = std::filesystem::canonical(path).string();
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    if (std::filesystem::read_symlink(entry.path(), ec).string() != target) continue;
    std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
    std::string key, value;
    while (info >> key >> value)
      if (key == "flags:") modes.push_back(std::stoi(value, nullptr, 8) & O_ACCMODE);
  }
  return modes;
}

class TXBaseFilesTest : public dbftest::TempDirTest {
 protected:
  static DbfLayout MemoTable() {
    DbfLayout s;
    s.version = 131;
    s.fields = {{"NOM", 'C', 6}, {"NOTE", 'M', 10}};
    s.rows = {{{"Dupont", "         1"}}, {{"Durand", ""}}};
    return s;
  }
  static std::string MemoFile() {
    DbtLayout m;
    m.Put(1, DbtLayout::IIIText("Bonjour"));
    return m.Bytes();
  }
  // Why the reader refuses to open (None when it opens).
  TFailure OpenError(TXBase& xb) {
    const TStatus opened = xb.SetActive(true);
    EXPECT_EQ(xb.Active(), opened.ok());
    return opened.Cause();
  }
};

TEST_F(TXBaseFilesTest, ReadOnlyFilesOpenReadOnly) {
  std::string dbf = Write("ro.dbf", MemoTable().Bytes());
  std::string dbt = Write("ro.dbt", MemoFile());
  chmod(dbf.c_str(), 0444);
  chmod(dbt.c_str(), 0444);
  TXBase xb;
  xb.SetFilename(dbf);
  xb.SetActive(true);
  ASSERT_TRUE(xb.Active());
  EXPECT_EQ(dbftest::FieldText(xb, 2), "Bonjour");
  // Also as root, who could write them anyway: neither file is open for writing.
  EXPECT_EQ(OpenModes(dbf), std::vector<int>{O_RDONLY});
  EXPECT_EQ(OpenModes(dbt), std::vector<int>{O_RDONLY});
}

TEST_F(TXBaseFilesTest, FilesAreClosedOnCloseDestroyAndFailedOpen) {
  std::string dbf = Write("c.dbf", MemoTable().Bytes());
  std::string dbt = Write("c.dbt", MemoFile());
  auto xb = std::make_unique<TXBase>();
  xb->SetFilename(dbf);
  xb->SetActive(true);
  EXPECT_EQ(OpenModes(dbt).size(), 1u);
  xb->SetActive(false);
  EXPECT_TRUE(OpenModes(dbf).empty());
  EXPECT_TRUE(OpenModes(dbt).empty());
  EXPECT_EQ(xb->RecordCount(), 0);

  xb->SetActive(true);
  xb.reset();
  EXPECT_TRUE(OpenModes(dbf).empty());
  EXPECT_TRUE(OpenModes(dbt).empty());

  DbfLayout bad = MemoTable();
  bad.recordLength = 5;
  Write("c.dbf", bad.Bytes());
  TXBase failing;
  failing.SetFilename(dbf);
  EXPECT_EQ(OpenError(failing), TFailure::DbfHeaderUnreadable);
  EXPECT_TRUE(OpenModes(dbf).empty());
  EXPECT_EQ(failing.FieldCount(), 0);
}

TEST_F(TXBaseFilesTest, MissingTableLeavesTheReaderInactive) {
  TXBase xb;
  EXPECT_EQ(xb.Filename(), ".dbf");
  xb.SetFilename(dir_ + "/absent.dbf");
  EXPECT_EQ(OpenError(xb), TFailure::NotFound);
  std::filesystem::create_directory(dir_ + "/dir.dbf");
  xb.SetFilename(dir_ + "/dir.dbf");
  EXPECT_EQ(OpenError(xb), TFailure::IsFolder);
}

TEST_F(TXBaseFilesTest, NameKeepsItsFolderAndDropsOnlyItsExtension) {
  std::string dbf = Write("my.data/clients.dbf", MemoTable().Bytes());
  Write("my.data/clients.dbt", MemoFile());
  TXBase xb;
  xb.SetFilename(dir_ + "/my.data/clients.txt");
  EXPECT_EQ(xb.Filename(), dbf);
  xb.SetFilename(dir_ + "/my.data/clients");
  EXPECT_EQ(xb.Filename(), dbf);
  xb.SetActive(true);
  ASSERT_TRUE(xb.Active());
  EXPECT_EQ(dbftest::FieldText(xb, 2), "Bonjour");

  // Renaming while open keeps the open file; naming a missing file closes.
  xb.SetFilename(dbf);
  EXPECT_TRUE(xb.Active());
  xb.SetFilename(dir_ + "/my.data/other.dbf");
  EXPECT_FALSE(xb.Active());
}

TEST_F(TXBaseFilesTest, ExtensionLetterCaseIsKept) {
  std::string upper = Write("UP.DBF", MemoTable().Bytes());
  Write("UP.DBT", MemoFile());
  std::string mixed = Write("Mix.Dbf", MemoTable().Bytes());
  Write("Mix.dbt", MemoFile());
  for (const std::string& path : {upper, mixed}) {
    TXBase xb;
    xb.SetFilename(path);
    EXPECT_EQ(xb.Filename(), path);
    xb.SetActive(true);
    ASSERT_TRUE(xb.Active()) << path;
    EXPECT_EQ(dbftest::FieldText(xb, 2), "Bonjour") << path;
  }
}

TEST_F(TXBaseFilesTest, MissingMemoFileFailsTheOpen) {
  std::string dbf = Write("nomemo.dbf", MemoTable().Bytes());
  TXBase xb;
  xb.SetFilename(dbf);
  EXPECT_EQ(OpenError(xb), TFailure::DbfMemoFileUnreadable);
  EXPECT_TRUE(OpenModes(dbf).empty());
}

TEST_F(TXBaseFilesTest, TableCutShort) {
  std::string full = MemoTable().Bytes();
  TXBase xb;
  xb.SetFilename(Write("cut.dbf", ""));
  Write("cut.dbt", MemoFile());

  for (size_t size : {0, 20, 60, 80, 97}) {  // header, descriptors, record 1
    Write("cut.dbf", full.substr(0, size));
    EXPECT_EQ(OpenError(xb), TFailure::DbfHeaderUnreadable) << size;
  }

  Write("cut.dbf", full.substr(0, 97 + 17 + 8));  // record 2 is cut
  xb.SetActive(true);
  ASSERT_TRUE(xb.Active());
  EXPECT_EQ(xb.RecordCount(), 2);
  EXPECT_EQ(xb.Next().Cause(), TFailure::DbfRecordUnreadable);
  EXPECT_EQ(xb.Recno(), 1);  // still on the record it had
  EXPECT_EQ(dbftest::FieldText(xb, 1), "Dupont");

  DbfLayout counted = MemoTable();
  counted.recordCount = 0xFFFFFFFF;  // more records than the file holds
  Write("cut.dbf", counted.Bytes());
  xb.SetActive(false);
  xb.SetActive(true);
  EXPECT_EQ(xb.RecordCount(), 4294967295);
  xb.Next();
  EXPECT_EQ(xb.Next().Cause(), TFailure::DbfRecordUnreadable);
}

}  // namespace
