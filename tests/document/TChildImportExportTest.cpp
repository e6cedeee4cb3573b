// Import and export from the document window: what lands in the table and the
// view, the files written, the French messages, undo and cancel.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

#include "DbfBytes.h"
#include "DocumentTest.h"
#include "ForeignTable.h"
#include "LargeMemory.h"
#include "SpreadsheetCsv.h"
#include "TFaultyFileSystem.h"
#include "TImportExport.h"
#include "TImportPreviewDlg.h"
#include "TStringGrid.h"
#include "TTableChoiceDlg.h"
#include "TXlsxWriter.h"
#include "TXmlWriter.h"
#include "TableContents.h"

namespace {

class ChildImportExportTest : public DocumentTest {
 protected:
  QString WriteBytes(const QString& name, const std::string& bytes) {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return Path(name);
  }
  std::vector<std::string> Record(int recNo) const {
    std::vector<std::string> v;
    for (int i = 1; i <= child->Document().Table().FieldCount(); ++i) v.push_back(Value(i, recNo));
    return v;
  }
  const TQuestion& LastQuestion() const { return services.Questions().back(); }
  static std::string Engine(const QString& path) { return QFile::encodeName(path).toStdString(); }
  // A table read back from a workbook or a database, every field and value.
  static std::string ReadBack(const QString& path, const std::string& part = std::string()) {
    TQor2 t;
    TForeignReport report;
    TForeignOptions options;
    options.part = part;
    EXPECT_TRUE(ReadForeignTable(Engine(path), t, report, options)) << path.toStdString();
    return Dump(t);
  }
  static std::string Dump(const TQor2& t) { return DumpTable(t); }
  // Scripts the import preview: "Importer" or "Annuler", as it comes.
  void AnswerPreview(bool import) {
    services.AnswerDialog([import](QDialog& d) {
      auto& dialog = static_cast<TImportPreviewDlg&>(d);
      (import ? dialog.Button2 : dialog.Button1)->click();
    });
  }
  using Values = std::vector<std::string>;
};

}  // namespace

TEST_F(ChildImportExportTest, ImporterAppendsTheFileAndUndoTakesItBack) {
  TChild& c = Open(WriteClients());
  const QString file = WriteBytes("nouveaux.txt", "Zo\xE9\tNice\t1\r\nAbel\tMetz\t4\textra\r\n");
  services.AnswerFile(file, 2);
  AnswerPreview(true);
  c.Importer();

  const TFileDialogRequest& request = services.FileDialogs().back();
  EXPECT_EQ(request.kind, TFileDialogKind::Open);
  EXPECT_EQ(request.defaultExt, "");
  ASSERT_EQ(request.filters.size(), 7u);
  EXPECT_EQ(request.filters[0].label, "Fichiers importables");
  EXPECT_EQ(request.filters[0].pattern,
            "*.csv;*.tsv;*.txt;*.dbf;*.xlsx;*.ods;*.sqlite;*.sqlite3;*.db");
  EXPECT_EQ(request.filters[1].label, "Fichiers texte");
  EXPECT_EQ(request.filters[1].pattern, "*.csv;*.tsv;*.txt");
  EXPECT_EQ(request.filters[2].label, "Fichiers dBase (*.dbf)");
  EXPECT_EQ(request.filters[3].label, "Classeurs Excel (*.xlsx)");
  EXPECT_EQ(request.filters[4].label, "Classeurs OpenDocument (*.ods)");
  EXPECT_EQ(request.filters[5].label, "Bases SQLite");
  EXPECT_EQ(request.filters[6].label, "Tous les fichiers");
  EXPECT_EQ(request.filters[6].pattern, "*");

  // By position: the value beyond the last field is dropped and counted.
  ASSERT_EQ(c.Document().Table().RecordCount(), 7);
  EXPECT_EQ(Record(6), (Values{"Zo\xE9", "Nice", "1"}));
  EXPECT_EQ(Record(7), (Values{"Abel", "Metz", "4"}));
  EXPECT_EQ(Cell(1, 6), "Zoé");
  EXPECT_EQ(Cell(0, 7), "7");
  EXPECT_TRUE(c.Document().Modified());
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Information);
  EXPECT_EQ(LastQuestion().text, "1 valeur sans champ dans la table a été laissée de côté.");

  c.Annuler();
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_EQ(c.StringGrid1->RowCount(), 6);
}

