#include "TOdsWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "NumberText.h"
#include "SheetLayout.h"
#include "TQor2.h"
#include "TZipWriter.h"
#include "Utf8Text.h"
#include "XmlText.h"

namespace {

const char kMimeType[] = "application/vnd.oasis.opendocument.spreadsheet";

const char kNamespaces[] =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\""
    " office:version=\"1.2\"";

const char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\""
    " manifest:version=\"1.2\">\n"
    " <manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\""
    " manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>\n"
    " <manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
    " <manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>\n"
    " <manifest:file-entry manifest:full-path=\"settings.xml\" manifest:media-type=\"text/xml\"/>\n"
    "</manifest:manifest>\n";

// XML character data of Windows-1252 bytes, as UTF-8; with `paragraph`, the
// tabs, runs of spaces and line breaks that a text:p would lose are marked.
void AppendXmlText(std::string& out, std::string_view v, bool paragraph) {
  bool space = !paragraph;  // a space at the start of a paragraph is marked too
  size_t i = 0;
  while (i < v.size()) {
    const unsigned char c = static_cast<unsigned char>(v[i]);
    if (paragraph && c == ' ' && space) {
      size_t n = 0;
      while (i < v.size() && v[i] == ' ') ++n, ++i;
      out += n == 1 ? "<text:s/>" : "<text:s text:c=\"" + std::to_string(n) + "\"/>";
      space = false;
      continue;
    }
    space = paragraph && c == ' ';
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c == '\t') {
      out += paragraph ? "<text:tab/>" : "&#9;";
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < v.size() && v[i + 1] == '\n') ++i;
      out += paragraph ? "<text:line-break/>" : "&#10;";
      space = paragraph;
    } else if (c < 0x20) {
      // No XML can hold it.
    } else if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      AppendUtf8(out, Cp1252ToUnicode(c));
    }
    ++i;
  }
}

// content.xml, made a few hundred records at a time.
struct Content {
  const TQor2* table;
  const TSheetLayout* layout;
  size_t next = 0;  // the next record to write
  bool started = false;

  void Begin(std::string& out) {
    out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content";
    out += kNamespaces;
    out += "><office:automatic-styles>";
    for (size_t c = 0; c < layout->widths.size(); ++c) {
      char w[64];
      std::snprintf(w, sizeof w, "%.2fcm", layout->widths[c] * 0.2 + 0.2);
      out += "<style:style style:name=\"co" + std::to_string(c + 1) +
             "\" style:family=\"table-column\"><style:table-column-properties "
             "style:column-width=\"" +
             std::string(w) + "\"/></style:style>";
    }
    out +=
        "<style:style style:name=\"ce1\" style:family=\"table-cell\"><style:text-properties "
        "fo:font-weight=\"bold\" style:font-weight-asian=\"bold\" "
        "style:font-weight-complex=\"bold\"/></style:style></office:automatic-styles>"
        "<office:body><office:spreadsheet><table:table table:name=\"";
    AppendXmlEscaped(out, layout->sheetName);
    out += "\">";
    for (size_t c = 0; c < layout->widths.size(); ++c)
      out += "<table:table-column table:style-name=\"co" + std::to_string(c + 1) + "\"/>";
    out += "<table:table-row>";
    for (int c = 0; c < table->FieldCount(); ++c) {
      out += "<table:table-cell table:style-name=\"ce1\" office:value-type=\"string\"><text:p>";
      AppendXmlText(out, table->Names().Get(c), true);
      out += "</text:p></table:table-cell>";
    }
    out += "</table:table-row>";
  }

  void Record(std::string& out, const TKStringList& r) {
    out += "<table:table-row>";
    std::string decimal;
    for (int c = 0; c < r.Count(); ++c) {
      const TValueView v = r.Get(c);
      double number;
      if (v.empty()) {
        out += "<table:table-cell/>";
      } else if (layout->numbers[c] && ParseTableNumber(v, number, &decimal)) {
        out += "<table:table-cell office:value-type=\"float\" office:value=\"";
        out += decimal;
        out += "\"><text:p>";
        AppendXmlText(out, v, true);
        out += "</text:p></table:table-cell>";
      } else {
        out += "<table:table-cell office:value-type=\"string\"><text:p>";
        AppendXmlText(out, v, true);
        out += "</text:p></table:table-cell>";
      }
    }
    out += "</table:table-row>";
  }

  // The next piece; false once the part is complete.
  bool Produce(std::string& out) {
    if (!started) {
      started = true;
      Begin(out);
      return true;
    }
    const auto& records = table->RecordList().Items();
    while (out.size() < (size_t{1} << 17) && next < records.size()) Record(out, *records[next++]);
    if (next < records.size()) return true;
    out += "</table:table></office:spreadsheet></office:body></office:document-content>\n";
    return false;
  }
};

std::string Settings(const std::string& sheetName) {
  auto item = [](const char* name, const char* type, const char* value) {
    return std::string("<config:config-item config:name=\"") + name + "\" config:type=\"" + type +
           "\">" + value + "</config:config-item>";
  };
  std::string escaped;
  AppendXmlEscaped(escaped, sheetName);
  // The first row frozen: a vertical split fixed below row 1, the lower
  // part active.
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-settings") +
         kNamespaces +
         "><office:settings><config:config-item-set config:name=\"ooo:view-settings\">"
         "<config:config-item-map-indexed config:name=\"Views\"><config:config-item-map-entry>" +
         item("ViewId", "string", "view1") +
         "<config:config-item-map-named config:name=\"Tables\"><config:config-item-map-entry "
         "config:name=\"" +
         escaped + "\">" + item("HorizontalSplitMode", "short", "0") +
         item("VerticalSplitMode", "short", "2") + item("HorizontalSplitPosition", "int", "0") +
         item("VerticalSplitPosition", "int", "1") + item("ActiveSplitRange", "short", "2") +
         item("PositionLeft", "int", "0") + item("PositionRight", "int", "0") +
         item("PositionTop", "int", "0") + item("PositionBottom", "int", "1") +
         "</config:config-item-map-entry></config:config-item-map-named>" +
         item("ActiveTable", "string", escaped.c_str()) +
         "</config:config-item-map-entry></config:config-item-map-indexed>"
         "</config:config-item-set></office:settings></office:document-settings>\n";
}

}  // namespace

TStatus TOdsWriter::Write(const TQor2& table, const std::string& path) {
  const TSheetLayout layout = TSheetLayout::Of(table);
  TZipWriter zip;
  const TStatus s = zip.Open(path);
  if (!s) return s;
  Content content{&table, &layout};
  zip.Add("mimetype", kMimeType, true);
  zip.Add("META-INF/manifest.xml", kManifest);
  zip.AddStream("content.xml", [&content](std::string& out) { return content.Produce(out); });
  zip.Add("styles.xml", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<office:document-styles") +
                            kNamespaces + "/>\n");
  zip.Add("settings.xml", Settings(layout.sheetName));
  return zip.Close();
}
