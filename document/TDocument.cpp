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

}  // namespace

// --- New table, load and save ---

void TDocument::Init(const std::vector<std::string>& fields) {
  std::vector<TFieldSource> structure;
  for (const std::string& entry : fields) {
    const size_t blank = entry.find(' ');
    const std::string type =
        blank == std::string::npos ? std::string() : entry.substr(blank + 1, 255);
    structure.push_back({entry.substr(0, blank), type, 0});
  }
  table_.Restructure(structure);
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
  return TStatus::Ok();
}

TStatus TDocument::WriteTable(const std::string& fileName) {
  return table_.SaveToFile(fileName);
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
  return SaveXmlFile(table_, fileName);
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
  if (!table_.SetFieldValue(field, std::string(text))) return false;
  modified_ = true;
  return true;
}

bool TDocument::StoreValue(const std::string& field, const std::string& value) {
  if (table_.GetValueByName(field) == value || !table_.SetValueByName(field, value)) return false;
  modified_ = true;
  return true;
}

// --- Records ---

int TDocument::AppendRecord() {
  table_.Append();
  return table_.RecordCount();
}

TStatus TDocument::ImportText(const std::string& path, const TTextOptions& options,
                              TTextReport& report, const TProgressFn& progress) {
  const TStatus status = AppendTextFile(table_, path, options, &report, progress);
  if (report.records > 0 && !report.cancelled) modified_ = true;
  return status;
}

TStatus TDocument::ImportTable(const TQor2& source, TTextReport& report) {
  const TStatus status = AppendTable(table_, source, &report);
  if (report.records > 0) modified_ = true;
  return status;
}

void TDocument::DeleteRecord(int recNo) {
  Memorise();
  table_.DeleteRecord(recNo);
  modified_ = true;
}

void TDocument::DeleteCurrent() {
  Memorise();
  table_.DeleteCurrent();
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
    if (table_.SetFieldValue(k, value)) changed = true;
  }
  // A pasted record must not be lost on closing without the question.
  if (changed) modified_ = true;
  return changed;
}

TStatus TDocument::Sort(int field, bool ascending) {
  Memorise();
  const TStatus sorted = table_.SortByField(table_.GetFieldName(field), ascending);
  if (sorted.Cause() == TFailure::OutOfMemory) return sorted;
  modified_ = true;
  return TStatus::Ok();
}

TStatus TDocument::RemoveDuplicates() {
  Memorise();
  if (TStatus removed = table_.RemoveDuplicates(); !removed) return removed;
  modified_ = true;
  return TStatus::Ok();
}

void TDocument::Convertir() {
  Memorise();
  const int fields = table_.FieldCount();
  table_.First();
  while (!table_.Eof) {
    for (int i = 1; i <= fields; ++i) {
      std::string converted = ConvertOemText(table_.GetFieldValue(i).str());
      // An unchanged record stays shared with the undo snapshot.
      if (converted != table_.GetFieldValue(i)) table_.SetFieldValue(i, converted);
    }
    table_.Next();
  }
  modified_ = true;
}

// --- Fields ---

bool TDocument::AddField(std::string name) {
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  modified_ = true;
  return table_.AddField(name);
}

void TDocument::DeleteField(int field) {
  Memorise();
  table_.DeleteField(table_.GetFieldName(field));
  modified_ = true;
}

bool TDocument::RenameField(int field, const std::string& name, const std::string& type) {
  const int other = table_.FieldIndex(name);
  if (field >= 1 && other != 0 && other != field) return false;
  Memorise();
  table_.SetFieldName(field, name);
  table_.SetFieldType(field, type);
  modified_ = true;
  return true;
}

void TDocument::Restructure(const std::vector<TFieldSource>& fields) {
  Memorise();
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
  table_.SetValueByName(find_.Search.Field, find_.ReplaceValue);
  modified_ = true;
}

void TDocument::ReplaceAll() {
  const int field = table_.FieldIndex(find_.Search.Field);
  table_.First();
  if (table_.BeginSearch(true)) {
    while (table_.FindNext(find_.Search))
      if (table_.GetFieldValue(field) != find_.ReplaceValue)
        table_.SetFieldValue(field, find_.ReplaceValue);
    table_.EndSearch();
  }
  modified_ = true;
}

bool IsReadOnlyFile(const std::string& fileName) {
  struct stat info;
  if (fileName.empty() || stat(fileName.c_str(), &info) != 0) return false;
  // Without any write permission bit the file is read-only for everybody,
  // the super-user included.
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(fileName.c_str(), W_OK) != 0;
}
