#include <gtest/gtest.h>

#include "FormatsTest.h"
#include "TXlsxReader.h"
#include "TXlsxWriter.h"
#include "TestFiles.h"

namespace {

class Xlsx : public ::testing::Test {
 protected:
  TempDir dir;
  int64_t replaced = 0;
};

// What openpyxl sees of a workbook: the sheet, its frozen pane, each cell's
// row, column, bold flag, type and value (JSON), and each column's width.
std::string OpenpyxlView(const std::string& path) {
  const std::string script =
      "import json, sys, openpyxl\n"
      "wb = openpyxl.load_workbook(sys.argv[1])\n"
      "ws = wb.worksheets[0]\n"
      "print(len(wb.worksheets), ws.title, ws.freeze_panes)\n"
      "for row in ws.iter_rows():\n"
      "  for c in row:\n"
      "    if c.value is not None:\n"
      "      print(c.row, c.column, int(bool(c.font.b)), c.data_type, json.dumps(c.value))\n"
      "for k in sorted(ws.column_dimensions):\n"
      "  print('width', k, ws.column_dimensions[k].width)\n";
  WriteBytes(path + ".py", script);
  return RunCommand("/usr/bin/python3 " + path + ".py " + path);
}

TEST_F(Xlsx, OpenpyxlReadsOurWorkbookValueByValue) {
  if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
  TQor2 t;
  MakeClients(t);
  ASSERT_TRUE(TXlsxWriter::Write(t, dir.File("c.xlsx")));
  const std::string view = OpenpyxlView(dir.File("c.xlsx"));
  // One sheet named after the table, the first row frozen and bold; codes
  // stay texts, the FLOAT field's values are numbers, empty values no cells.
  EXPECT_EQ(view.substr(0, view.find("width")),
            "1 clients A2\n"
            "1 1 1 s \"Nom\"\n1 2 1 s \"Code postal\"\n1 3 1 s \"Montant\"\n1 4 1 s \"Notes\"\n"
            "2 1 0 s \"Dupont\"\n2 2 0 s \"06000\"\n2 3 0 n 12.5\n"
            "2 4 0 s \"a;b \\\"cit\\u00e9\\\" & <c>\"\n"
            "3 1 0 s \"\\u00c9l\\u00e9onore\"\n3 2 0 s \"75001\"\n3 3 0 n -3\n"
            "3 4 0 s \"deux  espaces\\tet une tabulation\"\n"
            "4 1 0 s \"  Martin\"\n4 3 0 n 1234567\n4 4 0 s \"ligne 1\\nligne 2\"\n"
            "5 1 0 s \"Prix \\u20ac\"\n5 2 0 s \"00120\"\n5 4 0 s \"  \"\n"
            "6 1 0 s \"Z\\u00fcrich\"\n6 2 0 s \"8000\"\n6 3 0 n 0.001\n"
            "7 1 0 s \"Grand\"\n7 2 0 s \"1\"\n7 3 0 n 1.5e+20\n7 4 0 s \"fin \"\n");
  // Columns fitted: the notes, the longest texts, are the widest; none is
  // narrower than its longest value.
  double widths[4] = {};
  size_t at = 0;
  while ((at = view.find("width ", at)) != std::string::npos) {
    const char col = view[at + 6];
    widths[col - 'A'] = std::stod(view.substr(at + 8));
    at += 8;
  }
  EXPECT_GE(widths[0], 8);   // "Éléonore", "Prix €"
  EXPECT_GE(widths[1], 11);  // "Code postal"
  EXPECT_GE(widths[3], 32);  // "deux  espaces\tet une tabulation", 32 characters
  EXPECT_GT(widths[3], widths[1]);
}

TEST_F(Xlsx, ReadsBackItsOwnWorkbookUnchanged) {
  TQor2 t, back;
  MakeClients(t);
  ASSERT_TRUE(TXlsxWriter::Write(t, dir.File("c.xlsx")));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("c.xlsx"), "", back, replaced));
  EXPECT_EQ(Dump(back), Dump(t));
  EXPECT_EQ(replaced, 0);
}

