#include "TImportExport.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

#include "AnsiCodec.h"
#include "FileNames.h"
#include "French.h"
#include "IDocumentView.h"
#include "IServices.h"
#include "TDocument.h"
#include "THourglass.h"
#include "TImportPreviewDlg.h"
#include "TImportProgress.h"
#include "TOpenCommands.h"
#include "TTableChoiceDlg.h"

namespace {

// What a choice of the save-as or export dialog writes.
enum class TWrite {
  Table,           // the engine's form of the extension (.qor, .csv, .txt, .xls)
  Structure,       // the fields alone, in a table file
  Xml,             // SauveXml
  Export,          // the table, or the selection, as TExportFormat says
  SpreadsheetCsv,  // "CSV pour tableurs"
  Workbook,        // .xlsx, .ods
  Database,        // a table of an SQLite database
};

struct TSaveChoice {
  TFileFilter filter;
  const char* extension;
  TWrite write;
  TExportFormat format = TExportFormat::Csv;  // for Export
};

// Both dialogs end with the files other programs open.
std::vector<TSaveChoice> WithOtherPrograms(std::vector<TSaveChoice> choices) {
  choices.push_back({{QStringLiteral("CSV pour tableurs (*.csv)"), QStringLiteral("*.csv")},
                     ".csv",
                     TWrite::SpreadsheetCsv});
  choices.push_back({{QStringLiteral("Classeur Excel (*.xlsx)"), QStringLiteral("*.xlsx")},
                     ".xlsx",
                     TWrite::Workbook});
  choices.push_back({{QStringLiteral("Classeur OpenDocument (*.ods)"), QStringLiteral("*.ods")},
                     ".ods",
                     TWrite::Workbook});
  choices.push_back({{QStringLiteral("Base SQLite (*.sqlite)"), QStringLiteral("*.sqlite")},
                     ".sqlite",
                     TWrite::Database});
  return choices;
}

const std::vector<TSaveChoice>& SaveAsChoices() {
  static const std::vector<TSaveChoice> choices = WithOtherPrograms({
      {{QStringLiteral("Format Vek Base (*.qor)"), QStringLiteral("*.qor")}, ".qor", TWrite::Table},
      {{QStringLiteral("Structure de la base (*.qor)"), QStringLiteral("*.qor")},
       ".qor",
       TWrite::Structure},
      {{QStringLiteral("Format csv (*.csv)"), QStringLiteral("*.csv")}, ".csv", TWrite::Table},
      {{QStringLiteral("Format Isam (*.txt)"), QStringLiteral("*.txt")}, ".txt", TWrite::Table},
      {{QStringLiteral("Format Excel (*.xls)"), QStringLiteral("*.xls")}, ".xls", TWrite::Table},
      {{QStringLiteral("Format xml (*.xml)"), QStringLiteral("*.xml")}, ".xml", TWrite::Xml},
  });
  return choices;
}

const std::vector<TSaveChoice>& ExportChoices() {
  static const std::vector<TSaveChoice> choices = WithOtherPrograms({
      {{QStringLiteral("Format csv (*.csv)"), QStringLiteral("*.csv")},
       ".csv",
       TWrite::Export,
       TExportFormat::Csv},
      {{QStringLiteral("Format texte+Tab (*.txt)"), QStringLiteral("*.txt")},
       ".txt",
       TWrite::Export,
       TExportFormat::Txt},
      {{QStringLiteral("Format xml (*.xml)"), QStringLiteral("*.xml")},
       ".xml",
       TWrite::Export,
       TExportFormat::Xml},
  });
  return choices;
}

TFileForm FormOf(TWrite write) {
  switch (write) {
    case TWrite::SpreadsheetCsv:
      return TFileForm::SpreadsheetCsv;
    case TWrite::Workbook:
      return TFileForm::Workbook;
    case TWrite::Database:
      return TFileForm::Database;
    default:
      return TFileForm::Table;
  }
}

// The chosen file, or nothing when cancelled; the index is clamped to the filters.
std::optional<TFileChoice> AskFile(TFileDialogKind kind, const QString& proposed,
                                   const std::vector<TFileFilter>& filters,
                                   const QString& defaultExt, const QString& folder = QString()) {
  TFileDialogRequest request;
  request.kind = kind;
  request.directory = folder;
  request.fileName = proposed;
  request.filters = filters;
  request.filterIndex = 1;
  request.defaultExt = defaultExt;
  std::optional<TFileChoice> choice = Services().FileDialog(request);
  if (choice && (choice->filterIndex < 1 || choice->filterIndex > static_cast<int>(filters.size())))
    choice->filterIndex = 1;
  return choice;
}

// The chosen entry of a save dialog, or nothing when cancelled.
std::optional<std::pair<QString, TSaveChoice>> AskSave(const QString& proposed,
                                                       const std::vector<TSaveChoice>& choices,
                                                       const QString& folder) {
  std::vector<TFileFilter> filters;
  for (const TSaveChoice& c : choices) filters.push_back(c.filter);
  const std::optional<TFileChoice> choice =
      AskFile(TFileDialogKind::Save, proposed, filters, QStringLiteral("qor"), folder);
  if (!choice) return std::nullopt;
  return std::make_pair(choice->path, choices[static_cast<size_t>(choice->filterIndex - 1)]);
}

// Where a table is saved or exported: its own folder; for a new table, where
// the user last chose a file.
QString TableFolder(const QString& fileName) {
  return fileName.isEmpty() ? Services().LastFileFolder() : QFileInfo(fileName).absolutePath();
}

// "1 valeur", "2 valeurs": the count and its noun, plural from 2.
QString Count(int64_t n, const char* one, const char* many) {
  return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n > 1 ? many : one);
}

