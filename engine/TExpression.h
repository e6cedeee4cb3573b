#pragma once
// TExpression: the condition typed for counting and calculating: a field name
// directly followed by an operator and a value, such as Ville=Paris or Age>=18.
//
// Reading the text: the first "=", "<" or ">" ends the field name (spaces
// included, so "Nom = x" names the field "Nom " and no field at all). The value
// is at most 255 bytes after that character. When it begins with "=" the
// operator gains it ("<=", ">=", or "==", which compares nothing), and then a
// value that holds a single or double quote is the text between its first two
// quotes (all after the first when there is no second): Nom>='D' means D. With
// a one-character operator the value is taken as typed, so Nom=O'Neil works.
// "<>" and "LIKE" are not operators here.
//
// Testing a record: on a "FLOAT" field both sides are read with TextToFloat and
// compared as numbers; otherwise as text (unsigned bytes, case-sensitive). A
// field the table lacks reads as ''. An empty condition holds for every record;
// a text without an operator for none.
//
// The count and calculate loops walk the records from..to (clamped to the table)
// by number: they read the table and never move its cursor or change it.

#include <string>

#include "TQor2.h"
#include "TReal48.h"

class TExpression {
 public:
  // Reads `condition` against the fields of `table` once; the table must keep its
  // fields while the expression is used.
  TExpression(const TQor2& table, const std::string& condition);

  bool Test(const TQor2& table, int recNo) const;

 private:
  enum class Kind { kAlways, kNever, kText, kFloat };
  Kind kind_ = Kind::kNever;
  int fieldNo_ = 0;
  std::string op_;
  std::string value_;
  Extended number_ = 0;
};

// The condition on the current record.
bool Expression(const TQor2& table, const std::string& condition);

// Records from..to (clamped to 1..RecordCount) that satisfy the condition.
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
TCalculation CalculateField(const TQor2& table, const std::string& condition,
                            const std::string& field, TCalcOperation operation, int from, int to);
