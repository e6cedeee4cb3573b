#pragma once
// TCompter: the "Compter" dialog: the range of records ("Portée": "De", "A")
// and a condition typed as a field name directly followed by an operator and a
// value (Ville=Paris, Age>=18). Choosing a field name ("Champ") or pressing an
// operator button inserts it into the condition at the caret, in place of the
// selected text; the user types the value. "OK" (also Enter) confirms,
// "Annuler" or Escape not. TCalcul adds the field to calculate and the
// operation.
//
// With a check set, "OK" first asks it: a condition it refuses is not taken;
// the warning "Impossible de compter : <why>" ("de calculer" in TCalcul), with
// the operators accepted when the operator is at fault, is shown and the
// dialog stays open on the condition.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

#include "TStatus.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class QVBoxLayout;

class TCompter : public QDialog {
  Q_OBJECT

 public:
  explicit TCompter(QWidget* parent = nullptr);

  struct TAnswer {
    QString condition;  // may be empty
    int from = 0;
    int to = 0;
  };

  void Init(int from, int to, const QStringList& fieldNames);
  // The condition and the range when "OK" was pressed, nothing otherwise.
  std::optional<TAnswer> Result() const;
  // Ok, or why a condition typed cannot be counted on.
  void SetCheck(std::function<TStatus(const QString& condition)> check) {
    check_ = std::move(check);
  }

  void ComboBox1Change(int index);        // the chosen name into the condition
  void OperatorClick(const QString& op);  // SpeedButton1Click .. SpeedButton5Click
  void Button1Click();                    // "Annuler"
  void Button2Click();                    // "OK"

  QGroupBox* GroupBox1 = nullptr;       // "Portée"
  QLabel* Label1 = nullptr;             // "De"
  QSpinBox* SpinEdit1 = nullptr;        // the first record of the range
  QLabel* Label2 = nullptr;             // "A"
  QSpinBox* SpinEdit2 = nullptr;        // the last record of the range
  QLabel* FieldLabel = nullptr;         // "Champ"
  QComboBox* ComboBox1 = nullptr;       // the field names, one inserted when chosen
  QGroupBox* GroupBox2 = nullptr;       // "Opérateurs"
  QToolButton* SpeedButton1 = nullptr;  // "="
  QToolButton* SpeedButton2 = nullptr;  // "<"
  QToolButton* SpeedButton3 = nullptr;  // ">"
  QToolButton* SpeedButton4 = nullptr;  // "<="
  QToolButton* SpeedButton5 = nullptr;  // ">="
  QLabel* Label3 = nullptr;             // "Condition"
  QLineEdit* Edit1 = nullptr;           // the condition
  QPushButton* Button1 = nullptr;       // "Annuler"
  QPushButton* Button2 = nullptr;       // "OK"

 protected:
  // For TCalcul: its caption, what it does (for a refusal: "calculer"), and
  // the place above the buttons for its controls.
  TCompter(const QString& caption, const QString& action, QWidget* parent);
  QVBoxLayout* ExtraLayout() const { return extra_; }

 private:
  QString action_;
  QVBoxLayout* extra_ = nullptr;
  std::function<TStatus(const QString&)> check_;
};
