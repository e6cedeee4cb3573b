#include "TOdsReader.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <set>

#include "NumberText.h"
#include "SheetDates.h"
#include "TQor2.h"
#include "TSheetBuilder.h"
#include "TXmlPush.h"
#include "TZipArchive.h"
#include "Utf8Text.h"

namespace {

const char kContent[] = "content.xml";

uint32_t Repeat(const TXmlAttributes& a, const char* name) {
  const std::string_view v = a.Get(name);
  if (v.empty()) return 1;
  const unsigned long long n = std::strtoull(std::string(v).c_str(), nullptr, 10);
  return n < 1 ? 1 : n > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(n);
}

// Walks the sheets of content.xml; reads the one wanted when given a builder.
class ContentHandler : public TXmlHandler {
 public:
  ContentHandler(const std::string& wanted, TSheetBuilder* builder, int64_t& replaced)
      : wanted_(wanted), builder_(builder), replaced_(replaced) {}
  std::vector<std::string> names;
  std::string chosen;  // the name of the sheet read
  bool found = false;
  TStatus status;
  TXmlPush* push = nullptr;

  void Start(std::string_view name, const TXmlAttributes& a) override {
    if (depth_ > 0) {
      ++depth_;  // inside something left out
      return;
    }
    if (name == "style") {
      style_ = a.Get("family") == "table-cell" ? std::string(a.Get("name")) : std::string();
    } else if (name == "text-properties" && !style_.empty() && a.Get("font-weight") == "bold") {
      boldStyles_.insert(style_);
    } else if (name == "table" && !inTable_) {
      names.emplace_back(a.Get("name"));
      inTable_ = true;
      reading_ = builder_ && !found && (wanted_.empty() || names.back() == wanted_);
      if (reading_) {
        found = true;
        chosen = names.back();
      }
    } else if (!reading_) {
      if (name == "table" && inTable_) depth_ = 1;  // a table in a cell
    } else if (name == "table-row") {
      rowRepeat_ = Repeat(a, "number-rows-repeated");
      column_ = 0;
    } else if (name == "table-cell" || name == "covered-table-cell") {
      StartCell(name == "table-cell", a);
    } else if (name == "annotation" || name == "table") {
      depth_ = 1;
    } else if (inCell_ && kind_ == TCellKind::Text && useParagraphs_) {
      if (name == "p") {
        if (paragraphs_++ > 0) Add("\r\n", 2);
      } else if (name == "s") {
        const uint32_t n = Repeat(a, "c");
        for (uint32_t i = 0; i < n && status; ++i) Add(" ", 1);
      } else if (name == "tab") {
        Add("\t", 1);
      } else if (name == "line-break") {
        Add("\r\n", 2);
      }
    }
  }

  void End(std::string_view name) override {
    if (depth_ > 0) {
      --depth_;
      return;
    }
    if (name == "style") {
      style_.clear();
    } else if (name == "table") {
      inTable_ = false;
      if (reading_) {
        reading_ = false;
        if (builder_) push->Stop();  // the rest of the file is not needed
      }
    } else if (!reading_) {
    } else if (name == "table-cell" || name == "covered-table-cell") {
      EndCell();
    } else if (name == "table-row") {
      // Empty lines, repeated or not, are dropped by the builder.
      Check(builder_->EndRow(rowRepeat_));
    }
  }

  void Text(const char* p, size_t n) override {
    if (depth_ == 0 && inCell_ && useParagraphs_ && kind_ == TCellKind::Text) Add(p, n);
  }

 private:
  void Check(const TStatus& s) {
    if (!s && status) {
      status = s;
      push->Stop();
    }
  }
  void Add(const char* p, size_t n) {
    if (raw_.size() + n > TSheetBuilder::kMaxCell) return Check(TStatus(TFailure::CellTooLarge));
    raw_.append(p, n);
  }

  void StartCell(bool real, const TXmlAttributes& a) {
    columnRepeat_ = Repeat(a, "number-columns-repeated");
    inCell_ = true;
    raw_.clear();
    text_.clear();
    paragraphs_ = 0;
    useParagraphs_ = false;
    kind_ = TCellKind::Empty;
    bold_ = false;
    if (!real) return;  // covered by a merged area: left out
    bold_ = boldStyles_.count(std::string(a.Get("style-name"))) > 0;
    const std::string_view type = a.Get("value-type");
    if (type == "float" || type == "percentage" || type == "currency") {
      if (AppendDecimalAsNumberText(text_, a.Get("value"))) kind_ = TCellKind::Number;
    } else if (type == "date") {
      if (AppendIsoDate(text_, a.Get("date-value"))) kind_ = TCellKind::Text;
    } else if (type == "time") {
      if (AppendIsoTime(text_, a.Get("time-value"))) kind_ = TCellKind::Text;
    } else if (type == "string" || type == "boolean") {
      kind_ = TCellKind::Text;
      bool has;
      const std::string_view v = a.Get("string-value", &has);
      if (has)
        raw_.assign(v);
      else
        useParagraphs_ = true;
    }
  }

