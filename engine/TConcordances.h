#pragma once
// TConcordances: decides whether a value matches a pattern, for the LIKE operator
// of the table engine and "~=" of the SQL engine.
//
// Before matching, both texts may lose their spaces (KeepSpaces false) and be
// upper-cased for the letters a to z only (CaseSensitive false). Then they are
// compared exactly, or, with UseWildcards, by one left-to-right scan of the
// pattern without backtracking:
//   ?  any one character        #  one digit        [set] [!set]  one character
//   *  a run: "*" and the "*"/"?" after it; it skips up to the first occurrence
//      of the next pattern character (taken literally) and needs at least as many
//      skipped characters as the run has characters after its first "*".
// In a set, "a-c" is a range, "!" first negates, "]" closes.

#include <string>
#include <string_view>

class TConcordances {
 public:
  bool KeepSpaces = true;
  bool CaseSensitive = true;
  bool UseWildcards = false;

  bool Matches(const std::string& pattern, std::string_view value) const;
  static bool WildcardMatch(const std::string& pattern, std::string_view value);
  static void RemoveBlanks(std::string& s);
};
