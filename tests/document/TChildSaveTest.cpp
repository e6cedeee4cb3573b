// Saving: the plain save, the forms of the save as, read-only files, the
// close question, what a failed or cancelled save leaves behind, and a table
// read from another program's file, which is never saved over it unasked.

#include <sys/stat.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSignalSpy>

#include "DocumentTest.h"
#include "ForeignTable.h"
#include "SpreadsheetCsv.h"
#include "TFaultyFileSystem.h"
#include "TXmlWriter.h"

namespace {

class ChildSaveTest : public DocumentTest {
 protected:
  static std::string Engine(const QString& path) { return QFile::encodeName(path).toStdString(); }
  // The table a file holds, read back through the engine.
  static std::string Reread(const QString& path, int field, int recNo) {
    TQor2 t;
    t.LoadFromFile(Engine(path));
    return t.GetCell(field, recNo).str();
  }
  void MakeReadOnly(const QString& path) { ASSERT_EQ(chmod(Engine(path).c_str(), 0444), 0); }
  const TQuestion& LastQuestion() const { return services.Questions().back(); }
  // Edits record 1 through the table view and moves away.
  void EditFirstRecord(const QString& name) {
    child->StringGrid1->SetRow(1);
    TypeInCell(1, name);
    child->StringGrid1->SetRow(2);
  }
};

}  // namespace

TEST_F(ChildSaveTest, EnregistrerWritesOnlyAModifiedTable) {
  const QString path = WriteClients();
  TChild& c = Open(path);
  QFile::remove(path);
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_FALSE(QFileInfo::exists(path));

  EditFirstRecord("Dupond");
  EXPECT_TRUE(c.Document().Modified());
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_EQ(Reread(path, 1, 1), "Dupond");
  EXPECT_EQ(Reread(path, 3, 4), "3,25");
  EXPECT_TRUE(services.Questions().empty());
}

TEST_F(ChildSaveTest, WhatWasTypedInTheCurrentRowIsSavedToo) {
  const QString path = WriteClients();
  TChild& c = Open(path);
  TypeInCell(2, "Rouen");  // no move to another row
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_EQ(Reread(path, 2, 1), "Rouen");
}

TEST_F(ChildSaveTest, AReadOnlyFileIsNotOverwrittenButSavedAs) {
  const QString path = WriteClients();
  const QByteArray before = ReadFile(path);
  TChild& c = Open(path);
  MakeReadOnly(path);
  EditFirstRecord("Dupond");

  services.CancelFile();
  EXPECT_FALSE(c.Enregistrer());
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Warning);
  EXPECT_EQ(services.Questions()[0].text, "Fichier en lecture seule");
  EXPECT_TRUE(c.Document().Modified());
  EXPECT_EQ(ReadFile(path), before);

  const QString copy = Path("copie.qor");
  services.AnswerFile(copy, 1);
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_EQ(c.FileName(), copy);
  EXPECT_EQ(c.windowTitle(), "copie.qor");
  EXPECT_EQ(Reread(copy, 1, 1), "Dupond");
  EXPECT_EQ(ReadFile(path), before);
}

