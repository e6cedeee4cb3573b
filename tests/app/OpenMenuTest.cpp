// "Fichier > Ouvrir" on the files of other programs: each kind opens as a
// table in its own window captioned with the file's name, a workbook or a
// database of several tables asks which one, and a file that cannot be read
// says why and opens nothing.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "DbfBytes.h"
#include "MainWindowTest.h"
#include "TStringGrid.h"
#include "TTableChoiceDlg.h"
#include "TXlsxWriter.h"
#include "TZipWriter.h"
#include "TableContents.h"

namespace {

class OpenMenuTest : public MainWindowTest {
 protected:
  // Opens through the menu, as the user does.
  TChild* OpenByMenu(const QString& path) {
    const int before = form->Children().size();
    services.AnswerFile(path);
    Action("FileOpenItem")->trigger();
    return form->Children().size() > before ? form->ActiveChild() : nullptr;
  }
  static std::string Engine(const QString& path) { return QFile::encodeName(path).toStdString(); }

  // Every field "name:type" and every value, as the window's table holds them.
  static std::string Dump(const TChild& child) { return DumpTable(child.Document().Table()); }

  // An OpenDocument spreadsheet of two sheets, "Janvier" and "Février", each
  // a header line and one record.
  QString WriteTwoSheets(const QString& name) {
    auto sheet = [](const char* title, const char* ville) {
      return std::string("<table:table table:name=\"") + title +
             "\"><table:table-row><table:table-cell office:value-type=\"string\"><text:p>Ville"
             "</text:p></table:table-cell><table:table-cell office:value-type=\"string\"><text:p>"
             "Ventes</text:p></table:table-cell></table:table-row><table:table-row>"
             "<table:table-cell office:value-type=\"string\"><text:p>" +
             ville +
             "</text:p></table:table-cell><table:table-cell office:value-type=\"float\" "
             "office:value=\"12.5\"><text:p>12,5</text:p></table:table-cell></table:table-row>"
             "</table:table>";
    };
    TZipWriter zip;
    EXPECT_TRUE(zip.Open(Engine(Path(name))));
    zip.Add("mimetype", "application/vnd.oasis.opendocument.spreadsheet", true);
    zip.Add("content.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
            "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
            "<office:spreadsheet>" +
                sheet("Janvier", "Lyon") + sheet("F\xC3\xA9vrier", "Nice") +
                "</office:spreadsheet></office:body></office:document-content>");
    EXPECT_TRUE(zip.Close());
    return Path(name);
  }

  // Runs SQL on a database made in the test's folder.
  QString WriteDatabase(const QString& name, const char* sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(Engine(Path(name)).c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    return Path(name);
  }

  // Scripts the choice of a sheet or table: checks what it offers, then
  // chooses `row` and presses OK, or Annuler for -1.
  void AnswerChoice(int row, const QString& title, const QString& label, const QStringList& names) {
    services.AnswerDialog([=](QDialog& d) {
      auto& dialog = static_cast<TTableChoiceDlg&>(d);
      EXPECT_EQ(dialog.windowTitle(), title);
      EXPECT_EQ(dialog.Label1->text(), label);
      EXPECT_EQ(dialog.ListBox1->accessibleName(), label);
      QStringList shown;
      for (int i = 0; i < dialog.ListBox1->count(); ++i) shown << dialog.ListBox1->item(i)->text();
      EXPECT_EQ(shown, names);
      EXPECT_EQ(dialog.ListBox1->currentRow(), 0);
      if (row < 0) {
        dialog.Button1->click();
        return;
      }
      dialog.ListBox1->setCurrentRow(row);
      dialog.Button2->click();
    });
  }
};

TEST_F(OpenMenuTest, TextOfEveryKindOpensAsATableCaptionedWithItsName) {
  // A spreadsheet's CSV: UTF-8 with its mark, commas, quotes around a comma,
  // a code with a leading zero, French numbers.
  WriteFile(Path("clients.csv"),
            "\xEF\xBB\xBFNom,Code,Montant\r\n\"Dupont, Jean\",06000,\"12,5\"\n"
            "L\xC3\xA9on,75001,3\n");
  TChild* child = OpenByMenu(Path("clients.csv"));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->windowTitle(), "clients.csv");
  EXPECT_EQ(Dump(*child),
            "Nom:STRING|Code:STRING|Montant:FLOAT|\nDupont, Jean|06000|12,5|\nL\xE9on|75001|3|");
  EXPECT_EQ(child->StringGrid1->Cell(1, 2), "Léon");
  EXPECT_EQ(child->GetOnglet(), TView::Table);
  EXPECT_FALSE(child->Document().Modified());

  // The program's own escaped text, through its own loader: "\;" is a ";".
  WriteFile(Path("own.csv"), "NOM;VILLE\r\na\\;b;Nice\r\n");
  child = OpenByMenu(Path("own.csv"));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Dump(*child), "NOM:STRING|VILLE:STRING|\na;b|Nice|");

