#include "TXlsxReader.h"

#include <cstdlib>
#include <new>

#include "NumberText.h"
#include "SheetDates.h"
#include "TQor2.h"
#include "TSheetBuilder.h"
#include "TXmlPush.h"
#include "TZipArchive.h"
#include "Utf8Text.h"

namespace {

// A cell's UTF-8 text as the table holds it: Windows-1252, and Excel's line
// breaks (LF) as the table's (CR LF).
void AppendCellText(std::string& out, std::string_view utf8, int64_t& replaced) {
  const size_t start = out.size();
  AppendAsCp1252(out, utf8, replaced);
  size_t lf = out.find('\n', start);
  if (lf == std::string::npos) return;
  std::string fixed = out.substr(start, lf - start);
  for (size_t i = lf; i < out.size(); ++i) {
    if (out[i] == '\n' && (i == start || out[i - 1] != '\r')) fixed.push_back('\r');
    fixed.push_back(out[i]);
  }
  out.resize(start);
  out += fixed;
}

// Parses a whole small part with a handler.
TStatus ParsePart(TZipArchive& zip, const std::string& name, TXmlHandler& handler) {
  TXmlPush xml(handler);
  return zip.Parse(name, xml);
}

struct Relationship {
  std::string id, type, target;
};

class RelsHandler : public TXmlHandler {
 public:
  std::vector<Relationship> rels;
  void Start(std::string_view name, const TXmlAttributes& a) override {
    if (name == "Relationship")
      rels.push_back(
          {std::string(a.Get("Id")), std::string(a.Get("Type")), std::string(a.Get("Target"))});
  }
  void End(std::string_view) override {}
  void Text(const char*, size_t) override {}
};

bool EndsWith(const std::string& s, const char* tail) {
  const size_t n = std::char_traits<char>::length(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// A relationship's target as a part name: relative to `folder`, or absolute.
std::string PartName(const std::string& folder, const std::string& target) {
  std::string path = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
  // Fold "x/../" away.
  for (size_t at; (at = path.find("/../")) != std::string::npos;) {
    const size_t start = path.rfind('/', at == 0 ? 0 : at - 1);
    path.erase(start == std::string::npos ? 0 : start + 1,
               at + 4 - (start == std::string::npos ? 0 : start + 1));
  }
  return path;
}

struct SheetEntry {
  std::string name, id;
};

class WorkbookHandler : public TXmlHandler {
 public:
  std::vector<SheetEntry> sheets;
  bool system1904 = false;
  void Start(std::string_view name, const TXmlAttributes& a) override {
    if (name == "sheet") {
      sheets.push_back({std::string(a.Get("name")), std::string(a.Get("id"))});
    } else if (name == "workbookPr") {
      const std::string_view d = a.Get("date1904");
      system1904 = d == "1" || d == "true";
    }
  }
  void End(std::string_view) override {}
  void Text(const char*, size_t) override {}
};

enum class NumberKind : unsigned char { Number, Date, Time };

NumberKind KindOfFormatCode(std::string_view code) {
  bool date = false, time = false;
  for (size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == '"') {
      const size_t close = code.find('"', i + 1);
      i = close == std::string_view::npos ? code.size() : close;
    } else if (c == '[') {
      const size_t close = code.find(']', i + 1);
      // [h], [mm], [ss]: elapsed time; other brackets are colours, locales.
      const std::string_view inner = code.substr(
          i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
      if (!inner.empty() && (inner[0] == 'h' || inner[0] == 'H' || inner[0] == 's' ||
                             inner[0] == 'S' || inner[0] == 'm' || inner[0] == 'M'))
        time = true;
      i = close == std::string_view::npos ? code.size() : close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == ';') {
      break;  // the first section decides
    } else {
      const char l = static_cast<char>(c | 0x20);
      if (l == 'y' || l == 'd' || l == 'm') date = true;
      if (l == 'h' || l == 's') time = true;
    }
  }
  // "m" beside hours or seconds is minutes.
  if (time) {
    bool dayOrYear = false;
    for (char c : code) dayOrYear = dayOrYear || (c | 0x20) == 'y' || (c | 0x20) == 'd';
    return dayOrYear ? NumberKind::Date : NumberKind::Time;
  }
  return date ? NumberKind::Date : NumberKind::Number;
}

NumberKind KindOfBuiltIn(unsigned id) {
  if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
    return NumberKind::Date;
  if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47)) return NumberKind::Time;
  return NumberKind::Number;
}

unsigned long Number(std::string_view text) {
  return std::strtoul(std::string(text).c_str(), nullptr, 10);
}

class StylesHandler : public TXmlHandler {
 public:
  std::vector<std::pair<unsigned, std::string>> formats;
  std::vector<unsigned> cellFormats;  // numFmtId of each cellXfs entry
  std::vector<unsigned> cellFonts;    // fontId of each cellXfs entry
  std::vector<bool> boldFonts;        // of each font
  void Start(std::string_view name, const TXmlAttributes& a) override {
    if (name == "numFmt") {
      formats.emplace_back(Number(a.Get("numFmtId")), std::string(a.Get("formatCode")));
    } else if (name == "cellXfs") {
      inCellXfs_ = true;
    } else if (name == "xf" && inCellXfs_) {
      cellFormats.push_back(Number(a.Get("numFmtId")));
      cellFonts.push_back(Number(a.Get("fontId")));
    } else if (name == "fonts") {
      inFonts_ = true;
    } else if (name == "font" && inFonts_) {
      boldFonts.push_back(false);
    } else if (name == "b" && inFonts_ && !boldFonts.empty()) {
      const std::string_view v = a.Get("val");
      boldFonts.back() = v != "0" && v != "false";
    }
  }
  void End(std::string_view name) override {
    if (name == "cellXfs") inCellXfs_ = false;
    if (name == "fonts") inFonts_ = false;
  }

