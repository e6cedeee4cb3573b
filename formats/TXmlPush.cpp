#include "TXmlPush.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <cstring>

std::string_view TXmlAttributes::Get(std::string_view localName, bool* found) const {
  for (int i = 0; i < n_; ++i) {
    const char* name = reinterpret_cast<const char*>(a_[5 * i]);
    if (localName == name) {
      if (found) *found = true;
      const char* begin = reinterpret_cast<const char*>(a_[5 * i + 3]);
      const char* end = reinterpret_cast<const char*>(a_[5 * i + 4]);
      return std::string_view(begin, static_cast<size_t>(end - begin));
    }
  }
  if (found) *found = false;
  return std::string_view();
}

namespace {

TXmlPush& PushOf(void* ctx) {
  return *static_cast<TXmlPush*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
}

TXmlHandler& HandlerOf(void* ctx) {
  return PushOf(ctx).Handler();
}

void OnStart(void* ctx, const xmlChar* localName, const xmlChar*, const xmlChar*, int,
             const xmlChar**, int attributes, int, const xmlChar** values) {
  HandlerOf(ctx).Start(reinterpret_cast<const char*>(localName),
                       TXmlAttributes(values, attributes));
}

void OnEnd(void* ctx, const xmlChar* localName, const xmlChar*, const xmlChar*) {
  HandlerOf(ctx).End(reinterpret_cast<const char*>(localName));
}

void OnText(void* ctx, const xmlChar* text, int size) {
  HandlerOf(ctx).Text(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
}

// Errors that libxml2 reports outside the parser's own channel (a failed
// encoding conversion): the parse fails all the same, and says so once.
void Quiet(void*, const char*, ...) {}

}  // namespace

void TXmlPush::OnError(void* ctx, xmlError* error) {
  TXmlPush* push = &PushOf(ctx);
  if (!push->error_.empty() || !error || error->level < XML_ERR_ERROR) return;
  push->error_ = error->message ? error->message : "XML";
  while (!push->error_.empty() && push->error_.back() == '\n') push->error_.pop_back();
  if (error->code == XML_ERR_NO_MEMORY && push->error_.find("huge") != std::string::npos)
    push->error_ = "huge";
}

TXmlPush::TXmlPush(TXmlHandler& handler) : handler_(handler) {
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.initialized = XML_SAX2_MAGIC;
  sax.startElementNs = OnStart;
  sax.endElementNs = OnEnd;
  sax.characters = OnText;
  sax.cdataBlock = OnText;
  sax.serror = &TXmlPush::OnError;
  xmlSetGenericErrorFunc(nullptr, Quiet);
  ctxt_ = xmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr);
  if (ctxt_) {
    xmlCtxtUseOptions(ctxt_, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    // Every callback gets the context, whose _private leads here.
    ctxt_->_private = this;
    ctxt_->userData = ctxt_;
  }
}

TXmlPush::~TXmlPush() {
  if (!ctxt_) return;
  if (ctxt_->myDoc) xmlFreeDoc(ctxt_->myDoc);
  xmlFreeParserCtxt(ctxt_);
}

void TXmlPush::Stop() {
  stopped_ = true;
  xmlStopParser(ctxt_);
}

TStatus TXmlPush::Check(int code) {
  if (stopped_) return TStatus::Ok();
  if (code == 0 && error_.empty()) return TStatus::Ok();
  if (error_ == "huge") return TStatus(TFailure::CellTooLarge);
  return TStatus(TFailure::DamagedFile, error_.empty() ? "XML" : error_);
}

TStatus TXmlPush::Feed(const char* data, size_t size) {
  if (!ctxt_) return TStatus(TFailure::OutOfMemory);
  if (stopped_) return TStatus::Ok();
  // libxml2 takes an int: large pieces go in parts.
  while (size > 0) {
    const size_t n = size > (size_t{1} << 30) ? size_t{1} << 30 : size;
    const TStatus s = Check(xmlParseChunk(ctxt_, data, static_cast<int>(n), 0));
    if (!s || stopped_) return s;
    data += n;
    size -= n;
  }
  return TStatus::Ok();
}

TStatus TXmlPush::Finish() {
  if (!ctxt_) return TStatus(TFailure::OutOfMemory);
  if (stopped_) return TStatus::Ok();
  return Check(xmlParseChunk(ctxt_, nullptr, 0, 1));
}
