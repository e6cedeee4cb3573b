// libFuzzer target for TQor2Sql::Execute.
//
// Input: the statement, then optionally a NUL byte and a small table: lines split
// by "\n", the first holding the field names and the others the values, both split
// by "\t" (at most 8 fields and 32 records; missing values stay empty). Without
// the NUL a fixed table is used.
//
// Besides memory errors it checks that a run leaves the source as it was, that two
// runs agree, that every record lands in exactly one result table, and that the
// results equal those of reading the condition afresh for every record (the
// tests' LiteralSql).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "LiteralSql.h"
#include "TQor2.h"
#include "TQor2Sql.h"

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> r(1);
  for (char c : s) {
    if (c == sep)
      r.emplace_back();
    else
      r.back() += c;
  }
  return r;
}

void BuildTable(TQor2& t, const std::string& text) {
  std::vector<std::string> lines = Split(text, '\n');
  std::vector<std::string> names = Split(lines[0], '\t');
  if (names.size() > 8) names.resize(8);
  for (const std::string& n : names) t.AddField(n);
  for (size_t i = 1; i < lines.size() && i <= 32; ++i) {
    t.Append();
    std::vector<std::string> values = Split(lines[i], '\t');
    for (size_t f = 0; f < values.size(); ++f) t.SetFieldValue(static_cast<int>(f) + 1, values[f]);
  }
}

std::string Dump(const TQor2& t) {
  std::string s = t.Distinct ? "D" : "-";
  for (int f = 1; f <= t.FieldCount(); ++f)
    s += "\x01" + t.GetFieldName(f) + ":" + t.GetFieldType(f);
  for (int r = 1; r <= t.RecordCount(); ++r) {
    s += "\x02";
    for (int f = 1; f <= t.FieldCount(); ++f) s += "\x01" + t.GetCell(f, r);
  }
  return s;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t nul = input.find('\0');
  const std::string statement = input.substr(0, nul);
  const std::string table = nul == std::string::npos
                                ? "Nom\tVille\tAge\tPrix\nDupont\tLyon\t30\t12,50\n"
                                  "du Pont\tParis\t65\tabc\nO'Neil\tlyon\t9\t10.5\n"
                                  "Dupont\tLyon\t30\t12,50\n\t\t\t"
                                : input.substr(nul + 1);

  TQor2 source, shadow;
  BuildTable(source, table);
  BuildTable(shadow, table);
  const std::string before = Dump(source);

  TQor2Sql sql(source);
  const bool ok = sql.Execute(statement).ok();
  const std::string selected = Dump(sql.Selected()), rejected = Dump(sql.Rejected());
  Check(Dump(source) == before);
  if (ok) {
    Check(sql.Selected().FieldCount() == sql.Rejected().FieldCount());
    if (!sql.Selected().Distinct)
      Check(sql.Selected().RecordCount() + sql.Rejected().RecordCount() == source.RecordCount());
    Check(source.IsEmpty() || (source.RecNo() == source.RecordCount() && source.Eof));
  }

  // A second run on the same object gives the same answer and tables.
  Check(sql.Execute(statement).ok() == ok);
  Check(Dump(sql.Selected()) == selected && Dump(sql.Rejected()) == rejected);

  // The oracle recurses once per group and per AND/OR; keep it well inside the stack.
  if (statement.size() <= 2048) {
    LiteralSql oracle(shadow);
    Check(oracle.Execute(statement) == ok);
    Check(Dump(oracle.selected) == selected && Dump(oracle.rejected) == rejected);
    Check(shadow.RecNo() == source.RecNo() && shadow.Eof == source.Eof && shadow.Bof == source.Bof);
  }
  return 0;
}