  void EndCell() {
    inCell_ = false;
    if (kind_ == TCellKind::Text && text_.empty()) AppendAsCp1252(text_, raw_, replaced_);
    const uint64_t end = uint64_t{column_} + columnRepeat_;
    if (kind_ != TCellKind::Empty && !text_.empty()) {
      if (end > TSheetBuilder::kMaxColumns) return Check(TStatus(TFailure::TooManyColumns));
      for (uint32_t c = column_; c < end && status; ++c)
        Check(builder_->Cell(c, kind_, text_, bold_));
    }
    // Empty cells only move the column on, however many the file repeats.
    column_ = end > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(end);
  }

  const std::string& wanted_;
  TSheetBuilder* builder_;
  int64_t& replaced_;
  int depth_ = 0;
  bool inTable_ = false, reading_ = false, inCell_ = false, useParagraphs_ = false, bold_ = false;
  std::string style_;                 // the cell style being defined
  std::set<std::string> boldStyles_;  // cell styles whose text is bold
  uint32_t rowRepeat_ = 1, columnRepeat_ = 1, column_ = 0;
  int paragraphs_ = 0;
  TCellKind kind_ = TCellKind::Empty;
  std::string raw_, text_;
};

// Whether settings.xml keeps the first row of sheet `sheet` in view above
// the others: a vertical split fixed (mode 2) below row 1.
class SettingsHandler : public TXmlHandler {
 public:
  explicit SettingsHandler(const std::string& sheet) : sheet_(sheet) {}
  bool Frozen() const { return mode_ == "2" && position_ == "1"; }

  void Start(std::string_view name, const TXmlAttributes& a) override {
    if (name == "config-item-map-named" && a.Get("name") == "Tables") {
      inTables_ = true;
    } else if (name == "config-item-map-entry" && inTables_) {
      inSheet_ = a.Get("name") == sheet_;
    } else if (name == "config-item" && inSheet_) {
      item_ = a.Get("name");
      text_.clear();
    }
  }
  void End(std::string_view name) override {
    if (name == "config-item-map-named") {
      inTables_ = inSheet_ = false;
    } else if (name == "config-item-map-entry") {
      inSheet_ = false;
    } else if (name == "config-item" && !item_.empty()) {
      if (item_ == "VerticalSplitMode") mode_ = text_;
      if (item_ == "VerticalSplitPosition") position_ = text_;
      item_.clear();
    }
  }
  void Text(const char* p, size_t n) override {
    if (!item_.empty() && text_.size() < 32) text_.append(p, std::min<size_t>(n, 32));
  }

 private:
  const std::string& sheet_;
  bool inTables_ = false, inSheet_ = false;
  std::string item_, text_, mode_, position_;
};

// A settings part that cannot be read marks nothing: the view's settings
// are no part of the table.
bool FirstRowFrozen(const std::string& path, const std::string& sheet) {
  TZipArchive zip;
  if (!zip.Open(path) || !zip.Has("settings.xml")) return false;
  SettingsHandler handler(sheet);
  TXmlPush xml(handler);
  return zip.Parse("settings.xml", xml) && handler.Frozen();
}

TStatus WalkContent(const std::string& path, ContentHandler& handler) {
  TZipArchive zip;
  TStatus s = zip.Open(path);
  if (!s) return s;
  if (!zip.Has(kContent)) return TStatus(TFailure::NotAWorkbook);
  TXmlPush xml(handler);
  handler.push = &xml;
  s = zip.Parse(kContent, xml);
  if (!handler.status) return handler.status;
  return s;
}

}  // namespace

TStatus TOdsReader::Sheets(const std::string& path, std::vector<std::string>& names) {
  int64_t replaced = 0;
  ContentHandler handler(std::string(), nullptr, replaced);
  const TStatus s = WalkContent(path, handler);
  if (s) names = handler.names;
  return s;
}

TStatus TOdsReader::Read(const std::string& path, const std::string& sheet, TQor2& table,
                         int64_t& replaced) {
  try {
    TSheetBuilder builder;
    ContentHandler handler(sheet, &builder, replaced);
    const TStatus s = WalkContent(path, handler);
    if (!s) return s;
    if (!handler.found)
      return handler.names.empty() ? TStatus(TFailure::NoTable)
                                   : TStatus(TFailure::NoSuchSheet, sheet);
    if (FirstRowFrozen(path, handler.chosen)) builder.MarkHeader();
    std::string name;
    AppendAsCp1252(name, handler.chosen, replaced);
    return builder.Finish(name, table);
  } catch (const std::bad_alloc&) {
    return TStatus(TFailure::OutOfMemory);
  }
}
