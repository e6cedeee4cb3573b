#pragma once
// TQor2Sql: runs one restricted SELECT statement against a table and splits its
// records into two tables: Selected (the condition holds) and Rejected (it fails).
//
//   statement  SELECT [DISTINCT] columns WHERE condition
//   columns    * | name name ...          condition  term {OR term}
//   term       factor {AND factor}        factor     ( condition ) | name op value
//   op         = <> < > <= >= ~=          value      'text' ('' is one quote) | bare
// Keywords are case-sensitive. Blanks are the space and the comma, nothing else. A
// quoted value is compared as text (unsigned bytes, case-sensitive); with "~=" it is
// a wildcard pattern matched with spaces removed and a-z upper-cased. A bare value
// and the field are both read with TextToFloat and compared as numbers.
//
// Nothing is thrown. A statement that does not begin with SELECT gives
// StatementWithoutSelect and leaves the previous results; one that never
// reaches WHERE gives StatementWithoutWhere with the columns read so far and no
// record. A malformed condition is read as far as it goes: a stray token or an
// extra ")" ends it, a missing ")" closes at the end, a missing value is the
// number 0, and an empty condition is false.
//
// The source is not owned; Execute moves its cursor (to its last record) but never
// changes its fields or values. The result tables are owned and are cleared by every
// run that gets past SELECT; every column is "STRING" and values are copied as text.
// With DISTINCT both carry the Distinct flag and lose their duplicate records.

#include <cstdint>
#include <string>
#include <vector>

#include "TConcordances.h"
#include "TQor2.h"

class TQor2Sql {
 public:
  explicit TQor2Sql(TQor2& source);
  TQor2Sql(const TQor2Sql&) = delete;
  TQor2Sql& operator=(const TQor2Sql&) = delete;

  // Ok when the statement had the form SELECT ... WHERE ... and the records were
  // scanned (also when none matched); otherwise why not, as above.
  TStatus Execute(const std::string& text);
  // The cause Execute gives for a statement it refuses, without running it.
  static TFailure Unreadable(const std::string& text);

  // Owned by this object; valid until it is destroyed.
  TQor2& Selected() { return selected_; }
  TQor2& Rejected() { return rejected_; }

 private:
  enum class Operator : uint8_t {
    kEqual,
    kDifferent,
    kLess,
    kGreater,
    kLessEqual,
    kGreaterEqual,
    kLike,
    kNone
  };
  // One "name op value" of the condition, resolved against the source's fields.
  struct Comparison {
    int fieldNo;  // 0 when the source has no such field: its value reads as ''
    Operator op;
    bool quoted;
    std::string text;  // quoted value, quotes removed
    Extended number;   // bare value as a number
  };
  // The condition in postfix form: comparisons push a result, And/Or combine the
  // last `arg` results. Both sides are always evaluated, so the form of the
  // condition never depends on the record and one reading serves the whole scan.
  enum class Step : uint8_t { kCompare, kFalse, kAnd, kOr };
  struct Instruction {
    Step step;
    int arg;
  };

  bool AtEnd() const { return position_ >= statement_.size(); }
  void SkipBlanks();
  std::string NextToken();
  std::string ReadOperator();
  static std::string Slice(const std::string& text, size_t from, size_t to);
  static bool IsQuoted(const std::string& token) { return !token.empty() && token[0] == '\''; }
  static std::string Unquote(const std::string& token);

  void CompileCondition();
  void CompileComparison(const std::string& fieldName);
  bool Evaluate();
  bool Test(const Comparison& c) const;

  TQor2& source_;
  TQor2 selected_;
  TQor2 rejected_;
  std::string statement_;
  size_t position_ = 0;
  TConcordances matcher_;

  std::vector<Comparison> comparisons_;
  std::vector<Instruction> program_;
  std::vector<char> stack_;
};
