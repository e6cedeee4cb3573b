#include "TDocument.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>

#include "ConvertOemText.h"
#include "ForeignTable.h"
#include "IFileSystem.h"
#include "SpreadsheetCsv.h"
#include "TAtomicFile.h"
#include "TFormLayout.h"
#include "TJournalReader.h"
#include "TRecordBuilder.h"
#include "TRecoveryFolder.h"
#include "TRecoveryJournal.h"
#include "TXmlWriter.h"

namespace {

const char kFloat[] = "FLOAT";

// Blanks and control characters at both ends go, as the views show values.
std::string_view Trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

TStatus WriteTableAs(TQor2& table, const std::string& fileName, TFileForm form,
                     const std::string& part, bool replace) {
  switch (form) {
    case TFileForm::Table:
      return table.SaveToFile(fileName);
    case TFileForm::SpreadsheetCsv:
      return SaveSpreadsheetCsv(table, fileName);
    case TFileForm::Workbook:
    case TFileForm::Database: {
      TForeignOptions options;
      options.part = form == TFileForm::Database ? part : std::string();
      options.replace = replace;
      return WriteForeignTable(table, fileName, options);
    }
    case TFileForm::Foreign:
      break;
  }
  return TStatus(TFailure::NotATable);
}

// The fields of `table` and the records the filter selects (in table order,
// shared with it) in `into`, which had neither.
void CopySelection(TQor2& table, const TCondition& filter, TQor2& into) {
  std::vector<TFieldSource> fields;
  std::vector<int> columns;
  for (int i = 1; i <= table.FieldCount(); ++i) {
    fields.push_back({table.GetFieldName(i), table.GetFieldType(i), 0});
    columns.push_back(i);
  }
  into.Restructure(fields);
  into.TableName = table.TableName;
  table.First();
  table.BeginSearch(true);
  while (table.FindNext(filter)) into.AppendFrom(table, table.RecNo(), columns);
  table.EndSearch();
}

bool SameStructure(const TQor2& a, const TQor2& b) {
  return a.RecordCount() == b.RecordCount() && a.Names().Items() == b.Names().Items() &&
         a.Types().Items() == b.Types().Items();
}

void InitFields(TQor2& table, const std::vector<std::string>& fields) {
  std::vector<TFieldSource> structure;
  for (const std::string& entry : fields) {
    const size_t blank = entry.find(' ');
    const std::string type =
        blank == std::string::npos ? std::string() : entry.substr(blank + 1, 255);
    structure.push_back({entry.substr(0, blank), type, 0});
  }
  table.Restructure(structure);
}

// Every value of every record through ConvertOemText.
void ConvertAll(TQor2& table) {
  const int fields = table.FieldCount();
  table.First();
  while (!table.Eof) {
    for (int i = 1; i <= fields; ++i) {
      std::string converted = ConvertOemText(table.GetFieldValue(i).str());
      // An unchanged record stays shared with the undo snapshot.
      if (converted != table.GetFieldValue(i)) table.SetFieldValue(i, converted);
    }
    table.Next();
  }
}

// A chunk of records holds at most this many, or a little more than this many
// bytes: a replay checks each chunk whole before it builds its records.
constexpr size_t kChunkRecords = 1 << 16;
constexpr size_t kChunkBytes = 4 << 20;

}  // namespace

// What a replay keeps from one entry to the next.
struct TDocument::TReplay {
  bool inGroup = false;                     // the last entry said the next one belongs to it
  TJournalOp groupOp = TJournalOp::Fields;  // the head of the group being read
  int importFields = 0;                     // an import's records have this many values
  std::vector<TTypedText> typed;            // typed last, and no change since
};

TDocument::TDocument() = default;
TDocument::~TDocument() = default;

// --- New table, load and save ---

void TDocument::Init(const std::vector<std::string>& fields, const std::string& title) {
  InitFields(table_, fields);
  title_ = title.empty() ? std::string("Noname") : title;
  initFields_ = fields;
  fileName_.clear();
  baseline_ = TBaseline::NewTable;
  journal_.reset();
  baselineIntact_ = true;
  changedSinceMemorise_ = true;
  undoSource_ = undoAvailable_ ? TUndoSource::Foreign : TUndoSource::None;
  typedJournaled_.clear();
}

