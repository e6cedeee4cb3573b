#include "TOdsWriter.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "NumberText.h"
#include "SheetLayout.h"
#include "TQor2.h"
#include "TStagedFile.h"
#include "Utf8Text.h"

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

struct ContentSource {
  const TQor2* table;
  const TSheetLayout* layout;
  size_t next = 0;      // the next record to write
  bool started = false, ended = false;
  std::string buf;
  size_t pos = 0;
  zip_error_t error;

  void Begin() {
    buf = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content";
    buf += kNamespaces;
    buf += "><office:automatic-styles>";
    for (size_t c = 0; c < layout->widths.size(); ++c) {
      char w[64];
      std::snprintf(w, sizeof w, "%.2fcm", layout->widths[c] * 0.2 + 0.2);
      buf += "<style:style style:name=\"co" + std::to_string(c + 1) +
             "\" style:family=\"table-column\"><style:table-column-properties "
             "style:column-width=\"" + std::string(w) + "\"/></style:style>";
    }
    buf +=
        "<style:style style:name=\"ce1\" style:family=\"table-cell\"><style:text-properties "
        "fo:font-weight=\"bold\" style:font-weight-asian=\"bold\" "
        "style:font-weight-complex=\"bold\"/></style:style></office:automatic-styles>"
        "<office:body><office:spreadsheet><table:table table:name=\"";
    // The sheet's name is UTF-8 already.
    for (const char c : layout->sheetName) {
      if (c == '&')
        buf += "&amp;";
      else if (c == '<')
        buf += "&lt;";
      else if (c == '"')
        buf += "&quot;";
      else
        buf.push_back(c);
    }
    buf += "\">";
    for (size_t c = 0; c < layout->widths.size(); ++c)
      buf += "<table:table-column table:style-name=\"co" + std::to_string(c + 1) + "\"/>";
    buf += "<table:table-row>";
    for (int c = 0; c < table->FieldCount(); ++c) {
      buf += "<table:table-cell table:style-name=\"ce1\" office:value-type=\"string\"><text:p>";
      AppendXmlText(buf, table->Names().Get(c), true);
      buf += "</text:p></table:table-cell>";
    }
    buf += "</table:table-row>";
  }

  void Record(const TKStringList& r) {
    buf += "<table:table-row>";
    std::string decimal;
    for (int c = 0; c < r.Count(); ++c) {
      const TValueView v = r.Get(c);
      double number;
      if (v.empty()) {
        buf += "<table:table-cell/>";
      } else if (layout->numbers[c] && ParseTableNumber(v, number, &decimal)) {
        buf += "<table:table-cell office:value-type=\"float\" office:value=\"";
        buf += decimal;
        buf += "\"><text:p>";
        AppendXmlText(buf, v, true);
        buf += "</text:p></table:table-cell>";
      } else {
        buf += "<table:table-cell office:value-type=\"string\"><text:p>";
        AppendXmlText(buf, v, true);
        buf += "</text:p></table:table-cell>";
      }
    }
    buf += "</table:table-row>";
  }

  // Makes more of the file when all made so far was read; false at its end.
  bool Refill() {
    if (pos < buf.size()) return true;
    buf.clear();
    pos = 0;
    if (!started) {
      started = true;
      Begin();
      return true;
    }
    if (ended) return false;
    const auto& records = table->RecordList().Items();
    while (buf.size() < (size_t{1} << 17) && next < records.size()) Record(*records[next++]);
    if (next == records.size() && buf.size() < (size_t{1} << 17)) {
      buf += "</table:table></office:spreadsheet></office:body></office:document-content>\n";
      ended = true;
    }
    return !buf.empty();
  }

  static zip_int64_t Callback(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* s = static_cast<ContentSource*>(state);
    switch (cmd) {
      case ZIP_SOURCE_OPEN:
        s->next = 0;
        s->started = s->ended = false;
        s->buf.clear();
        s->pos = 0;
        return 0;
      case ZIP_SOURCE_READ: {
        zip_uint64_t done = 0;
        char* out = static_cast<char*>(data);
        try {
          while (done < len && s->Refill()) {
            const size_t n = std::min<size_t>(len - done, s->buf.size() - s->pos);
            std::memcpy(out + done, s->buf.data() + s->pos, n);
            s->pos += n;
            done += n;
          }
        } catch (const std::bad_alloc&) {
          zip_error_set(&s->error, ZIP_ER_MEMORY, 0);
          return -1;
        }
        return static_cast<zip_int64_t>(done);
      }
      case ZIP_SOURCE_CLOSE:
        return 0;
      case ZIP_SOURCE_STAT: {
        auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &s->error);
        if (!st) return -1;
        zip_stat_init(st);
        return sizeof(zip_stat_t);
      }
      case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&s->error, data, len);
      case ZIP_SOURCE_FREE:
        return 0;
      case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
      default:
        zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
  }
};

