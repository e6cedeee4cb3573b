#pragma once
// TCompter: the "Compter" dialog: the range of records ("Portée": "De", "A")
// and a condition typed as a field name directly followed by an operator and a
// value (Ville=Paris, Age>=18). Choosing a field name ("Champ") or pressing an
// operator button inserts it into the condition at the caret, in place of the
// selected text; the user types the value. "OK" confirms, "Annuler" or Escape
// not. TCalcul adds the field to calculate and the operation.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

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
  // For TCalcul: its caption, and the place above the buttons for its controls.
  TCompter(const QString& caption, QWidget* parent);
  QVBoxLayout* ExtraLayout() const { return extra_; }

 private:
  QVBoxLayout* extra_ = nullptr;
};
