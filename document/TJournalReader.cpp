#include "TJournalReader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TJournalEntry.h"

bool TJournalReader::IsChange(uint8_t op) {
  switch (static_cast<TJournalOp>(op)) {
    case TJournalOp::Fields:
    case TJournalOp::Table:
    case TJournalOp::Records:
    case TJournalOp::Memorise:
      return false;
    default:
      return true;
  }
}

bool TJournalReader::Open(const std::string& path) {
  Close();
  unreadable_ = false;
  const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &st) != 0) {
    close(fd);
    return false;
  }
  if (st.st_size <= 0) {
    unreadable_ = true;
    close(fd);
    return false;
  }
  void* map = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  if (map == MAP_FAILED) {
    close(fd);
    return false;
  }
  fd_ = fd;
  path_ = path;
  data_ = static_cast<const char*>(map);
  size_ = st.st_size;
  size_t used = 0;
  if (!TJournalHeader::Decode(std::string_view(data_, static_cast<size_t>(size_)), header_, used)) {
    unreadable_ = true;
    Close();
    return false;
  }
  first_ = validEnd_ = static_cast<int64_t>(used);
  // The intact part ends after the last entry that closes its group.
  bool inGroup = false;
  bool groupChanges = false;
  Walk(first_, [&](std::string_view payload, int64_t end) {
    const TJournalEntry::TReader r(payload);
    if (!inGroup) groupChanges = IsChange(static_cast<uint8_t>(r.Op()));
    inGroup = r.Continued();
    if (inGroup) return true;
    validEnd_ = end;
    if (groupChanges) ++changes_;
    return true;
  });
  return true;
}

int64_t TJournalReader::Walk(int64_t from,
                             const std::function<bool(std::string_view, int64_t)>& f) const {
  int64_t at = from;
  while (size_ - at >= 8) {
    const uint32_t n = TJournalEntry::ReadInt(data_ + at);
    // An entry holds at least its operation and flags.
    if (n < 2 || static_cast<int64_t>(n) > size_ - at - 8) break;
    const std::string_view framed(data_ + at, 4 + n);
    if (TJournalEntry::Checksum(framed) != TJournalEntry::ReadInt(data_ + at + 4 + n)) break;
    at += 8 + n;
    if (!f(framed.substr(4), at)) break;
  }
  return at;
}

void TJournalReader::ForEach(
    const std::function<bool(std::string_view payload, int64_t end)>& f) const {
  if (!data_) return;
  Walk(first_,
       [&](std::string_view payload, int64_t end) { return end <= validEnd_ && f(payload, end); });
}

int TJournalReader::TakeFile() {
  if (data_) munmap(const_cast<char*>(data_), static_cast<size_t>(size_));
  data_ = nullptr;
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void TJournalReader::Remove() {
  if (fd_ >= 0) unlink(path_.c_str());
  Close();
}

void TJournalReader::Close() {
  if (data_) munmap(const_cast<char*>(data_), static_cast<size_t>(size_));
  data_ = nullptr;
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}
