#pragma once
// TQor2: one table held wholly in memory: ordered fields (name and type text,
// "STRING" or "FLOAT"), ordered records whose values are all byte strings, and a
// cursor on a current record with Bof/Eof flags.
//
// Numbering is 1-based for fields and records; RecNo() 0 means no current record.
// Operations never throw for bad arguments: they answer false, '' or 0. The
// file operations and the sorts answer a TStatus (ok, or why not). The file
// operations also keep it in ErrorCode (2 bad content, 3 cannot open or
// create), ErrorMessage (the engine's own text, the status's detail) and
// ErrorCause (the status's cause), which every file operation clears first.
//
// Loads build the new content aside and only replace the table when the whole
// file was read, so a failed load leaves the table, its name and its cursor as
// they were: whether the file is damaged, a read fails in mid-file or memory
// runs out (OutOfMemory). Loads read through the IFileSystem they are handed,
// FileSystem() unless told otherwise. Saves write a temporary file beside the
// target and rename it over the target, so a failed save leaves the previous
// file as it was. A sort that cannot get its memory leaves the order as it was.
//
// Records are shared copy-on-write with tables made by Assign (the undo
// snapshot); writing through any operation detaches the record first. A loaded
// table keeps its values in a few large blocks (TRecordBlock), its records
// reading them in place.
//
// Values, names and types are handed out as views (TValueView). The one rule:
// a view is valid until the next non-const call on that table. Keep a
// std::string for anything that must outlive a change to the table.

#include <cstdint>
#include <string>
#include <vector>

#include "IFileSystem.h"
#include "LargeMemory.h"
#include "TConcordances.h"
#include "TCondition.h"
#include "TKBaseList.h"
#include "TKStringList.h"
#include "TQor2ParseCSV.h"
#include "TStatus.h"
#include "TextRoutines.h"

class TRecordBuilder;

// One field of a rebuilt structure (TQor2::Restructure).
struct TFieldSource {
  std::string name;
  std::string type;
  int origin = 0;  // the field whose values it takes; 0 for none
};

class TRecordBuilder;

class TQor2 {
 public:
  TQor2();
  ~TQor2();
  TQor2(const TQor2&) = delete;
  TQor2& operator=(const TQor2&) = delete;

  // Members read (and for some set) directly by callers.
  std::string TableName;
  bool Bof = true;
  bool Eof = true;
  int32_t ErrorCode = 0;
  std::string ErrorMessage;
  TFailure ErrorCause = TFailure::None;
  bool SearchForward = true;
  bool Distinct = false;
  TConcordances Matcher;
  TQor2ParseCSV Parser;
  const std::string QuoteChar = "\"";
  const std::string Separator = ";";

  // Structure.
  void Clear();
  int FieldCount() const { return FieldNames.Count(); }
  int RecordCount() const { return Records.Count(); }
  std::string GetFieldName(int fieldNo) const;
  void SetFieldName(int fieldNo, const std::string& name);
  std::string GetFieldType(int fieldNo) const;
  void SetFieldType(int fieldNo, const std::string& typeName);
  int FieldIndex(const std::string& name) const;
  bool AddField(const std::string& name);
  // AddField for each name in turn, in one pass however many there are;
  // returns how many were added.
  int AddFields(const std::vector<std::string>& names);
  bool DeleteField(const std::string& name);
  bool Append();
  // Append, then value i of the new record := field columns[i] of record recNo
  // of source ('' for 0). When columns are exactly source's fields, in order,
  // the record is shared with source copy-on-write instead of copied.
  bool AppendFrom(const TQor2& source, int recNo, const std::vector<int>& columns);
  // Appends the records `builder` made (for FieldCount() values each) after
  // the table's own and makes the last current, as Append would one by one
  // (no record made: nothing moves).
  // False, with nothing appended, when the builder failed (a record too
  // large); std::bad_alloc leaves the table as it was.
  bool AppendBuilt(TRecordBuilder& builder);
  // Moves the records of `records` (made by a TRecordBuilder, of FieldCount
  // values each) after the table's own, leaving `records` empty; the last
  // becomes current.
  void AppendRecords(TKBaseList& records);
  bool DeleteRecord(int recNo);
  bool DeleteCurrent();
  TValueView GetCell(int fieldNo, int recNo) const;
  bool SameRecords(int recNoA, int recNoB) const;
  // Two records with the same values, field by field.
  bool HasDuplicates() const;
  // Keeps the first record of each group of equal records, in table order;
  // OutOfMemory, with nothing removed, when its memory cannot be had.
  TStatus RemoveDuplicates();
  // Rebuilds the table with the given fields, in that order. Each takes the
  // values of the field numbered `origin` (0, or a number beyond the fields:
  // empty values); a type beginning with "F" gives "FLOAT", any other
  // "STRING". A blank or repeated name is skipped with its type and origin.
  // Records keep their order and number; the cursor ends on the last record.
  void Restructure(const std::vector<TFieldSource>& fields);
  // Same result as Clear, then AddField/SetFieldType for each field of source and
  // Append/SetFieldValue for each record; the records themselves are shared.
  // std::bad_alloc leaves the table as it was.
  void Assign(const TQor2& source);
  void SetNameFromFile(const std::string& fileName);
  void ClearError();

  // Cursor and values.
  int CurrentIndex() const { return currentIndex_; }
  int RecNo() const { return currentIndex_ + 1; }
  bool IsEmpty() const { return RecordCount() < 1; }
  bool First();
  bool Last();
  bool Next();
  bool Prior();
  bool GoToRecord(int recNo);
  TValueView GetFieldValue(int fieldNo) const;
  bool SetFieldValue(int fieldNo, const std::string& value);
  TValueView GetValueByName(const std::string& name) const;
  bool SetValueByName(const std::string& name, const std::string& value);
  Extended GetFloatByName(const std::string& name) const;
  static Extended TextToFloat(const std::string& text) { return ::TextToFloat(text); }

