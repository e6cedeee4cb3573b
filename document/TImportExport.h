#pragma once
// TImportExport: the document window's import, save-as and export commands,
// working on one document and the view that shows it for the length of one
// command (the window's forwarding lines create it and drop it right after).
//
// Import appends records to the table: a dBase table by position
// (AppendDbfTable); a text file as the import preview (TImportPreviewDlg)
// shows it once the user confirmed it (AppendTextFile, the program's own
// text through its own loader); a sheet of a workbook or a table of a
// database, chosen when there are several (TTableChoiceDlg), read whole
// (AppendTable). Text, sheets and tables go by name when the file's header names the table's
// fields, else by position; values that find no field are counted in the closing message. It is
// taken back by undo (the snapshot is taken just before the records come), and a cancelled import
// leaves the table as it was. A failure says why in French; records appended before it stay.
//
// Save as and export write through the engine and formats/, every file
// atomically: a failed write is reported with its reason and leaves the
// previous file as it was. Into an SQLite database they add one table named
// after the table, keeping the others, and ask before replacing one of that
// name. Export never changes the document's file name; in selection mode it
// writes only the selected records. A table read from another program's file
// is never written over that file by a plain save (it asks for a name,
// proposing NAME.qor beside it), nor by a save as or export without a
// question that says so. Neither writes over a file another window or program
// holds open (TTableLock), nor saves over the file of a document opened
// read-only.
//
// Everything that waits on the user goes through Services(); the progress of a
// long import goes to the view (IDocumentView::ShowStatus).

#include <QString>
#include <string>
#include <vector>

#include "TDocument.h"
#include "TStatus.h"
#include "TableExport.h"
#include "TableImport.h"
#include "TextTable.h"

class IDocumentView;

class TImportExport {
 public:
  TImportExport(TDocument& doc, IDocumentView& view) : doc_(doc), view_(view) {}

  // Asks for a file, then imports it as its kind says (TableFileKindOf).
  void Importer();
  // A text file, after the preview; a sheet or database table, after the
  // choice of one. True when records were appended (or the file had none).
  bool ImportText(const QString& path);
  bool ImportTable(const QString& path);
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

  // What reading a file found that the user should know, one sentence a
  // line: binary columns left out, values without a field, characters made
  // "?", a quote never closed. Empty when there is nothing to say.
  static QString ReadNotes(const TTextReport& text, int64_t replaced,
                           const std::vector<std::string>& leftOut);

 private:
  // True for a write that succeeded; otherwise the warning "Impossible
  // d'enregistrer '<name>' : <reason>", and false.
  static bool Saved(const QString& name, const TStatus& status);
  // The document's layout beside the table file `name`, when the user designed
  // it; the same warning, naming the layout file, when it cannot be written.
  static bool LayoutSaved(const TDocument& doc, const QString& name);
  bool Import(const QString& path, TImportKind kind);
  void ReportImport(const QString& path, const TImportResult& result);
  // The warning of a failed import, else its closing message (ReadNotes).
  void ReportRead(const QString& path, const TStatus& status, const TTextReport& report,
                  const std::vector<std::string>& leftOut = {});
  bool Export(const QString& path, TExportFormat format);
  // The table (or with `exporting`, the selection) in `form`; the warning
  // when it fails.
  bool Write(const QString& path, TFileForm form, bool exporting);
  // The same into an SQLite database, as the table `part` (its name): when
  // the database has one of that name, only once the user agreed.
  bool WriteDatabase(const QString& path, bool exporting, std::string& part);
  QString FileName() const;
  // The name to write when the user chose `path` and a format of that
  // extension (a database keeps its own ending); false when another window
  // holds it, or it exists and the user does not want it replaced. The
  // table's own source file, another program's, is asked about in words that
  // say so.
  bool ChooseName(const QString& path, const char* extension, bool database, QString& name) const;
  // False, with a warning, when another window holds the file `name` open.
  bool NotHeldElsewhere(const QString& name) const;

  TDocument& doc_;
  IDocumentView& view_;
};
