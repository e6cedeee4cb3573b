#pragma once
// TReplaceDlg: the "Remplacer" dialog: a search text, the replacement, the field
// (a list of the table's field names that also takes typed text) and the options
// "Mot entier" and "Remplacer tout". Init shows the last criteria; a final "*"
// of the value, which the command adds for a prefix search, is not shown. "OK"
// (also Enter in either text box) confirms and closes, "Annuler" or Escape
// closes without an answer. Built in code so that a test can fill it and press
// its buttons.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TReplaceDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TReplaceDlg(QWidget* parent = nullptr);

  void Init(const QString& value, const QString& replacement, const QStringList& fieldNames,
            bool replaceAll, bool wholeWord, const QString& field);
  // The search text when confirmed, with the other answers in the arguments; an
  // empty text otherwise, and then the arguments are left as they were.
  QString Result(QString& replacement, bool& replaceAll, bool& wholeWord, QString& field) const;

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Edit1 = nullptr;  // search text
  QLineEdit* Edit2 = nullptr;  // replacement
  QComboBox* ComboBox1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;  // "Mot entier"
  QCheckBox* CheckBox2 = nullptr;  // "Remplacer tout"
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  bool confirmed_ = false;
};
