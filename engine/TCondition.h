#pragma once
// TCondition: one condition on one field of a record, as the selection filter,
// find and replace and the envelope selection give it: a field name, an
// operator ("<", ">", "=", "<=", ">=", or "LIKE" in any case for a wildcard
// pattern) and a value, all Windows-1252 bytes. TQor2::MatchText and FindNext
// test a record against one; a field the table does not have reads as an
// empty value, and an empty or unknown operator matches nothing.

#include <string>

struct TCondition {
  std::string Field;
  std::string Operator;
  std::string Value;

  bool operator==(const TCondition& other) const {
    return Field == other.Field && Operator == other.Operator && Value == other.Value;
  }
  bool operator!=(const TCondition& other) const { return !(*this == other); }
};