TEST_F(ChildSaveTest, AFailedSaveIsReportedAndKeepsTheTableModified) {
  QDir(dir.path()).mkdir("sub");
  const QString path = WriteTable("sub/t.qor", {{"A", "STRING"}}, {{"un"}, {"deux"}});
  TChild& c = Open(path);
  c.setWindowTitle("t.qor");
  EditFirstRecord("uno");
  // The folder goes away: the save cannot create its file.
  QDir(dir.filePath("sub")).removeRecursively();
  EXPECT_FALSE(c.Enregistrer());
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::Warning);
  EXPECT_EQ(LastQuestion().text,
            "Impossible d'enregistrer '" + path + "' : le dossier n'existe pas");
  EXPECT_TRUE(c.Document().Modified());

  // The same through the save as: name and caption stay.
  services.AnswerFile(dir.filePath("nowhere/x.qor"), 1);
  EXPECT_FALSE(c.SaveAs());
  EXPECT_EQ(LastQuestion().text, "Impossible d'enregistrer '" + dir.filePath("nowhere/x.qor") +
                                     "' : le dossier n'existe pas");
  EXPECT_EQ(c.FileName(), path);
  EXPECT_EQ(c.windowTitle(), "t.qor");
  EXPECT_TRUE(c.Document().Modified());

  // A full disk, and a folder that takes no new file, say so.
  const QString saved = dir.filePath("t.qor");
  services.AnswerFile(saved, 1);
  {
    TFaultyFileSystem fileSystem;
    fileSystem.Arm(TFaultyFileSystem::TFault::DiskFull, 10);
    EXPECT_FALSE(c.SaveAs());
    EXPECT_EQ(LastQuestion().text,
              "Impossible d'enregistrer '" + saved + "' : le disque est plein");
    services.AnswerFile(saved, 3);
    fileSystem.Arm(TFaultyFileSystem::TFault::RefuseTemporary);
    EXPECT_FALSE(c.SaveAs());
    EXPECT_EQ(LastQuestion().text,
              "Impossible d'enregistrer '" + dir.filePath("t.csv") + "' : " +
                  QString::fromUtf8("le dossier n'accepte pas de nouveau fichier "
                                    "(l'enregistrement y écrit d'abord un fichier temporaire)"));
  }
  EXPECT_TRUE(c.Document().Modified());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// The save as opens in the table's own folder; for a new table, in the
// folder where the user last chose a file.
TEST_F(ChildSaveTest, SaveAsProposesTheTablesFolder) {
  QDir(dir.path()).mkpath("tables/old");
  TChild& c = Open(WriteTable("tables/t.qor", {{"A", "STRING"}}, {{"un"}}));
  services.CancelFile();
  EXPECT_FALSE(c.SaveAs());
  EXPECT_EQ(services.FileDialogs().back().directory, dir.filePath("tables"));
  EXPECT_EQ(services.FileDialogs().back().fileName, "t.qor");

  services.AnswerFile(dir.filePath("tables/old/x.qor"));
  ASSERT_TRUE(Services().FileDialog({}));
  TChild fresh;
  fresh.Init({"NOM STRING"});
  services.CancelFile();
  EXPECT_FALSE(fresh.SaveAs());
  EXPECT_EQ(services.FileDialogs().back().directory, dir.filePath("tables/old"));
  EXPECT_EQ(services.FileDialogs().back().fileName, "");
}

