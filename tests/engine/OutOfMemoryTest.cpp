// Memory that cannot be had, at whatever allocation it runs out: a load, an
// import, a sort or the removal of duplicates answers OutOfMemory and leaves
// the table exactly as it was. Run under the sanitizers, the same tests show
// that a failure in the middle of making record blocks neither leaks nor frees
// anything twice.

#include <gtest/gtest.h>

#include <new>

#include "LargeMemory.h"
#include "TQor2.h"
#include "TRecordBuilder.h"
#include "TTextImport.h"
#include "TestFiles.h"

namespace {

std::vector<std::string> Rows(const TQor2& t) {
  std::vector<std::string> rows;
  for (int r = 1; r <= t.RecordCount(); ++r) {
    std::string row;
    for (int f = 1; f <= t.FieldCount(); ++f) row += t.GetCell(f, r) + "|";
    rows.push_back(row);
  }
  return rows;
}

// What a user sees of a table: its name, fields, records and current record.
std::string Snapshot(const TQor2& t) {
  std::string s = t.TableName + "#" + std::to_string(t.RecNo()) + "#";
  for (int f = 1; f <= t.FieldCount(); ++f) s += t.GetFieldName(f) + ":" + t.GetFieldType(f) + ";";
  for (const std::string& row : Rows(t)) s += row + "\n";
  return s;
}

void Fill(TQor2& t, int records) {
  t.AddField("Nom");
  t.AddField("Montant");
  t.SetFieldType(2, "FLOAT");
  for (int r = 0; r < records; ++r) {
    t.Append();
    t.SetFieldValue(1, "nom " + std::to_string((r * 7919) % records));
    t.SetFieldValue(2, std::to_string((r * 104729) % 1000) + ",5");
  }
}

// Runs `attempt` with the first 0, 1, 2... large allocations allowed, until
// it needs no more than it is allowed; `check` sees each failed attempt.
template <typename Attempt, typename Check>
void AtEveryAllocation(Attempt attempt, Check check) {
  for (size_t allowed = 0; allowed < 1000; ++allowed) {
    TStatus status;
    {
      TAllocationLimit limit(allowed);
      status = attempt();
    }
    if (status) return;
    SCOPED_TRACE("allocations allowed: " + std::to_string(allowed));
    EXPECT_EQ(status.Cause(), TFailure::OutOfMemory);
    check();
    if (::testing::Test::HasFailure()) return;
  }
  ADD_FAILURE() << "never succeeded";
}

TEST(OutOfMemory, ALoadInEveryFormatKeepsTheOpenTable) {
  TempDir dir;
  TQor2 source;
  Fill(source, 3000);
  for (const char* name : {"t.qor", "t.csv", "t.txt"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(source.SaveToFile(dir.File(name)));
    TQor2 open;
    open.TableName = "ouverte";
    open.AddField("Seul");
    open.Append();
    open.SetFieldValue(1, "gard\xE9");
    const std::string before = Snapshot(open);
    AtEveryAllocation([&] { return open.LoadFromFile(dir.File(name)); },
                      [&] {
                        EXPECT_EQ(open.ErrorCode, 3);
                        EXPECT_EQ(open.ErrorCause, TFailure::OutOfMemory);
                        EXPECT_EQ(Snapshot(open), before);
                      });
    EXPECT_EQ(Rows(open), Rows(source));  // with the memory, the load succeeds
  }
}

TEST(OutOfMemory, SortsKeepTheOrder) {
  TQor2 t;
  Fill(t, 2000);
  t.GoToRecord(17);
  for (const char* field : {"Nom", "Montant"}) {
    const std::string before = Snapshot(t);
    AtEveryAllocation([&] { return t.SortByField(field, false); },
                      [&] { EXPECT_EQ(Snapshot(t), before) << field; });
    EXPECT_NE(Snapshot(t), before) << field;  // sorted once the memory is there
  }
}

TEST(OutOfMemory, DuplicateRemovalKeepsEveryRecord) {
  TQor2 t;
  Fill(t, 500);
  for (int i = 0; i < 3; ++i) t.Append();
  const std::string before = Snapshot(t);
  AtEveryAllocation([&] { return t.RemoveDuplicates(); }, [&] { EXPECT_EQ(Snapshot(t), before); });
  EXPECT_EQ(t.RecordCount(), 501);
}

TEST(OutOfMemory, AnImportAppendsNothing) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 5000; ++i)
    text += "nom " + std::to_string(i) + "\t" + std::to_string(i) + "\r\n";
  WriteBytes(dir.File("in.txt"), text);
  TQor2 t;
  Fill(t, 3);
  const std::string before = Snapshot(t);
  AtEveryAllocation(
      [&] {
        const TImportResult r = TTextImport::Append(t, dir.File("in.txt"), '\t');
        EXPECT_EQ(r.appended, r.status ? 5000 : 0);
        return r.status;
      },
      [&] { EXPECT_EQ(Snapshot(t), before); });
  EXPECT_EQ(t.RecordCount(), 5003);
}

// Records spread over many blocks: a builder that runs out of memory while it
// closes a block, makes its records or hands them out owns what it had and
// frees it once; the list it was to fill is as it was.
TEST(OutOfMemory, ABuilderFailingAnywhereFreesItsBlocksOnce) {
  for (size_t allowed = 0;; ++allowed) {
    ASSERT_LT(allowed, 1000u);
    TKBaseList into;
    into.Add(std::make_shared<TKStringList>());
    bool finished = false;
    try {
      TAllocationLimit limit(allowed);
      TRecordBuilder builder(2, 0, 0, 64);  // blocks of at most 64 bytes
      for (int r = 0; r < 50; ++r) {
        const std::string value = "valeur " + std::to_string(r);
        builder.Append(value.data(), value.size());
        builder.EndValue();
        builder.EndRecord();
      }
      finished = builder.Finish(into);
    } catch (const std::bad_alloc&) {
      EXPECT_EQ(into.Count(), 1) << allowed;
      continue;
    }
    ASSERT_TRUE(finished);
    ASSERT_EQ(into.Count(), 51);
    EXPECT_EQ(into.Get(50)->Get(0), "valeur 49");
    EXPECT_EQ(into.Get(50)->Get(1), "");
    return;
  }
}

}  // namespace
