#pragma once
// TImportExport: the document window's import, save-as and export commands,
// working on one document and the view that shows it for the length of one
// command (the window's forwarding lines create it and drop it right after).
//
// Import appends records to the table (see TTextImport and AppendDbfTable);
// it is taken back by undo ("Importer" takes the snapshot), and a cancelled
// import leaves the table as it was. A failure says why in French; records
// appended before it stay. Save as and export write through the engine, every
// file atomically: a failed write is reported with its reason and leaves the
// previous file as it was. Export never changes the document's file name; in
// selection mode it writes only the selected records. Neither writes over a
// file another window or program holds open (TTableLock), nor saves over the
// file of a document opened read-only.
//
// Everything that waits on the user goes through Services(); the progress of a
// long import goes to the view (IDocumentView::ShowStatus).

#include <QString>

#include "TStatus.h"
#include "TableExport.h"
#include "TableImport.h"

class IDocumentView;
class TDocument;

class TImportExport {
 public:
  TImportExport(TDocument& doc, IDocumentView& view) : doc_(doc), view_(view) {}

  // Asks for a file, then imports it by its name (ImportKindOf).
  void Importer();
  // Import one file and re-read the view from the first record; true when the
  // whole file was imported.
  bool ImporTxt(const QString& path);
  bool ImporCsv(const QString& path);
  bool ImporDbf(const QString& path);

  bool Enregistrer();  // see TChild::Enregistrer
  bool SaveAs();       // see TChild::SaveAs
  bool SauveStru(const QString& path);
  bool SauveXml(const QString& path);

  // Asks for a name and one of three formats and writes the table, or the
  // selection; the chosen name keeps its folder and loses only its own
  // extension before the format's is added.
  void Exporter();
  bool ExportCsv(const QString& path);
  bool ExportTxt(const QString& path);
  bool ExportXml(const QString& path);

  // An import that runs longer than this shows its progress and can be cancelled.
  int progressDelayMs = 500;

 private:
  // True for a write that succeeded; otherwise the warning "Impossible
  // d'enregistrer '<name>' : <reason>", and false.
  static bool Saved(const QString& name, const TStatus& status);
  // The document's layout beside the table file `name`, when the user designed
  // it; the same warning, naming the layout file, when it cannot be written.
  static bool LayoutSaved(const TDocument& doc, const QString& name);
  bool Import(const QString& path, TImportKind kind);
  void ReportImport(const QString& path, const TImportResult& result);
  bool Export(const QString& path, TExportFormat format);
  QString FileName() const;
  // The name to write when the user chose `path` and a format of that extension;
  // false when another window holds it, or it exists and the user does not want
  // it replaced.
  bool ChooseName(const QString& path, const char* extension, QString& name) const;
  // False, with a warning, when another window holds the file `name` open.
  bool NotHeldElsewhere(const QString& name) const;

  TDocument& doc_;
  IDocumentView& view_;
};
