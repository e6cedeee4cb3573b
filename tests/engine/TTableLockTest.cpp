// One writer per table file: a second holder is refused, whoever names the
// file (a link, a relative path); the lock goes with its holder, also when the
// holder is a process killed with SIGKILL; nothing is left in the state folder.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "TTableLock.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

using TResult = TTableLock::TResult;

class TableLockTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteBytes(table, "QOR"); }
  TempDir dir;
  const std::string table = dir.File("clients.qor");
};

TEST_F(TableLockTest, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
  TTableLock first, second;
  ASSERT_EQ(first.Acquire(table), TResult::Acquired);
  EXPECT_TRUE(TTableLock::IsLocked(table));
  EXPECT_EQ(second.Acquire(table), TResult::HeldByOther);
  EXPECT_FALSE(second.Held());

  const std::string file = TTableLock::LockFileName(table);
  EXPECT_TRUE(fs::exists(file));
  first.Release();
  EXPECT_FALSE(fs::exists(file));  // nothing left behind
  EXPECT_FALSE(TTableLock::IsLocked(table));
  EXPECT_EQ(second.Acquire(table), TResult::Acquired);

  // A lock moved to another owner is still one lock.
  TTableLock moved = std::move(second);
  EXPECT_TRUE(moved.Held());
  EXPECT_EQ(first.Acquire(table), TResult::HeldByOther);
}

TEST_F(TableLockTest, EveryNameOfOneFileIsOneLock) {
  fs::create_symlink(table, dir.File("lien.qor"));
  const fs::path before = fs::current_path();
  fs::current_path(dir.Path());
  TTableLock byPath, byLink, byRelative;
  EXPECT_EQ(byPath.Acquire(table), TResult::Acquired);
  EXPECT_EQ(byLink.Acquire(dir.File("lien.qor")), TResult::HeldByOther);
  EXPECT_EQ(byRelative.Acquire("./clients.qor"), TResult::HeldByOther);
  // A file not yet there (a name to save as) is named by its folder's path.
  EXPECT_EQ(TTableLock::CanonicalPath("nouveau.qor"),
            fs::canonical(dir.Path()).string() + "/nouveau.qor");
  fs::current_path(before);
}

TEST_F(TableLockTest, TheLockOfAProcessKilledWithSigkillIsFreeAtOnce) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    TTableLock lock;
    const char answer = lock.Acquire(table) == TResult::Acquired ? 'y' : 'n';
    if (write(ready[1], &answer, 1) != 1) _exit(2);
    for (;;) pause();
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  ASSERT_EQ(answer, 'y');
  TTableLock mine;
  EXPECT_EQ(mine.Acquire(table), TResult::HeldByOther);
  EXPECT_TRUE(TTableLock::IsLocked(table));

  TTableLock::RemoveStale();  // a held lock is no stale one
  EXPECT_TRUE(fs::exists(TTableLock::LockFileName(table)));

  kill(holder, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(holder, &status, 0), holder);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_FALSE(TTableLock::IsLocked(table));
  // What the dead holder left is cleared at the next start.
  EXPECT_TRUE(fs::exists(TTableLock::LockFileName(table)));
  TTableLock::RemoveStale();
  EXPECT_FALSE(fs::exists(TTableLock::LockFileName(table)));
  EXPECT_EQ(mine.Acquire(table), TResult::Acquired);
  close(ready[0]);
  close(ready[1]);
}

TEST_F(TableLockTest, TheStateFolderFollowsXdgStateHomeOrTheHomeFolder) {
  const std::string saved = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_STATE_HOME", "/var/state", 1);
  EXPECT_EQ(TTableLock::StateFolder(), "/var/state/vekbase");
  // Not an absolute path: ignored, as the XDG base directory rules say.
  setenv("XDG_STATE_HOME", "relative", 1);
  setenv("HOME", "/home/anna", 1);
  EXPECT_EQ(TTableLock::StateFolder(), "/home/anna/.local/state/vekbase");
  unsetenv("HOME");
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(TTableLock::StateFolder(), "");
  TTableLock none;
  EXPECT_EQ(none.Acquire(table), TResult::Unavailable);
  EXPECT_FALSE(TTableLock::IsLocked(table));
  setenv("XDG_STATE_HOME", saved.c_str(), 1);
  setenv("HOME", home.c_str(), 1);
}

TEST_F(TableLockTest, NamesSayThePathAndLongPathsStayWithinTheNameLimit) {
  EXPECT_EQ(TTableLock::EscapedName("/home/anna/100%/clients.qor"),
            "%2Fhome%2Fanna%2F100%25%2Fclients.qor");
  std::string deep = "/d";
  for (int i = 0; i < 40; ++i) deep += "/dossier" + std::to_string(i);
  const std::string a = TTableLock::EscapedName(deep + "/clients.qor");
  const std::string b = TTableLock::EscapedName("/e" + deep.substr(2) + "/clients.qor");
  EXPECT_LE(a.size(), 200u);
  EXPECT_NE(a, b);
  EXPECT_EQ(a.substr(a.size() - 14), "%2Fclients.qor");
  // Long paths lock apart too.
  TTableLock one, two;
  EXPECT_EQ(one.Acquire(deep + "/a.qor"), TResult::Acquired);
  EXPECT_EQ(two.Acquire(deep + "/b.qor"), TResult::Acquired);
}

}  // namespace