QString ReplacedSentence(int64_t replaced) {
  if (replaced == 1)
    return QStringLiteral(
        "1 caractère du fichier n'a pas d'équivalent dans la table : il a été remplacé par « ? ».");
  return QStringLiteral(
             "%1 caractères du fichier n'ont pas d'équivalent dans la table : ils ont été "
             "remplacés par « ? ».")
      .arg(replaced);
}

}  // namespace

// --- What reading a file found ---

QString TImportExport::ReadNotes(const TTextReport& text, int64_t replaced,
                                 const std::vector<std::string>& leftOut) {
  QStringList notes;
  if (leftOut.size() == 1)
    notes << QStringLiteral("La colonne binaire « ") + QString::fromStdString(leftOut[0]) +
                 QStringLiteral(" » n'a pas été lue.");
  if (leftOut.size() > 1) {
    QStringList names;
    for (const std::string& n : leftOut)
      names << QStringLiteral("« ") + QString::fromStdString(n) + QStringLiteral(" »");
    notes << QStringLiteral("Les colonnes binaires ") + names.join(QStringLiteral(", ")) +
                 QStringLiteral(" n'ont pas été lues.");
  }
  if (text.droppedValues > 0)
    notes << Count(text.droppedValues, "valeur", "valeurs") +
                 QString::fromUtf8(text.droppedValues > 1
                                       ? " sans champ dans la table ont été laissées de côté."
                                       : " sans champ dans la table a été laissée de côté.");
  if (replaced > 0) notes << ReplacedSentence(replaced);
  if (text.dialect.openQuoteLine > 0)
    notes << QStringLiteral(
                 "Le guillemet ouvert ligne %1 n'est jamais fermé : toute la fin du fichier "
                 "fait partie de la dernière valeur.")
                 .arg(text.dialect.openQuoteLine);
  return notes.join(QLatin1Char('\n'));
}

// --- Import ---

void TImportExport::Importer() {
  // Every kind the document window opens, but its own tables.
  std::vector<TFileFilter> filters = TOpenCommands::Filters();
  const QString importable = QString(filters.front().pattern).remove(QStringLiteral("*.qor;"));
  filters.erase(filters.begin(), filters.begin() + 2);
  filters.insert(filters.begin(), {QStringLiteral("Fichiers importables"), importable});
  const std::optional<TFileChoice> choice =
      AskFile(TFileDialogKind::Open, QString(), filters, QString());
  if (!choice) return;
  const QString& path = choice->path;
  if (!QFileInfo::exists(path)) {
    Services().Message(QStringLiteral("Le fichier ") + path + QStringLiteral(" n'existe pas"));
    return;
  }
  view_.EcritOnglet();
  const std::string source = EnginePath(path);
  const TTableFileKind kind = TableFileKindOf(source);
  if (kind == TTableFileKind::Dbase || ImportKindOf(source) == TImportKind::Dbase) {
    doc_.Memorise();
    Import(path, TImportKind::Dbase);
  } else if (kind == TTableFileKind::Text) {
    ImportText(path);
  } else {
    ImportTable(path);
  }
  // The record the table view's current row shows; the other views show the
  // current record already.
  if (view_.GetOnglet() == TView::Table) doc_.Table().GoToRecord(view_.RecNo());
}

