#pragma once
// TQbeQuery: the query by example: one condition typed under each chosen
// field, all of them joined by AND, and the chosen fields of every record that
// satisfies them all.
//
// A condition (blanks at both ends removed; an empty one is no condition)
// begins with its operator: "<=", ">=", "<", "=", ">", or "LIKE" in any case;
// without one it means "=" and the whole text. The value after the operator is
// at most 255 bytes, blanks at both ends removed. Quotes: every single quote
// becomes a double quote; a value holding one keeps only the text after the
// first, and of that only the text before the next, so 'Saint Jean ', "Saint
// Jean " and a bare value mean the same and spaces inside quotes stay.
//
// On a "FLOAT" field the value is read with TextToFloat and compared as a number
// ("LIKE" matches nothing there); otherwise as text, with "LIKE" a wildcard
// match (the engine's MatchText). A field the table lacks reads as ''.

#include <string>
#include <vector>

#include "TQor2.h"

class TQbeQuery {
 public:
  struct TCriterion {
    std::string field;
    std::string condition;
  };

  // Clears `result`, gives it one column per criterion (a blank or repeated name
  // adds none), then appends the records of `source` that satisfy every
  // condition, in table order. Moves the cursor of `source`, nothing else.
  static void Run(TQor2& source, const std::vector<TCriterion>& criteria, TQor2& result);

  // The operator and the value of a condition (already without blanks around).
  static void SplitCondition(const std::string& condition, std::string& op, std::string& value);
};