TStatus TDocument::Load(const std::string& fileName, const std::string& part,
                        TTableFileReport* report) {
  TTableFileReport local;
  TTableFileReport& r = report ? *report : local;
  if (TStatus loaded = LoadTableFile(table_, fileName, part, &r); !loaded) return loaded;
  fileName_ = fileName;
  fileForm_ = r.Own() ? TFileForm::Table : TFileForm::Foreign;
  part_ = HoldsSeveralTables(r.kind) ? part : std::string();
  table_.First();
  modified_ = false;
  // Nobody else saves over the file while the lock is held: a temporary file
  // beside it is what a save that died left.
  if (lock_.Held() && lock_.TablePath() == TTableLock::CanonicalPath(fileName))
    FileSystem().Remove(TAtomicFile::TemporaryName(lock_.TablePath()));
  journal_.reset();
  // Another program's file (a chosen sheet or database table among them) is
  // not read back surely as it was read now: its journal begins with the table.
  baseline_ = fileForm_ == TFileForm::Table ? TBaseline::File : TBaseline::Snapshot;
  if (!TJournalHeader::Stamp(fileName_, baseSize_, baseSeconds_, baseNanoseconds_)) baseSize_ = -1;
  baselineIntact_ = true;
  changedSinceMemorise_ = true;
  undoSource_ = undoAvailable_ ? TUndoSource::Foreign : TUndoSource::None;
  typedJournaled_.clear();
  return TStatus::Ok();
}

void TDocument::SetFileName(const std::string& fileName) {
  if (!lock_.Held() || lock_.TablePath() != TTableLock::CanonicalPath(fileName)) {
    TTableLock lock;
    const TTableLock::TResult result = lock.Acquire(fileName);
    lock_ = std::move(lock);  // the old file's lock goes; a refused one leaves none
    readOnly_ = result == TTableLock::TResult::HeldByOther;
  }
  fileName_ = fileName;
  Rebase();
}

TStatus TDocument::WriteTable(const std::string& fileName) {
  const TStatus saved = table_.SaveToFile(fileName);
  if (saved && !fileName_.empty() && fileName == fileName_) Rebase();
  return saved;
}

TStatus TDocument::WriteAs(const std::string& fileName, TFileForm form, const std::string& part,
                           bool replace) {
  if (form == TFileForm::Table) return WriteTable(fileName);
  return WriteTableAs(table_, fileName, form, part, replace);
}

TStatus TDocument::ExportAs(const std::string& fileName, TFileForm form, const std::string& part,
                            bool replace) {
  if (!selectionMode_) return WriteAs(fileName, form, part, replace);
  try {
    TQor2 selected;
    CopySelection(table_, filter_, selected);
    return WriteTableAs(selected, fileName, form, part, replace);
  } catch (const std::bad_alloc&) {
    return TStatus(TFailure::OutOfMemory);
  }
}

TStatus TDocument::WriteXml(const std::string& fileName) {
  const TStatus saved = SaveXmlFile(table_, fileName);
  if (saved && !fileName_.empty() && fileName == fileName_) Rebase();
  return saved;
}

TStatus TDocument::WriteStructure(const std::string& fileName) const {
  TQor2 structure;
  for (int i = 1; i <= table_.FieldCount(); ++i)
    if (structure.AddField(table_.GetFieldName(i)))
      structure.SetFieldType(structure.FieldCount(), table_.GetFieldType(i));
  return structure.SaveToFile(fileName);
}

TStatus TDocument::Export(const std::string& fileName, TExportFormat format) {
  return selectionMode_ ? ExportSelection(table_, fileName, format, filter_.Field, filter_.Operator,
                                          filter_.Value)
                        : ExportTable(table_, fileName, format);
}

// --- Layout ---

void TDocument::SetLayout(std::vector<std::string> lines, bool designed) {
  layout_ = std::move(lines);
  layoutDesigned_ = designed;
  // Only a layout of the user's is saved beside the table: only that one is
  // lost with the program.
  if (designed && Journaling())
    journal_->Append(TJournalEntry(TJournalOp::Layout).Texts(layout_).Framed());
}

std::string TDocument::LayoutFileName(const std::string& tableFileName) {
  return TFormLayout::FileNameFor(tableFileName);
}

TStatus TDocument::LoadLayout(const std::string& tableFileName) {
  layout_.clear();
  layoutDesigned_ = false;
  const std::string path = LayoutFileName(tableFileName);
  const TStatus status = TFormLayout::LoadFile(FileSystem(), path, layout_);
  if (status.Cause() == TFailure::NotFound) return TStatus::Ok();  // no layout of its own
  return status;
}

TStatus TDocument::WriteLayout(const std::string& tableFileName) const {
  if (!layoutDesigned_) return TStatus::Ok();
  return TFormLayout::SaveFile(LayoutFileName(tableFileName), layout_);
}

// --- Undo ---

