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

  void Init(int from, int to, const QStringList& fieldNames);
  // The condition when "OK" was pressed, with the range; an empty text
  // otherwise, and then `from` and `to` are left as they were.
  QString Result(int& from, int& to) const;

  void ComboBox1Change(int index);        // the chosen name into the condition
  void OperatorClick(const QString& op);  // SpeedButton1Click .. SpeedButton5Click
  void Button1Click();                    // "Annuler"
  void Button2Click();                    // "OK"

  QGroupBox* GroupBox1 = nullptr;
  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QLabel* Label2 = nullptr;
  QSpinBox* SpinEdit2 = nullptr;
  QLabel* FieldLabel = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QToolButton* SpeedButton1 = nullptr;  // "="
  QToolButton* SpeedButton2 = nullptr;  // "<"
  QToolButton* SpeedButton3 = nullptr;  // ">"
  QToolButton* SpeedButton4 = nullptr;  // "<="
  QToolButton* SpeedButton5 = nullptr;  // ">="
  QLabel* Label3 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 protected:
  // For TCalcul: its caption, and the place above the buttons for its controls.
  TCompter(const QString& caption, QWidget* parent);
  QVBoxLayout* ExtraLayout() const { return extra_; }
  bool Confirmed() const { return confirmed_; }

 private:
  QVBoxLayout* extra_ = nullptr;
  bool confirmed_ = false;
};
