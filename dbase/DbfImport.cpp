#include "DbfImport.h"

#include <algorithm>
#include <new>
#include <vector>

#include "ConvertOemText.h"
#include "TRecordBuilder.h"
#include "TXBase.h"

namespace {

void AddUniqueField(TQor2& table, const std::string& name, int fieldNo) {
  if (table.AddField(name)) return;
  std::string base = name.find_first_not_of(' ') == std::string::npos ? "FIELD" : name;
  for (int suffix = fieldNo;; ++suffix)
    if (table.AddField(base + "_" + std::to_string(suffix))) return;
}

// Reads every record of an open reader into `into`, value i of a record being
// field from[i] (0 for an empty value), and asks keepGoing(n, count) after
// each. Stops at the first failure with its status: the records before it are
// made. Only a memo can fail once its record is read, and then nothing of the
// table is kept (LoadDbfTable) or no memo is read (AppendDbfTable).
template <typename KeepGoing>
TStatus ReadRecords(TXBase& reader, const std::vector<int>& from, TRecordBuilder& into,
                    KeepGoing keepGoing) {
  std::string value;
  const int64_t count = reader.RecordCount();
  for (int64_t n = 1; n <= count; ++n) {
    if (n > 1)
      if (TStatus moved = reader.Next(); !moved) return moved;
    for (const int field : from) {
      if (field > 0) {
        if (TStatus read = reader.GetField(field, value); !read) return read;
        const std::string converted = ConvertOemText(value);
        into.Append(converted.data(), converted.size());
      }
      into.EndValue();
    }
    into.EndRecord();
    if (!keepGoing(n, count)) break;
  }
  return TStatus::Ok();
}

}  // namespace

TStatus LoadDbfTable(const std::string& path, TQor2& table, IFileSystem& fileSystem) try {
  TXBase reader(fileSystem);
  reader.SetFilename(path);
  if (TStatus opened = reader.SetActive(true); !opened) return opened;
  TQor2 tmp;
  std::vector<int> fields;
  for (int i = 1; i <= reader.FieldCount(); ++i) {
    AddUniqueField(tmp, reader.FieldName(i), i);
    const char type = reader.FieldType(i);
    tmp.SetFieldType(i, type == 'N' || type == 'F' ? "FLOAT" : "STRING");
    fields.push_back(i);
  }
  TRecordBuilder records(tmp.FieldCount());
  const TStatus read = ReadRecords(reader, fields, records, [](int64_t, int64_t) { return true; });
  if (!read) return read;
  if (!tmp.AppendBuilt(records)) return TStatus(TFailure::DbfRecordTooLong);
  tmp.SetNameFromFile(path);
  std::string name = std::move(tmp.TableName);
  table.Assign(tmp);
  table.TableName = std::move(name);
  return TStatus::Ok();
} catch (const std::bad_alloc&) {
  return TStatus(TFailure::OutOfMemory, path);
}

TImportResult AppendDbfTable(TQor2& table, const std::string& path, const TProgressFn& progress,
                             IFileSystem& fileSystem) try {
  TXBase reader(fileSystem);
  reader.SetFilename(path);
  // The reader always reads the ".dbf" named after the path: any other name
  // would have it read some other file.
  if (reader.Filename() != path) return TImportResult::Failed(TStatus(TFailure::NotADbfName, path));
  TImportResult result;
  result.status = reader.SetActive(true);
  if (!result.status) return result;
  const int fields = std::min(reader.FieldCount(), table.FieldCount());
  std::vector<int> from(static_cast<size_t>(fields));
  for (int i = 1; i <= fields; ++i) from[i - 1] = reader.FieldKind(i) == TXBase::kMemo ? 0 : i;
  TRecordBuilder records(table.FieldCount());
  result.status = ReadRecords(reader, from, records, [&](int64_t n, int64_t count) {
    result.cancelled = n % 1024 == 0 && progress && !progress(n, count);
    return !result.cancelled;
  });
  if (result.cancelled) return result;
  const size_t read = records.Records();
  if (!table.AppendBuilt(records))
    return TImportResult::Failed(TStatus(TFailure::DbfRecordTooLong, path));
  result.appended = static_cast<int>(read);
  return result;
} catch (const std::bad_alloc&) {
  return TImportResult::Failed(TStatus(TFailure::OutOfMemory, path));
}
