#include "TCalculator.h"

#include <cmath>

#include "TFloatText.h"

namespace {

QString ZeroDivide() {
  return QStringLiteral("Division flottante par zéro");
}
QString InvalidOperation() {
  return QStringLiteral("Opération flottante incorrecte");
}
QString Overflow() {
  return QStringLiteral("Débordement flottant");
}

}  // namespace

bool TCalculator::IsKey(QChar key) {
  static const QString keys = QStringLiteral("0123456789,.=+-*/XxSsCc");
  return !key.isNull() && keys.contains(key);
}

void TCalculator::Clear() {
  display_.clear();
  accumulator_ = TReal48();
  pending_ = QChar();
  hasAccumulator_ = false;
}

QString TCalculator::Press(QChar key) {
  if (!IsKey(key)) return QString();
  const char c = static_cast<char>(key.toUpper().unicode());
  switch (c) {
    case ',':
    case '.':
      // Appended whatever the display holds: after a result the comma joins it,
      // and the next digit starts a new number.
      display_ += QLatin1Char(',');
      return QString();
    case '=':
      return Evaluate();
    case '+':
    case '-':
    case '*':
    case '/': {
      const QString error = Evaluate();
      if (error.isEmpty()) pending_ = key;
      return error;
    }
    case 'X':
      return Unary(false);
    case 'S':
      return Unary(true);
    case 'C':
      Clear();
      return QString();
    default:  // a digit
      if (newEntry_) display_.clear();
      display_ += key;
      newEntry_ = false;
      return QString();
  }
}

QString TCalculator::ReadDisplay(TReal48& out) const {
  double x = 0;
  if (!TFloatText::Read(display_, x))
    return QStringLiteral("'%1' n'est pas une valeur flottante correcte").arg(display_);
  if (!TReal48::FromDouble(x, out)) return Overflow();
  return QString();
}

QString TCalculator::Evaluate() {
  if (!hasAccumulator_) {
    // The first number of a calculation; a display that is no number is
    // silently emptied, and no pending operator is applied.
    double x = 0;
    if (!TFloatText::Read(display_, x)) {
      display_.clear();
      return QString();
    }
    if (!TReal48::FromDouble(x, accumulator_)) return Overflow();
    hasAccumulator_ = true;
    newEntry_ = true;
    return QString();
  }
  TReal48 operand;
  const QString error = ReadDisplay(operand);
  if (!error.isEmpty()) return error;
  const double a = accumulator_.Value();
  const double b = operand.Value();
  double result = a;
  switch (pending_.unicode()) {
    case '+':
      result = a + b;
      break;
    case '-':
      result = a - b;
      break;
    case '*':
      result = a * b;
      break;
    case '/':
      if (b == 0) return a == 0 ? InvalidOperation() : ZeroDivide();
      result = a / b;
      break;
    default:
      break;
  }
  TReal48 stored;
  if (!TReal48::FromDouble(result, stored)) return Overflow();
  accumulator_ = stored;
  display_ = TFloatText::Write(stored.Value(), TFloatText::kRealDigits);
  newEntry_ = true;
  return QString();
}

QString TCalculator::Unary(bool squareRoot) {
  TReal48 operand;
  const QString error = ReadDisplay(operand);
  if (!error.isEmpty()) return error;
  const double x = operand.Value();
  if (squareRoot && x < 0) return InvalidOperation();
  if (!squareRoot && x == 0) return ZeroDivide();
  const double result = squareRoot ? std::sqrt(x) : 1 / x;
  TReal48 stored;
  if (!TReal48::FromDouble(result, stored)) return Overflow();
  accumulator_ = stored;
  hasAccumulator_ = true;
  display_ = TFloatText::Write(result, TFloatText::kRealDigits);
  newEntry_ = true;
  return QString();
}