TEST_F(ChildSaveTest, SaveAsWritesEachOfTheSixForms) {
  TChild& c = Open(WriteClients());
  QSignalSpy names(&c, &TChild::FileNameChanged);
  c.Document().SetModified(true);

  services.AnswerFile(Path("a"), 1);
  EXPECT_TRUE(c.SaveAs());
  const TFileDialogRequest& request = services.FileDialogs().back();
  EXPECT_EQ(request.kind, TFileDialogKind::Save);
  EXPECT_EQ(request.fileName, "clients.qor");
  EXPECT_EQ(request.defaultExt, "qor");
  ASSERT_EQ(request.filters.size(), 10u);
  EXPECT_EQ(request.filters[0].label, "Format Vek Base (*.qor)");
  EXPECT_EQ(request.filters[1].label, "Structure de la base (*.qor)");
  EXPECT_EQ(request.filters[2].label, "Format csv (*.csv)");
  EXPECT_EQ(request.filters[3].label, "Format Isam (*.txt)");
  EXPECT_EQ(request.filters[4].label, "Format Excel (*.xls)");
  EXPECT_EQ(request.filters[5].label, "Format xml (*.xml)");
  EXPECT_EQ(request.filters[5].pattern, "*.xml");
  // Then the files of other programs (their own test: ChildSaveOtherFormsTest).
  EXPECT_EQ(request.filters[6].label, "CSV pour tableurs (*.csv)");
  EXPECT_EQ(request.filters[7].label, "Classeur Excel (*.xlsx)");
  EXPECT_EQ(request.filters[8].label, "Classeur OpenDocument (*.ods)");
  EXPECT_EQ(request.filters[9].label, "Base SQLite (*.sqlite)");
  EXPECT_EQ(c.FileName(), Path("a.qor"));
  EXPECT_EQ(c.windowTitle(), "a.qor");
  EXPECT_EQ(Reread(Path("a.qor"), 1, 5), "Roux");
  EXPECT_FALSE(c.Document().Modified());  // the whole table is saved
  c.Document().SetModified(true);

  // The structure only: fields and types, no record; the document keeps its file.
  services.AnswerFile(Path("s.qor"), 2);
  EXPECT_FALSE(c.SaveAs());
  TQor2 s;
  ASSERT_TRUE(s.LoadFromFile(Engine(Path("s.qor"))));
  EXPECT_EQ(s.FieldCount(), 3);
  EXPECT_EQ(s.GetFieldType(3), "FLOAT");
  EXPECT_EQ(s.RecordCount(), 0);
  EXPECT_EQ(c.FileName(), Path("a.qor"));
  EXPECT_EQ(c.windowTitle(), "a.qor");
  EXPECT_TRUE(c.Document().Modified());  // only the structure was written

  services.AnswerFile(Path("c.csv"), 3);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(ReadFile(Path("c.csv")).toStdString(), c.Document().Table().CsvText());
  services.AnswerFile(Path("t.txt"), 4);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(ReadFile(Path("t.txt")).toStdString(), c.Document().Table().TxtText());
  services.AnswerFile(Path("x.xls"), 5);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_TRUE(ReadFile(Path("x.xls")).startsWith(QByteArray("\x09\x08", 2)));
  services.AnswerFile(Path("m.xml"), 6);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(ReadFile(Path("m.xml")).toStdString(), TXmlWriter::Text(c.Document().Table()));
  EXPECT_EQ(c.FileName(), Path("m.xml"));
  EXPECT_EQ(names.count(), 5);
  EXPECT_TRUE(services.Questions().empty());
}

TEST_F(ChildSaveTest, TheChosenNameLosesOnlyItsOwnExtension) {
  TChild& c = Open(WriteClients());
  QDir(dir.path()).mkdir("my.data");
  services.AnswerFile(dir.filePath("my.data/clients.old.txt"), 3);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(c.FileName(), dir.filePath("my.data/clients.old.csv"));
  services.AnswerFile(dir.filePath("my.data/clients"), 1);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(c.FileName(), dir.filePath("my.data/clients.qor"));
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("my.data/clients.qor")));
}

TEST_F(ChildSaveTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
  const QString path = WriteClients();
  TChild& c = Open(path);
  const QString other = WriteTable("autre.qor", {{"Z", "STRING"}}, {{"z"}});
  const QByteArray before = ReadFile(other);
  services.AnswerFile(other, 1);
  services.AnswerQuestion(TAnswer::No);
  EXPECT_FALSE(c.SaveAs());
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::YesNo);
  EXPECT_EQ(LastQuestion().text, "Ce fichier existe déjà. Le remplacer ?");
  EXPECT_EQ(ReadFile(other), before);
  EXPECT_EQ(c.FileName(), path);

  services.AnswerFile(other, 1);
  services.AnswerQuestion(TAnswer::Yes);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(Reread(other, 1, 1), "Dupont");
}

