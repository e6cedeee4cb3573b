#pragma once
// TOpenCommands: filling a document window from a file, for the length of
// one command: a table file, text, a dBase table, a sheet of a workbook or a
// table of an SQLite database (TDocument::Load), or the table a program that
// died left in a recovery journal. One window per table file: a file another
// Vek Base holds (TTableLock) opens read-only when the user agrees.

#include <QString>
#include <QStringList>
#include <vector>

#include "IServices.h"

class IDocumentView;
class QMimeData;
class TDocument;
class TJournalReader;

class TOpenCommands {
 public:
  TOpenCommands(TDocument& doc, IDocumentView& view) : doc_(doc), view_(view) {}

  // Asks which sheet or table when the file holds several (TTableChoiceDlg),
  // loads it and shows it; what reading found that the user should know -
  // binary columns left out, characters made "?" - is said once it is shown.
  // When the file cannot be loaded: the warning "Impossible d'ouvrir
  // '<name>' : <reason>" and false; false too, silently, when the user chose
  // no sheet or table or refused to open a held file read-only.
  bool Open(const QString& name);
  // The table as it stood at the journal's last flush, marked modified; the
  // file on disk is not touched. False, the reason told, when its file cannot
  // be loaded (or the user does not want it read-only): the journal stays.
  bool Recover(TJournalReader& journal);

  // The open dialog's filters: every kind Open reads, then one per kind.
  static std::vector<TFileFilter> Filters();
  // A name with one of the endings of the first filter (dropped files).
  static bool Openable(const QString& path);
  static QStringList OpenableFiles(const QMimeData* dropped);  // local files Openable

 private:
  // True when the document may go on: locked, read-only, or without locks.
  bool TakeLock(const QString& name);

  TDocument& doc_;
  IDocumentView& view_;
};