void TDocument::Memorise() {
  TakeSnapshot();
  if (!replaying_) {
    if (journal_) {
      // A snapshot of the table the last one already holds needs no entry.
      if (undoSource_ != TUndoSource::Journal || changedSinceMemorise_)
        journal_->Append(TJournalEntry(TJournalOp::Memorise).Framed());
      undoSource_ = TUndoSource::Journal;
    } else {
      // Without a journal nothing changed since the baseline, unless nothing
      // could be journaled.
      undoSource_ = baselineIntact_ ? TUndoSource::Baseline : TUndoSource::Foreign;
    }
  }
  changedSinceMemorise_ = false;
}

void TDocument::TakeSnapshot() {
  // Most snapshots follow the write-back of one row. When the structure is the
  // same and only a few records differ, bring just those up to date: records
  // still shared with the table are skipped by a pointer compare, so such a
  // snapshot is a walk over two arrays. After a command that changed many
  // records, Assign shares them all again.
  // Cheaper still when the table kept the list of records written since the
  // last snapshot: a row change then costs nothing per record of the table.
  const size_t kFewRecords = 32;
  std::vector<size_t> differ;
  bool few = undoAvailable_ && SameStructure(undoTable_, table_);
  std::vector<int> edited;
  if (few && table_.EditsSinceMark(edited)) {
    for (const int recNo : edited) differ.push_back(static_cast<size_t>(recNo) - 1);
  } else if (few) {
    const std::vector<TRecord>& now = table_.RecordList().Items();
    const std::vector<TRecord>& then = undoTable_.RecordList().Items();
    for (size_t k = 0; k < now.size() && few; ++k) {
      if (now[k] == then[k] || *now[k] == *then[k]) continue;
      differ.push_back(k);
      few = differ.size() <= kFewRecords;
    }
  }
  if (!few) {
    undoTable_.Assign(table_);
  } else {
    for (const size_t k : differ) {
      const int recNo = static_cast<int>(k) + 1;
      undoTable_.GoToRecord(recNo);
      for (int f = 1; f <= table_.FieldCount(); ++f)
        undoTable_.SetFieldValue(f, table_.GetCell(f, recNo).str());
    }
    undoTable_.Last();  // where Assign leaves it
  }
  table_.MarkEdits();
  undoAvailable_ = true;
}

bool TDocument::Annuler() {
  if (!undoAvailable_) return false;
  BeginChange();
  if (journal_ && undoSource_ == TUndoSource::Foreign) {
    // The snapshot was taken before the journal began: it goes in whole, and
    // is the journal's from then on.
    RecordTable(undoTable_, TJournalOp::UndoTable);
    undoSource_ = TUndoSource::Journal;
  } else {
    Record(TJournalEntry(TJournalOp::Undo));
  }
  table_.Assign(undoTable_);
  modified_ = true;
  return true;
}

// --- Selection and navigation ---

bool TDocument::CurrentShown() const {
  return !selectionMode_ || table_.MatchText(filter_);
}

void TDocument::ShowAll() {
  selectionMode_ = false;
  table_.First();
}

void TDocument::ShowSelection() {
  selectionMode_ = true;
  if (table_.First() && table_.BeginSearch(true)) {
    table_.FindNext(filter_);
    table_.EndSearch();
  }
}

void TDocument::Step(bool forward) {
  if (!selectionMode_) {
    forward ? table_.Next() : table_.Prior();
    return;
  }
  // Step once, then search on from there; when nothing matches the record
  // shown stays current.
  const int start = table_.RecNo();
  table_.BeginSearch(forward);
  table_.GoToRecord(forward ? start + 1 : start - 1);
  if (!table_.FindNext(filter_)) table_.GoToRecord(start);
  table_.EndSearch();
}

void TDocument::ToEnd(bool forward) {
  if (!selectionMode_) {
    forward ? table_.Last() : table_.First();
    return;
  }
  // Searching that way until nothing more matches leaves the outermost
  // selected record current.
  table_.BeginSearch(forward);
  while (table_.FindNext(filter_)) {
  }
  table_.EndSearch();
}

// --- Typed values ---

bool TDocument::StoreTyped(int field, const std::string& typed) {
  const std::string_view text = Trimmed(typed);
  if (text == Trimmed(table_.GetFieldValue(field))) return false;
  return SetValue(field, std::string(text));
}

bool TDocument::StoreValue(const std::string& field, const std::string& value) {
  if (table_.GetValueByName(field) == value) return false;
  return SetValue(table_.FieldIndex(field), value);
}

bool TDocument::SetValue(int field, const std::string& value) {
  const int recNo = table_.RecNo();
  if (field < 1 || field > table_.FieldCount() || recNo < 1 || recNo > table_.RecordCount())
    return false;
  BeginChange();
  Record(TJournalEntry(TJournalOp::SetValue).Int(recNo).Int(field).Text(value));
  table_.SetFieldValue(field, value);
  modified_ = true;
  return true;
}

