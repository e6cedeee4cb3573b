#pragma once
// TDocument: one open table and all that the program keeps about it apart from
// how it is shown. It owns the table engine object, the name of the file it
// came from, whether it changed since it was loaded or saved (Modified), the
// undo snapshot, the selection filter, the criteria of the last find or
// replace, the values the copy command took and the record form's layout kept
// beside the table. Plain C++ over the engine: the document window (TChild)
// shows it, and the commands of the window change it through the operations
// below, each of which sets Modified when it changed the table.
//
// Table() is lent for reading and for moving the cursor. What the user types
// goes in through StoreTyped/StoreValue; every other change of records or
// fields is one of the commands here. A command that the user may take back
// takes the snapshot itself, right before it changes the table (Memorise); the
// window takes the others (a row change, adding a record) where its views
// need them.
//
// File names are paths as the file system takes them (bytes). Failures come
// back as TStatus, the table and the files left as the engine leaves them after
// a failure: a failed load changes nothing, a failed save keeps the previous
// file. Nothing here talks to the user.

#include <string>
#include <vector>

#include "TCondition.h"
#include "TImportResult.h"
#include "TKStringList.h"
#include "TQor2.h"
#include "TStatus.h"
#include "TableExport.h"
#include "TableFile.h"
#include "TextTable.h"

// The criteria of the last find or replace, kept for "Continuer".
struct TFindState {
  // The field, "=" for a whole word or "LIKE", and the value as FindNext takes
  // it: with "LIKE" the text typed followed by "*", so a prefix search.
  TCondition Search;
  std::string ReplaceValue;
  bool WholeWord = false;
  bool ReplaceAllOption = false;
  bool Replacing = false;  // "Continuer" goes on replacing rather than finding
};

// The form a document's file is in, which a plain save writes again.
enum class TFileForm {
  Table,           // the engine's, by the name's ending: .qor, quoted .txt, .xls, .xml,
                   // escaped text for any other
  SpreadsheetCsv,  // "CSV pour tableurs" (SpreadsheetCsv.h)
  Workbook,        // .xlsx or .ods, by the ending, one sheet
  Database,        // one table of an SQLite database, named by Part()
  Foreign,         // another program's file the table was read from: never written over
};

class TDocument {
 public:
  TDocument() = default;
  TDocument(const TDocument&) = delete;
  TDocument& operator=(const TDocument&) = delete;