TEST_F(ChildImportExportTest, AFileThatCannotBeImportedChangesNothing) {
  TChild& c = Open(WriteClients());
  services.AnswerFile(Path("absent.txt"));
  c.Importer();
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Message);
  EXPECT_EQ(LastQuestion().text, "Le fichier " + Path("absent.txt") + " n'existe pas");
  EXPECT_FALSE(c.Document().UndoAvailable());

  // A damaged workbook says why before anything is asked.
  services.AnswerFile(WriteBytes("ventes.xlsx", "PK\x03\x04 not really a zip"));
  c.Importer();
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Warning);
  EXPECT_TRUE(
      LastQuestion().text.startsWith("Impossible d'importer '" + Path("ventes.xlsx") + "' : "))
      << LastQuestion().text.toStdString();
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_FALSE(c.Document().UndoAvailable());
}

// A binary file named .txt, or an import that finds no memory for its records,
// adds nothing and says why.
TEST_F(ChildImportExportTest, ABinaryFileOrALackOfMemoryAddsNothing) {
  TChild& c = Open(WriteClients());
  const QString photo = WriteBytes("photo.txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  services.AnswerFile(photo);
  c.Importer();
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Warning);
  EXPECT_EQ(LastQuestion().text,
            "Impossible d'importer '" + photo + "' : ce n'est pas un fichier texte");

  const QString text = WriteBytes("nouveaux.csv", "Zo\xE9;Nice\r\n");
  {
    TAllocationLimit noMemory(0);
    services.AnswerFile(text);
    AnswerPreview(true);
    c.Importer();
  }
  EXPECT_EQ(LastQuestion().text, "Mémoire insuffisante pour importer '" + text + "'");
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_EQ(c.StringGrid1->RowCount(), 6);
  EXPECT_FALSE(c.Document().Modified());
}

TEST_F(ChildImportExportTest, Utf8TextArrivesWithItsAccentsAndTheLostCharactersAreCounted) {
  TChild& c = Open(WriteClients());
  const QString file = WriteBytes("u.csv", "Zo\xC3\xA9;Nice;1\r\n\xE4\xB8\xAD\xE6\x96\x87;x\r\n");
  EXPECT_TRUE(c.ImporCsv(file));
  EXPECT_EQ(Record(6), (Values{"Zo\xE9", "Nice", "1"}));
  EXPECT_EQ(Record(7), (Values{"??", "x", ""}));
  EXPECT_EQ(Cell(1, 6), "Zoé");
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Information);
  EXPECT_EQ(LastQuestion().text,
            "2 caractères du fichier n'ont pas d'équivalent dans la table : ils ont été "
            "remplacés par « ? ».");
}

TEST_F(ChildImportExportTest, ADamagedDbaseTableSaysWhyAndUndoTakesBackWhatCame) {
  TChild& c = Open(WriteClients());
  dbftest::DbfLayout dbf;
  dbf.fields = {{"NOM", 'C', 8}, {"VILLE", 'C', 8}};
  dbf.rows = {{{"Andr\x82", "Caen"}}, {{"B", "Vire"}}, {{"C", "Sees"}}};
  dbf.recordCount = 5;
  const QString file = WriteBytes("old.dbf", dbf.Bytes());
  services.AnswerFile(file, 3);
  c.Importer();
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Warning);
  EXPECT_EQ(LastQuestion().text,
            "Impossible d'importer '" + file +
                "' : enregistrement dBase illisible\nLes 3 enregistrements lus avant l'erreur "
                "restent dans la table ; « Annuler » les retire.");
  ASSERT_EQ(c.Document().Table().RecordCount(), 8);
  EXPECT_EQ(Record(6), (Values{"Andr\xE9", "Caen", ""}));
  EXPECT_EQ(Cell(2, 8), "Sees");
  EXPECT_TRUE(c.Document().Modified());
  c.Annuler();
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
}

