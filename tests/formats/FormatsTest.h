#pragma once
// Shared by the tests of formats/: a table holding what the formats must
// keep, zip archives made part by part, and the independent programs run in
// the test's folder.

#include <zip.h>

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "TQor2.h"

// Runs a shell command; its standard output, and its exit status in `status`.
inline std::string RunCommand(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  const int rc = pclose(p);
  if (status) *status = rc;
  return out;
}

inline bool HasOpenpyxl() {
  int status = -1;
  RunCommand("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null", &status);
  return status == 0;
}

// A zip archive of the given parts, in order; `stored` keeps them uncompressed.
inline bool MakeZip(const std::string& path,
                    const std::vector<std::pair<std::string, std::string>>& parts,
                    bool stored = false) {
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!z) return false;
  for (const auto& part : parts) {
    zip_source_t* s = zip_source_buffer(z, part.second.data(), part.second.size(), 0);
    const zip_int64_t i = zip_file_add(z, part.first.c_str(), s, 0);
    if (i < 0) return false;
    if (stored) zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
  }
  return zip_close(z) == 0;
}

// The parts of a minimal workbook whose first sheet is `sheet` (the XML of
// its sheetData's rows), with shared strings and styles when given.
inline std::vector<std::pair<std::string, std::string>> XlsxParts(
    const std::string& sheetRows, const std::string& sharedStrings = "",
    const std::string& styles = "", const std::string& workbookExtra = "") {
  const std::string ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  std::vector<std::pair<std::string, std::string>> parts = {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
      {"_rels/.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"" +
           rel +
           "/officeDocument\" Target=\"xl/workbook.xml\"/>"
           "</Relationships>"},
      {"xl/workbook.xml", "<workbook xmlns=\"" + ns + "\" xmlns:r=\"" + rel + "\">" +
                              workbookExtra +
                              "<sheets><sheet name=\"Feuille\" sheetId=\"1\" r:id=\"rId1\"/>"
                              "</sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"" +
           rel +
           "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
           "<Relationship Id=\"rId2\" Type=\"" +
           rel +
           "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
           "<Relationship Id=\"rId3\" Type=\"" +
           rel +
           "/styles\" Target=\"styles.xml\"/>"
           "</Relationships>"},
      {"xl/worksheets/sheet1.xml",
       "<worksheet xmlns=\"" + ns + "\"><sheetData>" + sheetRows + "</sheetData></worksheet>"}};
  if (!sharedStrings.empty())
    parts.push_back(
        {"xl/sharedStrings.xml", "<sst xmlns=\"" + ns + "\">" + sharedStrings + "</sst>"});
  if (!styles.empty())
    parts.push_back(
        {"xl/styles.xml", "<styleSheet xmlns=\"" + ns + "\">" + styles + "</styleSheet>"});
  return parts;
}

// The parts of an OpenDocument spreadsheet whose body (inside
// office:spreadsheet) is `tables`.
inline std::vector<std::pair<std::string, std::string>> OdsParts(const std::string& tables) {
  return {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
          {"content.xml",
           "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
           "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
           "<office:spreadsheet>" +
               tables + "</office:spreadsheet></office:body></office:document-content>"}};
}

// Clients as a user keeps them: texts that look like numbers, accents and
// the euro sign (Windows-1252), separators, runs of spaces, a tab, a line
// break, XML's own characters, empty values, and numbers of all shapes in a
// FLOAT field.
inline void MakeClients(TQor2& t) {
  t.TableName = "clients";
  for (const char* f : {"Nom", "Code postal", "Montant", "Notes"}) t.AddField(f);
  t.SetFieldType(3, "FLOAT");
  const char* rows[][4] = {
      {"Dupont", "06000", "12,5", "a;b \"cit\xE9\" & <c>"},
      {"\xC9l\xE9onore", "75001", "-3", "deux  espaces\tet une tabulation"},
      {"  Martin", "", "1234567", "ligne 1\r\nligne 2"},
      {"Prix \x80", "00120", "", "  "},
      {"Z\xFC"
       "rich",
       "8000", "0,001", ""},
      {"Grand", "1", "1,5e+20", "fin "},
  };
  for (auto& r : rows) {
    t.Append();
    for (int i = 0; i < 4; ++i) t.SetFieldValue(i + 1, r[i]);
  }
}

// Codes and towns, every field STRING, every value text - some of them
// numbers written as text.
inline void MakeCodes(TQor2& t) {
  t.TableName = "codes";
  t.AddField("Code");
  t.AddField("Ville");
  for (const auto& row : {std::pair<const char*, const char*>{"06000", "Nice"}, {"2024", "Lyon"}}) {
    t.Append();
    t.SetFieldValue(1, row.first);
    t.SetFieldValue(2, row.second);
  }
}

// Every field and value of two tables, as text, for one comparison.
inline std::string Dump(const TQor2& t) {
  std::string s = t.TableName + "\n";
  for (int i = 1; i <= t.FieldCount(); ++i) s += t.GetFieldName(i) + ":" + t.GetFieldType(i) + "|";
  s += "\n";
  for (int r = 1; r <= t.RecordCount(); ++r) {
    for (int i = 1; i <= t.FieldCount(); ++i) s += t.GetCell(i, r) + "|";
    s += "\n";
  }
  return s;
}
