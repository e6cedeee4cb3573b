#pragma once
// TJournalEntry: one entry of a recovery journal (TRecoveryJournal), built by
// the document as a change happens and read back when the journal is replayed.
//
// Byte layout of an entry as the journal file holds it (integers little-endian):
//   u32 n          length of the payload
//   n bytes        payload: u8 operation (TJournalOp), u8 flags, arguments
//   u32 crc        CRC-32C of the four length bytes and the payload
// Flags bit 0 ("continued"): the next entry belongs to the same change (the
// records of one import, one snapshot of the table, in chunks); a replay keeps
// a group only when its last entry is there. Arguments are u8, i32, and texts
// as u32 length and bytes; a list of texts is u32 count and the texts.
//
// The checksum covers the length, so a length torn by a crash or damaged on
// the disk is caught like damaged content: a reader stops at the first entry
// whose length runs past the end of the file or whose checksum fails, and
// everything before it is intact.
//
// TReader reads a payload and never reads past its end: a Get* that does not
// fit answers false and leaves the reader failed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What an entry records. The document's header (TDocument.cpp) says what each
// one's arguments are and how it is replayed.
enum class TJournalOp : uint8_t {
  Fields = 1,      // a new table's fields
  Table = 2,       // the whole table follows: name, fields, types; Records entries
  Records = 3,     // records appended, in chunks of a group
  Memorise = 10,   // the undo snapshot was taken
  Undo = 11,       // the snapshot was put back
  UndoTable = 12,  // the snapshot, not in the journal, was put back: it follows
  SetValue = 20,   // one value of one record
  Append = 21,     // an empty record at the end
  Delete = 22,     // one record
  SetField = 23,   // one field := one value, in the records listed
  Sort = 30,
  RemoveDuplicates = 31,
  Convert = 32,
  AddField = 40,
  DeleteField = 41,
  RenameField = 42,
  Restructure = 43,
  Import = 50,  // records appended by an import follow (Records)
  Layout = 60,  // the record form's layout, as the user designed it
  Typed = 70,   // texts typed and not yet written into the table
};

class TJournalEntry {
 public:
  explicit TJournalEntry(TJournalOp op, bool continued = false);

  TJournalEntry& Byte(uint8_t v);
  TJournalEntry& Int(int32_t v);
  TJournalEntry& Text(std::string_view s);
  TJournalEntry& Texts(const std::vector<std::string>& list);

  const std::string& Payload() const { return payload_; }
  std::string Framed() const;  // the bytes of the file

  // Appends length, payload and checksum to `out`.
  static void Frame(std::string& out, std::string_view payload);
  static void PutInt(std::string& out, uint32_t v);
  static void PutText(std::string& out, std::string_view s);
  // CRC-32C (Castagnoli), continued from `crc`.
  static uint32_t Checksum(std::string_view data, uint32_t crc = 0);
  static uint32_t ReadInt(const char* p);

  class TReader {
   public:
    explicit TReader(std::string_view payload);
    TJournalOp Op() const { return op_; }
    bool Continued() const { return continued_; }
    bool Ok() const { return ok_; }

    bool Byte(uint8_t& v);
    bool Int(int32_t& v);
    bool Text(std::string& s);
    bool View(std::string_view& s);  // a text in place, valid while the payload is
    bool Texts(std::vector<std::string>& list);
    bool AtEnd() const { return ok_ && pos_ == data_.size(); }

   private:
    bool Take(size_t n, const char*& p);

    std::string_view data_;
    size_t pos_ = 0;
    TJournalOp op_ = TJournalOp::Fields;
    bool continued_ = false;
    bool ok_ = true;
  };

 private:
  std::string payload_;
};