  TQor2& Table() { return table_; }
  const TQor2& Table() const { return table_; }
  const std::string& FileName() const { return fileName_; }  // empty for a new table
  void SetFileName(const std::string& fileName) { fileName_ = fileName; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  // How FileName is written by a plain save; `part`: the database table
  // (UTF-8), or the sheet a Foreign workbook was read from.
  TFileForm FileForm() const { return fileForm_; }
  const std::string& Part() const { return part_; }
  void SetFileForm(TFileForm form, const std::string& part = std::string()) {
    fileForm_ = form;
    part_ = part;
  }

  // --- New table, load and save ---

  // Fields of a new, empty table: each entry a name, one blank and a type (a
  // type beginning with "F" gives "FLOAT"). A refused name shifts the types of
  // the later entries, as the structure change does.
  void Init(const std::vector<std::string>& fields);
  // Loads a file the program opens as a table (LoadTableFile: its own table
  // files and text, the world's text, dBase, workbooks and databases, `part`
  // choosing the sheet or database table) and makes its first record
  // current; FileName follows, FileForm is Table for the program's own forms
  // and Foreign for the others, and Modified is false. On failure the table,
  // FileName and FileForm stay as they were.
  TStatus Load(const std::string& fileName, const std::string& part = std::string(),
               TTableFileReport* report = nullptr);
  // The whole table in the format the name's ending gives (.qor, .txt, .xls,
  // .xml, any other escaped text); FileName does not change.
  TStatus WriteTable(const std::string& fileName);
  // The whole table in `form` (Foreign writes nothing: NotATable). Database:
  // into the table `part` (the table's own name when empty) beside the
  // database's others; one of that name already there is replaced only when
  // `replace`, else TableExists and nothing is written. FileName does not change.
  TStatus WriteAs(const std::string& fileName, TFileForm form,
                  const std::string& part = std::string(), bool replace = false);
  // WriteAs of the table, or in selection mode of the selected records only.
  TStatus ExportAs(const std::string& fileName, TFileForm form,
                   const std::string& part = std::string(), bool replace = false);
  TStatus WriteXml(const std::string& fileName);
  // A table file with the fields and no record.
  TStatus WriteStructure(const std::string& fileName) const;
  // Semicolon text, tab text or XML of every record, or in selection mode of
  // the selected ones (see TableExport.h).
  TStatus Export(const std::string& fileName, TExportFormat format);

  // --- The record form's layout (TFormLayout), kept beside the table ---

  const std::vector<std::string>& Layout() const { return layout_; }
  // `designed`: the layout is the user's, and is written beside the table at
  // the next save; otherwise it was read from there or made by default.
  void SetLayout(std::vector<std::string> lines, bool designed);
  bool LayoutDesigned() const { return layoutDesigned_; }
  // Reads the layout file beside the table file (empty lines when there is
  // none); a failure leaves no layout.
  TStatus LoadLayout(const std::string& tableFileName);
  // Writes it beside `tableFileName` once the user designed it; ok when there
  // is nothing to write.
  TStatus WriteLayout(const std::string& tableFileName) const;
  static std::string LayoutFileName(const std::string& tableFileName);

  // --- Undo: one snapshot of the whole table ---

  // Takes the snapshot. Records are shared with the table, not copied, and
  // after a row's write-back only the records written since are brought up to
  // date, so a snapshot per row change costs little.
  void Memorise();
  bool UndoAvailable() const { return undoAvailable_; }
  const TQor2& UndoTable() const { return undoTable_; }
  // Puts the snapshot back (the cursor on the last record) and keeps it, so a
  // second undo gives the same table; false without a snapshot.
  bool Annuler();

  // --- The selection filter, and moving through what the views show ---

  bool SelectionMode() const { return selectionMode_; }
  void SetSelectionMode(bool on) { selectionMode_ = on; }
  const TCondition& Filter() const { return filter_; }
  void SetFilter(const TCondition& filter) { filter_ = filter; }
  // True when the current record is shown: always, or in selection mode when
  // it matches the filter.
  bool CurrentShown() const;
  // Every record from the first (AffTout); in selection mode the first
  // selected one (AffSel).
  void ShowAll();
  void ShowSelection();
  // One record forward or back; in selection mode to the next selected record
  // that way. Where there is none the current record stays.
  void Step(bool forward);
  // The first or last record shown.
  void ToEnd(bool forward);

  // --- What the user typed ---

  // A value typed for field i of the current record, stored without the
  // blanks around it unless the stored value reads the same once trimmed.
  // True when it was stored.
  bool StoreTyped(int field, const std::string& typed);
  // A value for a field named `field` of the current record, as it stands.
  bool StoreValue(const std::string& field, const std::string& value);

  // --- Records ---

  int AppendRecord();  // an empty record at the end, made current; its number
  // Appends the records of a delimited text file as `options` read it
  // (AppendTextFile), or of a table read from another file (AppendTable):
  // by name or by position. Modified when records were appended; a failure
  // or a cancel appends nothing.
  TStatus ImportText(const std::string& path, const TTextOptions& options, TTextReport& report,
                     const TProgressFn& progress = nullptr);
  TStatus ImportTable(const TQor2& source, TTextReport& report);
  void DeleteRecord(int recNo);
  void DeleteCurrent();  // the record that followed becomes current, or the last
  // Copies the values of record recNo (empty values for none) into CopyBuffer;
  // recNo becomes current when it exists.
  void CopyRecord(int recNo);
  const TKStringList& CopyBuffer() const { return copyBuffer_; }
  // Takes the snapshot, then writes CopyBuffer into record recNo, made
  // current, field by field; true when a value changed.
  bool Paste(int recNo);
  // By field number, as numbers for a "FLOAT" field; field 0 sorts nothing.
  // Both answer OutOfMemory, the table as it was, when their memory cannot be had.
  TStatus Sort(int field, bool ascending);
  TStatus RemoveDuplicates();
  // Every value of every record through ConvertOemText (DOS accented letters
  // to their Windows codes), the selection notwithstanding.
  void Convertir();

  // --- Fields ---

  // A new field at the end, its name upper-cased (a to z). False when the
  // engine refuses it (blank, or the name of a field already there); the
  // table is marked modified either way. Takes no snapshot.
  bool AddField(std::string name);
  void DeleteField(int field);  // field 0 deletes nothing
  // False, changing nothing, when another field already has that name: values
  // are found by name, and neither a saved file nor the snapshot could keep two
  // fields of one name apart.
  bool RenameField(int field, const std::string& name, const std::string& type);
  // Rebuilds the table with these fields (TQor2::Restructure): each keeps the
  // values of the field it came from, every record stays.
  void Restructure(const std::vector<TFieldSource>& fields);
  std::vector<std::string> FieldNames() const;
  // Name, separator, type, for each field.
  std::vector<std::string> FieldList(char separator) const;

  // --- Find and replace ---

  // The criteria are the window's to set from its dialogs; StartFind makes
  // the search of a new find (replacing false) or replace (true) from the
  // text typed and WholeWord.
  TFindState& Find() { return find_; }
  const TFindState& Find() const { return find_; }
  void StartFind(const std::string& text, bool replacing);
  // Whether record recNo, made current, matches the search.
  bool MatchesSearch(int recNo);
  // The first record from `start` on that matches the search and is shown;
  // it becomes current. 0 when none, and the current record stays.
  int FindFrom(int start);
  // The current record's searched field := ReplaceValue.
  void ReplaceCurrent();
  // Every matching record of the table, the selection notwithstanding.
  void ReplaceAll();

 private:
  TQor2 table_;
  TQor2 undoTable_;
  std::string fileName_;
  TFileForm fileForm_ = TFileForm::Table;
  std::string part_;
  bool modified_ = false;
  bool undoAvailable_ = false;
  bool selectionMode_ = false;
  TCondition filter_;
  TFindState find_;
  TKStringList copyBuffer_;
  std::vector<std::string> layout_;
  bool layoutDesigned_ = false;
};

// True when the file exists and this user cannot write it (no write permission
// bit at all, which even the super-user respects, or refused to this user).
bool IsReadOnlyFile(const std::string& fileName);