  // Whether each cellXfs entry shows its cells in bold.
  std::vector<bool> Bold() const {
    std::vector<bool> bold;
    for (const unsigned f : cellFonts) bold.push_back(f < boldFonts.size() && boldFonts[f]);
    return bold;
  }
  void Text(const char*, size_t) override {}

  std::vector<NumberKind> Kinds() const {
    std::vector<NumberKind> kinds;
    for (const unsigned id : cellFormats) {
      NumberKind k = KindOfBuiltIn(id);
      for (const auto& f : formats)
        if (f.first == id) k = KindOfFormatCode(f.second);
      kinds.push_back(k);
    }
    return kinds;
  }

 private:
  bool inCellXfs_ = false;
  bool inFonts_ = false;
};

// The shared strings: every <si>'s text (its runs, without phonetic hints),
// as Windows-1252 one after another.
class SharedStringsHandler : public TXmlHandler {
 public:
  explicit SharedStringsHandler(int64_t& replaced) : replaced_(replaced) {}
  std::string text;
  std::vector<size_t> ends;
  TStatus status;
  TXmlPush* push = nullptr;

  void Start(std::string_view name, const TXmlAttributes&) override {
    if (name == "si") {
      inItem_ = true;
      raw_.clear();
    } else if (name == "t") {
      inText_ = inItem_ && !inPhonetic_;
    } else if (name == "rPh") {
      inPhonetic_ = true;
    }
  }
  void End(std::string_view name) override {
    if (name == "t") {
      inText_ = false;
    } else if (name == "rPh") {
      inPhonetic_ = false;
    } else if (name == "si") {
      inItem_ = false;
      AppendCellText(text, raw_, replaced_);
      ends.push_back(text.size());
    }
  }
  void Text(const char* p, size_t n) override {
    if (!inText_) return;
    if (raw_.size() + n > TSheetBuilder::kMaxCell) {
      status = TStatus(TFailure::CellTooLarge);
      push->Stop();
      return;
    }
    raw_.append(p, n);
  }
  std::string_view Item(size_t i) const {
    const size_t begin = i == 0 ? 0 : ends[i - 1];
    return std::string_view(text).substr(begin, ends[i] - begin);
  }

 private:
  int64_t& replaced_;
  std::string raw_;
  bool inItem_ = false, inText_ = false, inPhonetic_ = false;
};

// Column number (0-based) of a cell reference such as "AB12"; false when the
// letters name no column below the limit.
bool ColumnOf(std::string_view ref, uint32_t& column, uint32_t& row) {
  uint64_t c = 0;
  size_t i = 0;
  for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) {
    c = c * 26 + static_cast<uint64_t>(ref[i] - 'A' + 1);
    if (c > TSheetBuilder::kMaxColumns) return false;
  }
  if (i == 0) return false;
  column = static_cast<uint32_t>(c - 1);
  uint64_t r = 0;
  for (; i < ref.size() && ref[i] >= '0' && ref[i] <= '9' && r <= UINT32_MAX; ++i)
    r = r * 10 + static_cast<uint64_t>(ref[i] - '0');
  row = r > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(r);
  return true;
}

