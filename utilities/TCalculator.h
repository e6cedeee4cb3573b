#pragma once
// TCalculator: the rules of the pocket calculator, driven by key presses, with no
// widget. It evaluates from left to right without precedence: each operator key
// first applies the pending operator, so 2 + 3 * 4 = gives 20, and "=" applies
// the pending operator again to the shown result (2 + 3 = = gives 10).
//
// The display text is the only place where the number being typed is held. The
// accumulator keeps every result rounded to the 6-byte real format (TReal48), and
// results are shown with 11 significant digits, trailing zeros dropped, so that
// the rounding of that format never shows (10 / 3 gives 3,3333333333). "1/x"
// and the square root show their result before that rounding and put the
// rounded value in the accumulator, in place of what it held; the pending
// operator stays.
//
// A step that fails (a display that is not a number, a division by zero, the
// square root of a negative number, a result beyond the format's range) changes
// nothing and gives the French message the user is shown. A result too small for
// the format becomes 0.

#include <QChar>
#include <QString>

#include "TReal48.h"

class TCalculator {
 public:
  TCalculator() { Clear(); }

  // Keys: "0" to "9", "," (also "."), "=", "+", "-", "*", "/", "X" for 1/x, "S"
  // for the square root, "C" to clear; letters in either case.
  static bool IsKey(QChar key);
  // Applies one key; other characters do nothing. Returns the message of a
  // failed step, empty when the step succeeded.
  QString Press(QChar key);
  // Empty display, accumulator 0, no pending operator.
  void Clear();

  const QString& Display() const { return display_; }

 private:
  QString Evaluate();
  QString Unary(bool squareRoot);
  // The display as a number in the format, or the message why it is not one.
  QString ReadDisplay(TReal48& out) const;

  QString display_;
  TReal48 accumulator_;
  QChar pending_;  // '+', '-', '*', '/' or none (null)
  bool hasAccumulator_ = false;
  bool newEntry_ = false;
};
