// libFuzzer target for TQor2Sql::Execute.
//
// Input: the statement, then optionally a NUL byte and a small table: lines split
// by "\n", the first holding the field names and the others the values, both split
// by "\t" (at most 8 fields and 32 records; missing values stay empty). Without
// the NUL a fixed table is used.
//
// Besides memory errors it checks that a run leaves the source as it was, that two
// runs agree, that every record lands in exactly one result table, and that the
// results equal those of reading the condition afresh for every record (a plain
// recursive reading kept here as the oracle).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "TConcordances.h"
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

// The condition parsed again for every record and evaluated while parsed.
class Oracle {
 public:
  explicit Oracle(TQor2& source) : src_(source) {}
  TQor2 selected, rejected;

  bool Execute(const std::string& text) {
    s_ = text;
    p_ = 0;
    if (Token() != "SELECT") return false;
    selected.Clear();
    rejected.Clear();
    std::string t = Token();
    if (t == "DISTINCT") {
      selected.Distinct = rejected.Distinct = true;
      t = Token();
    }
    Skip();
    if (t == "*") {
      for (int i = 1; i <= src_.FieldCount(); ++i) {
        selected.AddField(src_.GetFieldName(i));
        rejected.AddField(src_.GetFieldName(i));
      }
      t = Token();
      Skip();
    } else {
      while (p_ < s_.size() && t != "WHERE") {
        if (t.empty()) return false;
        selected.AddField(t);
        rejected.AddField(t);
        t = Token();
        Skip();
      }
    }
    if (t != "WHERE") return false;
    s_ = s_.substr(p_);
    for (bool more = src_.First(); more; more = src_.Next()) {
      p_ = 0;
      TQor2& to = Or() ? selected : rejected;
      to.Append();
      for (int i = 1; i <= to.FieldCount(); ++i)
        to.SetFieldValue(i, src_.GetValueByName(to.GetFieldName(i)));
    }
    if (selected.Distinct) selected.RemoveDuplicates();
    if (rejected.Distinct) rejected.RemoveDuplicates();
    return true;
  }

 private:
  static bool Blank(char c) { return c == ' ' || c == ','; }
  static bool OpChar(char c) { return c == '<' || c == '=' || c == '>' || c == '~'; }
  bool End() const { return p_ >= s_.size(); }
  void Skip() {
    while (!End() && Blank(s_[p_])) ++p_;
  }
  std::string Token() {
    Skip();
    const size_t b = p_;
    if (!End() && s_[p_] == '\'') {
      ++p_;
      while (!End()) {
        if (s_[p_++] != '\'') continue;
        if (End() || s_[p_] != '\'') break;
        ++p_;
      }
    } else if (!End() && (s_[p_] == '(' || s_[p_] == ')')) {
      ++p_;
    } else {
      while (!End() && !Blank(s_[p_]) && !OpChar(s_[p_]) && s_[p_] != '(' && s_[p_] != ')') ++p_;
    }
    return s_.substr(b, p_ - b);
  }
  bool Or() {
    if (End()) return false;
    const bool a = And();
    Skip();
    if (Token() != "OR") return a;
    const bool b = Or();
    return a || b;
  }
  bool And() {
    if (End()) return true;
    const bool a = Comparison();
    Skip();
    const size_t mark = p_;
    if (Token() != "AND") {
      p_ = mark;
      return a;
    }
    const bool b = And();
    return a && b;
  }
  bool Comparison() {
    const std::string f = Token();
    Skip();
    if (f == "(") return Or();
    Skip();
    const size_t b = p_;
    while (!End() && OpChar(s_[p_])) ++p_;
    const std::string op = s_.substr(b, p_ - b);
    const std::string v = Token();
    Skip();
    const std::string& x = src_.GetValueByName(f);
    if (!v.empty() && v[0] == '\'') {
      std::string l;
      for (size_t i = 1; i + 1 < v.size(); ++i) {
        if (v[i] != '\'')
          l += v[i];
        else if (i + 2 < v.size() && v[i + 1] == '\'')
          l += v[++i];
      }
      if (op == "~=") {
        TConcordances m;
        m.KeepSpaces = false;
        m.CaseSensitive = false;
        m.UseWildcards = true;
        return m.Matches(l, x);
      }
      const int c = x.compare(l);
      return op == "="    ? c == 0
             : op == "<>" ? c != 0
             : op == "<"  ? c < 0
             : op == ">"  ? c > 0
             : op == "<=" ? c <= 0
             : op == ">=" ? c >= 0
                          : false;
    }
    const Extended n = TQor2::TextToFloat(v), y = TQor2::TextToFloat(x);
    return op == "="    ? y == n
           : op == "<>" ? y != n
           : op == "<"  ? y < n
           : op == ">"  ? y > n
           : op == "<=" ? y <= n
           : op == ">=" ? y >= n
                        : false;
  }

  TQor2& src_;
  std::string s_;
  size_t p_ = 0;
};

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
  const bool ok = sql.Execute(statement);
  const std::string selected = Dump(sql.Selected()), rejected = Dump(sql.Rejected());
  Check(Dump(source) == before);
  if (ok) {
    Check(sql.Selected().FieldCount() == sql.Rejected().FieldCount());
    if (!sql.Selected().Distinct)
      Check(sql.Selected().RecordCount() + sql.Rejected().RecordCount() == source.RecordCount());
    Check(source.IsEmpty() || (source.RecNo() == source.RecordCount() && source.Eof));
  }

  // A second run on the same object gives the same answer and tables.
  Check(sql.Execute(statement) == ok);
  Check(Dump(sql.Selected()) == selected && Dump(sql.Rejected()) == rejected);

  // The oracle recurses once per group and per AND/OR; keep it well inside the stack.
  if (statement.size() <= 2048) {
    Oracle oracle(shadow);
    Check(oracle.Execute(statement) == ok);
    Check(Dump(oracle.selected) == selected && Dump(oracle.rejected) == rejected);
    Check(shadow.RecNo() == source.RecNo() && shadow.Eof == source.Eof && shadow.Bof == source.Bof);
  }
  return 0;
}