TEST_F(ChildImportExportTest, ALongImportShowsProgressAndEscapeUndoesIt) {
  TChild& c = Open(WriteClients());
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "nom" + std::to_string(i) + ";ville;1\r\n";
  const QString file = WriteBytes("big.csv", text);
  QSignalSpy status(&c, &TChild::StatusText);

  TImportExport room(c.Document(), c);
  room.progressDelayMs = 0;  // as if the import had run long already
  QCoreApplication::postEvent(c.StringGrid1,
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  EXPECT_FALSE(room.ImporCsv(file));

  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_EQ(c.StringGrid1->RowCount(), 6);
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_TRUE(services.Questions().empty());
  ASSERT_GE(status.count(), 2);
  const QString shown = status.first().at(0).toString();
  EXPECT_TRUE(shown.startsWith("Importe... ") && shown.endsWith(" % - Échap pour annuler"))
      << shown.toStdString();
  EXPECT_EQ(status.last().at(0).toString(), "");

  // Keys reach the window again afterwards.
  QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  QCoreApplication::sendEvent(c.StringGrid1, &key);
  EXPECT_TRUE(c.RowEdited);
}

TEST_F(ChildImportExportTest, ExporterWritesTheTableUnderTheChosenNameAndKeepsTheDocumentsFile) {
  const QString path = WriteClients();
  TChild& c = Open(path);
  QDir(dir.path()).mkdir("my.data");
  services.AnswerFile(dir.filePath("my.data/copie.old.txt"), 1);
  c.Exporter();
  const TFileDialogRequest& request = services.FileDialogs().back();
  EXPECT_EQ(request.kind, TFileDialogKind::Save);
  EXPECT_EQ(request.fileName, "clients.qor");
  EXPECT_EQ(request.defaultExt, "qor");
  ASSERT_EQ(request.filters.size(), 7u);
  EXPECT_EQ(request.filters[0].label, "Format csv (*.csv)");
  EXPECT_EQ(request.filters[1].label, "Format texte+Tab (*.txt)");
  EXPECT_EQ(request.filters[2].label, "Format xml (*.xml)");
  EXPECT_EQ(request.filters[3].label, "CSV pour tableurs (*.csv)");
  EXPECT_EQ(request.filters[4].label, "Classeur Excel (*.xlsx)");
  EXPECT_EQ(request.filters[5].label, "Classeur OpenDocument (*.ods)");
  EXPECT_EQ(request.filters[6].label, "Base SQLite (*.sqlite)");
  EXPECT_EQ(ReadFile(dir.filePath("my.data/copie.old.csv")).toStdString(),
            c.Document().Table().CsvText());

  services.AnswerFile(dir.filePath("my.data/copie"), 2);
  c.Exporter();
  EXPECT_EQ(ReadFile(dir.filePath("my.data/copie.txt")).toStdString(),
            c.Document().Table().TxtText());
  services.AnswerFile(dir.filePath("my.data/copie"), 3);
  c.Exporter();
  EXPECT_EQ(ReadFile(dir.filePath("my.data/copie.xml")).toStdString(),
            TXmlWriter::Text(c.Document().Table()));

  EXPECT_EQ(c.FileName(), path);
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_TRUE(services.Questions().empty());
}

TEST_F(ChildImportExportTest, InSelectionModeOnlyTheSelectedRecordsAreWritten) {
  TChild& c = Open(WriteTable(
      "t.qor", {{"NOM", "STRING"}, {"VILLE", "STRING"}},
      {{"Dupont", "Paris"}, {"Andr\xE9 & fils", "Lyon"}, {"Martin", "Nice"}, {"Petit", "Lyon"}}));
  c.Document().SetFilter({"VILLE", "=", "Lyon"});
  c.AffSel();
  c.StringGrid1->SetRow(2);

  EXPECT_TRUE(c.ExportCsv(Path("s.csv")));
  EXPECT_EQ(ReadFile(Path("s.csv")), "Andr\xE9 & fils;Lyon\r\nPetit;Lyon\r\n");
  EXPECT_TRUE(c.ExportTxt(Path("s.txt")));
  EXPECT_EQ(ReadFile(Path("s.txt")), "Andr\xE9 & fils\tLyon\r\nPetit\tLyon\r\n");
  EXPECT_TRUE(c.ExportXml(Path("s.xml")));
  EXPECT_EQ(ReadFile(Path("s.xml")),
            "<?xml version=\"1.0\" ?>\r\n<racine>\r\n"
            "<record>\r\n<NOM>Andr\xC3\xA9 &amp; fils</NOM>\r\n<VILLE>Lyon</VILLE>\r\n</record>\r\n"
            "<record>\r\n<NOM>Petit</NOM>\r\n<VILLE>Lyon</VILLE>\r\n</record>\r\n</racine>\r\n");
  // Back on the first selected record.
  EXPECT_EQ(c.StringGrid1->Row(), 1);
  EXPECT_EQ(c.Document().Table().RecNo(), 2);
}

TEST_F(ChildImportExportTest, AnExistingFileIsReplacedOnlyWhenAllowedAndOnlyWhenWritten) {
  TChild& c = Open(WriteClients());
  const QString target = WriteBytes("e.csv", "ancien");
  services.AnswerFile(target, 1);
  services.AnswerQuestion(TAnswer::No);
  c.Exporter();
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::YesNo);
  EXPECT_EQ(LastQuestion().text, "Ce fichier existe déjà. Le remplacer ?");
  EXPECT_EQ(ReadFile(target), "ancien");

  TFaultyFileSystem fileSystem;
  fileSystem.Arm(TFaultyFileSystem::TFault::DiskFull, 10);
  services.AnswerFile(target, 1);
  services.AnswerQuestion(TAnswer::Yes);
  c.Exporter();
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Warning);
  EXPECT_EQ(LastQuestion().text, "Impossible d'enregistrer '" + target + "' : le disque est plein");
  EXPECT_EQ(ReadFile(target), "ancien");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary file left
}

