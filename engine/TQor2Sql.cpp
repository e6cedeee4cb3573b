#include "TQor2Sql.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == ',';
}
bool IsOperatorChar(char c) {
  return c == '<' || c == '=' || c == '>' || c == '~';
}
bool IsParen(char c) {
  return c == '(' || c == ')';
}

}  // namespace

TQor2Sql::TQor2Sql(TQor2& source) : source_(source) {}

TFailure TQor2Sql::Unreadable(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.compare(i, 6, "SELECT") == 0 ? TFailure::StatementWithoutWhere
                                           : TFailure::StatementWithoutSelect;
}

void TQor2Sql::SkipBlanks() {
  while (!AtEnd() && IsBlank(statement_[position_])) ++position_;
}

std::string TQor2Sql::NextToken() {
  SkipBlanks();
  const size_t start = position_, n = statement_.size();
  if (start >= n) return std::string();
  const char c = statement_[start];
  if (c == '\'') {
    // A doubled quote stays inside the token; without a closing quote the token
    // runs to the end of the text.
    ++position_;
    while (position_ < n) {
      if (statement_[position_] == '\'') {
        if (position_ + 1 < n && statement_[position_ + 1] == '\'') {
          position_ += 2;
          continue;
        }
        ++position_;
        break;
      }
      ++position_;
    }
  } else if (IsParen(c)) {
    ++position_;
  } else {
    // Empty, without moving, when standing on an operator character.
    while (position_ < n && !IsBlank(statement_[position_]) &&
           !IsOperatorChar(statement_[position_]) && !IsParen(statement_[position_]))
      ++position_;
  }
  return statement_.substr(start, position_ - start);
}

std::string TQor2Sql::ReadOperator() {
  SkipBlanks();
  const size_t start = position_;
  while (!AtEnd() && IsOperatorChar(statement_[position_])) ++position_;
  return statement_.substr(start, position_ - start);
}

std::string TQor2Sql::Slice(const std::string& text, size_t from, size_t to) {
  if (from > text.size()) from = text.size();
  if (to > text.size()) to = text.size();
  return to <= from ? std::string() : text.substr(from, to - from);
}

std::string TQor2Sql::Unquote(const std::string& token) {
  // The last character goes whatever it is: an unterminated value loses its last
  // character, as the token has no closing quote to drop.
  const std::string inner = Slice(token, 1, token.empty() ? 0 : token.size() - 1);
  std::string r;
  r.reserve(inner.size());
  for (size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] != '\'') {
      r.push_back(inner[i]);
    } else if (i + 1 < inner.size() && inner[i + 1] == '\'') {
      r.push_back('\'');
      ++i;
    }
  }
  return r;
}

TStatus TQor2Sql::Execute(const std::string& text) {
  const TStatus withoutSelect(TFailure::StatementWithoutSelect);
  const TStatus withoutWhere(TFailure::StatementWithoutWhere);
  statement_ = text;
  position_ = 0;
  if (NextToken() != "SELECT") return withoutSelect;
  SkipBlanks();
  selected_.Clear();
  rejected_.Clear();

  std::string t = NextToken();
  SkipBlanks();
  if (t == "DISTINCT") {
    selected_.Distinct = true;
    rejected_.Distinct = true;
    t = NextToken();
    SkipBlanks();
  }
  if (t == "*") {
    for (int i = 1; i <= source_.FieldCount(); ++i) {
      selected_.AddField(source_.GetFieldName(i));
      rejected_.AddField(source_.GetFieldName(i));
    }
    t = NextToken();
    SkipBlanks();
  } else {
    while (!AtEnd() && t != "WHERE") {
      // An empty token here stands on an operator character, which no field name
      // holds; the scan would never move past it, so WHERE cannot be reached.
      if (t.empty()) return withoutWhere;
      selected_.AddField(t);
      rejected_.AddField(t);
      t = NextToken();
      SkipBlanks();
    }
  }
  if (t != "WHERE") return withoutWhere;

  statement_ = Slice(statement_, position_, statement_.size());
  position_ = 0;

  if (!source_.IsEmpty()) {
    CompileCondition();
    matcher_.KeepSpaces = false;
    matcher_.CaseSensitive = false;
    matcher_.UseWildcards = true;

    // Both tables were given the same columns; find each one's source field once.
    std::vector<int> columns;
    for (int i = 1; i <= selected_.FieldCount(); ++i)
      columns.push_back(source_.FieldIndex(selected_.GetFieldName(i)));

    source_.First();
    do {
      TQor2& target = Evaluate() ? selected_ : rejected_;
      target.AppendFrom(source_, source_.RecNo(), columns);
    } while (source_.Next());
  }

  if (selected_.Distinct) selected_.RemoveDuplicates();
  if (rejected_.Distinct) rejected_.RemoveDuplicates();
  return TStatus::Ok();
}