TEST_F(ChildSaveTest, ADocumentSavedAsSpreadsheetOrXmlKeepsThatForm) {
  TChild& c = Open(WriteClients());
  services.AnswerFile(Path("m.xml"), 6);
  ASSERT_TRUE(c.SaveAs());
  EditFirstRecord("Dupond");
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_EQ(ReadFile(Path("m.xml")).toStdString(), TXmlWriter::Text(c.Document().Table()));
  EXPECT_TRUE(ReadFile(Path("m.xml")).contains("<NOM>Dupond</NOM>"));

  services.AnswerFile(Path("x.xls"), 5);
  ASSERT_TRUE(c.SaveAs());
  EditFirstRecord("Dupons");
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_TRUE(ReadFile(Path("x.xls")).startsWith(QByteArray("\x09\x08", 2)));
  EXPECT_TRUE(ReadFile(Path("x.xls")).contains("Dupons"));
}

// A table saved for another program stays in that form: the next plain save
// writes the workbook, the spreadsheet CSV or its own database table again.
TEST_F(ChildSaveTest, ADocumentSavedForAnotherProgramKeepsThatForm) {
  TChild& c = Open(WriteClients());
  auto readBack = [](const QString& path, const std::string& part = std::string()) {
    TQor2 t;
    TForeignReport report;
    TForeignOptions options;
    options.part = part;
    EXPECT_TRUE(ReadForeignTable(Engine(path), t, report, options)) << path.toStdString();
    return std::string(t.GetCell(1, 1)) + "|" + t.GetFieldType(3) + "|" +
           std::to_string(t.RecordCount());
  };

  services.AnswerFile(Path("c.xlsx"), 8);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(c.FileName(), Path("c.xlsx"));
  EXPECT_EQ(c.windowTitle(), "c.xlsx");
  EXPECT_EQ(readBack(Path("c.xlsx")), "Dupont|FLOAT|5");
  EditFirstRecord("Albert");
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_EQ(readBack(Path("c.xlsx")), "Albert|FLOAT|5");

  services.AnswerFile(Path("c.ods"), 9);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(readBack(Path("c.ods")), "Albert|FLOAT|5");

  services.AnswerFile(Path("t.csv"), 7);
  EXPECT_TRUE(c.SaveAs());
  EditFirstRecord("Bruno");
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_EQ(ReadFile(Path("t.csv")).toStdString(), SpreadsheetCsvText(c.Document().Table()));

  // Into a database: its own table is written over by the plain save, the
  // database's other tables stay. The table has no name of its own: its
  // database table is named after the file.
  TQor2 other;
  other.AddField("X");
  ASSERT_TRUE(WriteForeignTable(other, Engine(Path("b.db")), {"autre"}));
  services.AnswerFile(Path("b.db"), 10);
  EXPECT_TRUE(c.SaveAs());
  EXPECT_EQ(c.FileName(), Path("b.db"));
  EditFirstRecord("Claude");
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_EQ(readBack(Path("b.db"), "b"), "Claude|FLOAT|5");
  std::vector<std::string> tables;
  ASSERT_TRUE(ListForeignTables(Engine(Path("b.db")), tables));
  EXPECT_EQ(tables, (std::vector<std::string>{"autre", "b"}));
  EXPECT_TRUE(services.Questions().empty());
}