// The preview comes first and shows the records under the table's fields;
// "Annuler" appends nothing and takes no snapshot. Header names in another
// order than the fields' send each value to the field of its name.
TEST_F(ChildImportExportTest, ThePreviewComesFirstAndHeaderNamesChooseTheFields) {
  TChild& c = Open(WriteClients());
  const QString file = WriteBytes("n.csv", "Prix;Nom;Ville\r\n3;Zo\xE9;Nice\r\n");
  QStringList shown;
  auto preview = [&](bool import) {
    services.AnswerFile(file);
    services.AnswerDialog([&, import](QDialog& d) {
      auto& dialog = static_cast<TImportPreviewDlg&>(d);
      for (int col = 1; col <= 3; ++col)
        shown << dialog.Grid->Cell(col, 0) + "=" + dialog.Grid->Cell(col, 1);
      (import ? dialog.Button2 : dialog.Button1)->click();
    });
    c.Importer();
  };
  preview(false);
  EXPECT_EQ(shown, QStringList({"NOM=Zoé", "VILLE=Nice", "PRIX=3"}));
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_FALSE(c.Document().UndoAvailable());

  preview(true);
  ASSERT_EQ(c.Document().Table().RecordCount(), 6);
  EXPECT_EQ(Record(6), (Values{"Zo\xE9", "Nice", "3"}));
  EXPECT_TRUE(c.Document().Modified());
  EXPECT_TRUE(services.Questions().empty());  // nothing dropped, nothing to say
}

// The program's own escaped text comes back through its own reader: a ";"
// or a line break inside a value stays in its value.
TEST_F(ChildImportExportTest, TheProgramsOwnTextComesBackWithItsEscapes) {
  TChild& c = Open(WriteClients());
  TQor2 own;
  for (const char* f : {"VILLE", "NOM"}) own.AddField(f);
  own.Append();
  own.SetFieldValue(1, "Lyon;Villeurbanne");
  own.SetFieldValue(2, "ligne 1\rligne 2 \\ fin");
  ASSERT_TRUE(own.SaveCsvFile(Engine(Path("own.csv"))));
  services.AnswerFile(Path("own.csv"));
  AnswerPreview(true);
  c.Importer();
  ASSERT_EQ(c.Document().Table().RecordCount(), 6);
  EXPECT_EQ(Record(6), (Values{"ligne 1\r\nligne 2 \\ fin", "Lyon;Villeurbanne", ""}));
  EXPECT_TRUE(services.Questions().empty());
}