bool TImportExport::ImporTxt(const QString& path) {
  return Import(path, TImportKind::Tab);
}

bool TImportExport::ImporCsv(const QString& path) {
  return Import(path, TImportKind::Semicolon);
}

bool TImportExport::ImporDbf(const QString& path) {
  return Import(path, TImportKind::Dbase);
}

bool TImportExport::Import(const QString& path, TImportKind kind) {
  TImportResult result;
  {
    THourglass hourglass;
    TImportProgress progress([this](const QString& text) { view_.ShowStatus(text); },
                             progressDelayMs);
    result = doc_.Import(EnginePath(path), kind, [&progress](int64_t done, int64_t total) {
      return progress.Step(done, total);
    });
  }
  if (result.appended > 0) doc_.SetModified(true);
  doc_.Table().First();
  view_.LitOnglet();
  ReportImport(path, result);
  return result.Ok();
}

bool TImportExport::ImportText(const QString& path) {
  const std::string source = EnginePath(path);
  TTextFileKind kind = TTextFileKind::Delimited;
  TStatus status = RecognizeTextFile(source, kind);
  std::optional<TTextOptions> options;
  bool own = false;
  if (status) {
    TImportPreviewDlg dialog;
    status = dialog.Init(path, doc_.FieldNames());
    if (status) {
      Services().RunDialog(dialog);
      options = dialog.Result();
      if (!options) return false;
      // The program's own text read as the preview shows it - a header, ";"
      // and the encoding as found - goes through its own loader, which
      // undoes its escapes.
      const TTextDialect& d = dialog.Preview().report.dialect;
      own = kind != TTextFileKind::Delimited && d.header && d.separator == ';' &&
            options->encoding == TTextEncoding::Auto;
    }
  }
  if (!status) {
    ReportRead(path, status, TTextReport());
    return false;
  }
  doc_.Memorise();
  TTextReport report;
  {
    THourglass hourglass;
    TImportProgress progress([this](const QString& text) { view_.ShowStatus(text); },
                             progressDelayMs);
    if (own) {
      TQor2 table;
      status = LoadTextFile(table, source, kind);
      if (status) status = doc_.ImportTable(table, report);
    } else {
      status = doc_.ImportText(source, *options, report, [&progress](int64_t done, int64_t total) {
        return progress.Step(done, total);
      });
    }
  }
  doc_.Table().First();
  view_.LitOnglet();
  ReportRead(path, status, report);
  return status.ok() && !report.cancelled;
}

bool TImportExport::ImportTable(const QString& path) {
  TStatus status;
  const std::optional<std::string> part = TTableChoiceDlg::Ask(path, status);
  if (!part && status) return false;  // the user chose none
  TQor2 table;
  TTableFileReport read;
  if (status) {
    THourglass hourglass;
    status = LoadTableFile(table, EnginePath(path), part.value_or(std::string()), &read);
  }
  TTextReport report;
  if (status) {
    doc_.Memorise();
    status = doc_.ImportTable(table, report);
    doc_.Table().First();
    view_.LitOnglet();
  }
  report.dialect.replaced = read.foreign.replaced;
  ReportRead(path, status, report, read.foreign.leftOut);
  return status.ok();
}

void TImportExport::ReportRead(const QString& path, const TStatus& status,
                               const TTextReport& report, const std::vector<std::string>& leftOut) {
  if (!status) {
    Services().Warning(
        FailureMessage(QStringLiteral("importer '") + path + QLatin1Char('\''), status));
    return;
  }
  if (report.cancelled) return;
  const QString notes = ReadNotes(report, report.dialect.replaced, leftOut);
  if (!notes.isEmpty()) Services().Information(notes);
}

