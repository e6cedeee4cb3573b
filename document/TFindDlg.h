#pragma once
// TFindDlg: the "Rechercher" dialog: a search text, the field to search (a list
// of the table's field names that also takes typed text) and the option "Mot
// entier". Init shows the last criteria; a final "*" of the value, which the
// find command adds for a prefix search, is not shown. "OK" (also Enter in the
// search box) confirms and closes, "Annuler" or Escape closes without an answer.
// Built in code so that a test can fill it and press its buttons.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFindDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TFindDlg(QWidget* parent = nullptr);

  void Init(const QString& value, const QString& field, const QStringList& fieldNames,
            bool wholeWord);
  // The search text when confirmed, with the field and the option in `field` and
  // `wholeWord`; an empty text otherwise, and then both are left as they were.
  QString Result(QString& field, bool& wholeWord) const;

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"

  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;  // "Mot entier"
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  bool confirmed_ = false;
};
