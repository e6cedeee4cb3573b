// Reads arbitrary bytes as the world's delimited text and checks the reader,
// which decodes and splits the file a piece at a time, against a plain
// reading of the same rules over the whole text at once: the header's names
// and every record's values, read in pieces of one size taken from the input
// and of the default size. Opening the bytes as a table must succeed (or
// refuse a file with zero bytes) and give every record one value per field;
// the import preview must stop where it is told.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "TQor2.h"
#include "TRecordCollector.h"
#include "TTextReader.h"
#include "TextTable.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The rules, one character at a time over the whole text.
Rows PlainRecords(const std::string& text, char separator, bool& openQuote) {
  Rows rows;
  std::vector<std::string> row;
  size_t i = 0;
  const size_t n = text.size();
  openQuote = false;
  bool inRecord = false;
  while (i < n) {
    std::string value;
    bool quoted = false;
    if (text[i] == '"') {
      quoted = true;
      ++i;
      for (;;) {
        const size_t q = text.find('"', i);
        if (q == std::string::npos) {
          value += text.substr(i);
          i = n;
          openQuote = true;
          break;
        }
        value += text.substr(i, q - i);
        i = q + 1;
        if (i < n && text[i] == '"') {
          value += '"';
          ++i;
        } else {
          break;
        }
      }
    }
    while (i < n && text[i] != separator && text[i] != '\r' && text[i] != '\n') value += text[i++];
    if (i < n && text[i] == separator) {
      row.push_back(value);
      inRecord = true;
      ++i;
      if (i == n) {  // the text ends on a separator: one more, empty, value
        row.push_back("");
        rows.push_back(row);
      }
      continue;
    }
    if (inRecord || quoted || !value.empty()) {
      row.push_back(value);
      rows.push_back(row);
    }
    row.clear();
    inRecord = false;
    if (i < n) {
      if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      ++i;
    }
  }
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFile f(data, size, ".csv");
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  TTextReader whole;
  const TStatus opened = whole.Open(f.Path());
  if (!opened) {
    if (opened.Cause() != TFailure::NotText) std::abort();
    return 0;
  }
  TRecordCollector wholeRows;
  if (!whole.Read(wholeRows) || !whole.AtEnd()) std::abort();
  const TTextDialect& d = whole.Dialect();

  TTextReader pieces(1 + (size ? data[0] % 7 : 0));
  TRecordCollector pieceRows;
  if (!pieces.Open(f.Path()) || !pieces.Read(pieceRows)) std::abort();
  if (pieceRows.rows != wholeRows.rows || pieces.HeaderNames() != whole.HeaderNames() ||
      pieces.Dialect().replaced != d.replaced || pieces.Dialect().encoding != d.encoding)
    std::abort();

  // Beyond the first 64 KB the encoding is settled piece by piece: the plain
  // reading is for texts the first look sees whole.
  if (size < TTextReader::kSampleSize) {
    const size_t mark = !d.byteOrderMark ? 0 : d.encoding == TTextEncoding::Utf8 ? 3 : 2;
    std::string text = bytes.substr(mark);
    TTextDecoder decoder(d.encoding);
    text.resize(decoder.Decode(&text[0], text.size(), true));
    if (decoder.Replaced() != d.replaced) std::abort();
    bool openQuote = false;
    Rows plain = PlainRecords(text, d.separator, openQuote);
    if (openQuote != (d.openQuoteLine > 0)) std::abort();
    if (d.header && !plain.empty()) {
      std::vector<std::string> names = plain.front();
      if (names.size() > TTextReader::kMaxFields) names.resize(TTextReader::kMaxFields);
      for (std::string& name : names) name.resize(std::min<size_t>(name.size(), 1024));
      if (names != whole.HeaderNames()) std::abort();
      plain.erase(plain.begin());
    }
    if (plain != wholeRows.rows) std::abort();
  }

  TQor2 t;
  if (!LoadTextTable(t, f.Path())) std::abort();
  for (int r = 0; r < t.RecordCount(); ++r)
    if (t.RecordList().Get(r)->Count() != t.FieldCount()) std::abort();

  TTextPreview preview;
  const int most = size ? data[size - 1] % 25 : 0;
  if (!PreviewTextImport(f.Path(), TTextOptions(), {"A", "B", "C"}, most, preview)) std::abort();
  if (static_cast<int>(preview.records.size()) > most) std::abort();
  for (const auto& record : preview.records)
    if (record.size() != 3) std::abort();
  return 0;
}
