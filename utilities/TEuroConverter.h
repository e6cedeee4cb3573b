#pragma once
// TEuroConverter: the rules of the euro converter, with no widget.
//
// The rate is the number of francs for one euro in hundred-thousandths (655957 at
// creation, never below 1). Converting reads the input, keeps it and the
// intermediate amount in the 6-byte real format (TReal48), and rounds the result
// half to even: euros to the cent, francs to the tenth of a franc (the francs of
// 1 euro show as 6,6). A result is shown without trailing zeros ("15,24", "2").
// An input that is not a number, or an amount beyond the format, empties both
// displays without a message.

#include <QChar>
#include <QString>

class TEuroConverter {
 public:
  enum TDirection { FrancsToEuros, EurosToFrancs };

  // A digit or "," (also "."); after a result both displays are emptied first.
  void Type(QChar key);
  void Convert();
  // Shown again: the next key starts a new input, and the result stays until then.
  void Activate() { resultShown_ = false; }

  void RateUp() { ++rate_; }
  void RateDown() { rate_ = rate_ > 1 ? rate_ - 1 : 1; }
  long long Rate() const { return rate_; }
  QString RateText() const;  // francs for one euro: "6,55957"

  void SetDirection(TDirection direction) { direction_ = direction; }
  TDirection Direction() const { return direction_; }

  const QString& Input() const { return input_; }
  const QString& Result() const { return result_; }

 private:
  bool Compute(double& result) const;

  QString input_;
  QString result_;
  long long rate_ = 655957;
  TDirection direction_ = FrancsToEuros;
  bool resultShown_ = false;
};
