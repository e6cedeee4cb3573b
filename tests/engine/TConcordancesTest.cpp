#include <gtest/gtest.h>

#include "TQor2.h"

namespace {

// The matcher as a table sets it up for LIKE.
TConcordances LikeMatcher() {
  return TQor2().Matcher;
}

struct Case {
  const char* pattern;
  const char* value;
  bool match;
};

void Check(const TConcordances& m, std::initializer_list<Case> cases) {
  for (const Case& c : cases)
    EXPECT_EQ(m.Matches(c.pattern, c.value), c.match)
        << "pattern '" << c.pattern << "' value '" << c.value << "'";
}

TEST(Concordances, LikeSettings) {
  const TConcordances m = LikeMatcher();
  EXPECT_FALSE(m.CaseSensitive);
  EXPECT_TRUE(m.KeepSpaces);
  EXPECT_TRUE(m.UseWildcards);
  Check(m, {
               {"dup*", "Dupont", true},
               {"dup*", "DUPONT", true},
               {"\xE9t\xE9*", "\xC9T\xC9", false},  // only a to z change case
               {"a b", "A B", true},
               {"ab", "a b", false},
           });
}

TEST(Concordances, StarStopsAtFirstOccurrence) {
  const TConcordances m = LikeMatcher();
  Check(m, {
               {"*a", "ba", true},
               {"*a", "banana", false},  // no backtracking: characters left over
               {"*an*", "banana", true},
               {"*", "", true},
               {"*?", "", false},
               {"*?", "x", true},
               {"**", "", false},    // a second star needs one character
               {"*?b", "b", false},  // the run needs one skipped character
               {"*?b", "ab", true},
               {"*[ab]", "x[ab", false},  // "[" after a star is literal, then "ab]" ...
               {"*[", "x[", true},
               {"a*", "a", true},
           });
}

TEST(Concordances, SingleCharacterElements) {
  const TConcordances m = LikeMatcher();
  Check(m, {
               {"??", "ab", true},
               {"??", "a", false},
               {"??", "abc", false},
               {"#3", "13", true},
               {"#3", "a3", false},
               {"", "", true},
               {"", "a", false},
               {"a", "", false},
           });
}

TEST(Concordances, Sets) {
  const TConcordances m = LikeMatcher();
  Check(m, {
               {"[a-c]x", "ax", true},
               {"[a-c]x", "bx", true},
               {"[a-c]x", "cx", true},
               {"[a-c]x", "dx", false},
               {"[!a-c]x", "dx", true},
               {"[!a-c]x", "ax", false},
               {"[-a]", "-", true},
               {"[-a]", "a", true},
               {"[-a]", "b", false},
               {"[c-a]", "c", true},  // a range going down adds only its first end
               {"[c-a]", "b", false},
               {"[a!]", "!", true},
               {"[ab", "a", false},  // an open set tests nothing; "a" is left over
               {"[ab", "", true},
           });
}

TEST(Concordances, StarBeforeDigitSkipsDigits) {
  const TConcordances m = LikeMatcher();
  Check(m, {
               {"*#", "12a", true},
               {"*#", "123", false},  // needs a non-digit after the digits
               {"*?#", "a", false},
           });
}

TEST(Concordances, SettingsNormalise) {
  TConcordances exact;  // defaults: case-sensitive, spaces kept, no wildcards
  EXPECT_TRUE(exact.Matches("a*", "a*"));
  EXPECT_FALSE(exact.Matches("a*", "ab"));
  EXPECT_FALSE(exact.Matches("A", "a"));
  TConcordances sql;
  sql.CaseSensitive = false;
  sql.KeepSpaces = false;
  sql.UseWildcards = true;
  EXPECT_TRUE(sql.Matches("jean pierre*", "JeanPierre Dupont"));
  std::string s = " a b ";
  TConcordances::RemoveBlanks(s);
  EXPECT_EQ(s, "ab");
}

}  // namespace
