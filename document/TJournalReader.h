#pragma once
// TJournalReader: a recovery journal that no running program owns, opened to
// be offered, replayed, kept for later or removed. Open takes the journal's
// lock (flock) without waiting: a journal whose owner still runs is refused,
// and while the reader holds it no other program offers it too.
//
// Open reads the header (TRecoveryJournal.h) and walks the entries once to
// find where the intact journal ends: at the first entry whose length runs
// past the file or whose checksum fails, and before a group of entries
// (TJournalEntry.h, "continued") whose last entry is missing. Nothing in the
// file is trusted before it is checked: a length is compared with what the
// file still holds before anything is read through it.
//
// The file is mapped read-only; the views ForEach hands out stay valid until
// the reader closes or TakeFile hands the file over.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "TRecoveryJournal.h"

class TJournalReader {
 public:
  TJournalReader() = default;
  ~TJournalReader() { Close(); }
  TJournalReader(const TJournalReader&) = delete;
  TJournalReader& operator=(const TJournalReader&) = delete;

  // False when it cannot be opened or locked, or holds no header; then
  // nothing is kept open.
  bool Open(const std::string& path);
  // The last Open found the file nobody's, but without a header: nothing
  // this program made completely, and nothing to recover.
  bool Unreadable() const { return unreadable_; }
  const std::string& Path() const { return path_; }
  const TJournalHeader& Header() const { return header_; }

  // Entries (or groups) that change the table or what the user typed, in the
  // intact part: what there is to recover. The baseline and the undo
  // snapshots do not count.
  int Changes() const { return changes_; }
  // Bytes follow the intact part: a damaged or truncated journal.
  bool Damaged() const { return validEnd_ < size_; }
  int64_t ValidEnd() const { return validEnd_; }

  // Each entry's payload of the intact part, in order, with the offset where
  // the entry after it starts; f answering false stops the walk.
  void ForEach(const std::function<bool(std::string_view payload, int64_t end)>& f) const;

  // Hands the open, locked file over (to a TRecoveryJournal that goes on
  // with it) and closes the reader; -1 when none is open.
  int TakeFile();
  // Removes the journal while still holding it, then closes.
  void Remove();
  void Close();  // lets go of the file and its lock

  // Whether an entry of this operation counts among Changes.
  static bool IsChange(uint8_t op);

 private:
  // Calls f for each intact frame from `from`; stops at the first bad one, or
  // when f answers false, and answers the offset where the intact frames end.
  int64_t Walk(int64_t from, const std::function<bool(std::string_view, int64_t)>& f) const;

  std::string path_;
  int fd_ = -1;
  const char* data_ = nullptr;
  int64_t size_ = 0;
  int64_t first_ = 0;  // the first entry
  int64_t validEnd_ = 0;
  int changes_ = 0;
  bool unreadable_ = false;
  TJournalHeader header_;
};