// --- Records ---

int TDocument::AppendRecord() {
  BeginChange();
  Record(TJournalEntry(TJournalOp::Append));
  table_.Append();
  return table_.RecordCount();
}

TStatus TDocument::ImportText(const std::string& path, const TTextOptions& options,
                              TTextReport& report, const TProgressFn& progress) {
  BeginChange();
  const int before = table_.RecordCount();
  const TStatus status = AppendTextFile(table_, path, options, &report, progress);
  if (report.records > 0 && !report.cancelled) modified_ = true;
  RecordAppended(before);
  return status;
}

TStatus TDocument::ImportTable(const TQor2& source, TTextReport& report) {
  BeginChange();
  const int before = table_.RecordCount();
  const TStatus status = AppendTable(table_, source, &report);
  if (report.records > 0) modified_ = true;
  RecordAppended(before);
  return status;
}

TImportResult TDocument::Import(const std::string& path, TImportKind kind,
                                const TProgressFn& progress) {
  BeginChange();
  const int before = table_.RecordCount();
  TImportResult result = ImportFile(table_, path, kind, progress);
  if (table_.RecordCount() > before) modified_ = true;
  RecordAppended(before);
  return result;
}

void TDocument::RecordAppended(int before) {
  const int added = table_.RecordCount() - before;
  if (added <= 0 || !journal_) return;
  Record(TJournalEntry(TJournalOp::Import, true).Int(table_.FieldCount()).Int(added));
  RecordRecords(table_, before + 1);
}

void TDocument::DeleteRecord(int recNo) {
  Memorise();
  if (recNo >= 1 && recNo <= table_.RecordCount()) {
    BeginChange();
    Record(TJournalEntry(TJournalOp::Delete).Int(recNo));
    table_.DeleteRecord(recNo);
  }
  modified_ = true;
}

void TDocument::DeleteCurrent() {
  Memorise();
  const int recNo = table_.RecNo();
  if (recNo >= 1 && recNo <= table_.RecordCount()) {
    BeginChange();
    Record(TJournalEntry(TJournalOp::Delete).Int(recNo));
    table_.DeleteCurrent();
  }
  modified_ = true;
}

void TDocument::CopyRecord(int recNo) {
  const bool exists = table_.GoToRecord(recNo);
  copyBuffer_.Clear();
  for (int i = 1; i <= table_.FieldCount(); ++i)
    copyBuffer_.Add(exists ? table_.GetFieldValue(i).str() : std::string());
}

bool TDocument::Paste(int recNo) {
  Memorise();
  if (!table_.GoToRecord(recNo)) return false;
  bool changed = false;
  for (int k = 1; k <= copyBuffer_.Count() && k <= table_.FieldCount(); ++k) {
    const std::string value = copyBuffer_.Get(k - 1).str();
    if (table_.GetFieldValue(k) == value) continue;
    if (SetValue(k, value)) changed = true;
  }
  // A pasted record must not be lost on closing without the question.
  if (changed) modified_ = true;
  return changed;
}

TStatus TDocument::Sort(int field, bool ascending) {
  Memorise();
  if (field >= 1 && field <= table_.FieldCount()) {
    BeginChange();
    const TStatus sorted = table_.SortByField(table_.GetFieldName(field), ascending);
    // A sort refused for memory left the table as it was: nothing to replay.
    if (sorted.Cause() == TFailure::OutOfMemory) return sorted;
    Record(TJournalEntry(TJournalOp::Sort).Int(field).Byte(ascending ? 1 : 0));
  }
  modified_ = true;
  return TStatus::Ok();
}

TStatus TDocument::RemoveDuplicates() {
  Memorise();
  BeginChange();
  if (TStatus removed = table_.RemoveDuplicates(); !removed) return removed;
  Record(TJournalEntry(TJournalOp::RemoveDuplicates));
  modified_ = true;
  return TStatus::Ok();
}

void TDocument::Convertir() {
  Memorise();
  BeginChange();
  Record(TJournalEntry(TJournalOp::Convert));
  ConvertAll(table_);
  modified_ = true;
}

// --- Fields ---

bool TDocument::AddField(std::string name) {
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  modified_ = true;
  BeginChange();
  if (!table_.AddField(name)) return false;
  Record(TJournalEntry(TJournalOp::AddField).Text(name));
  return true;
}

void TDocument::DeleteField(int field) {
  Memorise();
  if (field >= 1 && field <= table_.FieldCount()) {
    BeginChange();
    Record(TJournalEntry(TJournalOp::DeleteField).Int(field));
    table_.DeleteField(table_.GetFieldName(field));
  }
  modified_ = true;
}

