// The recovery journal of the document model, without a window: a replay
// gives back exactly the table a session left (every value, field and record,
// the undo snapshot and the designed form), whatever mix of changes it made;
// a journal cut anywhere in its last entry gives back the table before it;
// saving, closing and a later save clear what is obsolete.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "JournalFiles.h"
#include "LargeMemory.h"
#include "TDocument.h"
#include "TJournalReader.h"
#include "TRecoveryFolder.h"
#include "TRecoveryJournal.h"
#include "TableContents.h"
#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

struct TSnapshot {
  std::string name;
  std::vector<std::string> fields;
  std::vector<std::vector<std::string>> records;
  bool operator==(const TSnapshot& o) const {
    return name == o.name && fields == o.fields && records == o.records;
  }
};

TSnapshot Snap(const TQor2& t) {
  return {t.TableName, FieldsOf(t), RecordsOf(t)};
}

void PrintTo(const TSnapshot& s, std::ostream* os) {
  *os << s.name << " " << s.fields.size() << " fields, " << s.records.size() << " records";
}

class RecoveryJournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = TRecoveryJournal::Settings();
    TRecoveryJournal::Settings().flushDelayMs = 0;
  }
  void TearDown() override {
    TRecoveryJournal::Settings() = saved_;
    // What the tests left for recovery goes with them.
    std::error_code ec;
    fs::remove_all(TRecoveryFolder::Path(), ec);
  }

  std::string WriteTable(const std::string& name,
                         const std::vector<std::vector<std::string>>& rows) {
    TQor2 t;
    t.TableName = "clients";
    t.AddField("NOM");
    t.AddField("VILLE");
    t.AddField("PRIX");
    t.SetFieldType(3, "FLOAT");
    for (const auto& row : rows) {
      t.Append();
      for (size_t i = 0; i < row.size(); ++i) t.SetFieldValue(static_cast<int>(i) + 1, row[i]);
    }
    const std::string path = dir.File(name);
    EXPECT_TRUE(t.SaveToFile(path));
    return path;
  }
  std::string WriteClients() {
    return WriteTable("clients.qor", {{"Dupont", "Paris", "12.5"},
                                      {"Durand", "Lyon", "7"},
                                      {" Martin", "Nice", "100"},
                                      {"Petit", "Lyon", "3,25"},
                                      {"Dupont", "Paris", "12.5"}});
  }

  // `layoutSaved`: the form was saved beside the table since it was designed;
  // the window reads it from there, as here, and the journal need not hold it.
  static void ExpectSame(TDocument& recovered, const TDocument& live, bool layoutSaved = false) {
    EXPECT_EQ(Snap(recovered.Table()), Snap(live.Table()));
    EXPECT_EQ(recovered.UndoAvailable(), live.UndoAvailable());
    if (live.UndoAvailable()) {
      EXPECT_EQ(Snap(recovered.UndoTable()), Snap(live.UndoTable()));
    }
    if (layoutSaved && !recovered.LayoutDesigned())
      ASSERT_TRUE(recovered.LoadLayout(recovered.FileName()));
    else
      EXPECT_EQ(recovered.LayoutDesigned(), live.LayoutDesigned());
    EXPECT_EQ(recovered.Layout(), live.Layout());
    EXPECT_TRUE(recovered.Modified());
  }

  static void Recover(const std::string& journal, TDocument& into, TRecoveryReport& report) {
    TJournalReader reader;
    ASSERT_TRUE(reader.Open(journal));
    ASSERT_TRUE(into.Recover(reader, report));
  }

  TempDir dir;
  TRecoveryJournal::TSettings saved_;
};

// A session that makes every kind of change the journal knows, in a random
// mix: typed values, records added, deleted and pasted, sorts, duplicates,
// conversion, fields added, deleted, renamed and rebuilt, replace one and
// replace all, imports whose file is gone afterwards, snapshots and undo, a
// designed form, and typed texts overtaken by later changes.
class TSession {
 public:
  TSession(TDocument& doc, const TempDir& dir, unsigned seed) : doc_(doc), dir_(dir), rng_(seed) {}

  void Run(int steps, const std::function<void(int)>& atStep = nullptr) {
    for (int step = 0; step < steps; ++step) {
      if (atStep) atStep(step);
      // Every kind in turn, then at random.
      const int kind = step < kKinds ? step : static_cast<int>(rng_() % kKinds);
      Do(kind);
    }
  }
  void RemoveImportedFiles() {
    for (const std::string& f : imported_) fs::remove(f);
  }

 private:
  static constexpr int kKinds = 20;

