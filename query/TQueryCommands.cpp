#include "TQueryCommands.h"

#include <QStringList>

#include "AnsiCodec.h"
#include "French.h"
#include "IServices.h"
#include "TCalcul.h"
#include "TCompter.h"
#include "TExpression.h"
#include "TFrmFiltre.h"
#include "THourglass.h"
#include "TQbe.h"
#include "TQor2.h"
#include "TSql.h"

namespace {

// The names of the fields, all of them or those of type "FLOAT" only.
QStringList FieldNames(const TQor2& table, bool floatOnly = false) {
  QStringList names;
  for (int i = 1; i <= table.FieldCount(); ++i)
    if (!floatOnly || table.GetFieldType(i) == "FLOAT") names << FromAnsi(table.GetFieldName(i));
  return names;
}

}  // namespace

void TQueryCommands::Requete(TQor2& table, QWidget* owner) {
  TSql window(owner);
  window.Init(table);
  Services().RunDialog(window);
}

void TQueryCommands::Interrogation(const TQor2& table, QWidget* owner) {
  TQbe window(owner);
  window.Init(table);
  Services().RunDialog(window);
}

bool TQueryCommands::Filtre(const TQor2& table, std::string& field, std::string& op,
                            std::string& value) {
  QString chosen, newOp = FromAnsi(op), newValue = FromAnsi(value);
  {
    TFrmFiltre dialog;
    dialog.Init(FieldNames(table), FromAnsi(field), newOp, newValue);
    Services().RunDialog(dialog);
    chosen = dialog.Result(newOp, newValue);
  }
  op = ToAnsi(newOp);
  value = ToAnsi(newValue);
  if (chosen.isEmpty()) return false;
  field = ToAnsi(chosen);
  return true;
}

void TQueryCommands::Compte(const TQor2& table) {
  int from = 1, to = table.RecordCount();
  QString condition;
  {
    TCompter dialog;
    dialog.Init(from, to, FieldNames(table));
    Services().RunDialog(dialog);
    condition = dialog.Result(from, to);
  }
  if (condition.isEmpty()) return;
  int n;
  {
    THourglass hourglass;
    n = CountRecords(table, ToAnsi(condition), from, to);
  }
  Services().Message(condition + QStringLiteral(" : ") + QString::number(n) +
                     (n > 1 ? QStringLiteral(" enregistrements comptés")
                            : QStringLiteral(" enregistrement compté")));
}

void TQueryCommands::Calculer(const TQor2& table) {
  int from = 1, to = table.RecordCount(), operation = 1;
  QString condition, field;
  {
    TCalcul dialog;
    dialog.Init(from, to, FieldNames(table), FieldNames(table, true));
    Services().RunDialog(dialog);
    field = dialog.Result(from, to, condition, operation);
  }
  if (field.isEmpty()) return;
  const auto op = static_cast<TCalcOperation>(operation >= 1 && operation <= 4 ? operation : 1);
  TCalculation c;
  {
    THourglass hourglass;
    c = CalculateField(table, ToAnsi(condition), ToAnsi(field), op, from, to);
  }
  if (c.overflow) {
    Services().Warning(QStringLiteral("Dépassement de capacité"));
  } else if (op != TCalcOperation::kSomme && c.count == 0) {
    // An average, a minimum or a maximum of nothing has no value to show.
    Services().Message(QStringLiteral("Aucun enregistrement ne satisfait la condition"));
  } else {
    static const char* const names[] = {"Somme", "Moyenne", "Minimum", "Maximum"};
    Services().Message(condition + QStringLiteral(" - ") +
                       QLatin1String(names[static_cast<int>(op) - 1]) + QStringLiteral(" : ") +
                       FormatTwoDecimals(c.result.Value()));
  }
}
