#include "DbfImport.h"

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