  int Pick(int n) { return n <= 0 ? 0 : 1 + static_cast<int>(rng_() % n); }
  std::string Text() {
    static const char alphabet[] = "abcXYZ 09;\t\"\\\x82\x8A\x93\xE9";
    std::string s;
    const int n = static_cast<int>(rng_() % 6);
    for (int i = 0; i < n; ++i) s.push_back(alphabet[rng_() % (sizeof alphabet - 1)]);
    return s;
  }
  std::string Name() {
    std::string s = "F";
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>('A' + rng_() % 26));
    return s;
  }
  TQor2& T() { return doc_.Table(); }

  void Do(int kind) {
    TQor2& t = T();
    switch (kind) {
      case 0:
        t.GoToRecord(Pick(t.RecordCount()));
        doc_.StoreTyped(Pick(t.FieldCount()), " " + Text() + " ");
        break;
      case 1:
        t.GoToRecord(Pick(t.RecordCount()));
        doc_.StoreValue(t.GetFieldName(Pick(t.FieldCount())), Text());
        break;
      case 2:
        doc_.AppendRecord();
        doc_.StoreTyped(Pick(t.FieldCount()), Text());
        break;
      case 3:
        doc_.DeleteRecord(Pick(t.RecordCount()));
        break;
      case 4:
        t.GoToRecord(Pick(t.RecordCount()));
        doc_.DeleteCurrent();
        break;
      case 5:
        doc_.CopyRecord(Pick(t.RecordCount()));
        doc_.Paste(Pick(t.RecordCount()));
        break;
      case 6:
        doc_.Sort(Pick(t.FieldCount()), rng_() % 2 == 0);
        break;
      case 7:
        doc_.RemoveDuplicates();
        break;
      case 8:
        doc_.Convertir();
        break;
      case 9:
        doc_.AddField(Name());
        break;
      case 10:
        if (t.FieldCount() > 2) doc_.DeleteField(Pick(t.FieldCount()));
        break;
      case 11:
        doc_.RenameField(Pick(t.FieldCount()), Name(), rng_() % 2 ? "FLOAT" : "STRING");
        break;
      case 12: {
        std::vector<TFieldSource> fields;
        for (int i = t.FieldCount(); i >= 1; --i)
          if (rng_() % 4 != 0) fields.push_back({t.GetFieldName(i), t.GetFieldType(i), i});
        fields.push_back({Name(), "STRING", 0});
        doc_.Restructure(fields);
        break;
      }
      case 13:
        doc_.Find().Search.Field = t.GetFieldName(Pick(t.FieldCount()));
        doc_.Find().ReplaceValue = Text();
        doc_.StartFind(Text().substr(0, 1), true);
        if (doc_.FindFrom(1)) doc_.ReplaceCurrent();
        break;
      case 14:
        doc_.Find().Search.Field = t.GetFieldName(Pick(t.FieldCount()));
        doc_.Find().ReplaceValue = Text();
        doc_.StartFind(std::string(), true);  // "LIKE *": every record
        if (rng_() % 2) doc_.StartFind(Text().substr(0, 1), true);
        doc_.ReplaceAll();
        break;
      case 15: {
        const std::string file = dir_.File("import" + std::to_string(imported_.size()) + ".txt");
        WriteBytes(file, Text() + "\t" + Text() + "\r\n" + Text() + "\r\nZ\tY\tX\tW\r\n");
        imported_.push_back(file);
        doc_.Memorise();
        doc_.Import(file, TImportKind::Tab);
        break;
      }
      case 16:
        doc_.Memorise();
        break;
      case 17:
        doc_.Annuler();
        break;
      case 18:
        doc_.SetLayout({"TLabel 00000000 " + Text(), "TEdit 00010001 NOM"}, true);
        break;
      case 19:
        // Typed and then overtaken: a later change drops it, in the live
        // table (never written) as in the replay.
        doc_.JournalTyped({{Pick(t.RecordCount()), 1, "tapé", false}});
        break;
    }
  }

  TDocument& doc_;
  const TempDir& dir_;
  std::mt19937 rng_;
  std::vector<std::string> imported_;
};