// Reads the condition once, exactly as a recursive descent would (condition: term
// {OR term}, term: factor {AND factor}), but with an explicit stack of open groups so
// that deep nesting cannot exhaust the call stack. Chains of AND and OR are
// flattened: a missing term after a trailing AND counts as true and after a trailing
// OR as false, neither of which changes the chain's result.
void TQor2Sql::CompileCondition() {
  comparisons_.clear();
  program_.clear();
  position_ = 0;

  struct Group {
    int terms;
    int factors;
  };
  std::vector<Group> open;
  int terms = 0, factors = 0;
  enum class State { kCondition, kFactor, kFactorDone, kTermDone, kConditionDone };
  State state = State::kCondition;

  for (;;) {
    switch (state) {
      case State::kCondition:
        terms = 0;
        factors = 0;
        if (AtEnd()) {
          program_.push_back({Step::kFalse, 0});
          terms = 1;
          state = State::kConditionDone;
        } else {
          state = State::kFactor;
        }
        break;

      case State::kFactor: {
        const std::string f = NextToken();
        SkipBlanks();
        if (f == "(") {
          open.push_back({terms, factors});
          state = State::kCondition;
        } else {
          CompileComparison(f);
          state = State::kFactorDone;
        }
        break;
      }

      case State::kFactorDone: {
        ++factors;
        SkipBlanks();
        const size_t mark = position_;
        if (NextToken() == "AND") {
          state = AtEnd() ? State::kTermDone : State::kFactor;
        } else {
          position_ = mark;  // left for the OR test
          state = State::kTermDone;
        }
        break;
      }

      case State::kTermDone:
        if (factors > 1) program_.push_back({Step::kAnd, factors});
        ++terms;
        factors = 0;
        SkipBlanks();
        // Any token other than OR is consumed and ends this condition: normally the
        // ")" of a group, otherwise a stray token that ends the whole condition.
        if (NextToken() == "OR") {
          state = AtEnd() ? State::kConditionDone : State::kFactor;
        } else {
          state = State::kConditionDone;
        }
        break;

      case State::kConditionDone:
        if (terms > 1) program_.push_back({Step::kOr, terms});
        if (open.empty()) return;
        terms = open.back().terms;
        factors = open.back().factors;
        open.pop_back();
        state = State::kFactorDone;
        break;
    }
  }
}

void TQor2Sql::CompileComparison(const std::string& fieldName) {
  const std::string op = ReadOperator();
  SkipBlanks();
  const std::string value = NextToken();
  SkipBlanks();

  Comparison c{source_.FieldIndex(fieldName), Operator::kNone, IsQuoted(value), std::string(), 0};
  if (op == "=")
    c.op = Operator::kEqual;
  else if (op == "<>")
    c.op = Operator::kDifferent;
  else if (op == "<")
    c.op = Operator::kLess;
  else if (op == ">")
    c.op = Operator::kGreater;
  else if (op == "<=")
    c.op = Operator::kLessEqual;
  else if (op == ">=")
    c.op = Operator::kGreaterEqual;
  else if (op == "~=")
    c.op = Operator::kLike;

  // Operators that cannot hold for any record ("==", "~" on a number ...).
  if (c.op == Operator::kNone || (c.op == Operator::kLike && !c.quoted)) {
    program_.push_back({Step::kFalse, 0});
    return;
  }
  if (c.quoted)
    c.text = Unquote(value);
  else
    c.number = TextToFloat(value);
  program_.push_back({Step::kCompare, static_cast<int>(comparisons_.size())});
  comparisons_.push_back(std::move(c));
}

bool TQor2Sql::Test(const Comparison& c) const {
  const TValueView x = source_.GetFieldValue(c.fieldNo);
  if (c.quoted) {
    if (c.op == Operator::kLike) return matcher_.Matches(c.text, x);
    // Compares bytes as unsigned codes, a prefix first, as std::string does.
    const int order = x.compare(c.text);
    switch (c.op) {
      case Operator::kEqual:
        return order == 0;
      case Operator::kDifferent:
        return order != 0;
      case Operator::kLess:
        return order < 0;
      case Operator::kGreater:
        return order > 0;
      case Operator::kLessEqual:
        return order <= 0;
      case Operator::kGreaterEqual:
        return order >= 0;
      default:
        return false;
    }
  }
  const Extended y = TextToFloat(x);
  switch (c.op) {
    case Operator::kEqual:
      return y == c.number;
    case Operator::kDifferent:
      return y != c.number;
    case Operator::kLess:
      return y < c.number;
    case Operator::kGreater:
      return y > c.number;
    case Operator::kLessEqual:
      return y <= c.number;
    case Operator::kGreaterEqual:
      return y >= c.number;
    default:
      return false;
  }
}

bool TQor2Sql::Evaluate() {
  stack_.clear();
  for (const Instruction& ins : program_) {
    switch (ins.step) {
      case Step::kCompare:
        stack_.push_back(Test(comparisons_[ins.arg]));
        break;
      case Step::kFalse:
        stack_.push_back(false);
        break;
      case Step::kAnd:
      case Step::kOr: {
        const size_t first = stack_.size() - ins.arg;
        bool r = ins.step == Step::kAnd;
        for (size_t i = first; i < stack_.size(); ++i) {
          if (ins.step == Step::kAnd)
            r = r && stack_[i];
          else
            r = r || stack_[i];
        }
        stack_.resize(first);
        stack_.push_back(r);
        break;
      }
    }
  }
  return stack_.back() != 0;
}
