// Import and export from the document window: what lands in the table and the
// view, the files written, the French messages, undo and cancel.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QSignalSpy>

#include "DbfBytes.h"
#include "DocumentTest.h"
#include "LargeMemory.h"
#include "TFaultyFileSystem.h"
#include "TImportExport.h"
#include "TXmlWriter.h"

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
  using Values = std::vector<std::string>;
};

}  // namespace

TEST_F(ChildImportExportTest, ImporterAppendsTheFileAndUndoTakesItBack) {
  TChild& c = Open(WriteClients());
  const QString file = WriteBytes("nouveaux.txt", "Zo\xE9\tNice\r\nAbel\tMetz\t4\textra\r\n");
  services.AnswerFile(file, 2);
  c.Importer();

  const TFileDialogRequest& request = services.FileDialogs().back();
  EXPECT_EQ(request.kind, TFileDialogKind::Open);
  EXPECT_EQ(request.defaultExt, "");
  ASSERT_EQ(request.filters.size(), 4u);
  EXPECT_EQ(request.filters[0].label, "Tous les fichiers (*.txt;*.dbf;*.csv)");
  EXPECT_EQ(request.filters[0].pattern, "*.txt;*.dbf;*.csv");
  EXPECT_EQ(request.filters[1].label, "Fichiers texte + tab (*.txt)");
  EXPECT_EQ(request.filters[2].label, "Fichiers dBase (*.dbf)");
  EXPECT_EQ(request.filters[3].label, "Fichier texte + point-virgule (*.csv)");

  ASSERT_EQ(c.Document().Table().RecordCount(), 7);
  EXPECT_EQ(Record(6), (Values{"Zo\xE9", "Nice", ""}));
  EXPECT_EQ(Record(7), (Values{"Abel", "Metz", "4"}));
  EXPECT_EQ(Cell(1, 6), "Zoé");
  EXPECT_EQ(Cell(0, 7), "7");
  EXPECT_TRUE(c.Document().Modified());
  EXPECT_TRUE(services.Questions().empty());

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

  services.AnswerFile(WriteBytes("clients.dat", "a\tb\r\n"));
  c.Importer();
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Warning);
  EXPECT_EQ(LastQuestion().text, "Impossible d'importer '" + Path("clients.dat") +
                                     "' : seuls les fichiers .txt, .csv et .dbf sont reconnus");
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_FALSE(c.Document().Modified());
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
  dbftest::DbfLayout spec;
  spec.fields = {{"NOM", 'C', 8}, {"VILLE", 'C', 8}};
  spec.rows = {{{"Andr\x82", "Caen"}}, {{"B", "Vire"}}, {{"C", "Sees"}}};
  spec.recordCount = 5;
  const QString file = WriteBytes("old.dbf", spec.Bytes());
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
  ASSERT_EQ(request.filters.size(), 3u);
  EXPECT_EQ(request.filters[0].label, "Format csv (*.csv)");
  EXPECT_EQ(request.filters[1].label, "Format texte+Tab (*.txt)");
  EXPECT_EQ(request.filters[2].label, "Format xml (*.xml)");
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
