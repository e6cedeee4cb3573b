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
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TReplaceDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TReplaceDlg(QWidget* parent = nullptr);

  struct TAnswer {
    QString text;  // as typed, without the "*" of a prefix search
    QString replacement;
    QString field;
    bool replaceAll = false;
    bool wholeWord = false;
  };

  void Init(const QString& value, const QString& replacement, const QStringList& fieldNames,
            bool replaceAll, bool wholeWord, const QString& field);
  // The answers when "OK" closed the dialog (the text may be empty), nothing
  // otherwise.
  std::optional<TAnswer> Result() const;

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"

  QLabel* Label1 = nullptr;        // "Chercher"
  QLabel* Label2 = nullptr;        // "Remplacer par"
  QLineEdit* Edit1 = nullptr;      // the text to find
  QLineEdit* Edit2 = nullptr;      // the replacement
  QComboBox* ComboBox1 = nullptr;  // the field to search
  QCheckBox* CheckBox1 = nullptr;  // "Mot entier"
  QCheckBox* CheckBox2 = nullptr;  // "Remplacer tout"
  QPushButton* Button1 = nullptr;  // "Annuler"
  QPushButton* Button2 = nullptr;  // "OK"
};