void TImportExport::ReportImport(const QString& path, const TImportResult& r) {
  if (!r.status) {
    QString text =
        FailureMessage(QStringLiteral("importer '") + path + QLatin1Char('\''), r.status);
    if (r.appended == 1)
      text += QStringLiteral(
          "\nL'enregistrement lu avant l'erreur reste dans la table ; « Annuler » le retire.");
    else if (r.appended > 1)
      text += QStringLiteral(
                  "\nLes %1 enregistrements lus avant l'erreur restent dans la table ; "
                  "« Annuler » les retire.")
                  .arg(r.appended);
    Services().Warning(text);
  }
  if (r.replaced > 0 && r.appended > 0) Services().Information(ReplacedSentence(r.replaced));
}

// --- Save as ---

bool TImportExport::ChooseName(const QString& path, const char* extension, bool database,
                               QString& name) const {
  // A database keeps the ending it has; its other tables stay, and a table
  // of the same name is asked about when it is written.
  if (database && TableFileKindOf(EnginePath(path)) == TTableFileKind::Database) {
    name = path;
    return NotHeldElsewhere(name);
  }
  name = WithoutExtension(path) + QLatin1String(extension);
  if (!NotHeldElsewhere(name)) return false;
  if (database || !QFileInfo::exists(name)) return true;
  if (doc_.FileForm() == TFileForm::Foreign &&
      QFileInfo(name).canonicalFilePath() == QFileInfo(FileName()).canonicalFilePath())
    return Services().Confirm(QStringLiteral("« ") + QFileInfo(name).fileName() +
                              QStringLiteral(" » est le fichier d'où vient la table, qui n'est "
                                             "pas une table Vek Base. Le remplacer ?"));
  return Services().Confirm(QStringLiteral("Ce fichier existe déjà. Le remplacer ?"));
}

QString TImportExport::FileName() const {
  return FromEnginePath(doc_.FileName());
}

bool TImportExport::Saved(const QString& name, const TStatus& status) {
  if (status) return true;
  Services().Warning(QStringLiteral("Impossible d'enregistrer '") + name + QStringLiteral("' : ") +
                     FailureText(status));
  return false;
}

bool TImportExport::LayoutSaved(const TDocument& doc, const QString& name) {
  const std::string table = EnginePath(name);
  return Saved(FromEnginePath(TDocument::LayoutFileName(table)), doc.WriteLayout(table));
}

bool TImportExport::Enregistrer() {
  // What the user typed belongs in the file.
  view_.EcritOnglet();
  if (!doc_.Modified()) return true;
  const bool readOnly = IsReadOnlyFile(doc_.FileName()) || doc_.ReadOnly();
  if (readOnly) Services().Warning(QStringLiteral("Fichier en lecture seule"));
  // Another program's file is never written over by a plain save: the
  // table gets a name of its own.
  if (doc_.FileName().empty() || readOnly || doc_.FileForm() == TFileForm::Foreign) {
    if (!SaveAs()) return false;
    doc_.SetModified(false);
    return true;
  }
  // A document saved as a spreadsheet, as XML or into a database stays in
  // that form; its own table in the database is written over.
  TStatus status;
  {
    THourglass hourglass;
    status = doc_.WriteAs(doc_.FileName(), doc_.FileForm(), doc_.Part(), true);
  }
  if (!Saved(FileName(), status) || !LayoutSaved(doc_, FileName())) return false;
  doc_.SetModified(false);
  return true;
}