bool TDocument::RenameField(int field, const std::string& name, const std::string& type) {
  const int other = table_.FieldIndex(name);
  if (field >= 1 && other != 0 && other != field) return false;
  Memorise();
  if (field >= 1 && field <= table_.FieldCount()) {
    BeginChange();
    Record(TJournalEntry(TJournalOp::RenameField).Int(field).Text(name).Text(type));
    table_.SetFieldName(field, name);
    table_.SetFieldType(field, type);
  }
  modified_ = true;
  return true;
}

void TDocument::Restructure(const std::vector<TFieldSource>& fields) {
  Memorise();
  BeginChange();
  TJournalEntry entry(TJournalOp::Restructure);
  entry.Int(static_cast<int32_t>(fields.size()));
  for (const TFieldSource& f : fields) entry.Text(f.name).Text(f.type).Int(f.origin);
  Record(entry);
  table_.Restructure(fields);
  modified_ = true;
}

std::vector<std::string> TDocument::FieldNames() const {
  std::vector<std::string> names;
  for (int i = 1; i <= table_.FieldCount(); ++i) names.push_back(table_.GetFieldName(i));
  return names;
}

std::vector<std::string> TDocument::FieldList(char separator) const {
  std::vector<std::string> lines;
  for (int i = 1; i <= table_.FieldCount(); ++i)
    lines.push_back(table_.GetFieldName(i) + separator + table_.GetFieldType(i));
  return lines;
}

// --- Find and replace ---

void TDocument::StartFind(const std::string& text, bool replacing) {
  find_.Search.Operator = find_.WholeWord ? "=" : "LIKE";
  find_.Search.Value = text;
  // A prefix search: the values that begin with the text.
  if (!find_.WholeWord) find_.Search.Value += '*';
  find_.Replacing = replacing;
}

bool TDocument::MatchesSearch(int recNo) {
  return table_.GoToRecord(recNo) && table_.MatchText(find_.Search);
}

int TDocument::FindFrom(int start) {
  const int shown = table_.RecNo();
  start = std::min(start, table_.RecordCount());
  int found = 0;
  if (start >= 1 && table_.BeginSearch(true)) {
    table_.GoToRecord(start);
    while (table_.FindNext(find_.Search)) {
      // In selection mode only the records the view can show.
      if (CurrentShown()) {
        found = table_.RecNo();
        break;
      }
    }
    table_.EndSearch();
  }
  table_.GoToRecord(found ? found : shown);
  return found;
}

void TDocument::ReplaceCurrent() {
  const int field = table_.FieldIndex(find_.Search.Field);
  if (field >= 1 && table_.GetFieldValue(field) != find_.ReplaceValue)
    SetValue(field, find_.ReplaceValue);
  modified_ = true;
}

void TDocument::ReplaceAll() {
  const int field = table_.FieldIndex(find_.Search.Field);
  // The records found first, then changed: the journal holds their numbers,
  // so a replay depends on no search.
  std::vector<int32_t> found;
  table_.First();
  if (table_.BeginSearch(true)) {
    while (table_.FindNext(find_.Search))
      if (table_.GetFieldValue(field) != find_.ReplaceValue) found.push_back(table_.RecNo());
    table_.EndSearch();
  }
  if (!found.empty()) {
    const int after = table_.RecNo();
    BeginChange();
    TJournalEntry entry(TJournalOp::SetField);
    entry.Int(field).Text(find_.ReplaceValue).Int(static_cast<int32_t>(found.size()));
    for (const int32_t recNo : found) entry.Int(recNo);
    Record(entry);
    for (const int32_t recNo : found) {
      table_.GoToRecord(recNo);
      table_.SetFieldValue(field, find_.ReplaceValue);
    }
    table_.GoToRecord(after);
  }
  modified_ = true;
}

// --- One writer per file ---

TTableLock::TResult TDocument::LockFile(const std::string& fileName) {
  // Its own lock, kept from an open that failed: no other holder to fear.
  if (lock_.Held() && lock_.TablePath() == TTableLock::CanonicalPath(fileName))
    return TTableLock::TResult::Acquired;
  TTableLock lock;
  const TTableLock::TResult result = lock.Acquire(fileName);
  if (result == TTableLock::TResult::Acquired) lock_ = std::move(lock);
  return result;
}

bool TDocument::HeldElsewhere(const std::string& fileName) const {
  if (lock_.Held() && lock_.TablePath() == TTableLock::CanonicalPath(fileName)) return false;
  return TTableLock::IsLocked(fileName);
}

// --- The journal ---