  // Files. FileKind is the last three characters, upper-cased. LoadFromFile
  // reads by it: "QOR" a table file, "TXT" quoted text, anything else escaped
  // text. SaveToFile writes by it: the same three, and also "XLS" a
  // spreadsheet (SaveXlsFile) and "XML" the XML form (SaveXmlFile).
  static std::string FileKind(const std::string& fileName);
  TStatus LoadFromFile(const std::string& fileName, IFileSystem& fileSystem = FileSystem());
  TStatus SaveToFile(const std::string& fileName);
  TStatus LoadQorFile(const std::string& fileName, IFileSystem& fileSystem = FileSystem());
  TStatus SaveQorFile(const std::string& fileName);
  TStatus LoadCsvFile(const std::string& fileName, IFileSystem& fileSystem = FileSystem());
  TStatus SaveCsvFile(const std::string& fileName);
  TStatus LoadTxtFile(const std::string& fileName, IFileSystem& fileSystem = FileSystem());
  TStatus SaveTxtFile(const std::string& fileName);
  // The file contents the savers write, for callers that write elsewhere.
  std::string CsvText() const;
  std::string TxtText() const;

  // Search and sort. Operators: "<", ">", "=", "<=", ">=", and "LIKE" in any case
  // for text. A missing field reads as '' or 0.
  bool MatchText(const std::string& fieldName, const std::string& op,
                 const std::string& value) const;
  bool MatchText(const TCondition& c) const { return MatchText(c.Field, c.Operator, c.Value); }
  // Whether a condition the user gave can select anything: NoSuchField (its
  // name as the detail, empty when none was given) when the table has no such
  // field, NoOperator when the operator is empty, UnknownOperator when it is
  // none of the above. A value of any kind is fine.
  TStatus CheckCondition(const TCondition& c) const;
  bool MatchFloat(const std::string& fieldName, const std::string& op, Extended value) const;
  // MatchText on record recNo without moving the cursor; fieldNo as
  // FieldIndex gives it (0 reads '').
  bool MatchRecord(int recNo, int fieldNo, const std::string& op, const std::string& value) const {
    return TestRecord(recNo - 1, fieldNo, op, value);
  }
  bool BeginSearch(bool forward);
  bool FindNext(const std::string& fieldName, const std::string& op, const std::string& value);
  bool FindNext(const TCondition& c) { return FindNext(c.Field, c.Operator, c.Value); }
  bool EndSearch();
  // Both give exactly the order of the classic exchange sort (compare every pair
  // i < j, exchange when out of order), computed in O(n log n). A missing
  // field sorts nothing and is no failure; OutOfMemory leaves the order as it was.
  TStatus SortText(const std::string& fieldName, bool ascending);
  TStatus SortFloat(const std::string& fieldName, bool ascending);
  // SortFloat for a "FLOAT" field, SortText for any other; NoSuchField, with
  // nothing sorted, when there is no such field.
  TStatus SortByField(const std::string& fieldName, bool ascending);

  // The records written since MarkEdits, so that a copy kept in step with the
  // table (the undo snapshot) can take just those: true, with their numbers
  // (a number may come twice), when nothing but record values was written, in
  // at most a few dozen records. False when the fields or the records
  // themselves changed (added, deleted, moved, loaded, assigned), or when
  // MarkEdits was never called.
  bool EditsSinceMark(std::vector<int>& recNos) const;
  void MarkEdits();

  // Read access to the lists, for fast walks by the windows and writers.
  const TKStringList& Names() const { return FieldNames; }
  const TKStringList& Types() const { return FieldTypes; }
  const TKBaseList& RecordList() const { return Records; }

  // ErrorCode := code, ErrorMessage and ErrorCause from the failure; returns it.
  TStatus SetError(int32_t code, const TStatus& failure);
  TStatus SetError(int32_t code, const std::string& message, TFailure cause = TFailure::None);

  // For readers of other formats: replaces the whole content as a load does,
  // with `fields` (name and type, names already non-blank and distinct) and
  // the records `records` made (with as many values as fields). False, with
  // the table unchanged, when the builder failed or a name was refused.
  bool TakeRecords(const std::string& tableName,
                   const std::vector<std::pair<std::string, std::string>>& fields,
                   TRecordBuilder& records);

 private:
  // Record `index` (0-based) made safe to write: a record shared with another
  // table gets a copy of its own first. nullptr out of range.
  TKStringList* WritableRecord(int index);
  void TakeContent(TQor2& from);
  size_t ContentSize() const;  // bytes of all values
  // Puts the record at index order[j] at index j, for every j.
  void ApplyOrder(const TLargeVector<int>& order);
  // Every record replaced by one of the values of the fields `from` (1-based,
  // 0 for an empty value), all made into one block.
  void RebuildRecords(const std::vector<int>& from);
  void Reshaped() { editsKnown_ = false; }
  bool TestRecord(int index, int fieldIdx, const std::string& op, const std::string& value) const;

  int32_t currentIndex_ = -1;
  TKStringList FieldNames;
  TKStringList FieldTypes;
  TKBaseList Records;
  bool SearchStarting = false;
  std::vector<int> edited_;  // record numbers written since MarkEdits
  bool editsKnown_ = false;
  // The storage a record had before its last write (WritableRecord): views of
  // its other values, taken before the write, stay readable until the next one.
  TRecord detached_;
};
