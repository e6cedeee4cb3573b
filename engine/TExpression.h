#pragma once
// TExpression: the condition typed for counting and calculating: a field name,
// an operator and a value, such as Ville=Paris, Age >= 18 or
// Ville = 'Saint Jean '.
//
// Reading the text: the first "=", "<" or ">" ends the field name, and the run
// of those characters that it begins is the operator: "=", "<", ">", "<=" or
// ">=". The blanks (spaces, tabs) around the name, the operator and the value
// are not part of them. A value that begins with a single or a double quote is
// the text after it up to the last same quote (all of it when none closes),
// blanks included: Nom='O'Neil' means O'Neil. Otherwise the value is taken as
// typed, so Nom=O'Neil works too. At most 255 bytes of value count.
//
// A text that cannot select anything as the user meant it says why (Status):
// no operator (NoOperator), a run such as "<>", "==" or "=>" (UnknownOperator,
// the run as detail), a name the table lacks (NoSuchField, the name as detail,
// empty when none was typed). Such a condition holds for no record.
//
// Testing a record: on a "FLOAT" field both sides are read with TextToFloat and
// compared as numbers; otherwise as text (unsigned bytes, case-sensitive). An
// empty or blank condition holds for every record.
//
// The count and calculate loops walk the records from..to (clamped to the table)
// by number: they read the table and never move its cursor or change it.

#include <string>

#include "TQor2.h"
#include "TReal48.h"
#include "TStatus.h"

class TExpression {
 public:
  // Reads `condition` against the fields of `table` once; the table must keep its
  // fields while the expression is used.
  TExpression(const TQor2& table, const std::string& condition);

  bool Test(const TQor2& table, int recNo) const;
  // Ok, or why the condition holds for no record whatever the table holds.
  const TStatus& Status() const { return status_; }

 private:
  enum class Kind { kAlways, kNever, kText, kFloat };
  Kind kind_ = Kind::kNever;
  int fieldNo_ = 0;
  std::string op_;
  std::string value_;
  Extended number_ = 0;
  TStatus status_;
};

// The condition on the current record.
bool Expression(const TQor2& table, const std::string& condition);

// Records from..to (clamped to 1..RecordCount) that satisfy the condition.
int CountRecords(const TQor2& table, const TExpression& condition, int from, int to);
int CountRecords(const TQor2& table, const std::string& condition, int from, int to);

enum class TCalcOperation { kSomme = 1, kMoyenne, kMinimum, kMaximum };

struct TCalculation {
  int count = 0;   // records that satisfied the condition
  TReal48 result;  // the sum, average, minimum or maximum; 0 when none counted
  // The running value left the 6-byte range: result and count stop there.
  bool overflow = false;
};

// Sum, average, minimum or maximum of `field` (its values read with TextToFloat;
// a missing field reads as 0) over the records from..to that satisfy the
// condition. The running value is a 6-byte real, rounded after every step. An
// average over no record gives count 0 and result 0, never a division by zero.
TCalculation CalculateField(const TQor2& table, const TExpression& condition,
                            const std::string& field, TCalcOperation operation, int from, int to);
TCalculation CalculateField(const TQor2& table, const std::string& condition,
                            const std::string& field, TCalcOperation operation, int from, int to);
