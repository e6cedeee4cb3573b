// Loads arbitrary bytes as quoted semicolon text; the quoted text the table
// then writes must read back to the same values.
#include <cstdlib>

#include "FuzzFile.h"
#include "TQor2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFile f(data, size, ".txt");
  TQor2 t;
  if (!t.LoadTxtFile(f.Path())) std::abort();
  // Names are written between quotes without doubling the quotes inside them,
  // and a table without fields is written without a header line, so only
  // tables with fields whose names hold no quote come back whole.
  if (t.FieldCount() == 0) return 0;
  for (int i = 1; i <= t.FieldCount(); ++i) {
    if (t.GetFieldName(i).find('"') != std::string::npos) return 0;
    t.SetFieldType(i, "STRING");
  }
  const std::string text = t.TxtText();
  FuzzFile back(reinterpret_cast<const uint8_t*>(text.data()), text.size(), ".txt");
  TQor2 u;
  if (!u.LoadTxtFile(back.Path())) std::abort();
  if (u.FieldCount() == t.FieldCount()) {
    if (u.RecordCount() != t.RecordCount()) std::abort();
    for (int r = 1; r <= t.RecordCount(); ++r)
      for (int i = 1; i <= t.FieldCount(); ++i)
        if (u.GetCell(i, r) != t.GetCell(i, r)) std::abort();
  }
  return 0;
}
