#include <gtest/gtest.h>

#include <random>

#include "TQor2.h"
#include "TestFiles.h"

namespace {

// The classic exchange sort, literally: every pair i < j compared once, keys
// read afresh, records exchanged when out of order. The fast sorts must leave
// exactly this order, ties included.
void ExchangeSort(TQor2& t, const std::string& field, bool ascending, bool numeric) {
  const int f = t.FieldIndex(field);
  std::vector<std::vector<std::string>> rows;
  for (int r = 1; r <= t.RecordCount(); ++r) {
    rows.emplace_back();
    for (int i = 1; i <= t.FieldCount(); ++i) rows.back().push_back(t.GetCell(i, r).str());
  }
  auto key = [&](int r) { return f ? rows[r][f - 1] : std::string(); };
  for (size_t i = 0; i < rows.size(); ++i)
    for (size_t j = i + 1; j < rows.size(); ++j) {
      bool swap;
      if (numeric) {
        const Extended a = TextToFloat(key(i)), b = TextToFloat(key(j));
        swap = ascending ? a > b : a < b;
      } else {
        swap = ascending ? key(i) > key(j) : key(i) < key(j);
      }
      if (swap) std::swap(rows[i], rows[j]);
    }
  TQor2 out;
  for (int i = 1; i <= t.FieldCount(); ++i) out.AddField(t.GetFieldName(i));
  for (auto& row : rows) {
    out.Append();
    for (size_t i = 0; i < row.size(); ++i) out.SetFieldValue(static_cast<int>(i) + 1, row[i]);
  }
  t.Assign(out);
}

std::vector<std::string> Rows(const TQor2& t) {
  std::vector<std::string> v;
  for (int r = 1; r <= t.RecordCount(); ++r) {
    std::string row;
    for (int i = 1; i <= t.FieldCount(); ++i) row += t.GetCell(i, r) + "|";
    v.push_back(row);
  }
  return v;
}

// The rows of `source` sorted on "K" by the fast sort, and by the plain one.
std::pair<std::vector<std::string>, std::vector<std::string>> BothSorts(const TQor2& source,
                                                                        bool ascending,
                                                                        bool numeric) {
  TQor2 fast, slow;
  fast.Assign(source);
  slow.Assign(source);
  if (numeric)
    fast.SortFloat("K", ascending);
  else
    fast.SortText("K", ascending);
  ExchangeSort(slow, "K", ascending, numeric);
  return {Rows(fast), Rows(slow)};
}

TEST(Sort, ExamplesAndTies) {
  TQor2 t;
  t.AddField("K");
  t.AddField("Id");
  const char* rows[][2] = {{"b", "1"}, {"b", "2"}, {"a", "3"}};
  for (auto& r : rows) {
    t.Append();
    t.SetFieldValue(1, r[0]);
    t.SetFieldValue(2, r[1]);
  }
  t.GoToRecord(2);
  EXPECT_TRUE(t.SortText("K", true));
  EXPECT_EQ(Rows(t), (std::vector<std::string>{"a|3|", "b|2|", "b|1|"}));
  EXPECT_EQ(t.RecNo(), 2);  // the cursor index is not changed

  TQor2 n;
  n.AddField("V");
  for (const char* v : {"10", "9", "abc"}) {
    n.Append();
    n.SetFieldValue(1, v);
  }
  n.SortFloat("V", true);
  EXPECT_EQ(Rows(n), (std::vector<std::string>{"abc|", "9|", "10|"}));
  n.SortText("V", true);
  EXPECT_EQ(Rows(n), (std::vector<std::string>{"10|", "9|", "abc|"}));
  const auto before = Rows(n);
  EXPECT_TRUE(n.SortText("Absent", true));
  EXPECT_EQ(Rows(n), before);

  TQor2 empty;
  EXPECT_TRUE(empty.SortText("V", true));
  EXPECT_TRUE(empty.SortFloat("V", false));
}

TEST(Sort, MatchesExchangeSortOnRandomTablesWithTies) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 400; ++round) {
    const int n = 1 + static_cast<int>(rng() % 60);
    const int distinct = 1 + static_cast<int>(rng() % 8);
    TQor2 t;
    t.AddField("K");
    t.AddField("Id");
    for (int i = 0; i < n; ++i) {
      t.Append();
      const int k = static_cast<int>(rng() % distinct);
      // Numeric keys with spellings that read alike ("1", "1,0") and non-numbers.
      std::string key = round % 3 == 0 ? std::to_string(k) + (rng() % 2 ? ",0" : "")
                                       : std::string(1 + k % 3, static_cast<char>('a' + k));
      if (round % 3 == 0 && k == 0 && rng() % 2) key = "x";
      t.SetFieldValue(1, key);
      t.SetFieldValue(2, std::to_string(i));
    }
    for (bool ascending : {true, false}) {
      for (bool numeric : {false, true}) {
        const auto [fast, slow] = BothSorts(t, ascending, numeric);
        ASSERT_EQ(fast, slow) << "round " << round << (ascending ? " asc" : " desc")
                              << (numeric ? " num" : "");
      }
    }
  }
}