bool TDocument::Journaling() {
  if (replaying_) return false;
  if (!journal_ && baselineIntact_) {
    StartJournal();
    // A change the journal missed would be missing from every replay: no
    // journal until the next baseline.
    if (!journal_) baselineIntact_ = false;
  }
  return journal_ != nullptr;
}

void TDocument::BeginChange() {
  Journaling();
  changedSinceMemorise_ = true;
  // A replay drops typed texts at the next change: they are sent again.
  typedJournaled_.clear();
}

void TDocument::Record(const TJournalEntry& entry, bool urgent) {
  if (journal_ && !replaying_) journal_->Append(entry.Framed(), urgent);
}

void TDocument::StartJournal() {
  if (!TRecoveryJournal::Settings().enabled) return;
  const bool isFile = baseline_ != TBaseline::NewTable;
  const std::string path = TRecoveryFolder::NewJournalPath(isFile ? fileName_ : title_, isFile);
  if (path.empty()) return;
  TJournalHeader header;
  header.baseline = baseline_ == TBaseline::File       ? TJournalHeader::File
                    : baseline_ == TBaseline::Snapshot ? TJournalHeader::Snapshot
                                                       : TJournalHeader::NewTable;
  header.path = isFile ? fileName_ : title_;
  if (baseline_ == TBaseline::File) {
    header.size = baseSize_;
    header.seconds = baseSeconds_;
    header.nanoseconds = baseNanoseconds_;
  }
  header.pid = static_cast<int32_t>(getpid());
  journal_ = std::make_unique<TRecoveryJournal>(path, header);
  if (baseline_ == TBaseline::NewTable)
    journal_->Append(TJournalEntry(TJournalOp::Fields).Texts(initFields_).Framed());
  else if (baseline_ == TBaseline::Snapshot)
    RecordTable(table_, TJournalOp::Table);
  if (undoSource_ == TUndoSource::Baseline) {
    journal_->Append(TJournalEntry(TJournalOp::Memorise).Framed());
    undoSource_ = TUndoSource::Journal;
  }
}

void TDocument::RecordTable(const TQor2& from, TJournalOp op) {
  const int count = from.RecordCount();
  TJournalEntry head(op, count > 0);
  head.Text(from.TableName).Texts(from.Names().Items()).Texts(from.Types().Items()).Int(count);
  journal_->Append(head.Framed());
  if (count > 0) RecordRecords(from, 1);
}

void TDocument::RecordRecords(const TQor2& from, int first) {
  const std::vector<TRecord>& all = from.RecordList().Items();
  // Shared, not copied: a write into the table copies the record it writes
  // first, so these stay as they are while the writer reads them.
  std::vector<TRecord> records(all.begin() + (first - 1), all.end());
  const int fields = from.FieldCount();
  journal_->AppendLater([records = std::move(records),
                         fields](const TRecoveryJournal::TEmit& emit) {
    std::string payload, framed;
    size_t k = 0;
    while (k < records.size()) {
      payload.clear();
      payload.push_back(static_cast<char>(TJournalOp::Records));
      payload.push_back(0);
      TJournalEntry::PutInt(payload, static_cast<uint32_t>(fields));
      const size_t countAt = payload.size();
      TJournalEntry::PutInt(payload, 0);
      uint32_t n = 0;
      for (; k < records.size() && n < kChunkRecords && payload.size() < kChunkBytes; ++k, ++n) {
        const TKStringList& record = *records[k];
        for (int f = 0; f < fields; ++f) TJournalEntry::PutText(payload, record.Get(f));
      }
      std::string count;
      TJournalEntry::PutInt(count, n);
      payload.replace(countAt, 4, count);
      payload[1] = k < records.size() ? 1 : 0;  // the group goes on
      framed.clear();
      TJournalEntry::Frame(framed, payload);
      if (!emit(framed)) return;
    }
  });
}

void TDocument::Rebase() {
  journal_.reset();
  // Only a table file reads back as exactly the table (types included).
  baseline_ = TQor2::FileKind(fileName_) == "QOR" ? TBaseline::File : TBaseline::Snapshot;
  if (!TJournalHeader::Stamp(fileName_, baseSize_, baseSeconds_, baseNanoseconds_)) baseSize_ = -1;
  baselineIntact_ = true;
  // A snapshot of the table as saved is the new baseline's; an older one is not.
  undoSource_ = !undoAvailable_          ? TUndoSource::None
                : !changedSinceMemorise_ ? TUndoSource::Baseline
                                         : TUndoSource::Foreign;
  typedJournaled_.clear();
  TRecoveryFolder::RemoveOrphans(fileName_);
}

