#pragma once
// TFindDlg: the "Rechercher" dialog: a search text, the field to search (a list
// of the table's field names that also takes typed text) and the option "Mot
// entier". Init shows the last criteria; a final "*" of the value, which the
// find command adds for a prefix search, is not shown. "OK" (also Enter in the
// search box) confirms and closes, "Annuler" or Escape closes without an answer.
// Built in code so that a test can fill it and press its buttons.

#include <QDialog>
#include <QStringList>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFindDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TFindDlg(QWidget* parent = nullptr);

  struct TAnswer {
    QString text;  // as typed, without the "*" of a prefix search
    QString field;
    bool wholeWord = false;
  };

  void Init(const QString& value, const QString& field, const QStringList& fieldNames,
            bool wholeWord);
  // The answers when "OK" closed the dialog (the text may be empty), nothing
  // otherwise.
  std::optional<TAnswer> Result() const;

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"

  QLabel* Label1 = nullptr;        // "Rechercher"
  QLineEdit* Edit1 = nullptr;      // the text to find
  QComboBox* ComboBox1 = nullptr;  // the field to search
  QCheckBox* CheckBox1 = nullptr;  // "Mot entier"
  QPushButton* Button1 = nullptr;  // "Annuler"
  QPushButton* Button2 = nullptr;  // "OK"
};