TEST_F(ChildSaveTest, ATableReadFromAnotherProgramIsNeverSavedOverItsFileUnasked) {
  const QByteArray csv = "Nom,Ville\r\n\"Dupont, Jean\",Paris\r\nDurand,Lyon\r\n";
  const QString source = Path("w.csv");
  {
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(csv);
  }
  TChild& c = Open(source);
  EditFirstRecord("Albert");

  // The plain save asks for a table file beside the text, proposing its name.
  services.CancelFile();
  EXPECT_FALSE(c.Enregistrer());
  const TFileDialogRequest& request = services.FileDialogs().back();
  EXPECT_EQ(request.kind, TFileDialogKind::Save);
  EXPECT_EQ(request.fileName, "w.qor");
  EXPECT_EQ(request.directory, dir.path());
  EXPECT_EQ(request.filterIndex, 1);
  EXPECT_TRUE(c.Document().Modified());

  // Saved over its own file in another form only when the user says so, in
  // words that say what that file is.
  services.AnswerFile(source, 3);
  services.AnswerQuestion(TAnswer::No);
  EXPECT_FALSE(c.SaveAs());
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::YesNo);
  EXPECT_EQ(LastQuestion().text,
            "« w.csv » est le fichier d'où vient la table, qui n'est pas une table Vek Base. "
            "Le remplacer ?");
  EXPECT_EQ(ReadFile(source), csv);

  services.AnswerFile(Path("w.qor"), 1);
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_EQ(c.FileName(), Path("w.qor"));
  EXPECT_EQ(c.windowTitle(), "w.qor");
  EXPECT_EQ(Reread(Path("w.qor"), 1, 1), "Albert");
  EXPECT_EQ(ReadFile(source), csv);
  EXPECT_FALSE(c.Document().Modified());

  // From now on the table file is the document's: saved in place.
  EditFirstRecord("Bruno");
  EXPECT_TRUE(c.Enregistrer());
  EXPECT_EQ(Reread(Path("w.qor"), 1, 1), "Bruno");
  EXPECT_EQ(services.FileDialogs().size(), 3u);
}

TEST_F(ChildSaveTest, TheCloseQuestionNamesTheFileAndFollowsTheAnswer) {
  // Not modified: no question.
  TChild& c = Open(WriteClients());
  EXPECT_TRUE(c.FormCloseQuery());
  EXPECT_TRUE(services.Questions().empty());

  EditFirstRecord("Dupond");
  services.AnswerQuestion(TAnswer::Cancel);
  EXPECT_FALSE(c.FormCloseQuery());
  EXPECT_EQ(LastQuestion().kind, TQuestionKind::YesNoCancel);
  EXPECT_EQ(LastQuestion().text, "Enregistrer changements dans 'clients.qor'?");
  services.AnswerQuestion(TAnswer::No);
  EXPECT_TRUE(c.FormCloseQuery());
  EXPECT_TRUE(c.Document().Modified());
  services.AnswerQuestion(TAnswer::Yes);
  EXPECT_TRUE(c.FormCloseQuery());
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_EQ(Reread(Path("clients.qor"), 1, 1), "Dupond");
}

TEST_F(ChildSaveTest, ANewTableThatIsNotSavedAfterAllKeepsTheWindowOpen) {
  child = std::make_unique<TChild>();
  child->Init({"NOM STRING"});
  child->Document().SetModified(true);
  QPointer<TChild> window = child.release();
  window->show();

  services.AnswerQuestion(TAnswer::Yes);
  services.CancelFile();
  EXPECT_FALSE(window->close());
  EXPECT_EQ(LastQuestion().text, "Enregistrer changements dans ''?");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(window.isNull());
  EXPECT_TRUE(window->Document().Modified());

  // Answering No closes the window, which then deletes itself.
  services.AnswerQuestion(TAnswer::No);
  EXPECT_TRUE(window->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

TEST_F(ChildSaveTest, InsideTheDocumentAreaARefusedCloseKeepsTheSubWindow) {
  QMdiArea area;
  auto* window = new TChild;
  window->Init({"NOM STRING"});
  window->Document().SetModified(true);
  QPointer<QMdiSubWindow> frame = area.addSubWindow(window);
  area.show();
  window->show();
  frame->resize(600, 300);
  EXPECT_EQ(window->StringGrid2->ColWidth(1), 600 - 168);

  services.AnswerQuestion(TAnswer::Cancel);
  EXPECT_FALSE(frame->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(frame.isNull());
  EXPECT_EQ(area.subWindowList().size(), 1);

  services.AnswerQuestion(TAnswer::No);
  area.closeAllSubWindows();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(frame.isNull());
  EXPECT_TRUE(area.subWindowList().isEmpty());
}