void TDocument::JournalTyped(std::vector<TTypedText> typed) {
  // A cell the table view filled shows its value padded, not something typed.
  typed.erase(std::remove_if(typed.begin(), typed.end(),
                             [this](const TTypedText& t) {
                               return !t.exact && t.recNo >= 1 &&
                                      t.recNo <= table_.RecordCount() &&
                                      Trimmed(t.text) == Trimmed(table_.GetCell(t.field, t.recNo));
                             }),
              typed.end());
  if (typed == typedJournaled_ || (typed.empty() && !journal_) || !Journaling()) return;
  TJournalEntry entry(TJournalOp::Typed);
  entry.Int(static_cast<int32_t>(typed.size()));
  for (const TTypedText& t : typed) entry.Int(t.recNo).Int(t.field).Text(t.text).Byte(t.exact);
  // Already a moment late: it goes to the disk at once.
  Record(entry, true);
  typedJournaled_ = typed;
}

bool TDocument::FlushJournal() {
  return !journal_ || journal_->Flush();
}

std::string TDocument::JournalPath() const {
  return journal_ ? journal_->Path() : std::string();
}

// --- Recovery ---

TStatus TDocument::Recover(TJournalReader& journal, TRecoveryReport& report) {
  const TJournalHeader& header = journal.Header();
  report = TRecoveryReport();
  if (header.baseline == TJournalHeader::File) {
    const TStatus status = Load(header.path);
    if (!status) return status;
    report.fileChanged = header.FileChanged();
  } else {
    const bool snapshot = header.baseline == TJournalHeader::Snapshot;
    fileName_ = snapshot ? header.path : std::string();
    // The journal does not say in which form the file was: a plain save asks
    // for a name rather than write over it in a form it may not have been in.
    if (snapshot) fileForm_ = TFileForm::Foreign;
    title_ = header.path;
    baseline_ = snapshot ? TBaseline::Snapshot : TBaseline::NewTable;
  }
  TReplay state;
  int64_t replayedEnd = -1;
  bool complete = true;
  replaying_ = true;
  journal.ForEach([&](std::string_view payload, int64_t end) {
    if (!Replay(payload, state)) return complete = false;
    if (!state.inGroup) {
      replayedEnd = end;
      if (TJournalReader::IsChange(static_cast<uint8_t>(state.groupOp))) ++report.changes;
    }
    return true;
  });
  replaying_ = false;
  report.damaged = journal.Damaged() || !complete;
  // The same journal goes on from the last entry replayed.
  const std::string path = journal.Path();
  const int fd = journal.TakeFile();
  if (fd >= 0 && replayedEnd >= 0 && TRecoveryJournal::Settings().enabled) {
    journal_ = std::make_unique<TRecoveryJournal>(path, fd, replayedEnd);
  } else if (fd >= 0) {
    close(fd);
  }
  baselineIntact_ = journal_ != nullptr;
  undoSource_ = undoAvailable_ ? TUndoSource::Journal : TUndoSource::None;
  typedJournaled_.clear();
  // What was typed last goes into the table, and into the journal as stored.
  for (const TTypedText& t : state.typed) {
    if (!table_.GoToRecord(t.recNo)) continue;
    if (t.exact)
      StoreValue(table_.GetFieldName(t.field), t.text);
    else
      StoreTyped(t.field, t.text);
  }
  modified_ = true;
  table_.First();
  return TStatus::Ok();
}