bool TImportExport::SaveAs() {
  view_.EcritOnglet();
  // A table read from another program's file is proposed a table file of
  // its own beside it.
  QString proposed = QFileInfo(FileName()).fileName();
  if (doc_.FileForm() == TFileForm::Foreign)
    proposed = QFileInfo(WithoutExtension(FileName()) + QStringLiteral(".qor")).fileName();
  const auto choice = AskSave(proposed, SaveAsChoices(), TableFolder(FileName()));
  if (!choice) return false;
  const TSaveChoice& c = choice->second;
  QString name;
  if (!ChooseName(choice->first, c.extension, c.write == TWrite::Database, name)) return false;

  if (c.write == TWrite::Structure) {
    // Only the structure: the document keeps its file and stays as it was.
    SauveStru(name);
    return false;
  }
  std::string part;
  bool written;
  if (c.write == TWrite::Xml)
    written = SauveXml(name);
  else if (c.write == TWrite::Database)
    written = WriteDatabase(name, false, part);
  else
    written = Write(name, FormOf(c.write), false);
  // The whole table is now in the document's file: nothing is left to save.
  if (!written || !LayoutSaved(doc_, name)) return false;
  doc_.SetFileName(EnginePath(name));
  doc_.SetFileForm(FormOf(c.write), part);
  view_.ShowFileName();
  doc_.SetModified(false);
  return true;
}

bool TImportExport::NotHeldElsewhere(const QString& name) const {
  // Another window, here or in another program, would overwrite it again.
  if (!doc_.HeldElsewhere(EnginePath(name))) return true;
  Services().Warning(QStringLiteral("« ") + QFileInfo(name).fileName() +
                     QStringLiteral(" » est ouvert dans une autre fenêtre de Vek Base : "
                                    "enregistrez sous un autre nom."));
  return false;
}

bool TImportExport::SauveStru(const QString& path) {
  return Saved(path, doc_.WriteStructure(EnginePath(path)));
}

bool TImportExport::SauveXml(const QString& path) {
  TStatus status;
  {
    THourglass hourglass;
    status = doc_.WriteXml(EnginePath(path));
  }
  return Saved(path, status);
}

bool TImportExport::Write(const QString& path, TFileForm form, bool exporting) {
  TStatus status;
  {
    THourglass hourglass;
    status =
        exporting ? doc_.ExportAs(EnginePath(path), form) : doc_.WriteAs(EnginePath(path), form);
  }
  return Saved(path, status);
}

bool TImportExport::WriteDatabase(const QString& path, bool exporting, std::string& part) {
  const std::string target = EnginePath(path);
  part = ForeignTableName(doc_.Table(), target);
  auto write = [&](bool replace) {
    THourglass hourglass;
    return exporting ? doc_.ExportAs(target, TFileForm::Database, part, replace)
                     : doc_.WriteAs(target, TFileForm::Database, part, replace);
  };
  TStatus status = write(false);
  if (status.Cause() == TFailure::TableExists) {
    if (!Services().Confirm(QStringLiteral("La base « ") + QFileInfo(path).fileName() +
                            QStringLiteral(" » a déjà une table « ") +
                            QString::fromStdString(part) + QStringLiteral(" ». La remplacer ?")))
      return false;
    status = write(true);
  }
  return Saved(path, status);
}

// --- Export ---

void TImportExport::Exporter() {
  view_.EcritOnglet();
  const auto choice =
      AskSave(QFileInfo(FileName()).fileName(), ExportChoices(), TableFolder(FileName()));
  if (!choice) return;
  const TSaveChoice& c = choice->second;
  QString name;
  if (!ChooseName(choice->first, c.extension, c.write == TWrite::Database, name)) return;
  std::string part;
  if (c.write == TWrite::Export)
    Export(name, c.format);
  else if (c.write == TWrite::Database)
    WriteDatabase(name, true, part);
  else
    Write(name, FormOf(c.write), true);
  // The walk through the selection moved the cursor: back to its first record.
  if (c.write != TWrite::Export && doc_.SelectionMode()) view_.Premier();
}

bool TImportExport::ExportCsv(const QString& path) {
  return Export(path, TExportFormat::Csv);
}

bool TImportExport::ExportTxt(const QString& path) {
  return Export(path, TExportFormat::Txt);
}

bool TImportExport::ExportXml(const QString& path) {
  return Export(path, TExportFormat::Xml);
}

bool TImportExport::Export(const QString& path, TExportFormat format) {
  TStatus status;
  {
    THourglass hourglass;
    status = doc_.Export(EnginePath(path), format);
  }
  const bool ok = Saved(path, status);
  // The walk through the selection moved the cursor: back to its first record.
  if (doc_.SelectionMode()) view_.Premier();
  return ok;
}