class SheetHandler : public TXmlHandler {
 public:
  SheetHandler(TSheetBuilder& builder, const SharedStringsHandler& strings,
               const std::vector<NumberKind>& kinds, const std::vector<bool>& bold, bool system1904,
               int64_t& replaced)
      : builder_(builder),
        strings_(strings),
        kinds_(kinds),
        bold_(bold),
        system1904_(system1904),
        replaced_(replaced) {}
  TStatus status;
  TXmlPush* push = nullptr;

  void Start(std::string_view name, const TXmlAttributes& a) override {
    if (name == "c") {
      // One walk over the attributes: this runs for every cell.
      std::string_view ref, type, style;
      bool has = false;
      for (int i = 0; i < a.Count(); ++i) {
        const char* n = a.Name(i);
        if (n[0] == 'r' && n[1] == 0) {
          ref = a.Value(i);
          has = true;
        } else if (n[0] == 't' && n[1] == 0) {
          type = a.Value(i);
        } else if (n[0] == 's' && n[1] == 0) {
          style = a.Value(i);
        }
      }
      uint32_t row = 0;
      if (has) {
        if (!ColumnOf(ref, column_, row)) return Fail(TFailure::TooManyColumns);
        if (row > TSheetBuilder::kMaxRows) return Fail(TFailure::TooManyRows);
      } else {
        column_ = nextColumn_;
      }
      nextColumn_ = column_ + 1;
      type_.assign(type);
      style_ = 0;
      for (const char c : style) style_ = c >= '0' && c <= '9' ? style_ * 10 + (c - '0') : style_;
      value_.clear();
      inCell_ = true;
    } else if (name == "v") {
      collect_ = inCell_;
    } else if (name == "t") {
      collect_ = inCell_ && !inPhonetic_;
    } else if (name == "rPh") {
      inPhonetic_ = true;
    } else if (name == "pane") {
      // The first row kept in view above the others: the sheet's header.
      const std::string_view state = a.Get("state");
      if ((state == "frozen" || state == "frozenSplit") &&
          std::strtod(std::string(a.Get("ySplit")).c_str(), nullptr) == 1)
        builder_.MarkHeader();
    } else if (name == "row") {
      const std::string_view r = a.Get("r");
      if (!r.empty() &&
          std::strtoull(std::string(r).c_str(), nullptr, 10) > TSheetBuilder::kMaxRows)
        return Fail(TFailure::TooManyRows);
      nextColumn_ = 0;
    }
  }

  void End(std::string_view name) override {
    if (name == "v" || name == "t") {
      collect_ = false;
    } else if (name == "rPh") {
      inPhonetic_ = false;
    } else if (name == "c") {
      inCell_ = false;
      Cell();
    } else if (name == "row") {
      Check(builder_.EndRow());
    }
  }

  void Text(const char* p, size_t n) override {
    if (!collect_) return;
    if (value_.size() + n > TSheetBuilder::kMaxCell) return Fail(TFailure::CellTooLarge);
    value_.append(p, n);
  }

 private:
  void Fail(TFailure cause) {
    if (status) status = TStatus(cause);
    push->Stop();
  }
  void Check(const TStatus& s) {
    if (!s && status) {
      status = s;
      push->Stop();
    }
  }

  void Cell() {
    if (!status) return;
    text_.clear();
    TCellKind kind = TCellKind::Text;
    const bool bold = style_ < bold_.size() && bold_[style_];
    if (type_ == "s") {
      if (value_.empty()) return;
      char* end;
      const unsigned long i = std::strtoul(value_.c_str(), &end, 10);
      if (*end != 0 || i >= strings_.ends.size()) return Fail(TFailure::DamagedFile);
      const std::string_view item = strings_.Item(i);
      Check(builder_.Cell(column_, item.empty() ? TCellKind::Empty : TCellKind::Text, item, bold));
      return;
    } else if (type_ == "inlineStr" || type_ == "str" || type_ == "e") {
      AppendCellText(text_, value_, replaced_);
    } else if (type_ == "b") {
      if (!value_.empty()) text_ = value_ == "1" || value_ == "true" ? "VRAI" : "FAUX";
    } else if (type_ == "d") {
      if (!AppendIsoDate(text_, value_)) AppendAsCp1252(text_, value_, replaced_);
    } else if (!value_.empty()) {
      const NumberKind k = style_ < kinds_.size() ? kinds_[style_] : NumberKind::Number;
      bool done = false;
      if (k != NumberKind::Number) {
        char* end;
        const double serial = std::strtod(value_.c_str(), &end);
        done = *end == 0 && AppendSerialDate(text_, serial, system1904_, k == NumberKind::Time);
      }
      if (!done) {
        if (!AppendDecimalAsNumberText(text_, value_)) return Fail(TFailure::DamagedFile);
        kind = TCellKind::Number;
      }
    }
    Check(builder_.Cell(column_, text_.empty() ? TCellKind::Empty : kind, text_, bold));
  }

