#include "TDelimitedParser.h"

#include <cstring>

ITextSink::~ITextSink() = default;

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;

// Bytes of `word` equal to `byte` have their high bit set in the result (and
// others may too, but only above such a byte).
uint64_t Matches(uint64_t word, uint64_t byteTimesOnes) {
  const uint64_t t = word ^ byteTimesOnes;
  return (t - kOnes) & ~t & (kOnes << 7);
}

}  // namespace

const char* TDelimitedParser::SkipPlain(const char* p, const char* end) const {
  const uint64_t sep = kOnes * static_cast<unsigned char>(separator_);
  for (; end - p >= 8; p += 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (Matches(w, sep) | Matches(w, kOnes * '\r') | Matches(w, kOnes * '\n')) break;
  }
  return p;
}

TDelimitedParser::TDelimitedParser(char separator) : separator_(separator) {
  special_[static_cast<unsigned char>(separator)] = true;
  special_[static_cast<unsigned char>('\r')] = true;
  special_[static_cast<unsigned char>('\n')] = true;
}

bool TDelimitedParser::EndRecord(ITextSink& sink) {
  sink.EndValue();
  inRecord_ = false;
  return sink.EndRecord();
}

void TDelimitedParser::CountLines(const char* p, const char* end) {
  const size_t n = static_cast<size_t>(end - p);
  if (n == 0) return;
  if (!std::memchr(p, '\n', n) && !std::memchr(p, '\r', n)) {
    crInQuotes_ = false;
    return;
  }
  for (; p < end; ++p) {
    if (*p == '\n') {
      if (!crInQuotes_) ++line_;
      crInQuotes_ = false;
    } else {
      crInQuotes_ = *p == '\r';
      if (crInQuotes_) ++line_;
    }
  }
}

size_t TDelimitedParser::Feed(const char* data, size_t size, ITextSink& sink) {
  const char* p = data;
  const char* const end = data + size;
  stopped_ = false;
  while (p < end) {
    switch (state_) {
      case kValueStart: {
        const char c = *p;
        if (afterCr_) {
          afterCr_ = false;
          if (c == '\n') {
            ++p;
            break;
          }
        }
        if (c == '"') {
          state_ = kQuoted;
          quoteLine_ = line_;
          crInQuotes_ = false;
          inRecord_ = true;
          ++p;
        } else if (c == separator_) {
          sink.EndValue();
          inRecord_ = true;
          ++p;
        } else if (c == '\r' || c == '\n') {
          ++p;
          ++line_;
          afterCr_ = c == '\r';
          if (inRecord_ && !EndRecord(sink)) {
            stopped_ = true;
            return static_cast<size_t>(p - data);
          }
        } else {
          state_ = kUnquoted;
        }
        break;
      }
      case kUnquoted: {
        const char* q = SkipPlain(p, end);
        while (q < end && !special_[static_cast<unsigned char>(*q)]) ++q;
        if (q > p) sink.Append(p, static_cast<size_t>(q - p));
        inRecord_ = true;
        p = q;
        // The separator or the line end is read at the start of the next value.
        if (p < end) state_ = kValueStart;
        break;
      }
      case kQuoted: {
        const char* q = static_cast<const char*>(std::memchr(p, '"', static_cast<size_t>(end - p)));
        const char* stop = q ? q : end;
        CountLines(p, stop);
        if (stop > p) sink.Append(p, static_cast<size_t>(stop - p));
        p = stop;
        if (q) {
          ++p;
          state_ = kQuoteSeen;
        }
        break;
      }
      case kQuoteSeen:
        if (*p == '"') {
          sink.Append("\"", 1);
          ++p;
          state_ = kQuoted;
        } else {
          state_ = kUnquoted;
        }
        break;
    }
  }
  return size;
}

void TDelimitedParser::Finish(ITextSink& sink) {
  openQuoteLine_ = state_ == kQuoted ? quoteLine_ : 0;
  state_ = kValueStart;
  afterCr_ = false;
  if (inRecord_) EndRecord(sink);
}
