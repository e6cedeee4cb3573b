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
#include "TImportProgress.h"

namespace {

const TFileFilter kImportFilters[] = {
    {QStringLiteral("Tous les fichiers (*.txt;*.dbf;*.csv)"), QStringLiteral("*.txt;*.dbf;*.csv")},
    {QStringLiteral("Fichiers texte + tab (*.txt)"), QStringLiteral("*.txt")},
    {QStringLiteral("Fichiers dBase (*.dbf)"), QStringLiteral("*.dbf")},
    {QStringLiteral("Fichier texte + point-virgule (*.csv)"), QStringLiteral("*.csv")},
};

const TFileFilter kSaveAsFilters[] = {
    {QStringLiteral("Format Vek Base (*.qor)"), QStringLiteral("*.qor")},
    {QStringLiteral("Structure de la base (*.qor)"), QStringLiteral("*.qor")},
    {QStringLiteral("Format csv (*.csv)"), QStringLiteral("*.csv")},
    {QStringLiteral("Format Isam (*.txt)"), QStringLiteral("*.txt")},
    {QStringLiteral("Format Excel (*.xls)"), QStringLiteral("*.xls")},
    {QStringLiteral("Format xml (*.xml)"), QStringLiteral("*.xml")},
};
const char* const kSaveAsExtensions[] = {".qor", ".qor", ".csv", ".txt", ".xls", ".xml"};

const TFileFilter kExportFilters[] = {
    {QStringLiteral("Format csv (*.csv)"), QStringLiteral("*.csv")},
    {QStringLiteral("Format texte+Tab (*.txt)"), QStringLiteral("*.txt")},
    {QStringLiteral("Format xml (*.xml)"), QStringLiteral("*.xml")},
};
const char* const kExportExtensions[] = {".csv", ".txt", ".xml"};

// The chosen file, or nothing when cancelled; the index is clamped to the filters.
template <size_t N>
std::optional<TFileChoice> AskFile(TFileDialogKind kind, const QString& proposed,
                                   const TFileFilter (&filters)[N], const QString& defaultExt,
                                   const QString& folder = QString()) {
  TFileDialogRequest request;
  request.kind = kind;
  request.directory = folder;
  request.fileName = proposed;
  request.filters.assign(std::begin(filters), std::end(filters));
  request.filterIndex = 1;
  request.defaultExt = defaultExt;
  std::optional<TFileChoice> choice = Services().FileDialog(request);
  if (choice && (choice->filterIndex < 1 || choice->filterIndex > static_cast<int>(N)))
    choice->filterIndex = 1;
  return choice;
}

// Where a table is saved or exported: its own folder; for a new table, where
// the user last chose a file.
QString TableFolder(const QString& fileName) {
  return fileName.isEmpty() ? Services().LastFileFolder() : QFileInfo(fileName).absolutePath();
}

}  // namespace

// --- Import ---

void TImportExport::Importer() {
  const std::optional<TFileChoice> choice =
      AskFile(TFileDialogKind::Open, QString(), kImportFilters, QString());
  if (!choice) return;
  const QString& path = choice->path;
  if (!QFileInfo::exists(path)) {
    Services().Message(QStringLiteral("Le fichier ") + path + QStringLiteral(" n'existe pas"));
    return;
  }
  view_.EcritOnglet();
  doc_.Memorise();
  Import(path, ImportKindOf(EnginePath(path)));
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
  if (r.replaced == 1 && r.appended > 0)
    Services().Information(
        QStringLiteral("1 caractère du fichier n'a pas d'équivalent dans la table : il a été "
                       "remplacé par « ? »."));
  else if (r.replaced > 1 && r.appended > 0)
    Services().Information(QStringLiteral("%1 caractères du fichier n'ont pas d'équivalent dans "
                                          "la table : ils ont été remplacés par « ? ».")
                               .arg(r.replaced));
}

// --- Save as ---

bool TImportExport::ChooseName(const QString& path, const char* extension, QString& name) const {
  name = WithoutExtension(path) + QLatin1String(extension);
  return NotHeldElsewhere(name) &&
         (!QFileInfo::exists(name) ||
          Services().Confirm(QStringLiteral("Ce fichier existe déjà. Le remplacer ?")));
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
  if (doc_.FileName().empty() || readOnly) {
    if (!SaveAs()) return false;
    doc_.SetModified(false);
    return true;
  }
  // A document saved as a spreadsheet or as XML stays in that format.
  if (!Saved(FileName(), doc_.WriteTable(doc_.FileName())) || !LayoutSaved(doc_, FileName()))
    return false;
  doc_.SetModified(false);
  return true;
}

bool TImportExport::SaveAs() {
  view_.EcritOnglet();
  const std::optional<TFileChoice> choice =
      AskFile(TFileDialogKind::Save, QFileInfo(FileName()).fileName(), kSaveAsFilters,
              QStringLiteral("qor"), TableFolder(FileName()));
  if (!choice) return false;
  const int kind = choice->filterIndex;
  QString name;
  if (!ChooseName(choice->path, kSaveAsExtensions[kind - 1], name)) return false;

  if (kind == 2) {
    // Only the structure: the document keeps its file and stays as it was.
    SauveStru(name);
    return false;
  }
  // The ending just given names the format; a failure has been told.
  if (!(kind == 6 ? SauveXml(name) : Saved(name, doc_.WriteTable(EnginePath(name))))) return false;
  // The whole table is now in the document's file: nothing is left to save.
  if (!LayoutSaved(doc_, name)) return false;
  doc_.SetFileName(EnginePath(name));
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

// --- Export ---

void TImportExport::Exporter() {
  view_.EcritOnglet();
  const std::optional<TFileChoice> choice =
      AskFile(TFileDialogKind::Save, QFileInfo(FileName()).fileName(), kExportFilters,
              QStringLiteral("qor"), TableFolder(FileName()));
  if (!choice) return;
  const int kind = choice->filterIndex;
  QString name;
  if (!ChooseName(choice->path, kExportExtensions[kind - 1], name)) return;
  const TExportFormat formats[] = {TExportFormat::Csv, TExportFormat::Txt, TExportFormat::Xml};
  Export(name, formats[kind - 1]);
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
