#pragma once
// TFrmFiltre: the "Filtre" dialog, one condition of the selection filter: a
// field ("Champ", the field names or any typed text), an operator
// ("Opérateur": "=", "LIKE", "<", ">", "<=", ">=" or any typed text) and a
// value ("Valeur"). "OK" (also Enter on it) confirms, "Annuler" or Escape not.

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmFiltre : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmFiltre(QWidget* parent = nullptr);

  void Init(const QStringList& fieldNames, const QString& field, const QString& op,
            const QString& value);
  // The field when "OK" was pressed, with the operator and the value; an empty
  // field otherwise, and then `op` and `value` are left as they were.
  QString Result(QString& op, QString& value) const;

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  bool confirmed_ = false;
};
