// Fuzzes the dBase reader and the table import on a table and its memo file.
// Input: a 32-bit little-endian length n, then n bytes of ".dbf", then the
// ".dbt" (absent when empty). Both are written side by side in a private
// folder, then every record and every field is read.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "DbfImport.h"
#include "TXBase.h"

namespace {

// Kept in a plain array so that it outlives every destructor run at exit.
char folder[] = "/tmp/vekfuzz-dbase-XXXXXX";

void RemoveFolder() {
  unlink((std::string(folder) + "/t.dbf").c_str());
  unlink((std::string(folder) + "/t.dbt").c_str());
  rmdir(folder);
}

std::string Folder() {
  static const bool made = [] {
    if (!mkdtemp(folder)) abort();
    std::atexit(RemoveFolder);
    return true;
  }();
  (void)made;
  return folder;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) abort();
  if (size && std::fwrite(data, 1, size, f) != size) abort();
  std::fclose(f);
}

void Walk(const std::string& dbf) {
  TXBase xb;
  xb.SetFilename(dbf);
  if (!xb.SetActive(true)) {
    if (xb.Active()) abort();  // a failed open leaves the reader closed
    return;
  }
  if (xb.FieldCount() > TXBase::kMaxFields) abort();
  if (!xb.First()) return;
  for (;;) {
    if (xb.Recno() < 0 || xb.Recno() > xb.RecordCount()) abort();
    for (int i = 1; i <= xb.FieldCount(); ++i) {
      const bool memo = xb.FieldKind(i) == TXBase::kMemo;
      xb.FieldName(i);
      std::string text;
      if (!xb.GetField(i, text)) {
        if (!memo || !text.empty()) abort();  // only memo texts fail once a record is read
        continue;
      }
      if (!memo && static_cast<int>(text.size()) > xb.FieldLength(i)) abort();
    }
    xb.SetDeleted(!xb.Deleted());
    if (xb.Eof()) break;
    const int64_t before = xb.Recno();
    if (!xb.Next()) {
      if (xb.Recno() != before) abort();  // a failed move stays where it was
      return;
    }
    if (xb.Recno() != before + 1) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  size_t n = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<size_t>(data[3]) << 24);
  data += 4;
  size -= 4;
  if (n > size) n = size;
  std::string dbf = Folder() + "/t.dbf";
  std::string dbt = Folder() + "/t.dbt";
  WriteFile(dbf, data, n);
  if (size > n)
    WriteFile(dbt, data + n, size - n);
  else
    unlink(dbt.c_str());

  Walk(dbf);
  TQor2 table;
  LoadDbfTable(dbf, table);
  return 0;
}
