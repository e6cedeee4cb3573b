// Loads arbitrary bytes as a .qor table; a successful load must save and load
// back to the same table.
#include <cstdlib>

#include "FuzzFile.h"
#include "TQor2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFile f(data, size, ".qor");
  TQor2 t;
  t.TableName = "before";
  if (!t.LoadQorFile(f.Path())) {
    if (t.TableName != "before" || t.FieldCount() != 0 || t.ErrorCode == 0) std::abort();
    return 0;
  }
  for (t.First(); !t.Eof; t.Next()) t.GetFieldValue(1);
  FuzzFile out(nullptr, 0, ".qor");
  if (!t.SaveQorFile(out.Path())) std::abort();
  TQor2 u;
  if (!u.LoadQorFile(out.Path()) || u.RecordCount() != t.RecordCount() ||
      u.FieldCount() != t.FieldCount())
    std::abort();
  return 0;
}