TEST_F(RecoveryJournalTest, ReplayGivesBackTheTableASessionOnAFileLeft) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    TDocument live;
    ASSERT_TRUE(live.Load(WriteClients()));
    TSession session(live, dir, seed);
    session.Run(120);
    live.StoreTyped(1, "dernier");  // the session never ends on overtaken typing
    const std::string orphan = LeaveOrphan(live);
    session.RemoveImportedFiles();

    TDocument recovered;
    TRecoveryReport report;
    Recover(orphan, recovered, report);
    ExpectSame(recovered, live);
    EXPECT_FALSE(report.damaged);
    EXPECT_FALSE(report.fileChanged);
    EXPECT_GT(report.changes, 60);  // most of the 121 steps change something
    EXPECT_EQ(recovered.FileName(), live.FileName());

    // The recovered document goes on with the same journal.
    TSession more(recovered, dir, seed + 100);
    more.Run(30);
    const std::string again = LeaveOrphan(recovered);
    TDocument third;
    Recover(again, third, report);
    ExpectSame(third, recovered);
    fs::remove(again);
  }
}

// A sort or a duplicate removal refused for memory left the table as it was:
// a replay, with all the memory it wants, must not make it either.
TEST_F(RecoveryJournalTest, ASortOrRemovalRefusedForMemoryIsNotReplayed) {
  TDocument live;
  ASSERT_TRUE(live.Load(WriteClients()));
  live.Table().GoToRecord(2);
  live.StoreTyped(1, "Zola");
  {
    TAllocationLimit noMemory(0);
    EXPECT_EQ(live.Sort(1, true).Cause(), TFailure::OutOfMemory);
    EXPECT_EQ(live.RemoveDuplicates().Cause(), TFailure::OutOfMemory);
  }
  const std::string orphan = LeaveOrphan(live);
  TDocument recovered;
  TRecoveryReport report;
  Recover(orphan, recovered, report);
  ExpectSame(recovered, live);
  EXPECT_EQ(recovered.Table().GetCell(1, 2), "Zola");
  EXPECT_EQ(recovered.Table().RecordCount(), 5);  // both Dupont records still there
}

// Text read through the import preview and a table read from another file
// come back with their records, the files they came from gone.
TEST_F(RecoveryJournalTest, ImportsOfTextAndOfAnotherTableAreReplayedWithoutTheirFiles) {
  TDocument live;
  ASSERT_TRUE(live.Load(WriteClients()));
  const std::string text = dir.File("nouveaux.txt");
  WriteBytes(text, "NOM;VILLE;PRIX\r\nZo\xE9;Brest;4\r\nAbel;Metz;8\r\n");
  TTextOptions options;
  options.separator = ';';
  TTextReport report;
  ASSERT_TRUE(live.ImportText(text, options, report));
  TQor2 other;
  other.AddField("NOM");
  other.Append();
  other.SetFieldValue(1, "Vidal");
  TTextReport tableReport;
  ASSERT_TRUE(live.ImportTable(other, tableReport));
  ASSERT_EQ(live.Table().RecordCount(), 8);
  fs::remove(text);

  const std::string orphan = LeaveOrphan(live);
  TDocument recovered;
  TRecoveryReport recovery;
  Recover(orphan, recovered, recovery);
  ExpectSame(recovered, live);
  EXPECT_EQ(recovered.Table().GetCell(1, 8), "Vidal");
}

TEST_F(RecoveryJournalTest, ReplayGivesBackANewTableAndSavesMadeDuringTheSession) {
  // A new table never saved; then saved as a table file, and as text, in the
  // middle of the session: after each save the journal starts from the file
  // (or, for text, from the whole table), and an undo to a snapshot older than
  // the save still replays.
  TDocument live;
  live.Init({"NOM STRING", "VILLE STRING", "PRIX FLOAT"}, "Noname1");
  TSession session(live, dir, 7);
  session.Run(80, [&](int step) {
    for (const auto& [at, name] : {std::pair{30, "nouveau.qor"}, std::pair{55, "nouveau.csv"}}) {
      if (step != at) continue;
      ASSERT_TRUE(live.WriteTable(dir.File(name)));
      ASSERT_TRUE(live.WriteLayout(dir.File(name)));  // as saving does
      live.SetFileName(dir.File(name));
      live.Annuler();
    }
  });
  live.StoreTyped(1, "dernier");
  const std::string orphan = LeaveOrphan(live);
  session.RemoveImportedFiles();
  fs::remove(dir.File("nouveau.csv"));  // the whole table is in the journal

  TDocument recovered;
  TRecoveryReport report;
  Recover(orphan, recovered, report);
  ExpectSame(recovered, live, true);
  EXPECT_EQ(recovered.FileName(), dir.File("nouveau.csv"));
}

