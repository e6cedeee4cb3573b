#include "TRecoveryJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "TJournalEntry.h"
#include "TTableLock.h"

namespace {

const char kMagic[8] = {'V', 'E', 'K', 'J', 'R', 'N', 'L', 1};

void PutLong(std::string& out, int64_t v) {
  TJournalEntry::PutInt(out, static_cast<uint32_t>(static_cast<uint64_t>(v)));
  TJournalEntry::PutInt(out, static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32));
}

bool GetLong(TJournalEntry::TReader& r, int64_t& v) {
  int32_t lo = 0, hi = 0;
  if (!r.Int(lo) || !r.Int(hi)) return false;
  v = static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(lo)) |
                           static_cast<uint64_t>(static_cast<uint32_t>(hi)) << 32);
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

// --- Header ---

std::string TJournalHeader::Encode() const {
  // The header reads as an entry: operation byte and flags first.
  std::string body;
  body.push_back(0);
  body.push_back(0);
  body.push_back(static_cast<char>(baseline));
  TJournalEntry::PutText(body, path);
  PutLong(body, size);
  PutLong(body, seconds);
  PutLong(body, nanoseconds);
  TJournalEntry::PutInt(body, static_cast<uint32_t>(pid));
  std::string out(kMagic, sizeof kMagic);
  TJournalEntry::Frame(out, body);
  return out;
}

bool TJournalHeader::Decode(std::string_view bytes, TJournalHeader& header, size_t& used) {
  if (bytes.size() < sizeof kMagic + 8 ||
      bytes.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic))
    return false;
  const std::string_view frame = bytes.substr(sizeof kMagic);
  const uint32_t n = TJournalEntry::ReadInt(frame.data());
  if (n > frame.size() - 8) return false;
  if (TJournalEntry::Checksum(frame.substr(0, 4 + n)) !=
      TJournalEntry::ReadInt(frame.data() + 4 + n))
    return false;
  TJournalEntry::TReader r(frame.substr(4, n));
  uint8_t baseline = 0;
  int32_t pid = 0;
  if (!r.Byte(baseline) || baseline < File || baseline > Snapshot || !r.Text(header.path) ||
      !GetLong(r, header.size) || !GetLong(r, header.seconds) || !GetLong(r, header.nanoseconds) ||
      !r.Int(pid))
    return false;
  header.baseline = static_cast<TBaseline>(baseline);
  header.pid = pid;
  used = sizeof kMagic + 8 + n;
  return true;
}

bool TJournalHeader::Stamp(const std::string& path, int64_t& size, int64_t& seconds,
                           int64_t& nanoseconds) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return false;
  size = st.st_size;
  seconds = st.st_mtim.tv_sec;
  nanoseconds = st.st_mtim.tv_nsec;
  return true;
}

bool TJournalHeader::FileChanged() const {
  int64_t s = 0, sec = 0, nsec = 0;
  if (!Stamp(path, s, sec, nsec)) return true;
  return s != size || sec != seconds || nsec != nanoseconds;
}

// --- Journal ---

TRecoveryJournal::TSettings& TRecoveryJournal::Settings() {
  static TSettings settings;
  return settings;
}

TRecoveryJournal::TRecoveryJournal(std::string path, const TJournalHeader& header)
    : path_(std::move(path)), header_(header.Encode()), delay_(Settings().flushDelayMs) {
  writer_ = std::thread([this] { Run(); });
}

TRecoveryJournal::TRecoveryJournal(std::string path, int fd, int64_t validEnd)
    : path_(std::move(path)), delay_(Settings().flushDelayMs), fd_(fd) {
  // What follows the last complete entry is a torn write: new entries go in its place.
  if (ftruncate(fd_, validEnd) != 0 || lseek(fd_, validEnd, SEEK_SET) != validEnd) failed_ = true;
  writer_ = std::thread([this] { Run(); });
}

TRecoveryJournal::~TRecoveryJournal() {
  Discard();
}

void TRecoveryJournal::Append(std::string framed, bool urgent) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stop_ || failed_) return;
  if (queue_.empty()) oldest_ = std::chrono::steady_clock::now();
  queue_.push_back({std::move(framed), nullptr});
  ++appended_;
  urgent_ = urgent_ || urgent;
  wake_.notify_one();
}

void TRecoveryJournal::AppendLater(TProducer producer) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stop_ || failed_) return;
  if (queue_.empty()) oldest_ = std::chrono::steady_clock::now();
  queue_.push_back({std::string(), std::move(producer)});
  ++appended_;
  wake_.notify_one();
}

bool TRecoveryJournal::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  flushAsked_ = true;
  wake_.notify_one();
  done_.wait(lock, [this] { return written_ == appended_ || failed_ || stop_; });
  flushAsked_ = false;
  return !failed_ && !stop_;
}

void TRecoveryJournal::Discard() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stop_ && !writer_.joinable()) return;
    stop_ = true;
    wake_.notify_one();
    done_.notify_all();
  }
  if (writer_.joinable()) writer_.join();
  std::deque<TItem> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    dropped.swap(queue_);  // their records go here, not under the lock
  }
  if (fd_ >= 0) {
    // Removed while still locked: no reader can take it for an orphan.
    unlink(path_.c_str());
    close(fd_);
    fd_ = -1;
  }
}

void TRecoveryJournal::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (stop_) return;
    const auto due = oldest_ + std::chrono::milliseconds(delay_);
    wake_.wait_until(lock, due, [this] { return stop_ || urgent_ || flushAsked_; });
    if (stop_) return;
    std::deque<TItem> items;
    items.swap(queue_);
    urgent_ = false;
    const uint64_t taken = appended_;
    lock.unlock();
    const bool ok = !failed_ && WriteItems(items);
    items.clear();  // shared records let go outside the lock
    lock.lock();
    written_ = taken;
    if (!ok) {
      failed_ = true;
      queue_.clear();
    }
    done_.notify_all();
  }
}

bool TRecoveryJournal::Open() {
  if (fd_ >= 0) return true;
  const std::string folder = FolderOf(path_);
  if (!TTableLock::MakeFolder(folder)) return false;
  const std::string made = path_ + ".new";
  const int fd = open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  fd_ = fd;
  bool ok = flock(fd_, LOCK_EX | LOCK_NB) == 0 && Write(header_) && fdatasync(fd_) == 0 &&
            rename(made.c_str(), path_.c_str()) == 0;
  if (ok) {
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ok = dir >= 0 && fsync(dir) == 0;
    if (dir >= 0) close(dir);
    if (!ok) unlink(path_.c_str());
  } else {
    unlink(made.c_str());
  }
  if (!ok) {
    close(fd_);
    fd_ = -1;
  }
  return ok;
}

bool TRecoveryJournal::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool TRecoveryJournal::WriteItems(std::deque<TItem>& items) {
  if (!Open()) return false;
  // Small entries are gathered into one write.
  std::string pending;
  bool ok = true;
  auto emit = [&](std::string_view framed) {
    if (!ok) return false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return false;
    }
    if (pending.size() + framed.size() > (1u << 20)) {
      ok = Write(pending);
      pending.clear();
      if (ok && framed.size() > (1u << 20)) return ok = Write(framed);
    }
    if (ok) pending.append(framed.data(), framed.size());
    return ok;
  };
  for (TItem& item : items) {
    if (item.producer)
      item.producer(emit);
    else
      emit(item.bytes);
    if (!ok) return false;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stop_) return true;  // discarded meanwhile: the file goes anyway
  }
  return ok && Write(pending) && fdatasync(fd_) == 0;
}