TEST_F(Xlsx, FloatValuesThatAreNoNumbersStayText) {
  TQor2 t, back;
  t.TableName = "t";
  t.AddField("Prix");
  t.AddField("Qte");
  t.SetFieldType(1, "FLOAT");
  t.SetFieldType(2, "FLOAT");
  for (const char* v : {"12", "n/a", "1 234,50 \x80"}) {
    t.Append();
    t.SetFieldValue(1, v);
    t.SetFieldValue(2, "1");
  }
  ASSERT_TRUE(TXlsxWriter::Write(t, dir.File("t.xlsx")));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("t.xlsx"), "", back, replaced));
  EXPECT_EQ(back.GetCell(1, 2).str(), "n/a");
  EXPECT_EQ(back.GetCell(1, 3).str(), "1 234,50 \x80");
  EXPECT_EQ(back.GetFieldType(1), "STRING");  // a column of texts and numbers
  EXPECT_EQ(back.GetFieldType(2), "FLOAT");
}

TEST_F(Xlsx, ReadsWhatOpenpyxlWrites) {
  if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
  WriteBytes(
      dir.File("make.py"),
      "import datetime, sys, openpyxl\n"
      "wb = openpyxl.Workbook()\n"
      "ws = wb.active\n"
      "ws.title = 'Donn\\u00e9es'\n"
      "ws.append(['Ville', 'Code', 'Habitants', 'Fond\\u00e9e', 'Capitale', 'Heure'])\n"
      "ws.append(['Lyon', '69000', 522250, datetime.date(1990, 3, 15), False,"
      " datetime.time(10, 30)])\n"
      "ws.append(['Nice', '06000', 342.5, datetime.datetime(2024, 2, 29, 8, 0), True, None])\n"
      "ws.append(['Fus\\u00e9es', None, None, None, None, None])\n"
      "ws.merge_cells('A4:C4')\n"
      "ws.append(['Saint-\\u00c9tienne \\u2603', '42000', -0.25])\n"
      "other = wb.create_sheet('Autre')\n"
      "other.append(['x'])\n"
      "other.append([1])\n"
      "wb.save(sys.argv[1])\n");
  int status = -1;
  RunCommand("/usr/bin/python3 " + dir.File("make.py") + " " + dir.File("o.xlsx"), &status);
  ASSERT_EQ(status, 0);
  std::vector<std::string> sheets;
  ASSERT_TRUE(TXlsxReader::Sheets(dir.File("o.xlsx"), sheets));
  EXPECT_EQ(sheets, (std::vector<std::string>{"Donn\xC3\xA9"
                                              "es",
                                              "Autre"}));
  TQor2 t;
  ASSERT_TRUE(TXlsxReader::Read(dir.File("o.xlsx"), "", t, replaced));
  EXPECT_EQ(Dump(t),
            "Donn\xE9"
            "es\n"
            "Ville:STRING|Code:STRING|Habitants:FLOAT|Fond\xE9"
            "e:STRING|Capitale:STRING|"
            "Heure:STRING|\n"
            "Lyon|69000|522250|15/03/1990|FAUX|10:30:00|\n"
            "Nice|06000|342,5|29/02/2024|VRAI||\n"
            "Fus\xE9"
            "es||||||\n"
            "Saint-\xC9tienne ?|42000|-0,25||||\n");
  EXPECT_EQ(replaced, 1);  // the snowman
  TQor2 other;
  ASSERT_TRUE(TXlsxReader::Read(dir.File("o.xlsx"), "Autre", other, replaced));
  EXPECT_EQ(Dump(other), "Autre\nx:FLOAT|\n1|\n");
}

