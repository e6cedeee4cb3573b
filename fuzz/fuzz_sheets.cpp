// Fuzzes the spreadsheet readers on their XML: the first byte chooses the
// format (even: the sheet of an .xlsx beside fixed shared strings and styles,
// odd: the content.xml of an .ods); the rest is that part, stored in a zip
// written to a private file, then read with the first sheet.

#include <zip.h>

#include <cstdint>
#include <string>

#include "ForeignTable.h"
#include "FuzzFile.h"
#include "TQor2.h"

namespace {

std::string Archive(bool xlsx, const std::string& part) {
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  std::vector<std::pair<std::string, std::string>> parts;
  if (xlsx) {
    parts = {{"xl/workbook.xml", "<workbook xmlns:r=\"" + rel +
                                     "\"><sheets><sheet name=\"s\" r:id=\"rId1\"/>"
                                     "</sheets></workbook>"},
             {"xl/_rels/workbook.xml.rels",
              "<Relationships><Relationship Id=\"rId1\" Type=\"" + rel +
                  "/worksheet\" Target=\"s.xml\"/><Relationship Id=\"rId2\" Type=\"" + rel +
                  "/sharedStrings\" Target=\"t.xml\"/><Relationship Id=\"rId3\" Type=\"" + rel +
                  "/styles\" Target=\"y.xml\"/></Relationships>"},
             {"xl/t.xml", "<sst><si><t>a</t></si><si><r><t>b</t></r></si></sst>"},
             {"xl/y.xml",
              "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/>"
              "<xf numFmtId=\"20\"/></cellXfs></styleSheet>"},
             {"xl/s.xml", part}};
  } else {
    parts = {{"content.xml", part}};
  }
  zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, nullptr);
  zip_t* z = zip_open_from_source(out, ZIP_TRUNCATE, nullptr);
  zip_source_keep(out);
  for (const auto& p : parts) {
    zip_source_t* s = zip_source_buffer(z, p.second.data(), p.second.size(), 0);
    const zip_int64_t i = zip_file_add(z, p.first.c_str(), s, 0);
    zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
  }
  zip_close(z);
  std::string bytes;
  zip_stat_t st;
  if (zip_source_stat(out, &st) == 0 && zip_source_open(out) == 0) {
    bytes.resize(st.size);
    zip_source_read(out, bytes.data(), bytes.size());
    zip_source_close(out);
  }
  zip_source_free(out);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool xlsx = data[0] % 2 == 0;
  const std::string bytes =
      Archive(xlsx, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  FuzzFile file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                xlsx ? ".xlsx" : ".ods");
  TQor2 table;
  TForeignReport report;
  if (ReadForeignTable(file.Path(), table, report)) {
    for (int r = 1; r <= table.RecordCount(); ++r)
      for (int f = 1; f <= table.FieldCount(); ++f) table.GetCell(f, r);
  }
  return 0;
}
