#include "TXlsxWriter.h"

#include <charconv>
#include <cstdio>

#include "NumberText.h"
#include "SheetLayout.h"
#include "TQor2.h"
#include "TZipWriter.h"
#include "Utf8Text.h"
#include "XmlText.h"

namespace {

constexpr size_t kMaxRows = 1048576, kMaxColumns = 16384, kMaxText = 32767;

const char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char kRel[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char kPackageRel[] = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string ContentTypes() {
  const std::string ml = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" "
         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
         ml +
         "sheet.main+xml\"/>"
         "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" +
         ml +
         "worksheet+xml\"/>"
         "<Override PartName=\"/xl/styles.xml\" ContentType=\"" +
         ml + "styles+xml\"/></Types>";
}

std::string Relationships(const std::string& items) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
         "<Relationships xmlns=\"" + kPackageRel + "\">" + items + "</Relationships>";
}

std::string Relationship(const char* id, const char* type, const char* target) {
  return std::string("<Relationship Id=\"") + id + "\" Type=\"" + kRel + "/" + type +
         "\" Target=\"" + target + "\"/>";
}

std::string Workbook(const std::string& sheetName) {
  std::string out = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
                    "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel +
                    "\"><bookViews><workbookView/></bookViews><sheets><sheet name=\"";
  AppendXmlEscaped(out, sheetName);
  return out + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
}

// Style 0 plain, style 1 bold.
std::string Styles() {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
         "<styleSheet xmlns=\"" + kMain +
         "\"><fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family "
         "val=\"2\"/></font><font><b/><sz val=\"11\"/><name val=\"Calibri\"/><family "
         "val=\"2\"/></font></fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/>"
         "</fill><fill><patternFill patternType=\"gray125\"/></fill></fills><borders "
         "count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
         "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
         "</cellStyleXfs><cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
         "borderId=\"0\" xfId=\"0\"/><xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" "
         "xfId=\"0\" applyFont=\"1\"/></cellXfs><cellStyles count=\"1\"><cellStyle "
         "name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>";
}

void AppendColumn(std::string& out, size_t c) {
  char letters[4];
  int n = 0;
  for (size_t k = c + 1; k > 0; k = (k - 1) / 26)
    letters[n++] = static_cast<char>('A' + (k - 1) % 26);
  while (n > 0) out.push_back(letters[--n]);
}

// An inline string cell: the table's text as UTF-8, its line breaks (CR LF)
// as Excel's (LF), control characters XML cannot hold left out, blanks kept.
void AppendTextCell(std::string& out, std::string_view v, const char* style) {
  out += style;
  out += " t=\"inlineStr\"><is><t";
  if (!v.empty() &&
      (v.front() == ' ' || v.back() == ' ' || v.find_first_of("\t\r\n") != std::string_view::npos))
    out += " xml:space=\"preserve\"";
  out.push_back('>');
  for (size_t i = 0; i < v.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(v[i]);
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '\r') {
      if (i + 1 < v.size() && v[i + 1] == '\n') ++i;
      out.push_back('\n');
    } else if (c < 0x20 && c != '\t' && c != '\n') {
      // No XML can hold it.
    } else if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      AppendUtf8(out, Cp1252ToUnicode(c));
    }
  }
  out += "</t></is></c>";
}

struct Sheet {
  const TQor2* table;
  const TSheetLayout* layout;
  size_t next = 0;
  bool started = false;

  void Begin(std::string& out) {
    const int fields = table->FieldCount();
    out = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
          "<worksheet xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel + "\"><dimension ref=\"A1";
    if (fields > 0) {
      out.push_back(':');
      AppendColumn(out, static_cast<size_t>(fields - 1));
      out += std::to_string(table->RecordCount() + 1);
    }
    // The first row frozen.
    out +=
        "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"><pane ySplit=\"1\" "
        "topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/><selection "
        "pane=\"bottomLeft\" activeCell=\"A2\" sqref=\"A2\"/></sheetView></sheetViews>"
        "<sheetFormatPr defaultRowHeight=\"15\"/>";
    if (fields > 0) {
      out += "<cols>";
      for (int c = 0; c < fields; ++c) {
        char col[96];
        std::snprintf(col, sizeof col,
                      "<col min=\"%d\" max=\"%d\" width=\"%.2f\" customWidth=\"1\"/>", c + 1, c + 1,
                      layout->widths[c] + 0.71);
        out += col;
      }
      out += "</cols>";
    }
    out += "<sheetData><row r=\"1\">";
    for (int c = 0; c < fields; ++c) {
      out += "<c r=\"";
      AppendColumn(out, static_cast<size_t>(c));
      out += "1\"";
      AppendTextCell(out, table->Names().Get(c), " s=\"1\"");
    }
    out += "</row>";
  }

  void Record(std::string& out, size_t k, const TKStringList& r) {
    const std::string row = std::to_string(k + 2);
    out += "<row r=\"" + row + "\">";
    for (int c = 0; c < r.Count(); ++c) {
      const TValueView v = r.Get(c);
      if (v.empty()) continue;
      out += "<c r=\"";
      AppendColumn(out, static_cast<size_t>(c));
      out += row;
      out.push_back('"');
      double number;
      if (layout->numbers[c] && ParseTableNumber(v, number)) {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        out += "><v>";
        out.append(digits, end);
        out += "</v></c>";
      } else {
        AppendTextCell(out, v, "");
      }
    }
    out += "</row>";
  }

  bool Produce(std::string& out) {
    if (!started) {
      started = true;
      Begin(out);
      return true;
    }
    const auto& records = table->RecordList().Items();
    while (out.size() < (size_t{1} << 17) && next < records.size()) {
      Record(out, next, *records[next]);
      ++next;
    }
    if (next < records.size()) return true;
    out += "</sheetData></worksheet>";
    return false;
  }
};

}  // namespace

TStatus TXlsxWriter::Write(const TQor2& table, const std::string& path) {
  if (static_cast<size_t>(table.RecordCount()) >= kMaxRows ||
      static_cast<size_t>(table.FieldCount()) > kMaxColumns)
    return TStatus(TFailure::TooLargeForXlsx);
  const TSheetLayout layout = TSheetLayout::Of(table);
  if (layout.longest > kMaxText) return TStatus(TFailure::TooLargeForXlsx);
  TZipWriter zip;
  const TStatus s = zip.Open(path);
  if (!s) return s;
  Sheet sheet{&table, &layout};
  zip.Add("[Content_Types].xml", ContentTypes());
  zip.Add("_rels/.rels", Relationships(Relationship("rId1", "officeDocument", "xl/workbook.xml")));
  zip.Add("xl/workbook.xml", Workbook(layout.sheetName));
  zip.Add("xl/_rels/workbook.xml.rels",
          Relationships(Relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                        Relationship("rId2", "styles", "styles.xml")));
  zip.Add("xl/styles.xml", Styles());
  zip.AddStream("xl/worksheets/sheet1.xml",
                [&sheet](std::string& out) { return sheet.Produce(out); });
  return zip.Close();
}