TEST_F(Xlsx, ReadsSharedStringsFormulaResultsStylesAndGaps) {
  const std::string strings =
      "<si><t>Article</t></si><si><t>Quantit\xC3\xA9</t></si><si><t>Date</t></si>"
      "<si><r><t>Vis </t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">  inox</t></r>"
      "<rPh><t>ignored</t></rPh></si>"
      "<si><t>ligne\nsuivante</t></si>";
  const std::string styles =
      "<numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy;@\"/>"
      "<numFmt numFmtId=\"165\" formatCode=\"[Red]0.00\\ &quot;jours&quot;\"/></numFmts>"
      "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs>"
      "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"14\"/>"
      "<xf numFmtId=\"165\"/><xf numFmtId=\"20\"/></cellXfs>";
  const std::string rows =
      "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
      "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"inlineStr\"><is><t>Total</t></is></c>"
      "<c r=\"E1\" t=\"inlineStr\"><is><t>N</t></is></c></row>"
      "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>3</v></c><c r=\"B2\" s=\"3\"><v>2.5</v></c>"
      "<c r=\"C2\" s=\"1\"><v>45366</v></c><c r=\"D2\"><f>B2*2</f><v>5</v></c>"
      "<c r=\"E2\"><v>1</v></c></row>"
      // Rows 3 to 9 are missing; a cell without its reference follows the one before.
      "<row r=\"10\"><c r=\"B10\"><v>0.30000000000000004</v></c><c><v>61</v></c>"
      "<c t=\"str\"><f>A1&amp;\"!\"</f><v>Article!</v></c></row>"
      "<row r=\"11\"><c r=\"A11\" t=\"s\"><v>4</v></c><c r=\"B11\" t=\"b\"><v>1</v></c>"
      "<c r=\"C11\" s=\"2\"><v>1</v></c><c r=\"D11\" t=\"e\"><v>#DIV/0!</v></c></row>"
      "<row r=\"12\"><c r=\"A12\" s=\"4\"><v>0.75</v></c><c r=\"B12\" s=\"1\"/></row>";
  ASSERT_TRUE(MakeZip(dir.File("h.xlsx"), XlsxParts(rows, strings, styles)));
  TQor2 t;
  ASSERT_TRUE(TXlsxReader::Read(dir.File("h.xlsx"), "", t, replaced));
  EXPECT_EQ(Dump(t),
            "Feuille\n"
            "Article:STRING|Quantit\xE9:STRING|Date:STRING|Total:STRING|N:FLOAT|\n"
            "Vis   inox|2,5|15/03/2024|5|1|\n"
            "|0,3|61|Article!||\n"
            "ligne\r\nsuivante|VRAI|01/01/1900|#DIV/0!||\n"
            "18:00:00|||||\n");
}

TEST_F(Xlsx, The1904DateSystemShiftsDates) {
  const std::string styles = "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>";
  const std::string rows =
      "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Jour</t></is></c>"
      "<c r=\"B1\" t=\"inlineStr\"><is><t>N</t></is></c></row>"
      "<row r=\"2\"><c r=\"A2\" s=\"1\"><v>0</v></c><c r=\"B2\"><v>1</v></c></row>";
  ASSERT_TRUE(
      MakeZip(dir.File("d.xlsx"), XlsxParts(rows, "", styles, "<workbookPr date1904=\"1\"/>")));
  TQor2 t;
  ASSERT_TRUE(TXlsxReader::Read(dir.File("d.xlsx"), "", t, replaced));
  EXPECT_EQ(t.GetCell(1, 1).str(), "01/01/1904");
}

TEST_F(Xlsx, AFirstRowIsAHeaderOnlyAboveAColumnOfNumbers) {
  TQor2 t;
  // Only texts: the first row is a record, the fields are numbered.
  ASSERT_TRUE(MakeZip(dir.File("a.xlsx"),
                      XlsxParts("<row><c t=\"inlineStr\"><is><t>Nom</t></is></c></row>"
                                "<row><c t=\"inlineStr\"><is><t>Paul</t></is></c></row>")));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("a.xlsx"), "", t, replaced));
  EXPECT_EQ(Dump(t), "Feuille\nChamp1:STRING|\nNom|\nPaul|\n");
  // A number in the first row: no header either.
  ASSERT_TRUE(MakeZip(dir.File("b.xlsx"),
                      XlsxParts("<row><c><v>1</v></c><c t=\"inlineStr\"><is><t>x</t></is></c></row>"
                                "<row><c><v>2</v></c></row>")));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("b.xlsx"), "", t, replaced));
  EXPECT_EQ(Dump(t), "Feuille\nChamp1:FLOAT|Champ2:STRING|\n1|x|\n2||\n");
  // Numbers below, but mixed with texts in every column: no header either.
  ASSERT_TRUE(MakeZip(dir.File("m.xlsx"),
                      XlsxParts("<row><c t=\"inlineStr\"><is><t>Age</t></is></c></row>"
                                "<row><c><v>12</v></c></row>"
                                "<row><c t=\"inlineStr\"><is><t>n/a</t></is></c></row>")));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("m.xlsx"), "", t, replaced));
  EXPECT_EQ(Dump(t), "Feuille\nChamp1:STRING|\nAge|\n12|\nn/a|\n");
  // A blank name is numbered, a repeated one takes its column's number.
  ASSERT_TRUE(MakeZip(dir.File("c.xlsx"),
                      XlsxParts("<row><c t=\"inlineStr\"><is><t>N</t></is></c>"
                                "<c r=\"C1\" t=\"inlineStr\"><is><t>N</t></is></c></row>"
                                "<row><c><v>1</v></c><c><v>2</v></c><c><v>3</v></c></row>")));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("c.xlsx"), "", t, replaced));
  EXPECT_EQ(Dump(t), "Feuille\nN:FLOAT|Champ2:FLOAT|N3:FLOAT|\n1|2|3|\n");
}

