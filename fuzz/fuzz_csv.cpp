// Loads arbitrary bytes as escaped semicolon text and writes the table back.
#include <cstdlib>

#include "FuzzFile.h"
#include "TQor2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFile f(data, size, ".csv");
  TQor2 t;
  if (!t.LoadCsvFile(f.Path())) std::abort();
  const std::string text = t.CsvText();
  // Values written escaped read back identically (names are written as they
  // are, so only tables whose names survive are compared).
  FuzzFile back(reinterpret_cast<const uint8_t*>(text.data()), text.size(), ".csv");
  TQor2 u;
  if (!u.LoadCsvFile(back.Path())) std::abort();
  return 0;
}
