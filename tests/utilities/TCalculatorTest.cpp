// The pocket calculator's rules, key by key, as the user sees the display.

#include <gtest/gtest.h>

#include "PrintQString.h"
#include "TCalculator.h"

namespace {

// Presses the keys in order and returns the display; the messages of failed
// steps go to `errors`.
QString Keys(TCalculator& c, const char* keys, QStringList* errors = nullptr) {
  for (const char* k = keys; *k; ++k) {
    const QString error = c.Press(QLatin1Char(*k));
    if (!error.isEmpty()) {
      if (errors)
        *errors << error;
      else
        ADD_FAILURE() << "unexpected: " << error.toStdString();
    }
  }
  return c.Display();
}

TEST(TCalculator, EvaluatesLeftToRightAndRepeatsTheLastOperator) {
  TCalculator c;
  EXPECT_EQ(Keys(c, "2+3*4="), "20");
  EXPECT_EQ(Keys(c, "C2+3=="), "10");
  // An operator on an empty display only sets the operator.
  EXPECT_EQ(Keys(c, "C+"), "");
  EXPECT_EQ(Keys(c, "5="), "5");
  // A comma joins the shown result; the next digit starts a new number.
  EXPECT_EQ(Keys(c, "C2+3=,"), "5,");
  EXPECT_EQ(Keys(c, "5="), "10");
  EXPECT_EQ(Keys(c, "C7.5+1="), "8,5");
}

TEST(TCalculator, ReciprocalAndRootReplaceTheAccumulator) {
  TCalculator c;
  // 1/x shows its own result and drops the 5; "=" then adds the shown value
  // (eleven digits) to the rounded reciprocal.
  EXPECT_EQ(Keys(c, "5+3x"), "0,33333333333");
  EXPECT_EQ(Keys(c, "="), "0,66666666666");
  EXPECT_EQ(Keys(c, "C2s"), "1,4142135624");
  EXPECT_EQ(Keys(c, "C200000x"), "5E-6");
}

// The 6-byte format holds about twelve digits, its rounding noise beyond:
// results show eleven, trailing zeros dropped.
TEST(TCalculator, ResultsShowElevenSignificantDigits) {
  TCalculator c;
  EXPECT_EQ(Keys(c, "0,1+0,2="), "0,3");
  EXPECT_EQ(Keys(c, "C1,5+0,55="), "2,05");
  EXPECT_EQ(Keys(c, "C2+0,05="), "2,05");
  EXPECT_EQ(Keys(c, "C10/3="), "3,3333333333");
  EXPECT_EQ(Keys(c, "C2/3="), "0,66666666667");
  EXPECT_EQ(Keys(c, "C123456789*100="), "12345678900");
  EXPECT_EQ(Keys(c, "C123456789*1000="), "1,23456789E11");
  // A zero after the comma does not cut the result short.
  EXPECT_EQ(Keys(c, "C2+0,0625="), "2,0625");
  EXPECT_EQ(Keys(c, "C0,00003/2="), "1,5E-5");
  // Below the format's smallest magnitude a result becomes 0.
  EXPECT_EQ(Keys(c, "C0,0000000001*=="), "0");
}

TEST(TCalculator, AFailedStepChangesNothing) {
  TCalculator c;
  QStringList errors;
  EXPECT_EQ(Keys(c, "5/0=", &errors), "0");
  EXPECT_EQ(errors, QStringList{"Division flottante par zéro"});
  EXPECT_EQ(Keys(c, "2="), "2,5");  // 5 / 02: the 5 and the "/" were kept

  errors.clear();
  EXPECT_EQ(Keys(c, "C0x", &errors), "0");
  EXPECT_EQ(Keys(c, "C0/0=", &errors), "0");
  EXPECT_EQ(Keys(c, "C2-5=s", &errors), "-3");
  EXPECT_EQ(Keys(c, "C1+2,,5=", &errors), "2,,5");
  EXPECT_EQ(Keys(c, "C99999999999999999999*=", &errors), "99999999999999999999");
  EXPECT_EQ(Keys(c, "C,x", &errors), ",");
  EXPECT_EQ(errors,
            (QStringList{"Division flottante par zéro", "Opération flottante incorrecte",
                         "Opération flottante incorrecte",
                         "'2,,5' n'est pas une valeur flottante correcte", "Débordement flottant",
                         "',' n'est pas une valeur flottante correcte"}));
  // After a refused root, -3 is still there to work with.
  EXPECT_EQ(Keys(c, "C2-5=s", &errors), "-3");
  EXPECT_EQ(Keys(c, "x"), "-0,33333333333");
}

}  // namespace
