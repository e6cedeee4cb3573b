#include "TRecoveryFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>

#include "TJournalReader.h"
#include "TTableLock.h"

namespace {

const char kSuffix[] = ".journal";
const char kMaking[] = ".journal.new";

bool EndsWith(const std::string& s, const char* end) {
  const std::string e(end);
  return s.size() >= e.size() && s.compare(s.size() - e.size(), e.size(), e) == 0;
}

// A ".new" file is being made by a live writer while it is locked.
void RemoveIfAbandoned(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) unlink(path.c_str());
  close(fd);
}

}  // namespace

std::string TRecoveryFolder::Path() {
  const std::string state = TTableLock::StateFolder();
  return state.empty() ? state : state + "/recovery";
}

std::string TRecoveryFolder::NewJournalPath(const std::string& tableOrTitle, bool isFile) {
  const std::string folder = Path();
  if (folder.empty()) return folder;
  static std::atomic<int> sequence{0};
  const long long now = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
  char unique[64];
  std::snprintf(unique, sizeof unique, ".%d-%d-%llx", static_cast<int>(getpid()), ++sequence, now);
  const std::string name =
      TTableLock::EscapedName(isFile ? TTableLock::CanonicalPath(tableOrTitle) : tableOrTitle);
  return folder + "/" + name + unique + kSuffix;
}

std::vector<std::unique_ptr<TJournalReader>> TRecoveryFolder::Orphans(
    const std::string& tablePath) {
  std::vector<std::unique_ptr<TJournalReader>> found;
  const std::string folder = Path();
  DIR* dir = folder.empty() ? nullptr : opendir(folder.c_str());
  if (!dir) return found;
  const std::string table = tablePath.empty() ? tablePath : TTableLock::CanonicalPath(tablePath);
  const std::string prefix = table.empty() ? table : TTableLock::EscapedName(table) + ".";
  std::vector<std::pair<int64_t, std::string>> candidates;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (EndsWith(name, kMaking)) {
      RemoveIfAbandoned(folder + "/" + name);
      continue;
    }
    if (!EndsWith(name, kSuffix) || name.compare(0, prefix.size(), prefix) != 0) continue;
    struct stat st;
    const std::string path = folder + "/" + name;
    if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
      candidates.emplace_back(
          static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, path);
  }
  closedir(dir);
  std::sort(candidates.begin(), candidates.end());
  for (const auto& candidate : candidates) {
    auto reader = std::make_unique<TJournalReader>();
    if (!reader->Open(candidate.second)) {
      if (reader->Unreadable()) RemoveIfAbandoned(candidate.second);
      continue;
    }
    const TJournalHeader& header = reader->Header();
    if (!table.empty() && (header.baseline == TJournalHeader::NewTable ||
                           TTableLock::CanonicalPath(header.path) != table))
      continue;
    found.push_back(std::move(reader));
  }
  return found;
}

void TRecoveryFolder::RemoveOrphans(const std::string& tablePath) {
  for (const auto& orphan : Orphans(tablePath)) orphan->Remove();
}
