#include "TQueryCommands.h"

#include <QStringList>
#include <functional>

#include "AnsiCodec.h"
#include "French.h"
#include "IServices.h"
#include "TCalcul.h"
#include "TCompter.h"
#include "TDocument.h"
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

// Without a field the filter keeps its own.
TCondition WithField(TCondition condition, const TCondition& filter) {
  if (condition.Field.empty()) condition.Field = filter.Field;
  return condition;
}

// The check of the count and calculate dialogs: a condition they can read.
std::function<TStatus(const QString&)> ConditionCheck(const TQor2& table) {
  return
      [&table](const QString& condition) { return TExpression(table, ToAnsi(condition)).Status(); };
}

}  // namespace

void TQueryCommands::Requete(TDocument& doc, QWidget* owner) {
  TSql window(owner);
  window.Init(doc.Table());
  Services().RunDialog(window);
}

void TQueryCommands::Interrogation(const TDocument& doc, QWidget* owner) {
  TQbe window(owner);
  window.Init(doc.Table());
  Services().RunDialog(window);
}

bool TQueryCommands::Filtre(TDocument& doc) {
  std::optional<TCondition> answer;
  {
    TFrmFiltre dialog;
    dialog.Init(FieldNames(doc.Table()), doc.Filter());
    // A filter that could only ever show nothing is refused.
    dialog.SetCheck([&doc](const TCondition& typed) {
      return doc.Table().CheckCondition(WithField(typed, doc.Filter()));
    });
    Services().RunDialog(dialog);
    answer = dialog.Result();
  }
  if (!answer) return false;
  doc.SetFilter(WithField(*answer, doc.Filter()));
  return !answer->Field.empty();
}

void TQueryCommands::Compte(const TDocument& doc) {
  const TQor2& table = doc.Table();
  std::optional<TCompter::TAnswer> answer;
  {
    TCompter dialog;
    dialog.Init(1, table.RecordCount(), FieldNames(table));
    dialog.SetCheck(ConditionCheck(table));
    Services().RunDialog(dialog);
    answer = dialog.Result();
  }
  if (!answer || answer->condition.trimmed().isEmpty()) return;
  int n;
  {
    THourglass hourglass;
    n = CountRecords(table, ToAnsi(answer->condition), answer->from, answer->to);
  }
  Services().Message(answer->condition + QStringLiteral(" : ") + QString::number(n) +
                     (n > 1 ? QStringLiteral(" enregistrements comptés")
                            : QStringLiteral(" enregistrement compté")));
}

void TQueryCommands::Calculer(const TDocument& doc) {
  const TQor2& table = doc.Table();
  const QStringList numeric = FieldNames(table, true);
  if (numeric.isEmpty()) {
    Services().Message(
        QStringLiteral("Cette table n'a aucun champ numérique (de type FLOAT) : rien à calculer."));
    return;
  }
  std::optional<TCalcul::TCalcAnswer> answer;
  {
    TCalcul dialog;
    dialog.Init(1, table.RecordCount(), FieldNames(table), numeric);
    dialog.SetCheck(ConditionCheck(table));
    Services().RunDialog(dialog);
    answer = dialog.Result();
  }
  if (!answer || answer->field.isEmpty()) return;
  const int operation = answer->operation;
  const auto op = static_cast<TCalcOperation>(operation >= 1 && operation <= 4 ? operation : 1);
  const QString& condition = answer->range.condition;
  TCalculation c;
  {
    THourglass hourglass;
    c = CalculateField(table, ToAnsi(condition), ToAnsi(answer->field), op, answer->range.from,
                       answer->range.to);
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