TEST_F(RecoveryJournalTest, NewTableJournalIsNamedAfterItsCaptionAndKeepsItsFields) {
  TDocument live;
  live.Init({"NOM STRING", "PRIX FLOAT"}, "Noname2");
  live.AppendRecord();
  live.StoreTyped(2, "12,5");
  const std::string orphan = LeaveOrphan(live);
  EXPECT_EQ(fs::path(orphan).filename().string().rfind("Noname2.", 0), 0u);
  TDocument recovered;
  TRecoveryReport report;
  Recover(orphan, recovered, report);
  ExpectSame(recovered, live);
  EXPECT_EQ(FieldsOf(recovered.Table()), (std::vector<std::string>{"NOM:STRING", "PRIX:FLOAT"}));
  EXPECT_EQ(recovered.FileName(), "");
  EXPECT_EQ(report.changes, 2);
}

TEST_F(RecoveryJournalTest, TextTypedLastIsStoredAsTypingWouldStoreIt) {
  TDocument live;
  ASSERT_TRUE(live.Load(WriteClients()));
  live.Table().GoToRecord(2);
  live.StoreTyped(1, "Durant");
  // A grid cell is stored trimmed, a form box as it stands.
  live.JournalTyped({{2, 2, "  Lille  ", false}, {4, 1, " Grand ", true}});
  const std::string orphan = LeaveOrphan(live);

  TDocument recovered;
  TRecoveryReport report;
  Recover(orphan, recovered, report);
  EXPECT_EQ(recovered.Table().GetCell(1, 2), "Durant");
  EXPECT_EQ(recovered.Table().GetCell(2, 2), "Lille");
  EXPECT_EQ(recovered.Table().GetCell(1, 4), " Grand ");
  EXPECT_EQ(report.changes, 2);

  // Now in the table, they stay when a later change follows them.
  recovered.Table().GoToRecord(1);
  recovered.StoreTyped(3, "1");
  const std::string again = LeaveOrphan(recovered);
  TDocument third;
  Recover(again, third, report);
  ExpectSame(third, recovered);
  fs::remove(again);
}

TEST_F(RecoveryJournalTest, AJournalCutAnywhereInItsLastChangeGivesBackTheTableBeforeIt) {
  TDocument live;
  ASSERT_TRUE(live.Load(WriteClients()));
  live.Table().GoToRecord(1);
  live.StoreTyped(1, "Dupond");
  live.Sort(1, true);
  live.AppendRecord();
  ASSERT_TRUE(live.FlushJournal());
  const auto before = fs::file_size(live.JournalPath());
  const TSnapshot expected = Snap(live.Table());
  // The last change: an import, two entries (its head and its records).
  WriteBytes(dir.File("more.txt"), "Alpha\tNancy\t1\r\nBeta\tMetz\t2\r\n");
  live.Import(dir.File("more.txt"), TImportKind::Tab);
  fs::remove(dir.File("more.txt"));
  const std::string full = ReadBytes(LeaveOrphan(live));
  ASSERT_GT(full.size(), before);
  const std::string folder = fs::path(live.JournalPath()).parent_path().string();
  const std::string name = fs::path(live.JournalPath()).filename().string();
  const std::string cut = folder + "/" + name.substr(0, name.size() - 8) + "-cut.journal";

  for (size_t length = before; length < full.size(); ++length) {
    SCOPED_TRACE(length);
    WriteBytes(cut, full.substr(0, length));
    TDocument recovered;
    TRecoveryReport report;
    Recover(cut, recovered, report);
    EXPECT_EQ(Snap(recovered.Table()), expected);
    EXPECT_EQ(report.changes, 3);
    EXPECT_EQ(report.damaged, length > before);
  }
  WriteBytes(cut, full);
  TDocument recovered;
  TRecoveryReport report;
  Recover(cut, recovered, report);
  EXPECT_EQ(Snap(recovered.Table()), Snap(live.Table()));
  EXPECT_EQ(report.changes, 4);
  EXPECT_FALSE(report.damaged);
}

TEST_F(RecoveryJournalTest, ADamagedByteStopsTheReplayAtTheEntryItDamages) {
  TDocument live;
  ASSERT_TRUE(live.Load(WriteClients()));
  live.Table().GoToRecord(1);
  live.StoreTyped(1, "Un");
  ASSERT_TRUE(live.FlushJournal());
  const auto firstEnd = fs::file_size(live.JournalPath());
  live.StoreTyped(1, "Deux");
  live.StoreTyped(2, "Trois");
  std::string bytes = ReadBytes(LeaveOrphan(live));
  bytes[firstEnd + 10] ^= 0x20;  // inside the second change
  const std::string path =
      live.JournalPath().substr(0, live.JournalPath().size() - 8) + "-d.journal";
  WriteBytes(path, bytes);
  TDocument recovered;
  TRecoveryReport report;
  Recover(path, recovered, report);
  EXPECT_EQ(recovered.Table().GetCell(1, 1), "Un");
  EXPECT_EQ(recovered.Table().GetCell(2, 1), "Paris");
  EXPECT_EQ(report.changes, 1);
  EXPECT_TRUE(report.damaged);
}