std::string Settings(const std::string& sheetName) {
  auto item = [](const char* name, const char* type, const char* value) {
    return std::string("<config:config-item config:name=\"") + name + "\" config:type=\"" + type +
           "\">" + value + "</config:config-item>";
  };
  std::string escaped;
  for (const char c : sheetName) {
    if (c == '&')
      escaped += "&amp;";
    else if (c == '<')
      escaped += "&lt;";
    else if (c == '"')
      escaped += "&quot;";
    else
      escaped.push_back(c);
  }
  // The first row frozen: a vertical split fixed below row 1, the lower
  // part active.
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-settings") +
         kNamespaces +
         "><office:settings><config:config-item-set config:name=\"ooo:view-settings\">"
         "<config:config-item-map-indexed config:name=\"Views\"><config:config-item-map-entry>" +
         item("ViewId", "string", "view1") +
         "<config:config-item-map-named config:name=\"Tables\"><config:config-item-map-entry "
         "config:name=\"" + escaped + "\">" +
         item("HorizontalSplitMode", "short", "0") + item("VerticalSplitMode", "short", "2") +
         item("HorizontalSplitPosition", "int", "0") + item("VerticalSplitPosition", "int", "1") +
         item("ActiveSplitRange", "short", "2") + item("PositionLeft", "int", "0") +
         item("PositionRight", "int", "0") + item("PositionTop", "int", "0") +
         item("PositionBottom", "int", "1") +
         "</config:config-item-map-entry></config:config-item-map-named>" +
         item("ActiveTable", "string", escaped.c_str()) +
         "</config:config-item-map-entry></config:config-item-map-indexed>"
         "</config:config-item-set></office:settings></office:document-settings>\n";
}

TFailure ZipWriteFailure(zip_error_t* e) {
  const int system = zip_error_code_system(e);
  if (zip_error_code_zip(e) == ZIP_ER_MEMORY) return TFailure::OutOfMemory;
  if (system == ENOSPC || system == EDQUOT) return TFailure::DiskFull;
  if (system != 0) return WriteFailure(system);
  return TFailure::WriteError;
}

// Adds a part from bytes that live as long as the archive.
bool AddBuffer(zip_t* z, const char* name, const std::string& bytes, bool store) {
  zip_source_t* src = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
  if (!src) return false;
  const zip_int64_t i = zip_file_add(z, name, src, ZIP_FL_ENC_UTF_8);
  if (i < 0) {
    zip_source_free(src);
    return false;
  }
  return !store || zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0) == 0;
}

}  // namespace

TStatus TOdsWriter::Write(const TQor2& table, const std::string& path) {
  const TSheetLayout layout = TSheetLayout::Of(table);
  TStagedFile file;
  TStatus s = file.Open(path);
  if (!s) return s;
  int error = 0;
  zip_t* z = zip_open(file.Path().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!z) return TStatus(TFailure::WriteError);
  const std::string mime = kMimeType, manifest = kManifest;
  const std::string styles = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                         "<office:document-styles") +
                             kNamespaces + "/>\n";
  const std::string settings = Settings(layout.sheetName);
  ContentSource content;
  content.table = &table;
  content.layout = &layout;
  zip_error_init(&content.error);
  bool ok = AddBuffer(z, "mimetype", mime, true) &&
            AddBuffer(z, "META-INF/manifest.xml", manifest, false);
  if (ok) {
    zip_source_t* src = zip_source_function(z, &ContentSource::Callback, &content);
    zip_int64_t i = src ? zip_file_add(z, "content.xml", src, ZIP_FL_ENC_UTF_8) : -1;
    if (src && i < 0) zip_source_free(src);
    ok = i >= 0 && zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_DEFLATE, 1) == 0;
  }
  ok = ok && AddBuffer(z, "styles.xml", styles, false) &&
       AddBuffer(z, "settings.xml", settings, false);
  if (!ok) {
    zip_discard(z);
    zip_error_fini(&content.error);
    return TStatus(TFailure::OutOfMemory);
  }
  if (zip_close(z) != 0) {
    const TFailure cause = ZipWriteFailure(zip_get_error(z));
    zip_discard(z);
    zip_error_fini(&content.error);
    return TStatus(cause);
  }
  zip_error_fini(&content.error);
  return file.Commit();
}
