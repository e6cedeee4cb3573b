#pragma once
// TFrmFiltre: the "Filtre" dialog, one condition of the selection filter: a
// field ("Champ", the field names or any typed text), an operator
// ("Opérateur": "=", "LIKE", "<", ">", "<=", ">=" or any typed text) and a
// value ("Valeur"). "OK" (also Enter on it) confirms, "Annuler" or Escape not.
// The condition comes and goes in Windows-1252 bytes, as the table holds it.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

#include "TCondition.h"

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
};
