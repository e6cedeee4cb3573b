#include "TExpression.h"

#include <algorithm>

namespace {

const size_t kMaxValue = 255;
const char kBlanks[] = " \t";
const char kOperatorChars[] = "=<>";

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A value between quotes loses them and keeps its blanks: from the opening
// quote to the last same quote, or to the end when none closes it.
std::string Unquoted(const std::string& value) {
  if (value.empty() || (value[0] != '\'' && value[0] != '"')) return value;
  const size_t close = value.find_last_of(value[0]);
  return value.substr(1, close == 0 ? std::string::npos : close - 1);
}

template <typename T>
bool Compare(const T& a, const std::string& op, const T& b) {
  if (op == "=") return a == b;
  if (op == "<") return a < b;
  if (op == ">") return a > b;
  if (op == "<=") return a <= b;
  if (op == ">=") return a >= b;
  return false;
}

// 1..RecordCount at most.
void Clamp(const TQor2& table, int& from, int& to) {
  from = std::max(from, 1);
  to = std::min(to, table.RecordCount());
}

}  // namespace

TExpression::TExpression(const TQor2& table, const std::string& condition) {
  if (Trimmed(condition).empty()) {
    kind_ = Kind::kAlways;
    return;
  }
  const size_t at = condition.find_first_of(kOperatorChars);
  if (at == std::string::npos) {
    status_ = TStatus(TFailure::NoOperator);
    return;  // kNever
  }
  size_t after = condition.find_first_not_of(kOperatorChars, at);
  if (after == std::string::npos) after = condition.size();
  op_ = condition.substr(at, after - at);
  if (op_ != "=" && op_ != "<" && op_ != ">" && op_ != "<=" && op_ != ">=") {
    status_ = TStatus(TFailure::UnknownOperator, op_);
    return;
  }
  const std::string field = Trimmed(condition.substr(0, at));
  fieldNo_ = table.FieldIndex(field);
  if (fieldNo_ == 0) {
    status_ = TStatus(TFailure::NoSuchField, field);
    return;
  }
  value_ = Unquoted(Trimmed(condition.substr(after))).substr(0, kMaxValue);
  if (table.GetFieldType(fieldNo_) == "FLOAT") {
    kind_ = Kind::kFloat;
    number_ = TextToFloat(value_);
  } else {
    kind_ = Kind::kText;
  }
}

bool TExpression::Test(const TQor2& table, int recNo) const {
  switch (kind_) {
    case Kind::kAlways:
      return true;
    case Kind::kNever:
      return false;
    case Kind::kText:
      return Compare<std::string_view>(table.GetCell(fieldNo_, recNo), op_, value_);
    case Kind::kFloat:
      return Compare(TextToFloat(table.GetCell(fieldNo_, recNo)), op_, number_);
  }
  return false;
}

bool Expression(const TQor2& table, const std::string& condition) {
  return TExpression(table, condition).Test(table, table.RecNo());
}

int CountRecords(const TQor2& table, const std::string& condition, int from, int to) {
  return CountRecords(table, TExpression(table, condition), from, to);
}

int CountRecords(const TQor2& table, const TExpression& expression, int from, int to) {
  Clamp(table, from, to);
  int n = 0;
  for (int recNo = from; recNo <= to; ++recNo)
    if (expression.Test(table, recNo)) ++n;
  return n;
}

TCalculation CalculateField(const TQor2& table, const std::string& condition,
                            const std::string& field, TCalcOperation operation, int from, int to) {
  return CalculateField(table, TExpression(table, condition), field, operation, from, to);
}

TCalculation CalculateField(const TQor2& table, const TExpression& expression,
                            const std::string& field, TCalcOperation operation, int from, int to) {
  const int fieldNo = table.FieldIndex(field);
  Clamp(table, from, to);
  TCalculation c;
  TReal48 acc;
  for (int recNo = from; recNo <= to; ++recNo) {
    if (!expression.Test(table, recNo)) continue;
    const Extended v = TextToFloat(table.GetCell(fieldNo, recNo));
    Extended next = acc.Value();
    switch (operation) {
      case TCalcOperation::kSomme:
      case TCalcOperation::kMoyenne:
        next += v;
        break;
      case TCalcOperation::kMinimum:
        if (c.count == 0 || v < next) next = v;
        break;
      case TCalcOperation::kMaximum:
        if (c.count == 0 || v > next) next = v;
        break;
    }
    if (!TReal48::FromDouble(static_cast<double>(next), acc)) {
      c.overflow = true;
      break;
    }
    ++c.count;
  }
  c.result = acc;
  if (operation == TCalcOperation::kMoyenne && c.count > 0 && !c.overflow)
    TReal48::FromDouble(acc.Value() / c.count, c.result);  // |average| <= |sum|: it fits
  return c;
}
