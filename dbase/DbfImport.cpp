#include "DbfImport.h"

#include <algorithm>
#include <vector>

#include "ConvertOemText.h"
#include "TXBase.h"

namespace {

void AddUniqueField(TQor2& table, const std::string& name, int fieldNo) {
  if (table.AddField(name)) return;
  std::string base = name.find_first_not_of(' ') == std::string::npos ? "FIELD" : name;
  for (int suffix = fieldNo;; ++suffix)
    if (table.AddField(base + "_" + std::to_string(suffix))) return;
}

}  // namespace

bool LoadDbfTable(const std::string& path, TQor2& table, std::string& error) {
  error.clear();
  TQor2 tmp;
  try {
    TXBase reader;
    reader.SetFilename(path);
    reader.SetActive(true);
    if (!reader.Active()) {
      error = "Cannot open file \"" + reader.Filename() + "\". No such file or directory";
      return false;
    }
    int fieldCount = reader.FieldCount();
    for (int i = 1; i <= fieldCount; ++i) {
      AddUniqueField(tmp, reader.FieldName(i), i);
      char type = reader.FieldType(i);
      tmp.SetFieldType(i, type == 'N' || type == 'F' ? "FLOAT" : "STRING");
    }
    for (int64_t n = 1; n <= reader.RecordCount(); ++n) {
      if (n > 1) reader.Next();
      tmp.Append();
      for (int i = 1; i <= fieldCount; ++i)
        tmp.SetFieldValue(i, ConvertOemText(reader.GetField(i)));
    }
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  table.Assign(tmp);
  table.SetNameFromFile(path);
  return true;
}

TImportResult AppendDbfTable(TQor2& table, const std::string& path, const TProgressFn& progress) {
  TImportResult result;
  const int before = table.RecordCount();
  try {
    TXBase reader;
    reader.SetFilename(path);
    // The reader always reads the ".dbf" named after the path: any other name
    // would have it read some other file.
    if (reader.Filename() != path) {
      result.status = TImportResult::NotDbase;
      return result;
    }
    reader.SetActive(true);
    if (!reader.Active()) {
      result.status = TImportResult::CannotOpen;
      return result;
    }
    const int fields = std::min(reader.FieldCount(), table.FieldCount());
    std::vector<char> memo(static_cast<size_t>(fields) + 1);
    for (int i = 1; i <= fields; ++i) memo[i] = reader.FieldKind(i) == TXBase::kMemo;
    const int64_t count = reader.RecordCount();
    for (int64_t n = 1; n <= count; ++n) {
      if (n > 1) reader.Next();
      table.Append();
      for (int i = 1; i <= fields; ++i)
        if (!memo[i]) table.SetFieldValue(i, ConvertOemText(reader.GetField(i)));
      if (n % 1024 == 0 && progress && !progress(n, count)) {
        while (table.RecordCount() > before) table.DeleteRecord(table.RecordCount());
        table.Last();
        result.status = TImportResult::Cancelled;
        return result;
      }
    }
  } catch (const std::exception& e) {
    result.status = TImportResult::DbaseError;
    result.detail = e.what();
  }
  result.appended = table.RecordCount() - before;
  return result;
}
