#pragma once
// TXBase: reads a dBase table (".dbf") one record at a time, and the text of its
// memo fields from the companion ".dbt". It only reads: both files are opened
// read-only, so read-only files import like any other, and every read goes
// through the IFileSystem it was given (FileSystem() unless told otherwise).
// It is owned by whoever creates it; destroying it closes its files.
//
// Every failure is a TStatus, never an exception: the file's own cause when a
// file cannot be opened or read (NotFound, PermissionDenied, ReadError...),
// otherwise one of the Dbf causes of TFailure.h. An open that fails closes
// whatever it had opened and leaves the reader inactive; a move that fails
// leaves the reader on the record it had. Nothing in a file is trusted:
// lengths, counts and block numbers are checked against the buffers and
// against the file sizes before anything is read. A field number out of range
// reads as nothing ('', kOther, 0), as the table engine answers bad numbers.
//
// Table layout (integers little-endian):
//   0      version byte; 131 (dBase III), 132 and 139 (dBase IV) have a ".dbt"
//   4..7   record count (unsigned)
//   8..9   header length H: offset of record 1
//   10..11 record length L, deleted mark included (at most kRecordBufferSize)
//   32*i   field descriptor i (32 bytes): name (11 bytes, zero padded), type
//          letter at 11, length at 16, decimal count at 17. The descriptors end
//          at a 0x0D byte; without one, their count is (H - 34) / 32 rounded.
//   H + (n - 1) * L   record n: mark ("*" = deleted), then each field's text
//          at its declared length, in descriptor order.
// Memo file: blocks of 512 bytes (dBase IV: the 16-bit size at offset 20 of
// block 0, 512 when 0); block 0 is the header. The memo field holds the first
// block's number as decimal text. A dBase III text ends at two 0x1A bytes (or
// at the end of the file); a dBase IV block starts with FF FF 08 00 and a
// 32-bit length that counts those 8 bytes, followed by the text. In both, byte
// 141 (a soft line break) reads as a carriage return.
//
// Record numbers are 1-based; Recno() is 0 when the table holds no record (and
// while closed), in which case Bof() and Eof() are both true.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "IFileSystem.h"
#include "TFileReader.h"
#include "TStatus.h"

class TXBase {
 public:
  // An event sets allowed (true on entry) to false to veto the step.
  using TXBChangeEvent = std::function<void(TXBase& sender, bool& allowed)>;
  using TXBDeleteEvent = std::function<void(TXBase& sender, bool& allowed)>;
  using TNotifyEvent = std::function<void(TXBase& sender)>;

  // Field kinds returned by FieldKind.
  enum { kOther = 0, kCharacter = 1, kDate = 2, kNumeric = 3, kLogical = 4, kMemo = 5 };

  static constexpr int kMaxFields = 128;
  static constexpr int kRecordBufferSize = 4000;
  static constexpr int kMemoHeaderSize = 512;

  explicit TXBase(IFileSystem& fileSystem = FileSystem());
  ~TXBase();
  TXBase(const TXBase&) = delete;
  TXBase& operator=(const TXBase&) = delete;

  // The path without the file's own extension, followed by the table's
  // extension (".dbf", or the ".dbf" extension in the letter case given).
  std::string Filename() const;
  // Keeps the folder whole (dots included) and drops only the extension of the
  // file's name. While active, the reader stays on the file it has open when
  // the new name exists, and closes when it does not.
  void SetFilename(const std::string& value);

  bool Active() const { return open_; }
  // true opens the table: a missing ".dbf" leaves the reader inactive
  // (NotFound), and so does a failed open, with its cause.
  TStatus SetActive(bool value);

  int64_t Recno() const { return recno_; }
  int64_t RecordCount() const { return recordCount_; }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  bool Bof() const { return recno_ <= 1; }
  bool Eof() const { return recno_ >= recordCount_; }
  // The buffered record carries the deleted mark. Setting it changes only the
  // buffer, never the file; OnDeleting is asked before the mark is set.
  bool Deleted() const;
  void SetDeleted(bool value);
  bool Modified() const { return modified_; }

  TXBChangeEvent OnChanging;  // asked before First and Next move
  TXBDeleteEvent OnDeleting;  // asked before the deleted mark is set
  TNotifyEvent OnAppended;    // kept for its users; the reader never appends

  // DbfNotOpen on a closed reader; a record that cannot be read fails with
  // DbfRecordUnreadable (or the file's read error).
  TStatus First();
  TStatus Next();

  // Kind (kOther ... kMemo) of field fieldNo, 1-based.
  int FieldKind(int fieldNo) const;
  // Text of field fieldNo in the buffered record: the stored text up to its
  // first zero byte, trailing spaces dropped (leading ones kept); for a memo
  // field, the memo's text ('' when the field holds no block number; a memo
  // that cannot be read fails with DbfMemoUnreadable and gives '').
  TStatus GetField(int fieldNo, std::string& text);
  // The descriptor's name up to its first zero byte, its type letter and length.
  std::string FieldName(int fieldNo) const;
  char FieldType(int fieldNo) const;
  int FieldLength(int fieldNo) const;

 private:
  struct TField {
    std::string name;
    char type = 0;
    int position = 0;  // 1-based offset of the text in the record, 2 for the first
    int length = 0;
  };

  TStatus Open();
  void Close();
  TStatus ReadHeader();
  TStatus OpenMemo();
  bool ReadRecord(int64_t recNo);
  // The failure of a read from `file`: its read error, or `cause` when the
  // file holds too little.
  static TStatus ReadFailed(const TFileReader& file, TFailure cause);
  bool Exists(const std::string& path) const;
  bool AskChanging();
  TStatus ReadMemo(int64_t block, std::string& text);
  TStatus ReadMemoIV(int64_t start, const unsigned char* head, std::string& text);
  TStatus ReadMemoIII(int64_t start, std::string& text);
  bool ValidField(int fieldNo) const { return fieldNo >= 1 && fieldNo <= FieldCount(); }

  IFileSystem& fs_;
  std::string baseName_;
  std::string dataExt_ = ".dbf";
  bool open_ = false;

  TFileReader data_;
  TFileReader memo_;
  bool hasMemo_ = false;
  int64_t dataSize_ = 0;
  // The bytes of the data file read last, from windowStart_: a walk through
  // the table costs one read per window, not one per record.
  std::vector<char> window_;
  int64_t windowStart_ = 0;
  int64_t memoSize_ = 0;
  int64_t memoBlockSize_ = 512;

  std::array<unsigned char, 32> header_{};
  int64_t headerLength_ = 0;
  int64_t recordLength_ = 0;
  std::vector<TField> fields_;
  std::array<char, kRecordBufferSize> record_{};
  std::array<unsigned char, kMemoHeaderSize> memoHeader_{};

  int64_t recno_ = 0;
  int64_t recordCount_ = 0;
  bool modified_ = false;
};
