#pragma once
// TDelimitedParser: splits delimited text into records and values the way
// RFC 4180 reads it, handing each value to a sink as it goes, so that neither
// a long value nor a long line is ever held whole here.
//
// Values are separated by the separator; a record ends at CR LF, LF or CR, in
// any mix. A value that begins with a double quote is quoted: it runs to the
// next quote that is not doubled, "" standing for one quote, and keeps the
// separators and line breaks it holds as they are; what follows its closing
// quote up to the separator is kept as it stands ("ab"c gives abc). A quote
// anywhere else is an ordinary character. A line with nothing on it is no
// record; a line of blanks is a record of one value. The parser knows no
// encoding: it reads bytes (give it Windows-1252).
//
// The text comes in pieces (Feed), in order; Finish marks its end, closing the
// record in progress. A quoted value still open at the end takes all the rest
// of the text (OpenQuoteLine tells where it began).

#include <cstddef>
#include <cstdint>

class ITextSink {
 public:
  virtual ~ITextSink();
  // Bytes of the value in progress: a value may come in several pieces.
  virtual void Append(const char* data, size_t size) = 0;
  virtual void EndValue() = 0;
  // Ends the record (after its last EndValue); false stops the parser there.
  virtual bool EndRecord() = 0;
};

class TDelimitedParser {
 public:
  explicit TDelimitedParser(char separator = ';');

  // Parses [data, data + size) and returns how many bytes it used: all of
  // them, unless the sink stopped it after a record (Stopped()).
  size_t Feed(const char* data, size_t size, ITextSink& sink);
  void Finish(ITextSink& sink);

  char Separator() const { return separator_; }
  bool Stopped() const { return stopped_; }
  // The line being read, from 1 (line breaks inside quotes count).
  int64_t Line() const { return line_; }
  // After Finish: the line where a quoted value began that was never closed;
  // 0 when every quote was closed.
  int64_t OpenQuoteLine() const { return openQuoteLine_; }

 private:
  enum State { kValueStart, kUnquoted, kQuoted, kQuoteSeen };
  bool EndRecord(ITextSink& sink);
  // The first group of eight bytes from p that may hold the separator, CR or
  // LF (or the last few bytes): the bytes before it hold none.
  const char* SkipPlain(const char* p, const char* end) const;
  void CountLines(const char* p, const char* end);

  char separator_;
  bool special_[256] = {};  // the separator, CR and LF
  State state_ = kValueStart;
  bool inRecord_ = false;  // something of a record was read since its start
  bool afterCr_ = false;   // a record ended at CR: an LF right after belongs to it
  bool crInQuotes_ = false;
  bool stopped_ = false;
  int64_t line_ = 1;
  int64_t quoteLine_ = 0;
  int64_t openQuoteLine_ = 0;
};
