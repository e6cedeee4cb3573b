#include "TQbeQuery.h"

namespace {

const size_t kMaxValue = 255;

bool StartsWith(const std::string& s, const char* prefix) {
  return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::string Unquote(std::string value) {
  for (char& c : value)
    if (c == '\'') c = '"';
  const size_t open = value.find('"');
  if (open == std::string::npos) return value;
  value.erase(0, open + 1);
  const size_t close = value.find('"');
  if (close != std::string::npos) value.erase(close);
  return value;
}

struct TTest {
  std::string field;
  std::string op;
  std::string value;
  bool isFloat;
  Extended number;
};

}  // namespace

void TQbeQuery::SplitCondition(const std::string& condition, std::string& op, std::string& value) {
  size_t from = 0;
  if (StartsWith(condition, "<=") || StartsWith(condition, ">=")) {
    op = condition.substr(0, 2);
    from = 2;
  } else if (StartsWith(condition, "<") || StartsWith(condition, "=") ||
             StartsWith(condition, ">")) {
    op = condition.substr(0, 1);
    from = 1;
  } else {
    std::string head = condition.substr(0, 4);
    for (char& c : head)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (head == "LIKE") {
      op = "LIKE";
      from = 4;
    } else {
      op = "=";
      value = Unquote(condition);
      return;
    }
  }
  value = Unquote(TrimBlanks(condition.substr(from, kMaxValue)));
}

void TQbeQuery::Run(TQor2& source, const std::vector<TCriterion>& criteria, TQor2& result) {
  result.Clear();
  std::vector<TTest> tests;
  for (const TCriterion& c : criteria) {
    result.AddField(c.field);
    const std::string condition = TrimBlanks(c.condition);
    if (condition.empty()) continue;
    TTest t;
    t.field = c.field;
    SplitCondition(condition, t.op, t.value);
    t.isFloat = source.GetFieldType(source.FieldIndex(c.field)) == "FLOAT";
    t.number = TextToFloat(t.value);
    tests.push_back(std::move(t));
  }
  std::vector<int> columns;
  for (int i = 1; i <= result.FieldCount(); ++i)
    columns.push_back(source.FieldIndex(result.GetFieldName(i)));

  for (int n = 1; n <= source.RecordCount(); ++n) {
    source.GoToRecord(n);
    bool ok = true;
    for (const TTest& t : tests) {
      ok = t.isFloat ? source.MatchFloat(t.field, t.op, t.number)
                     : source.MatchText(t.field, t.op, t.value);
      if (!ok) break;
    }
    if (ok) result.AppendFrom(source, n, columns);
  }
}