TEST_F(RecoveryJournalTest, AChangedFileIsSaidAndTheChangesGoOntoItAsItIsNow) {
  const std::string path = WriteClients();
  TDocument live;
  ASSERT_TRUE(live.Load(path));
  live.Table().GoToRecord(2);
  live.StoreTyped(2, "Lyon 2");
  const std::string orphan = LeaveOrphan(live);
  WriteTable("clients.qor", {{"Autre", "Ville", "1"}, {"Encore", "Ailleurs", "2"}});

  TDocument recovered;
  TRecoveryReport report;
  Recover(orphan, recovered, report);
  EXPECT_TRUE(report.fileChanged);
  EXPECT_EQ(RecordsOf(recovered.Table()), (std::vector<std::vector<std::string>>{
                                              {"Autre", "Ville", "1"}, {"Encore", "Lyon 2", "2"}}));
}

TEST_F(RecoveryJournalTest, JournalIsMadeWithTheFirstChangeAndGoesWithSaveOrClose) {
  const std::string path = WriteClients();
  std::string journal;
  {
    TDocument doc;
    ASSERT_TRUE(doc.Load(path));
    doc.Memorise();
    EXPECT_EQ(doc.JournalPath(), "");  // nothing changed: nothing written
    doc.Table().GoToRecord(1);
    doc.StoreTyped(1, "Dupond");
    ASSERT_TRUE(doc.FlushJournal());
    journal = doc.JournalPath();
    EXPECT_TRUE(fs::exists(journal));
    // Its owner lives: it is nobody's orphan.
    EXPECT_TRUE(TRecoveryFolder::Orphans().empty());

    ASSERT_TRUE(doc.WriteTable(path));  // a save
    EXPECT_FALSE(fs::exists(journal));
    EXPECT_EQ(doc.JournalPath(), "");
    doc.StoreTyped(1, "Dupont");
    ASSERT_TRUE(doc.FlushJournal());
    journal = doc.JournalPath();
    EXPECT_TRUE(fs::exists(journal));
  }
  EXPECT_FALSE(fs::exists(journal));  // closed without saving
}

TEST_F(RecoveryJournalTest, SavingATableRemovesWhatProgramsThatDiedLeftForIt) {
  const std::string clients = WriteClients();
  const std::string other = WriteTable("autres.qor", {{"A", "B", "1"}});
  std::string leftForClients, leftForOther;
  for (const std::string& path : {clients, other}) {
    TDocument dead;
    ASSERT_TRUE(dead.Load(path));
    dead.Table().GoToRecord(1);
    dead.StoreTyped(1, "perdu");
    (path == clients ? leftForClients : leftForOther) = LeaveOrphan(dead);
  }
  ASSERT_EQ(TRecoveryFolder::Orphans().size(), 2u);
  ASSERT_EQ(TRecoveryFolder::Orphans(clients).size(), 1u);

  TDocument doc;
  ASSERT_TRUE(doc.Load(clients));
  doc.Table().GoToRecord(2);
  doc.StoreTyped(1, "gardé");
  ASSERT_TRUE(doc.WriteTable(clients));
  EXPECT_FALSE(fs::exists(leftForClients));
  EXPECT_TRUE(fs::exists(leftForOther));
}

TEST_F(RecoveryJournalTest, FilesThatHoldNoJournalAreClearedAndOthersLeftAlone) {
  const std::string folder = TRecoveryFolder::Path();
  ASSERT_TRUE(fs::create_directories(folder) || fs::exists(folder));
  WriteBytes(folder + "/%2Fx%2Fa.qor.1-1-1.journal.new", "VEKJRNL");  // making cut short
  WriteBytes(folder + "/%2Fx%2Fb.qor.1-1-1.journal", "");             // no header
  WriteBytes(folder + "/notes.txt", "not ours");
  EXPECT_TRUE(TRecoveryFolder::Orphans().empty());
  EXPECT_FALSE(fs::exists(folder + "/%2Fx%2Fa.qor.1-1-1.journal.new"));
  EXPECT_FALSE(fs::exists(folder + "/%2Fx%2Fb.qor.1-1-1.journal"));
  EXPECT_TRUE(fs::exists(folder + "/notes.txt"));
  fs::remove(folder + "/notes.txt");
}

}  // namespace
