#include "TEuroConverter.h"

#include <cmath>

#include "TFloatText.h"
#include "TReal48.h"

void TEuroConverter::Type(QChar key) {
  if (key == QLatin1Char('.')) key = QLatin1Char(',');
  const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
  if (key != QLatin1Char(',') && !digit) return;
  if (resultShown_) {
    input_.clear();
    result_.clear();
    resultShown_ = false;
  }
  input_ += key;
}

QString TEuroConverter::RateText() const {
  return TFloatText::Write(static_cast<double>(rate_) / 100000);
}

bool TEuroConverter::Compute(double& result) const {
  double typed = 0;
  TReal48 x;
  if (!TFloatText::Read(input_, typed) || !TReal48::FromDouble(typed, x)) return false;
  const double rate = static_cast<double>(rate_);
  const bool toEuros = direction_ == FrancsToEuros;
  // To euros: the amount itself, then cents. To francs: a tenth of the amount,
  // then tenths of a franc.
  const double amount = toEuros ? x.Value() * 100000 / rate : x.Value() * rate * 0.000001;
  if (!TReal48::FromDouble(amount, x)) return false;
  const double units = std::nearbyint(x.Value() * 100);  // halves to even
  if (!(std::fabs(units) < 9.2e18)) return false;        // beyond a whole count
  result = toEuros ? units / 100 : units / 10;
  return true;
}

void TEuroConverter::Convert() {
  double result = 0;
  if (!Compute(result)) {
    input_.clear();
    result_.clear();
    resultShown_ = false;
    return;
  }
  result_ = TFloatText::Write(result, TFloatText::kRealDigits);
  resultShown_ = true;
}