// A sheet kept as a table - its first row frozen above the others, or all
// bold - names its fields even when every column is text: the program's own
// export of codes and towns reads back as it was, and so do other programs'
// sheets marked the same way. Unmarked, such a first row stays a record.
TEST_F(Xlsx, AFrozenOrBoldFirstRowNamesTheFieldsOfAnAllTextSheet) {
  TQor2 t, back;
  MakeCodes(t);
  ASSERT_TRUE(TXlsxWriter::Write(t, dir.File("own.xlsx")));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("own.xlsx"), "", back, replaced));
  EXPECT_EQ(Dump(back), Dump(t));

  const std::string rows =
      "<row r=\"1\"><c r=\"A1\" s=\"1\" t=\"inlineStr\"><is><t>Code</t></is></c>"
      "<c r=\"B1\" s=\"1\" t=\"inlineStr\"><is><t>Ville</t></is></c></row>"
      "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>06000</t></is></c>"
      "<c r=\"B2\" t=\"inlineStr\"><is><t>Nice</t></is></c></row>";
  const std::string plainFonts =
      "<fonts><font><sz val=\"11\"/></font></fonts>"
      "<cellXfs><xf numFmtId=\"0\" fontId=\"0\"/><xf numFmtId=\"0\" fontId=\"0\"/></cellXfs>";
  const std::string boldFonts =
      "<fonts><font><sz val=\"11\"/></font><font><b/><sz val=\"11\"/></font></fonts>"
      "<cellXfs><xf numFmtId=\"0\" fontId=\"0\"/><xf numFmtId=\"0\" fontId=\"1\"/></cellXfs>";
  const char* named = "Feuille\nCode:STRING|Ville:STRING|\n06000|Nice|\n";
  ASSERT_TRUE(MakeZip(dir.File("bold.xlsx"), XlsxParts(rows, "", boldFonts)));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("bold.xlsx"), "", back, replaced));
  EXPECT_EQ(Dump(back), named);

  auto frozen = XlsxParts(rows, "", plainFonts);
  std::string& sheet = frozen[4].second;
  sheet.insert(sheet.find("<sheetData>"),
               "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" "
               "topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/></sheetView>"
               "</sheetViews>");
  ASSERT_TRUE(MakeZip(dir.File("frozen.xlsx"), frozen));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("frozen.xlsx"), "", back, replaced));
  EXPECT_EQ(Dump(back), named);

  ASSERT_TRUE(MakeZip(dir.File("plain.xlsx"), XlsxParts(rows, "", plainFonts)));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("plain.xlsx"), "", back, replaced));
  EXPECT_EQ(Dump(back), "Feuille\nChamp1:STRING|Champ2:STRING|\nCode|Ville|\n06000|Nice|\n");

  // A bold first row that holds a number is no header.
  const std::string numbered =
      "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>1</v></c><c r=\"B1\" s=\"1\" t=\"inlineStr\"><is>"
      "<t>Ville</t></is></c></row><row r=\"2\"><c r=\"A2\"><v>2</v></c></row>";
  ASSERT_TRUE(MakeZip(dir.File("number.xlsx"), XlsxParts(numbered, "", boldFonts)));
  ASSERT_TRUE(TXlsxReader::Read(dir.File("number.xlsx"), "", back, replaced));
  EXPECT_EQ(Dump(back), "Feuille\nChamp1:FLOAT|Champ2:STRING|\n1|Ville|\n2||\n");
}

TEST_F(Xlsx, OpenpyxlsBoldHeaderNamesTheFields) {
  if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
  WriteBytes(dir.File("make.py"),
             "import sys, openpyxl\n"
             "from openpyxl.styles import Font\n"
             "wb = openpyxl.Workbook()\n"
             "ws = wb.active\n"
             "ws.title = 'Codes'\n"
             "ws.append(['Code', 'Ville'])\n"
             "ws.append(['06000', 'Nice'])\n"
             "for c in ws[1]: c.font = Font(bold=True)\n"
             "wb.save(sys.argv[1])\n");
  int status = -1;
  RunCommand("/usr/bin/python3 " + dir.File("make.py") + " " + dir.File("o.xlsx"), &status);
  ASSERT_EQ(status, 0);
  TQor2 t;
  ASSERT_TRUE(TXlsxReader::Read(dir.File("o.xlsx"), "", t, replaced));
  EXPECT_EQ(Dump(t), "Codes\nCode:STRING|Ville:STRING|\n06000|Nice|\n");
}

}  // namespace
