#include "TOpenCommands.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <optional>

#include "FileNames.h"
#include "French.h"
#include "IDocumentView.h"
#include "TDocument.h"
#include "THourglass.h"
#include "TImportExport.h"
#include "TJournalReader.h"
#include "TRecoveryPrompt.h"
#include "TTableChoiceDlg.h"
#include "TableFile.h"

std::vector<TFileFilter> TOpenCommands::Filters() {
  return {
      {QStringLiteral("Tables et fichiers de données"),
       QStringLiteral("*.qor;*.csv;*.tsv;*.txt;*.dbf;*.xlsx;*.ods;*.sqlite;*.sqlite3;*.db")},
      {QStringLiteral("Fichiers Vek Base (*.qor)"), QStringLiteral("*.qor")},
      {QStringLiteral("Fichiers texte"), QStringLiteral("*.csv;*.tsv;*.txt")},
      {QStringLiteral("Fichiers dBase (*.dbf)"), QStringLiteral("*.dbf")},
      {QStringLiteral("Classeurs Excel (*.xlsx)"), QStringLiteral("*.xlsx")},
      {QStringLiteral("Classeurs OpenDocument (*.ods)"), QStringLiteral("*.ods")},
      {QStringLiteral("Bases SQLite"), QStringLiteral("*.sqlite;*.sqlite3;*.db")},
      {QStringLiteral("Tous les fichiers"), QStringLiteral("*")},
  };
}

bool TOpenCommands::Openable(const QString& path) {
  const QString suffix = QStringLiteral("*.") + QFileInfo(path).suffix().toLower();
  return Filters().front().pattern.split(QLatin1Char(';')).contains(suffix);
}

QStringList TOpenCommands::OpenableFiles(const QMimeData* dropped) {
  QStringList files;
  if (!dropped || !dropped->hasUrls()) return files;
  for (const QUrl& url : dropped->urls())
    if (const QString path = url.toLocalFile(); !path.isEmpty() && Openable(path)) files << path;
  return files;
}

bool TOpenCommands::TakeLock(const QString& name) {
  if (doc_.LockFile(EnginePath(name)) != TTableLock::TResult::HeldByOther) return true;
  if (!TRecoveryPrompt::AskReadOnly(name)) return false;
  doc_.SetReadOnly(true);
  view_.ShowReadOnly();
  return true;
}

bool TOpenCommands::Open(const QString& name) {
  const std::string path = EnginePath(name);
  // The sheets of a workbook and the tables of a database open each in its
  // own window; no plain save writes over such a file.
  if (!HoldsSeveralTables(TableFileKindOf(path)) && !TakeLock(name)) return false;
  TStatus status;
  // Which sheet or database table, when the file holds several.
  const std::optional<std::string> part = TTableChoiceDlg::Ask(name, status);
  TTableFileReport report;
  if (part) {
    THourglass hourglass;
    status = doc_.Load(path, *part, &report);
  }
  if (!status) {
    Services().Warning(
        FailureMessage(QStringLiteral("ouvrir '") + name + QLatin1Char('\''), status));
    return false;
  }
  if (!part) return false;  // the user chose none
  view_.ShowLoaded(name);
  const QString notes = TImportExport::ReadNotes(
      report.text, report.text.dialect.replaced + report.foreign.replaced, report.foreign.leftOut);
  if (!notes.isEmpty()) Services().Information(notes);
  return true;
}

bool TOpenCommands::Recover(TJournalReader& journal) {
  const TJournalHeader& header = journal.Header();
  const bool newTable = header.baseline == TJournalHeader::NewTable;
  const QString name = FromEnginePath(header.path);
  if (!newTable && !TakeLock(name)) return false;
  TRecoveryReport report;
  TStatus status;
  {
    THourglass hourglass;
    status = doc_.Recover(journal, report);
  }
  if (!status) {
    Services().Warning(QStringLiteral("Impossible d'ouvrir '") + name + QStringLiteral("' : ") +
                       FailureText(status));
    return false;
  }
  // A form the user designed came back with the table; otherwise the one
  // kept beside the file.
  view_.ShowLoaded(newTable ? QString() : name);
  TRecoveryPrompt::TellDamage(name, report);
  return true;
}