TEST(Sort, MatchesExchangeSortOnLongKeysHighBytesAndSignedNumbersOfALoadedTable) {
  // Keys alike in their first eight bytes, bytes above 127, a zero byte, and
  // numbers of every sign and size, some spelled differently but equal.
  const std::vector<std::string> pool = {"",
                                         "abcdefgh",
                                         "abcdefghi",
                                         "abcdefghj",
                                         std::string("abcdefgh\0", 9),
                                         "abcdefg",
                                         "\xE9t\xE9",
                                         "\xFF",
                                         "Z",
                                         "-0",
                                         "0",
                                         "0,0",
                                         "-1,5",
                                         "-1.50",
                                         "1e3",
                                         "1000",
                                         "-1e-3",
                                         "1e5000",
                                         "-1e5000",
                                         "12345678901234567890123",
                                         "0,1",
                                         "99999,99",
                                         "-99999,99",
                                         "abc",
                                         "ab",
                                         std::string("ab\0", 3),
                                         "abcdefg\xE9"};
  std::mt19937 rng(8);
  TempDir dir;
  for (int round = 0; round < 60; ++round) {
    TQor2 t;
    t.AddField("K");
    t.AddField("Id");
    const int n = 1 + static_cast<int>(rng() % 80);
    for (int i = 0; i < n; ++i) {
      t.Append();
      t.SetFieldValue(1, pool[rng() % pool.size()]);
      t.SetFieldValue(2, std::to_string(i));
    }
    // As built, and as the user has it: read from its file (the zero byte cuts).
    ASSERT_TRUE(t.SaveQorFile(dir.File("k.qor")));
    TQor2 loaded;
    ASSERT_TRUE(loaded.LoadQorFile(dir.File("k.qor")));
    // And after a sort that left the records out of their memory's order,
    // those read side by side from the file and those made one by one.
    TQor2 scattered, scatteredBuilt;
    scattered.Assign(loaded);
    scattered.SortText("Id", false);
    scatteredBuilt.Assign(t);
    scatteredBuilt.SortText("Id", false);
    for (int combination = 0; combination < 16; ++combination) {
      const TQor2& source = combination >= 12 ? scatteredBuilt
                            : combination >= 8 ? scattered
                            : combination & 4  ? loaded
                                               : t;
      const bool ascending = combination & 1, numeric = combination & 2;
      const auto [fast, slow] = BothSorts(source, ascending, numeric);
      ASSERT_EQ(fast, slow) << "round " << round << " combination " << combination;
    }
  }
}

TEST(Sort, SortedReverseAndConstantKeys) {
  for (int shape = 0; shape < 3; ++shape) {
    TQor2 t;
    t.AddField("K");
    t.AddField("Id");
    for (int i = 0; i < 50; ++i) {
      t.Append();
      const int k = shape == 0 ? i : shape == 1 ? 50 - i : 7;
      t.SetFieldValue(1, std::to_string(k));
      t.SetFieldValue(2, std::to_string(i));
    }
    for (bool ascending : {true, false}) {
      const auto [fast, slow] = BothSorts(t, ascending, true);
      EXPECT_EQ(fast, slow) << shape << ascending;
    }
  }
}

TEST(Sort, ByFieldSortsFloatFieldsAsNumbersAndOthersAsText) {
  TQor2 t;
  t.AddField("N");
  t.AddField("T");
  t.SetFieldType(1, "FLOAT");
  for (const char* v : {"10", "9", "1,5", "-2"}) {
    t.Append();
    t.SetFieldValue(1, v);
    t.SetFieldValue(2, v);
  }
  EXPECT_TRUE(t.SortByField("N", true));
  EXPECT_EQ(Rows(t), (std::vector<std::string>{"-2|-2|", "1,5|1,5|", "9|9|", "10|10|"}));
  EXPECT_TRUE(t.SortByField("T", false));
  EXPECT_EQ(Rows(t), (std::vector<std::string>{"9|9|", "10|10|", "1,5|1,5|", "-2|-2|"}));
  EXPECT_FALSE(t.SortByField("n", true));  // names are exact
  EXPECT_EQ(Rows(t).front(), "9|9|");
}

}  // namespace
