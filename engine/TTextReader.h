#pragma once
// TTextReader: reads a delimited text file as the world writes it - a
// spreadsheet's, a bank's or a web shop's CSV - streaming, whatever its size.
//
// Open reads the first 64 KB (up to 1 MB while they hold fewer than three
// lines) and settles what the options leave open:
// - encoding: a byte-order mark says UTF-8 or UTF-16 (either byte order);
//   without one the text is ASCII until its first byte beyond ASCII, from
//   where the rest of that piece says UTF-8 (well-formed) or Windows-1252
//   (TTextDecoder). Values are delivered in Windows-1252: a character without
//   a code there becomes "?" and is counted (Dialect().replaced).
// - separator: the one of ";", tab, "," and "|" that splits the first lines
//   into the same number of values (two at least) most often; ties go in that
//   order. When none splits them the file is one column, taken as ";".
// - header: a first line whose values are all texts, none a number, while a
//   column of the lines after it holds only numbers; or a first line whose
//   values are the names of the fields the records will go to (targetNames,
//   compared by NameKey); or, in a file in UTF-8 after its byte-order mark
//   and separated by ";" - the form of spreadsheet programs' exports, ours
//   ("CSV pour tableurs") among them, which start with the names - a first
//   line of texts, none blank, none a number, as many as the widest line
//   below. An empty line is skipped before it like any other.
// A file with a zero byte in its first 64 KB (other than as UTF-16) is
// refused (TFailure::NotText): nothing is read.
//
// Read then hands the records after the header to a sink (TDelimitedParser
// says how values are split), a piece of the file at a time: memory is one
// piece, whatever the lengths of lines and values. The header's names are kept
// (HeaderNames), at most kMaxFields of them and 1,024 bytes each.
//
// Every read goes through FileSystem(). A read error stops Read with its
// cause; the values delivered before it are the sink's to drop.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TDelimitedParser.h"
#include "TStatus.h"
#include "TTextDecoder.h"

enum class TTextHeader { Auto, Yes, No };

// How to read a file; what is left at Auto (or 0) is detected.
struct TTextOptions {
  char separator = 0;
  TTextEncoding encoding = TTextEncoding::Auto;
  TTextHeader header = TTextHeader::Auto;
  // The fields of the table the records are for: a first line made of them
  // is a header.
  std::vector<std::string> targetNames;
  // Read only this many bytes of the file (a preview); -1 for all of it.
  int64_t byteLimit = -1;
};

// How a file is read, as given or detected, and what reading it found.
struct TTextDialect {
  char separator = ';';
  TTextEncoding encoding = TTextEncoding::Ascii;  // Ascii: no byte beyond it read yet
  bool byteOrderMark = false;
  bool header = false;
  bool separatorDetected = false;
  bool encodingDetected = false;
  bool headerDetected = false;
  int64_t replaced = 0;       // characters without a Windows-1252 code, made "?"
  int64_t openQuoteLine = 0;  // a quote opened there was never closed; 0 none
  bool cut = false;           // stopped at the byte limit, before the end
};

class TTextReader {
 public:
  static constexpr size_t kSampleSize = 64 * 1024;
  static constexpr size_t kLongSampleSize = 1024 * 1024;
  // The most values of a record that become fields: as many columns as the
  // spreadsheets hold.
  static constexpr int kMaxFields = 16384;

  // pieceSize: the bytes read at a time (small ones for tests).
  explicit TTextReader(size_t pieceSize = 256 * 1024);
  ~TTextReader();
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;

  // A reader opens one file, once.
  TStatus Open(const std::string& path, const TTextOptions& options = TTextOptions());
  // Reads records until the end of the file or until the sink stops.
  TStatus Read(ITextSink& sink);

  const TTextDialect& Dialect() const { return dialect_; }
  const std::vector<std::string>& HeaderNames() const { return headerNames_; }
  // The widest record after the header in the first 64 KB, by FilledWidth.
  int SampleWidth() const { return sampleWidth_; }
  bool AtEnd() const { return finished_; }
  int64_t BytesRead() const { return bytesRead_; }
  int64_t FileSize() const { return fileSize_; }  // -1 when unknown

 private:
  TStatus Fill();
  long ReadRaw(char* to, size_t size);
  // Settles the separator and the header on the first bytes, decoded.
  void Settle(const TTextOptions& options, const char* text, size_t size, bool whole);
  void Close();

  size_t pieceSize_;
  int fd_ = -1;
  int64_t fileSize_ = -1;
  int64_t bytesRead_ = 0;
  int64_t byteLimit_ = -1;
  bool fileEnded_ = false;  // the file has nothing more to read
  // The first bytes, read for the detection, are decoded and parsed from here
  // like the pieces after them.
  std::vector<char> sample_;
  size_t sampleUsed_ = 0;
  std::vector<char> buffer_;  // one piece, decoded
  size_t pos_ = 0, end_ = 0;  // the part not yet parsed
  bool lastPiece_ = false;
  bool finished_ = false;
  TTextDecoder decoder_;
  TDelimitedParser parser_;
  TTextDialect dialect_;
  std::vector<std::string> headerNames_;
  int sampleWidth_ = 0;
};

// A value written as people write numbers: an optional sign, digits (in
// groups of three after the first, separated by a blank or a no-break space,
// if grouped), and a decimal part after "," or "." - "12,5", "-3", "1 234,5",
// "12.5". No blanks around, no exponent. When `codesAreText`, a number that
// starts with a zero followed by a digit ("06000") is none.
bool IsNumberText(std::string_view text, bool codesAreText);

// The number of values up to the last non-empty one: the columns a record
// fills (trailing separators make none).
int FilledWidth(const std::vector<std::string>& values);

// A field name as names are matched: without the blanks around it and in
// capitals (Windows-1252 letters).
std::string NameKey(std::string_view name);