  // A dBase table, and a table of the program's own, as before.
  dbftest::DbfLayout dbf;
  dbf.fields = {{"NOM", 'C', 8}, {"AGE", 'N', 3}};
  dbf.rows = {{{"Andr\x82", " 42"}}};
  WriteFile(Path("old.dbf"), QByteArray::fromStdString(dbf.Bytes()));
  child = OpenByMenu(Path("old.dbf"));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Dump(*child), "NOM:STRING|AGE:FLOAT|\nAndr\xE9|42|");
  ASSERT_NE(OpenByMenu(WriteTable("t.qor")), nullptr);

  EXPECT_EQ(Captions(), QStringList({"clients.csv", "own.csv", "old.dbf", "t.qor"}));
  EXPECT_TRUE(services.Questions().empty());
  EXPECT_EQ(form->StatusText(), "");
}

TEST_F(OpenMenuTest, AWorkbookOfSeveralSheetsAsksWhichOne) {
  const QString ods = WriteTwoSheets("ventes.ods");
  AnswerChoice(1, "Choisir une feuille",
               "Feuilles du classeur « ventes.ods » :", {"Janvier", "Février"});
  TChild* child = OpenByMenu(ods);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->windowTitle(), "ventes.ods");
  EXPECT_EQ(Dump(*child), "Ville:STRING|Ventes:FLOAT|\nNice|12,5|");

  // Annuler opens nothing and says nothing.
  AnswerChoice(-1, "Choisir une feuille",
               "Feuilles du classeur « ventes.ods » :", {"Janvier", "Février"});
  EXPECT_EQ(OpenByMenu(ods), nullptr);
  QApplication::processEvents();
  EXPECT_EQ(Captions(), QStringList({"ventes.ods"}));

  // A workbook of one sheet opens without a question; the program's own,
  // all text, keeps its field names.
  TQor2 t;
  t.AddField("Code");
  t.AddField("Ville");
  t.Append();
  t.SetFieldValue(1, "06000");
  t.SetFieldValue(2, "Nice");
  ASSERT_TRUE(TXlsxWriter::Write(t, Engine(Path("codes.xlsx"))));
  child = OpenByMenu(Path("codes.xlsx"));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Dump(*child), "Code:STRING|Ville:STRING|\n06000|Nice|");
  EXPECT_TRUE(services.Questions().empty());
}

TEST_F(OpenMenuTest, ADatabaseOfSeveralTablesAsksWhichOneAndNamesTheColumnsLeftOut) {
  const QString db = WriteDatabase(
      "gestion.sqlite",
      "CREATE TABLE villes (nom TEXT);"
      "CREATE TABLE clients (nom TEXT, age INTEGER, photo BLOB, scan BLOB, note TEXT);"
      "INSERT INTO clients VALUES ('Zo\xC3\xA9', 31, x'FF00', NULL, NULL);");
  AnswerChoice(1, "Choisir une table",
               "Tables de la base « gestion.sqlite » :", {"villes", "clients"});
  TChild* child = OpenByMenu(db);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Dump(*child), "nom:STRING|age:FLOAT|note:STRING|\nZo\xE9|31||");
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Information);
  EXPECT_EQ(services.Questions()[0].text,
            "Les colonnes binaires « photo », « scan » n'ont pas été lues.");
}

TEST_F(OpenMenuTest, AFileThatCannotBeReadSaysWhyAndOpensNothing) {
  ASSERT_TRUE(form->OpenTable(WriteTable("a.qor")));
  TChild* open = form->ActiveChild();
  WriteFile(Path("photo.csv"), QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  WriteFile(Path("faux.xlsx"), "Nom;Ville\r\n");
  WriteFile(Path("faux.sqlite"), "pas une base");
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"photo.csv", "ce n'est pas un fichier texte"},
      {"faux.xlsx", "ce n'est pas un classeur du format que dit son nom"},
      {"faux.sqlite", "ce n'est pas une base SQLite (ou elle est chiffrée)"},
      {"absent.csv", "le fichier n'existe pas"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OpenByMenu(Path(c.file)), nullptr) << c.file;
    ASSERT_FALSE(services.Questions().empty());
    EXPECT_EQ(services.Questions().back().kind, TQuestionKind::Warning);
    EXPECT_EQ(services.Questions().back().text,
              "Impossible d'ouvrir '" + Path(c.file) + "' : " + QString::fromUtf8(c.reason));
  }
  QApplication::processEvents();
  EXPECT_EQ(Captions(), QStringList({"a.qor"}));
  EXPECT_EQ(form->ActiveChild(), open);
  EXPECT_EQ(form->StatusText(), "");
}

}  // namespace
