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
//
// Recovery journal. Every change of the table - and a record form the user
// designed, and what the user typed and has not written back yet - is
// appended to the document's journal (TRecoveryJournal) before the command
// returns, so that a program that dies loses nothing older than the journal's
// flush delay. The journal holds the operations with their arguments, replayed
// from the table's file (its baseline) by the same code that ran them:
// sorting, removing duplicates, converting and restructuring give the same
// table from the same table. What does not come from the table itself goes in
// whole: typed values as stored, the records an import appended (its file may
// be gone by the time of recovery), the record numbers a replace-all changed.
// The undo snapshots are journaled as the points where Memorise took them (only
// when the table changed since the last), so an undo replays exactly; an undo
// to a snapshot older than the journal carries that snapshot.
//
// A new command that changes the table calls BeginChange() before it touches
// the table, applies the change, and then Record()s one entry whose replay
// (Replay in TDocument.cpp) does exactly the same; a change the user may take
// back calls Memorise() first. Nothing writes into Table() directly.
//
// The baseline is the table file as loaded (Load) or saved over (WriteTable to
// FileName, SetFileName), or a new table's fields (Init); after a save in a
// format that reads back otherwise than the table (text, spreadsheet, XML) the
// journal begins with the whole table instead. Saving removes the journal and
// the orphans other programs left for the same file; closing the document
// removes it. The journal file is made with the first change, not before.
//
// One writer per file: the document holds the lock of its file (TTableLock)
// when LockFile got it; a document opened while another program holds it is
// read-only (saving over the file is refused; save as is not).

#include <memory>
#include <string>
#include <vector>

#include "TCondition.h"
#include "TImportResult.h"
#include "TJournalEntry.h"
#include "TKStringList.h"
#include "TQor2.h"
#include "TStatus.h"
#include "TTableLock.h"
#include "TableExport.h"
#include "TableFile.h"
#include "TableImport.h"
#include "TextTable.h"

class TJournalReader;
class TRecoveryJournal;

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

// A text typed into a view and not written into the table yet: for field
// `field` of record `recNo`, as typed. A grid cell's is stored as StoreTyped
// stores it (trimmed); a form box's as it stands (`exact`).
struct TTypedText {
  int recNo = 0;
  int field = 0;
  std::string text;
  bool exact = false;
  bool operator==(const TTypedText& o) const {
    return recNo == o.recNo && field == o.field && text == o.text && exact == o.exact;
  }
};

// What Recover gave back.
struct TRecoveryReport {
  int changes = 0;           // changes replayed
  bool damaged = false;      // the journal was cut or damaged after them: the rest is lost
  bool fileChanged = false;  // the table file changed on disk since the journal began
};

class TDocument {
 public:
  TDocument();
  ~TDocument();  // removes the journal: what a closed document had not saved is given up
  TDocument(const TDocument&) = delete;
  TDocument& operator=(const TDocument&) = delete;

  TQor2& Table() { return table_; }  // for reading and moving the cursor
  const TQor2& Table() const { return table_; }
  const std::string& FileName() const { return fileName_; }  // empty for a new table
  // The table was just written to `fileName` (save as), which becomes the
  // document's file: its lock is taken (the document is read-only when
  // another holds it) and the journal begins anew from that file.
  void SetFileName(const std::string& fileName);
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
  // the later entries, as the structure change does. `title`: the window's
  // caption, which names the table's journal.
  void Init(const std::vector<std::string>& fields, const std::string& title = std::string());
  // Loads a file the program opens as a table (LoadTableFile: its own table
  // files and text, the world's text, dBase, workbooks and databases, `part`
  // choosing the sheet or database table) and makes its first record
  // current; FileName follows, FileForm is Table for the program's own forms
  // and Foreign for the others, and Modified is false. On failure the table,
  // FileName and FileForm stay as they were. When the document holds the
  // file's lock, the temporary file a save that died left beside it goes.
  TStatus Load(const std::string& fileName, const std::string& part = std::string(),
               TTableFileReport* report = nullptr);
  // The whole table in the format the name's ending gives (.qor, .txt, .xls,
  // .xml, any other escaped text); FileName does not change. Written over
  // FileName, it is a save: the journal begins anew from the file.
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

