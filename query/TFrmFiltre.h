#pragma once
// TFrmFiltre: the "Filtre" dialog, one condition of the selection filter: a
// field ("Champ", the field names or any typed text), an operator
// ("Opérateur": "=", "LIKE", "<", ">", "<=", ">=" or any typed text) and a
// value ("Valeur"). "OK" (also Enter) confirms, "Annuler" or Escape not. A
// filter with no operator yet is offered "=". The condition comes and goes in
// Windows-1252 bytes, as the table holds it; the operator loses the blanks
// typed around it.
//
// With a check set, "OK" first asks it: a condition it refuses is not taken;
// the warning "Impossible de filtrer : <why>" (with the operators accepted
// when the operator is at fault) is shown and the dialog stays open on the
// box at fault.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

#include "TCondition.h"
#include "TStatus.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmFiltre : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmFiltre(QWidget* parent = nullptr);

  void Init(const QStringList& fieldNames, const TCondition& filter);
  // The condition when "OK" was pressed (its field may be empty), nothing
  // otherwise.
  std::optional<TCondition> Result() const;
  // Ok, or why a condition typed cannot be the filter.
  void SetCheck(std::function<TStatus(const TCondition&)> check) { check_ = std::move(check); }

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"

  QLabel* Label1 = nullptr;        // "Champ"
  QLabel* Label2 = nullptr;        // "Opérateur"
  QLabel* Label3 = nullptr;        // "Valeur"
  QComboBox* ComboBox1 = nullptr;  // the field
  QComboBox* ComboBox2 = nullptr;  // the operator
  QLineEdit* Edit1 = nullptr;      // the value
  QPushButton* Button1 = nullptr;  // "Annuler"
  QPushButton* Button2 = nullptr;  // "OK"

 private:
  TCondition Typed() const;

  std::function<TStatus(const TCondition&)> check_;
};