// A workbook the program wrote, all text and its columns in another order,
// is imported by name; a workbook that names none of the fields goes by
// position, its extra column counted.
TEST_F(ChildImportExportTest, ASheetIsImportedByNameOrByPosition) {
  TChild& c = Open(WriteClients());
  TQor2 sheet;
  for (const char* f : {"Ville", "Nom"}) sheet.AddField(f);
  sheet.Append();
  sheet.SetFieldValue(1, "Nice");
  sheet.SetFieldValue(2, "06000");
  ASSERT_TRUE(TXlsxWriter::Write(sheet, Engine(Path("s.xlsx"))));
  services.AnswerFile(Path("s.xlsx"), 4);
  c.Importer();
  ASSERT_EQ(c.Document().Table().RecordCount(), 6);
  EXPECT_EQ(Record(6), (Values{"06000", "Nice", ""}));
  EXPECT_TRUE(services.Questions().empty());

  for (const char* f : {"Code", "Pays"}) sheet.AddField(f);
  sheet.SetFieldValue(3, "1");
  sheet.SetFieldValue(4, "France");
  ASSERT_TRUE(TXlsxWriter::Write(sheet, Engine(Path("p.xlsx"))));
  services.AnswerFile(Path("p.xlsx"), 4);
  c.Importer();
  ASSERT_EQ(c.Document().Table().RecordCount(), 7);
  EXPECT_EQ(Record(7), (Values{"Nice", "06000", "1"}));
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(LastQuestion().text, "1 valeur sans champ dans la table a été laissée de côté.");
  c.Annuler();
  EXPECT_EQ(c.Document().Table().RecordCount(), 6);
}

// A table of a database of several comes after the choice of one, by name;
// Annuler in the choice appends nothing.
TEST_F(ChildImportExportTest, ATableOfADatabaseIsImportedAfterTheChoiceOfOne) {
  TChild& c = Open(WriteClients());
  TQor2 other, clients;
  other.AddField("X");
  for (const char* f : {"PRIX", "NOM"}) clients.AddField(f);
  clients.Append();
  clients.SetFieldValue(1, "9");
  clients.SetFieldValue(2, "Zo\xE9");
  ASSERT_TRUE(WriteForeignTable(other, Engine(Path("b.sqlite")), {"autre"}));
  ASSERT_TRUE(WriteForeignTable(clients, Engine(Path("b.sqlite")), {"clients"}));
  auto choose = [this](int row) {
    services.AnswerDialog([row](QDialog& d) {
      auto& dialog = static_cast<TTableChoiceDlg&>(d);
      EXPECT_EQ(dialog.ListBox1->count(), 2);
      if (row >= 0) dialog.ListBox1->setCurrentRow(row);
      (row < 0 ? dialog.Button1 : dialog.Button2)->click();
    });
  };
  services.AnswerFile(Path("b.sqlite"), 6);
  choose(-1);
  c.Importer();
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_FALSE(c.Document().Modified());

  services.AnswerFile(Path("b.sqlite"), 6);
  choose(1);
  c.Importer();
  ASSERT_EQ(c.Document().Table().RecordCount(), 6);
  EXPECT_EQ(Record(6), (Values{"Zo\xE9", "", "9"}));
  EXPECT_TRUE(services.Questions().empty());
  c.Annuler();
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
}