  // --- One writer per file ---

  // Takes the lock of a file about to be loaded (or saved over); Acquired
  // when the document holds it already.
  TTableLock::TResult LockFile(const std::string& fileName);
  // Opened while another program held its file: no save over that file.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  // Some other holder - another program, another window - has the lock of
  // `fileName`: writing over it would overwrite their work.
  bool HeldElsewhere(const std::string& fileName) const;

  // --- Recovery ---

  // Puts back what a journal that a program left recorded, on a document
  // just made: the table file loaded (locked by the caller first) or the new
  // table's fields, then every change of the journal's intact part, then the
  // texts typed last. Modified is true. The document goes on writing that
  // journal. A table file that cannot be loaded: its status, and nothing is
  // replayed.
  TStatus Recover(TJournalReader& journal, TRecoveryReport& report);
  // What the views hold typed and not written back, a moment after the last
  // key: journaled when it differs from the last texts journaled. A table-view
  // text (not `exact`) equal to the stored value but for edge blanks is only
  // the value shown padded, not typing.
  void JournalTyped(std::vector<TTypedText> typed);
  // Waits until the journal is on the disk (tests, benchmarks); true when
  // there is nothing to write or it was written.
  bool FlushJournal();
  // The journal file; "" when there is none yet.
  std::string JournalPath() const;

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
  // Appends the records of a file as ImportFile reads it (dBase tables, the
  // older text imports); Modified when some were.
  TImportResult Import(const std::string& path, TImportKind kind,
                       const TProgressFn& progress = nullptr);
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
  // Where the undo snapshot comes from, for the journal.
  enum class TUndoSource {
    None,      // no snapshot
    Baseline,  // taken while the table was its baseline
    Journal,   // taken at a Memorise the journal holds, or carried by it
    Foreign,   // older than the baseline (taken before a save)
  };
  // What replaying one entry needs to keep between entries.
  struct TReplay;

  // Starts the journal when there is none and none was missed; true when
  // there is one to write.
  bool Journaling();
  // Journaling, then marks the table changed.
  void BeginChange();
  // Field `field` of the current record := value, journaled; false without
  // such a field or record.
  bool SetValue(int field, const std::string& value);
  void Record(const TJournalEntry& entry, bool urgent = false);
  void StartJournal();
  // The whole table (`from`: the snapshot or the table) as a group of
  // entries headed by `op`, the records written in the background.
  void RecordTable(const TQor2& from, TJournalOp op);
  // The records from number `first` on, after a head entry, in the background.
  void RecordRecords(const TQor2& from, int first);
  // The records an import appended after record `before`, as they are: the
  // file they came from may be gone when they are recovered.
  void RecordAppended(int before);
  // The file now holds the table: the journal begins anew from it.
  void Rebase();
  bool Replay(std::string_view payload, TReplay& state);
  void TakeSnapshot();  // Memorise without the journal

  TQor2 table_;
  TQor2 undoTable_;
  std::string fileName_;
  TFileForm fileForm_ = TFileForm::Table;
  std::string part_;
  bool modified_ = false;
  bool readOnly_ = false;
  TTableLock lock_;
  std::string title_;                    // a new table's caption
  std::vector<std::string> initFields_;  // a new table's fields
  // The baseline is a new table's fields; otherwise the file, or the whole
  // table when the file does not read back as the table.
  enum class TBaseline { NewTable, File, Snapshot } baseline_ = TBaseline::NewTable;
  int64_t baseSize_ = -1, baseSeconds_ = 0, baseNanoseconds_ = 0;
  // No change since the baseline went unjournaled: a journal may start.
  bool baselineIntact_ = true;
  bool replaying_ = false;
  bool changedSinceMemorise_ = true;
  TUndoSource undoSource_ = TUndoSource::None;
  std::vector<TTypedText> typedJournaled_;
  std::unique_ptr<TRecoveryJournal> journal_;
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