bool TDocument::Replay(std::string_view payload, TReplay& st) {
  TJournalEntry::TReader r(payload);
  if (!r.Ok()) return false;
  const TJournalOp op = r.Op();
  // Records come only in a group, and a group holds only records after its head.
  if ((op == TJournalOp::Records) != st.inGroup) return false;
  if (!st.inGroup) {
    st.groupOp = op;
    if (op != TJournalOp::Typed && TJournalReader::IsChange(static_cast<uint8_t>(op)))
      st.typed.clear();
  }
  if (TJournalReader::IsChange(static_cast<uint8_t>(st.groupOp))) modified_ = true;
  int32_t recNo = 0, field = 0, count = 0;
  std::string text, type;
  bool ok = true;
  switch (op) {
    case TJournalOp::Fields: {
      std::vector<std::string> fields;
      ok = r.Texts(fields);
      if (ok) {
        InitFields(table_, fields);
        initFields_ = fields;
      }
      break;
    }
    case TJournalOp::Table:
    case TJournalOp::UndoTable: {
      std::vector<std::string> names, types;
      ok = r.Text(text) && r.Texts(names) && r.Texts(types) && r.Int(count) &&
           names.size() == types.size();
      if (!ok) break;
      table_.Clear();
      table_.TableName = text;
      for (size_t i = 0; i < names.size() && ok; ++i) {
        ok = table_.AddField(names[i]);
        table_.SetFieldType(table_.FieldCount(), types[i]);
      }
      st.importFields = table_.FieldCount();
      break;
    }
    case TJournalOp::Import:
      ok = r.Int(st.importFields) && r.Int(count) && st.importFields == table_.FieldCount();
      break;
    case TJournalOp::Records: {
      int32_t fields = 0;
      ok = r.Int(fields) && r.Int(count) && fields == st.importFields &&
           fields == table_.FieldCount() && count >= 0 &&
           static_cast<size_t>(count) <= kChunkRecords;
      if (!ok) break;
      TRecordBuilder builder(fields, payload.size(), static_cast<size_t>(count));
      std::string_view value;
      for (int32_t k = 0; k < count && ok; ++k) {
        for (int32_t f = 0; f < fields && ok; ++f) {
          ok = r.View(value);
          builder.Append(value.data(), value.size());
          builder.EndValue();
        }
        builder.EndRecord();
      }
      TKBaseList records;
      if (ok && builder.Finish(records)) table_.AppendRecords(records);
      break;
    }
    case TJournalOp::Memorise:
      Memorise();
      break;
    case TJournalOp::Undo:
      if (undoAvailable_) table_.Assign(undoTable_);
      break;
    case TJournalOp::SetValue:
      ok = r.Int(recNo) && r.Int(field) && r.Text(text) && table_.GoToRecord(recNo) &&
           table_.SetFieldValue(field, text);
      break;
    case TJournalOp::Append:
      table_.Append();
      break;
    case TJournalOp::Delete:
      ok = r.Int(recNo) && table_.DeleteRecord(recNo);
      break;
    case TJournalOp::SetField: {
      ok = r.Int(field) && r.Text(text) && r.Int(count) && count >= 0;
      for (int32_t k = 0; k < count && ok; ++k)
        ok = r.Int(recNo) && table_.GoToRecord(recNo) && table_.SetFieldValue(field, text);
      break;
    }
    case TJournalOp::Sort: {
      uint8_t ascending = 0;
      ok = r.Int(field) && r.Byte(ascending) &&
           table_.SortByField(table_.GetFieldName(field), ascending != 0);
      break;
    }
    case TJournalOp::RemoveDuplicates:
      table_.RemoveDuplicates();
      break;
    case TJournalOp::Convert:
      ConvertAll(table_);
      break;
    case TJournalOp::AddField:
      ok = r.Text(text) && table_.AddField(text);
      break;
    case TJournalOp::DeleteField:
      ok = r.Int(field) && table_.DeleteField(table_.GetFieldName(field));
      break;
    case TJournalOp::RenameField:
      ok = r.Int(field) && r.Text(text) && r.Text(type) && field >= 1 &&
           field <= table_.FieldCount();
      if (ok) {
        table_.SetFieldName(field, text);
        table_.SetFieldType(field, type);
      }
      break;
    case TJournalOp::Restructure: {
      std::vector<TFieldSource> fields;
      ok = r.Int(count) && count >= 0 && static_cast<size_t>(count) <= payload.size();
      for (int32_t k = 0; k < count && ok; ++k) {
        TFieldSource source;
        ok = r.Text(source.name) && r.Text(source.type) && r.Int(source.origin);
        fields.push_back(std::move(source));
      }
      if (ok) table_.Restructure(fields);
      break;
    }
    case TJournalOp::Layout: {
      std::vector<std::string> lines;
      ok = r.Texts(lines);
      if (ok) SetLayout(std::move(lines), true);
      break;
    }
    case TJournalOp::Typed: {
      std::vector<TTypedText> typed;
      ok = r.Int(count) && count >= 0 && static_cast<size_t>(count) <= payload.size();
      for (int32_t k = 0; k < count && ok; ++k) {
        TTypedText t;
        uint8_t exact = 0;
        ok = r.Int(t.recNo) && r.Int(t.field) && r.Text(t.text) && r.Byte(exact);
        t.exact = exact != 0;
        typed.push_back(std::move(t));
      }
      if (ok) st.typed = std::move(typed);
      break;
    }
    default:
      ok = false;
  }
  ok = ok && r.AtEnd();
  st.inGroup = r.Continued();
  // The undo snapshot that was put back is the snapshot again.
  if (ok && !st.inGroup && st.groupOp == TJournalOp::UndoTable) {
    undoTable_.Assign(table_);
    undoAvailable_ = true;
  }
  return ok;
}

bool IsReadOnlyFile(const std::string& fileName) {
  struct stat info;
  if (fileName.empty() || stat(fileName.c_str(), &info) != 0) return false;
  // Without any write permission bit the file is read-only for everybody,
  // the super-user included.
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(fileName.c_str(), W_OK) != 0;
}