// Exports for other programs read back as the table: the spreadsheet CSV
// byte for byte, the workbooks value by value, in selection mode only the
// selected records; the document keeps its file.
TEST_F(ChildImportExportTest, ExportsForOtherProgramsReadBackAsTheTable) {
  const QString path = WriteClients();
  TChild& c = Open(path);
  // Numbers come back as the table writes them: 12.5 as 12,5.
  std::string table = Dump(c.Document().Table());
  table.replace(table.find("12.5"), 4, "12,5");
  services.AnswerFile(Path("e"), 4);
  c.Exporter();
  EXPECT_EQ(ReadFile(Path("e.csv")).toStdString(), SpreadsheetCsvText(c.Document().Table()));
  services.AnswerFile(Path("e"), 5);
  c.Exporter();
  EXPECT_EQ(ReadBack(Path("e.xlsx")), table);
  services.AnswerFile(Path("e"), 6);
  c.Exporter();
  EXPECT_EQ(ReadBack(Path("e.ods")), table);

  c.Document().SetFilter({"VILLE", "=", "Lyon"});
  c.AffSel();
  services.AnswerFile(Path("lyon"), 5);
  c.Exporter();
  EXPECT_EQ(ReadBack(Path("lyon.xlsx")),
            "NOM:STRING|VILLE:STRING|PRIX:FLOAT|\nDurand|Lyon|7|\nPetit|Lyon|3,25|");
  EXPECT_EQ(c.Document().Table().RecNo(), 2);  // back on the first selected record

  EXPECT_EQ(c.FileName(), path);
  EXPECT_TRUE(services.Questions().empty());
}

// A table of texts alone, codes among them, exported in every form, opens
// again with its names as names and every record as it was.
TEST_F(ChildImportExportTest, EveryExportOfAnAllTextTableOpensWithItsNames) {
  const std::string table =
      "Code:STRING|Ville:STRING|\n06000|Nice|\nA2|Orl\xE9"
      "ans|";
  TChild& c = Open(WriteTable("codes.qor", {{"Code", "STRING"}, {"Ville", "STRING"}},
                              {{"06000", "Nice"},
                               {"A2",
                                "Orl\xE9"
                                "ans"}}));
  ASSERT_EQ(Dump(c.Document().Table()), table);
  const std::pair<int, const char*> exports[] = {{1, "e.csv"},  {2, "e.txt"}, {4, "s.csv"},
                                                 {5, "e.xlsx"}, {6, "e.ods"}, {7, "e.sqlite"}};
  for (const auto& [index, name] : exports) {
    services.AnswerFile(Path(name), index);
    c.Exporter();
  }
  for (const auto& [index, name] : exports) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Dump(Open(Path(name)).Document().Table()), table);
  }
  EXPECT_TRUE(services.Questions().empty());
}

TEST_F(ChildImportExportTest, ExportingIntoADatabaseKeepsItsTablesAndAsksBeforeReplacingOne) {
  TChild& c = Open(WriteTable("clients.qor", {{"NOM", "STRING"}, {"PRIX", "FLOAT"}},
                              {{"Dupont", "12,5"}, {"Durand", "7"}}));
  TQor2 other;
  other.AddField("X");
  ASSERT_TRUE(WriteForeignTable(other, Engine(Path("b.sqlite")), {"autre"}));
  c.Document().Table().TableName = "clients";
  services.AnswerFile(Path("b.sqlite"), 7);
  c.Exporter();
  std::vector<std::string> tables;
  ASSERT_TRUE(ListForeignTables(Engine(Path("b.sqlite")), tables));
  EXPECT_EQ(tables, (std::vector<std::string>{"autre", "clients"}));
  EXPECT_EQ(ReadBack(Path("b.sqlite"), "clients"), Dump(c.Document().Table()));
  EXPECT_TRUE(services.Questions().empty());

  // Once more, after a change: replaced only when the user says so.
  c.Document().StoreValue("NOM", "Albert");
  const std::string before = ReadBack(Path("b.sqlite"), "clients");
  services.AnswerFile(Path("b.sqlite"), 7);
  services.AnswerQuestion(TAnswer::No);
  c.Exporter();
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::YesNo);
  EXPECT_EQ(LastQuestion().text,
            "La base « b.sqlite » a déjà une table « clients ». La remplacer ?");
  EXPECT_EQ(ReadBack(Path("b.sqlite"), "clients"), before);
  services.AnswerFile(Path("b.sqlite"), 7);
  services.AnswerQuestion(TAnswer::Yes);
  c.Exporter();
  EXPECT_EQ(ReadBack(Path("b.sqlite"), "clients"), Dump(c.Document().Table()));
  ASSERT_TRUE(ListForeignTables(Engine(Path("b.sqlite")), tables));
  EXPECT_EQ(tables, (std::vector<std::string>{"autre", "clients"}));
}