  TSheetBuilder& builder_;
  const SharedStringsHandler& strings_;
  const std::vector<NumberKind>& kinds_;
  const std::vector<bool>& bold_;
  bool system1904_;
  int64_t& replaced_;
  uint32_t column_ = 0, nextColumn_ = 0;
  std::string type_;
  unsigned long style_ = 0;
  std::string value_, text_;
  bool inCell_ = false, collect_ = false, inPhonetic_ = false;
};

struct Workbook {
  TZipArchive zip;
  std::string folder;  // of the workbook part, with its "/"
  WorkbookHandler book;
  std::vector<Relationship> rels;
};

TStatus OpenWorkbook(const std::string& path, Workbook& wb) {
  TStatus s = wb.zip.Open(path);
  if (!s) return s;
  std::string main = "xl/workbook.xml";
  if (wb.zip.Has("_rels/.rels")) {
    RelsHandler root;
    s = ParsePart(wb.zip, "_rels/.rels", root);
    if (!s) return s;
    for (const Relationship& r : root.rels)
      if (EndsWith(r.type, "/officeDocument")) main = PartName("", r.target);
  }
  if (!wb.zip.Has(main)) return TStatus(TFailure::NotAWorkbook);
  const size_t slash = main.rfind('/');
  wb.folder = slash == std::string::npos ? "" : main.substr(0, slash + 1);
  s = ParsePart(wb.zip, main, wb.book);
  if (!s) return s;
  const std::string relsName = wb.folder + "_rels/" + main.substr(wb.folder.size()) + ".rels";
  if (wb.zip.Has(relsName)) {
    RelsHandler rels;
    s = ParsePart(wb.zip, relsName, rels);
    if (!s) return s;
    wb.rels = std::move(rels.rels);
  }
  return TStatus::Ok();
}

}  // namespace

TStatus TXlsxReader::Sheets(const std::string& path, std::vector<std::string>& names) {
  Workbook wb;
  const TStatus s = OpenWorkbook(path, wb);
  if (!s) return s;
  names.clear();
  for (const SheetEntry& e : wb.book.sheets) names.push_back(e.name);
  return TStatus::Ok();
}

TStatus TXlsxReader::Read(const std::string& path, const std::string& sheet, TQor2& table,
                          int64_t& replaced) {
  try {
    Workbook wb;
    TStatus s = OpenWorkbook(path, wb);
    if (!s) return s;
    if (wb.book.sheets.empty()) return TStatus(TFailure::NoTable);
    const SheetEntry* entry = nullptr;
    for (const SheetEntry& e : wb.book.sheets)
      if (!entry && (sheet.empty() || e.name == sheet)) entry = &e;
    if (!entry) return TStatus(TFailure::NoSuchSheet, sheet);
    std::string sheetPart, stylesPart, stringsPart;
    for (const Relationship& r : wb.rels) {
      if (r.id == entry->id) sheetPart = PartName(wb.folder, r.target);
      if (EndsWith(r.type, "/styles")) stylesPart = PartName(wb.folder, r.target);
      if (EndsWith(r.type, "/sharedStrings")) stringsPart = PartName(wb.folder, r.target);
    }
    if (sheetPart.empty() || !wb.zip.Has(sheetPart))
      return TStatus(TFailure::DamagedFile, sheetPart);

    std::vector<NumberKind> kinds;
    std::vector<bool> bold;
    if (!stylesPart.empty() && wb.zip.Has(stylesPart)) {
      StylesHandler styles;
      s = ParsePart(wb.zip, stylesPart, styles);
      if (!s) return s;
      kinds = styles.Kinds();
      bold = styles.Bold();
    }
    SharedStringsHandler strings(replaced);
    if (!stringsPart.empty() && wb.zip.Has(stringsPart)) {
      TXmlPush xml(strings);
      strings.push = &xml;
      s = wb.zip.Parse(stringsPart, xml);
      if (!strings.status) return strings.status;
      if (!s) return s;
    }

    TSheetBuilder builder;
    SheetHandler handler(builder, strings, kinds, bold, wb.book.system1904, replaced);
    TXmlPush xml(handler);
    handler.push = &xml;
    s = wb.zip.Parse(sheetPart, xml);
    if (!handler.status) return handler.status;
    if (!s) return s;
    std::string name;
    AppendAsCp1252(name, entry->name, replaced);
    return builder.Finish(name, table);
  } catch (const std::bad_alloc&) {
    return TStatus(TFailure::OutOfMemory);
  }
}
