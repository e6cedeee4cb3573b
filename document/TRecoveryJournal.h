#pragma once
// TRecoveryJournal: the recovery journal of one open document, being written.
// The document appends an entry (TJournalEntry) for every change before the
// command returns; a writer thread of the journal's own puts the entries into
// the file and flushes it to the disk (fdatasync) at most Settings().
// flushDelayMs after the first entry not yet flushed, so a burst of changes
// costs one flush and the command that made them never waits on the disk. An
// urgent entry (what the user typed, already a second old) goes out at once.
//
// The file is made by the writer with the first flush, not before: under a
// temporary name (".new"), locked with flock(2), the header written, then
// renamed into place and its folder flushed. So a journal in the folder always
// has its header, and its lock says whether a running program owns it: the
// system drops the lock when the owner dies, and start-up offers the journals
// nobody holds (TJournalReader).
//
// Byte layout of the file (integers little-endian):
//   8 bytes        "VEKJRNL" and the format version, 1
//   u32 n, n bytes, u32 crc   the header, framed as an entry (TJournalEntry):
//       u8 baseline  1 the table file as the header names it; 2 a new table
//                    (a Fields entry follows); 3 the whole table follows
//                    (Table and Records entries), the file named only
//       text path    the table file (the window's caption for a new table)
//       i64 size, i64 seconds, i64 nanoseconds   the file's size and
//                    modification time when the journal began (-1, 0, 0: none)
//       i32 pid      the process that began it, for whoever reads the folder
//   entries, each framed (TJournalEntry.h), until the end of the file.
//
// Large entries (the records of an import, a snapshot of the table) come as a
// producer run by the writer thread: it reads records shared with the table
// copy-on-write, which no write of the table can change under it.
//
// When a write to the file fails (a full disk), the journal stops for good:
// entries after a gap would be replayed on a table without the lost ones. The
// file keeps every complete entry before the failure. Discard (also the
// destructor) stops the writer and removes the file; nothing a document closes
// is left behind.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

struct TJournalHeader {
  enum TBaseline : uint8_t { File = 1, NewTable = 2, Snapshot = 3 };
  TBaseline baseline = File;
  std::string path;
  int64_t size = -1, seconds = 0, nanoseconds = 0;
  int32_t pid = 0;

  std::string Encode() const;  // magic, version and the framed header
  // Reads the header at the start of `bytes`; false when it is not one.
  // `used`: the bytes it took.
  static bool Decode(std::string_view bytes, TJournalHeader& header, size_t& used);
  // The size and modification time of `path` now; false when it has none.
  static bool Stamp(const std::string& path, int64_t& size, int64_t& seconds, int64_t& nanoseconds);
  // The file has another size or time than when the journal began, or is gone.
  bool FileChanged() const;
};

class TRecoveryJournal {
 public:
  struct TSettings {
    int flushDelayMs = 500;   // change to flush; with the flush itself, within a second
    int typedDelayMs = 1000;  // last key to journaling what is typed (the views)
    bool enabled = true;
  };
  // Process-wide, read as a journal or a view is made; tests shorten the delays.
  static TSettings& Settings();

  // Hands one framed entry to the file; false from then on stops the producer.
  using TEmit = std::function<bool(std::string_view framed)>;
  using TProducer = std::function<void(const TEmit& emit)>;

  // A new journal at `path` (made with the first flush).
  TRecoveryJournal(std::string path, const TJournalHeader& header);
  // Goes on with an existing journal, open and locked as `fd` (taken over),
  // cut at `validEnd`: the end of its last complete entry.
  TRecoveryJournal(std::string path, int fd, int64_t validEnd);
  ~TRecoveryJournal();
  TRecoveryJournal(const TRecoveryJournal&) = delete;
  TRecoveryJournal& operator=(const TRecoveryJournal&) = delete;

  void Append(std::string framed, bool urgent = false);
  void AppendLater(TProducer producer);
  // Waits until everything appended is on the disk; false when the journal
  // stopped on a failure.
  bool Flush();
  // Stops the writer, dropping what is queued, and removes the file.
  void Discard();
  const std::string& Path() const { return path_; }

 private:
  struct TItem {
    std::string bytes;
    TProducer producer;
  };
  void Run();
  bool Open();  // makes the file, locked, with its header
  bool Write(std::string_view bytes);
  bool WriteItems(std::deque<TItem>& items);

  const std::string path_;
  std::string header_;  // written with the file; empty for a journal taken over
  const int delay_;     // Settings().flushDelayMs when made
  int fd_ = -1;
  std::mutex mutex_;
  std::condition_variable wake_;  // the writer: entries, a flush asked, stop
  std::condition_variable done_;  // Flush: the writer caught up
  std::deque<TItem> queue_;
  std::chrono::steady_clock::time_point oldest_;  // of the queue
  uint64_t appended_ = 0, written_ = 0;
  bool urgent_ = false, flushAsked_ = false, stop_ = false, failed_ = false;
  std::thread writer_;
};
