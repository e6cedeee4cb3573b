#include <gtest/gtest.h>

#include "FormatsTest.h"
#include "TOdsReader.h"
#include "TOdsWriter.h"
#include "TestFiles.h"

namespace {

class Ods : public ::testing::Test {
 protected:
  TempDir dir;
  int64_t replaced = 0;
};

// An independent reading of an .ods with Python's own zip and XML modules:
// the archive's first part and how it is stored, the sheet, the frozen split,
// each cell (bold or not, value type, value, shown text with the marks for
// spaces, tabs and line breaks undone) and each column's width.
std::string PythonView(const std::string& path) {
  const std::string script =
      "import json, sys, zipfile, xml.etree.ElementTree as ET\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "first = z.infolist()[0]\n"
      "print(first.filename, first.compress_type, z.read('mimetype').decode())\n"
      "O = '{urn:oasis:names:tc:opendocument:xmlns:office:1.0}'\n"
      "T = '{urn:oasis:names:tc:opendocument:xmlns:table:1.0}'\n"
      "X = '{urn:oasis:names:tc:opendocument:xmlns:text:1.0}'\n"
      "S = '{urn:oasis:names:tc:opendocument:xmlns:style:1.0}'\n"
      "F = '{urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0}'\n"
      "C = '{urn:oasis:names:tc:opendocument:xmlns:config:1.0}'\n"
      "root = ET.fromstring(z.read('content.xml'))\n"
      "bold = set(); widths = {}\n"
      "for s in root.iter(S + 'style'):\n"
      "  for p in s.iter(S + 'text-properties'):\n"
      "    if p.get(F + 'font-weight') == 'bold': bold.add(s.get(S + 'name'))\n"
      "  for p in s.iter(S + 'table-column-properties'):\n"
      "    widths[s.get(S + 'name')] = p.get(S + 'column-width')\n"
      "def shown(e):\n"
      "  out = e.text or ''\n"
      "  for k in e:\n"
      "    if k.tag == X + 's': out += ' ' * int(k.get(X + 'c', '1'))\n"
      "    elif k.tag == X + 'tab': out += '\\t'\n"
      "    elif k.tag == X + 'line-break': out += '\\n'\n"
      "    else: out += shown(k)\n"
      "    out += k.tail or ''\n"
      "  return out\n"
      "sheets = list(root.iter(T + 'table'))\n"
      "print(len(sheets), sheets[0].get(T + 'name'))\n"
      "print([widths[c.get(T + 'style-name')] for c in sheets[0].iter(T + 'table-column')])\n"
      "for r, row in enumerate(sheets[0].iter(T + 'table-row')):\n"
      "  for c, cell in enumerate(row.iter(T + 'table-cell')):\n"
      "    t = cell.get(O + 'value-type')\n"
      "    if t is None: continue\n"
      "    text = '\\n'.join(shown(p) for p in cell.iter(X + 'p'))\n"
      "    print(r, c, int(cell.get(T + 'style-name') in bold), t, cell.get(O + 'value'),"
      " json.dumps(text))\n"
      "cfg = ET.fromstring(z.read('settings.xml'))\n"
      "for e in cfg.iter(C + 'config-item-map-entry'):\n"
      "  if e.get(C + 'name') == sheets[0].get(T + 'name'):\n"
      "    items = {i.get(C + 'name'): i.text for i in e.iter(C + 'config-item')}\n"
      "    print('split', items['VerticalSplitMode'], items['VerticalSplitPosition'])\n";
  WriteBytes(path + ".py", script);
  return RunCommand("/usr/bin/python3 " + path + ".py " + path + " 2>&1");
}

TEST_F(Ods, PythonReadsOurSpreadsheetValueByValue) {
  TQor2 t;
  MakeClients(t);
  ASSERT_TRUE(TOdsWriter::Write(t, dir.File("c.ods")));
  const std::string view = PythonView(dir.File("c.ods"));
  // "mimetype" first and stored (method 0), then one sheet named after the
  // table; its header bold and frozen below row 1; codes stay strings.
  EXPECT_EQ(
      view,
      "mimetype 0 application/vnd.oasis.opendocument.spreadsheet\n"
      "1 clients\n"
      "['2.00cm', '3.00cm', '2.20cm', '6.60cm']\n"
      "0 0 1 string None \"Nom\"\n0 1 1 string None \"Code postal\"\n"
      "0 2 1 string None \"Montant\"\n0 3 1 string None \"Notes\"\n"
      "1 0 0 string None \"Dupont\"\n1 1 0 string None \"06000\"\n1 2 0 float 12.5 \"12,5\"\n"
      "1 3 0 string None \"a;b \\\"cit\\u00e9\\\" & <c>\"\n"
      "2 0 0 string None \"\\u00c9l\\u00e9onore\"\n2 1 0 string None \"75001\"\n"
      "2 2 0 float -3 \"-3\"\n2 3 0 string None \"deux  espaces\\tet une tabulation\"\n"
      "3 0 0 string None \"  Martin\"\n3 2 0 float 1234567 \"1234567\"\n"
      "3 3 0 string None \"ligne 1\\nligne 2\"\n"
      "4 0 0 string None \"Prix \\u20ac\"\n4 1 0 string None \"00120\"\n"
      "4 3 0 string None \"  \"\n"
      "5 0 0 string None \"Z\\u00fcrich\"\n5 1 0 string None \"8000\"\n"
      "5 2 0 float 0.001 \"0,001\"\n"
      "6 0 0 string None \"Grand\"\n6 1 0 string None \"1\"\n6 2 0 float 1.5e+20 \"1,5e+20\"\n"
      "6 3 0 string None \"fin \"\n"
      "split 2 1\n");
}

TEST_F(Ods, ReadsBackItsOwnSpreadsheetUnchanged) {
  TQor2 t, back;
  MakeClients(t);
  ASSERT_TRUE(TOdsWriter::Write(t, dir.File("c.ods")));
  ASSERT_TRUE(TOdsReader::Read(dir.File("c.ods"), "", back, replaced));
  EXPECT_EQ(Dump(back), Dump(t));
}

TEST_F(Ods, LibreOfficeReadsOurSpreadsheet) {
  if (RunCommand("command -v soffice").empty()) GTEST_SKIP() << "LibreOffice is not installed";
  TQor2 t;
  MakeClients(t);
  ASSERT_TRUE(TOdsWriter::Write(t, dir.File("c.ods")));
  RunCommand("cd " + dir.Path() + " && HOME=" + dir.Path() +
             " soffice --headless --convert-to csv:\"Text - txt - csv (StarCalc)\":59,34,76 c.ods "
             ">/dev/null 2>&1");
  const std::string csv = ReadBytes(dir.File("c.csv"));
  EXPECT_NE(csv.find("Dupont;06000;12,5;"), std::string::npos) << csv;
  EXPECT_NE(csv.find("Grand;1;1,5E+20;"), std::string::npos) << csv;
}

TEST_F(Ods, ReadsRepeatsMergesNotesDatesAndParagraphs) {
  const std::string sheet =
      "<table:table table:name=\"Vide\"/>"
      "<table:table table:name=\"Stock\">"
      "<table:table-column table:number-columns-repeated=\"16384\"/>"
      "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>Article</text:p>"
      "</table:table-cell><table:table-cell office:value-type=\"string\"><text:p>Prix</text:p>"
      "</table:table-cell><table:table-cell office:value-type=\"string\"><text:p>Date</text:p>"
      "</table:table-cell><table:table-cell table:number-columns-repeated=\"16381\"/>"
      "</table:table-row>"
      // A merged area over two columns: the covered cell's leftover text is not read.
      "<table:table-row><table:table-cell office:value-type=\"string\" "
      "table:number-columns-spanned=\"2\"><text:p>Vis <text:span>inox</text:span>"
      "<text:s text:c=\"3\"/>M6</text:p><text:p>second<text:tab/>p<text:line-break/>q</text:p>"
      "<office:annotation><text:p>une note</text:p></office:annotation></table:table-cell>"
      "<table:covered-table-cell office:value-type=\"string\"><text:p>cach\xC3\xA9</text:p>"
      "</table:covered-table-cell><table:table-cell office:value-type=\"date\" "
      "office:date-value=\"2024-03-15T10:00:00\"><text:p>15 mars</text:p></table:table-cell>"
      "</table:table-row>"
      "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell "
      "office:value-type=\"float\" office:value=\"0.5\" table:number-columns-repeated=\"2\">"
      "<text:p>0,50</text:p></table:table-cell><table:table-cell office:value-type=\"time\" "
      "office:time-value=\"PT13H05M09S\"><text:p>13:05</text:p></table:table-cell>"
      "</table:table-row>"
      "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell "
      "table:number-columns-repeated=\"1024\"/></table:table-row>"
      "<table:table-row><table:table-cell office:value-type=\"percentage\" office:value=\"0.25\">"
      "<text:p>25 %</text:p></table:table-cell><table:table-cell office:value-type=\"currency\" "
      "office:value=\"1234.5\"><text:p>1 234,50 \xE2\x82\xAC</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\">"
      "<text:p>VRAI</text:p></table:table-cell></table:table-row>"
      "<table:table-row table:number-rows-repeated=\"1048000\"><table:table-cell "
      "table:number-columns-repeated=\"16384\"/></table:table-row>"
      "</table:table>";
  ASSERT_TRUE(MakeZip(dir.File("s.ods"), OdsParts(sheet)));
  std::vector<std::string> sheets;
  ASSERT_TRUE(TOdsReader::Sheets(dir.File("s.ods"), sheets));
  EXPECT_EQ(sheets, (std::vector<std::string>{"Vide", "Stock"}));
  TQor2 t;
  ASSERT_TRUE(TOdsReader::Read(dir.File("s.ods"), "Stock", t, replaced));
  EXPECT_EQ(Dump(t),
            "Stock\nArticle:STRING|Prix:FLOAT|Date:STRING|\n"
            "Vis inox   M6\r\nsecond\tp\r\nq||15/03/2024|\n"
            "0,5|0,5|13:05:09|\n0,5|0,5|13:05:09|\n"
            "0,25|1234,5|VRAI|\n");
  // The first sheet is empty: no field, no record.
  ASSERT_TRUE(TOdsReader::Read(dir.File("s.ods"), "", t, replaced));
  EXPECT_EQ(Dump(t), "Vide\n\n");
}

// A sheet kept as a table - its first row frozen above the others in the
// view settings, or all bold - names its fields even when every column is
// text: the program's own export of codes and towns reads back as it was,
// and so do other programs' sheets marked the same way. Unmarked, such a
// first row stays a record.
TEST_F(Ods, AFrozenOrBoldFirstRowNamesTheFieldsOfAnAllTextSheet) {
  TQor2 t, back;
  MakeCodes(t);
  ASSERT_TRUE(TOdsWriter::Write(t, dir.File("own.ods")));
  ASSERT_TRUE(TOdsReader::Read(dir.File("own.ods"), "", back, replaced));
  EXPECT_EQ(Dump(back), Dump(t));

  auto cell = [](const char* text, bool bold) {
    return std::string("<table:table-cell ") + (bold ? "table:style-name=\"Gras\" " : "") +
           "office:value-type=\"string\"><text:p>" + text + "</text:p></table:table-cell>";
  };
  auto sheet = [&](bool bold) {
    return "<table:table table:name=\"Codes\"><table:table-row>" + cell("Code", bold) +
           cell("Ville", bold) + "</table:table-row><table:table-row>" + cell("06000", false) +
           cell("Nice", false) + "</table:table-row></table:table>";
  };
  auto parts = [&](bool bold) {
    auto p = OdsParts(sheet(bold));
    std::string& content = p[1].second;
    content.insert(content.find("<office:body>"),
                   "<office:automatic-styles><style:style "
                   "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                   "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
                   "style:name=\"Gras\" style:family=\"table-cell\"><style:text-properties "
                   "fo:font-weight=\"bold\"/></style:style></office:automatic-styles>");
    return p;
  };
  const char* named = "Codes\nCode:STRING|Ville:STRING|\n06000|Nice|\n";
  ASSERT_TRUE(MakeZip(dir.File("bold.ods"), parts(true)));
  ASSERT_TRUE(TOdsReader::Read(dir.File("bold.ods"), "", back, replaced));
  EXPECT_EQ(Dump(back), named);

  auto frozen = parts(false);
  frozen.push_back(
      {"settings.xml",
       "<office:document-settings "
       "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
       "xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\"><office:settings>"
       "<config:config-item-set config:name=\"ooo:view-settings\"><config:config-item-map-indexed "
       "config:name=\"Views\"><config:config-item-map-entry><config:config-item-map-named "
       "config:name=\"Tables\"><config:config-item-map-entry config:name=\"Autre\">"
       "<config:config-item config:name=\"VerticalSplitMode\" config:type=\"short\">0"
       "</config:config-item></config:config-item-map-entry><config:config-item-map-entry "
       "config:name=\"Codes\"><config:config-item config:name=\"VerticalSplitMode\" "
       "config:type=\"short\">2</config:config-item><config:config-item "
       "config:name=\"VerticalSplitPosition\" config:type=\"int\">1</config:config-item>"
       "</config:config-item-map-entry></config:config-item-map-named>"
       "</config:config-item-map-entry></config:config-item-map-indexed>"
       "</config:config-item-set></office:settings></office:document-settings>"});
  ASSERT_TRUE(MakeZip(dir.File("frozen.ods"), frozen));
  ASSERT_TRUE(TOdsReader::Read(dir.File("frozen.ods"), "", back, replaced));
  EXPECT_EQ(Dump(back), named);

  ASSERT_TRUE(MakeZip(dir.File("plain.ods"), parts(false)));
  ASSERT_TRUE(TOdsReader::Read(dir.File("plain.ods"), "", back, replaced));
  EXPECT_EQ(Dump(back), "Codes\nChamp1:STRING|Champ2:STRING|\nCode|Ville|\n06000|Nice|\n");
}

}  // namespace
