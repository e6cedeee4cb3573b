#pragma once
// TXmlPush: libxml2's SAX push parser over bytes given a piece at a time, so
// that a part of many hundred megabytes is read without ever being held. The
// handler hears elements by their local names (the namespace prefixes that
// files choose differ) and their text. No entity is expanded, nothing is
// fetched from the network, and a text node beyond libxml2's 10 MB limit
// stops the parse.
//
// A handler may Stop the parse (Feed then answers ok); a malformed document
// gives DamagedFile with libxml2's own message in the detail.

#include <cstddef>
#include <string>
#include <string_view>

#include "TStatus.h"

typedef struct _xmlParserCtxt xmlParserCtxt;

// The attributes of one element, as the parser hands them (five pointers each:
// local name, prefix, URI, value start, value end).
class TXmlAttributes {
 public:
  TXmlAttributes(const unsigned char** a, int n) : a_(a), n_(n) {}
  // The value of the attribute of that local name; `found` says whether there was one.
  std::string_view Get(std::string_view localName, bool* found = nullptr) const;
  // For a walk over all of them at once.
  int Count() const { return n_; }
  const char* Name(int i) const { return reinterpret_cast<const char*>(a_[5 * i]); }
  std::string_view Value(int i) const {
    const char* begin = reinterpret_cast<const char*>(a_[5 * i + 3]);
    return std::string_view(
        begin, static_cast<size_t>(reinterpret_cast<const char*>(a_[5 * i + 4]) - begin));
  }

 private:
  const unsigned char** a_;
  int n_;
};

class TXmlHandler {
 public:
  virtual ~TXmlHandler() = default;
  virtual void Start(std::string_view localName, const TXmlAttributes& attributes) = 0;
  virtual void End(std::string_view localName) = 0;
  virtual void Text(const char* text, size_t size) = 0;
};

class TXmlPush {
 public:
  explicit TXmlPush(TXmlHandler& handler);
  ~TXmlPush();
  TXmlPush(const TXmlPush&) = delete;
  TXmlPush& operator=(const TXmlPush&) = delete;

  TStatus Feed(const char* data, size_t size);
  TStatus Finish();
  // Called from the handler: no more events; the rest of the bytes are ignored.
  void Stop();
  bool Stopped() const { return stopped_; }
  TXmlHandler& Handler() { return handler_; }

 private:
  TStatus Check(int code);
  static void OnError(void* ctx, struct _xmlError* error);

  TXmlHandler& handler_;
  xmlParserCtxt* ctxt_ = nullptr;
  bool stopped_ = false;
  std::string error_;
};
