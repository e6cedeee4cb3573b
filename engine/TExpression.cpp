#include "TExpression.h"

#include <algorithm>

namespace {

const size_t kMaxValue = 255;

// The text between the first two quotes (single or double, either may close),
// or all after the first when no second follows.
std::string BetweenQuotes(const std::string& value) {
  const size_t open = value.find_first_of("'\"");
  if (open == std::string::npos) return value;
  const size_t close = value.find_first_of("'\"", open + 1);
  return value.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
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
  if (condition.empty()) {
    kind_ = Kind::kAlways;
    return;
  }
  const size_t at = condition.find_first_of("=<>");
  if (at == std::string::npos) return;  // kNever
  const std::string field = condition.substr(0, at);
  op_ = condition.substr(at, 1);
  std::string value = condition.substr(at + 1, kMaxValue);
  if (!value.empty() && value[0] == '=') {
    op_ += '=';
    value = BetweenQuotes(value.substr(1, kMaxValue));
  }
  value_ = value;
  fieldNo_ = table.FieldIndex(field);
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
  const TExpression expression(table, condition);
  Clamp(table, from, to);
  int n = 0;
  for (int recNo = from; recNo <= to; ++recNo)
    if (expression.Test(table, recNo)) ++n;
  return n;
}

TCalculation CalculateField(const TQor2& table, const std::string& condition,
                            const std::string& field, TCalcOperation operation, int from, int to) {
  const TExpression expression(table, condition);
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
