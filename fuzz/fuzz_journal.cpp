// Replays arbitrary entries as a recovery journal of a new table. The input is
// a sequence of payloads, each a two-byte length and its bytes, which the
// target frames with their checksums so that the replay itself is what gets
// explored; what is left over goes in unframed, as a torn write would. A
// replay never reads outside the journal, always gives a table whose records
// have a value per field, and gives the same table twice.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "TDocument.h"
#include "TJournalEntry.h"
#include "TJournalReader.h"
#include "TRecoveryFolder.h"
#include "TRecoveryJournal.h"
#include "TTableLock.h"
#include "TableContents.h"

namespace {

struct TState {
  std::string folder = "/tmp/vekfuzz-state-XXXXXX";
  TState() {
    if (!mkdtemp(folder.data())) std::abort();
    setenv("XDG_STATE_HOME", folder.c_str(), 1);
    // One file per input; no writer thread goes on with it.
    TRecoveryJournal::Settings().enabled = false;
  }
  ~TState() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

void Replay(const std::string& path, TDocument& doc, TRecoveryReport& report) {
  TJournalReader reader;
  if (!reader.Open(path) || !doc.Recover(reader, report)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TState state;
  TJournalHeader header;
  header.baseline = TJournalHeader::NewTable;
  header.path = "Noname1";
  std::string bytes = header.Encode();
  TJournalEntry::Frame(bytes, TJournalEntry(TJournalOp::Fields)
                                  .Texts({"NOM STRING", "VILLE STRING", "PRIX FLOAT"})
                                  .Payload());
  size_t at = 0;
  while (size - at >= 2) {
    const size_t n = data[at] | static_cast<size_t>(data[at + 1]) << 8;
    if (size - at - 2 < n) break;
    TJournalEntry::Frame(bytes, std::string_view(reinterpret_cast<const char*>(data) + at + 2, n));
    at += 2 + n;
  }
  bytes.append(reinterpret_cast<const char*>(data) + at, size - at);

  const std::string path = TRecoveryFolder::NewJournalPath("Noname1", false);
  if (!TTableLock::MakeFolder(TRecoveryFolder::Path())) std::abort();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
  std::fclose(f);

  TDocument first, second;
  TRecoveryReport a, b;
  Replay(path, first, a);
  Replay(path, second, b);
  unlink(path.c_str());
  const TQor2& t = first.Table();
  for (int r = 1; r <= t.RecordCount(); ++r)
    for (int i = 1; i <= t.FieldCount(); ++i) (void)t.GetCell(i, r).size();
  if (a.changes != b.changes || a.damaged != b.damaged || FieldsOf(t) != FieldsOf(second.Table()) ||
      RecordsOf(t) != RecordsOf(second.Table()) || !first.Modified())
    std::abort();
  return 0;
}
