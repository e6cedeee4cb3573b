#pragma once
// TRenum: the "Renommer champ" dialog, which edits one field's name and type.
// Init shows a name and a type; "OK" (also Enter in the type box) confirms and
// closes, "Annuler" or Escape closes without an answer. The name box takes
// letters and digits only (TNameEdit) and is upper-cased (a to z) when it loses
// the focus, and again on "OK", so a confirmed name is always upper-case. The
// type text is given back exactly as typed. Built in code so that a test can
// fill it and press its buttons.

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class TNameEdit;

class TRenum : public QDialog {
  Q_OBJECT

 public:
  explicit TRenum(QWidget* parent = nullptr);

  struct TAnswer {
    QString name;
    QString type;
  };

  void Init(const QString& name, const QString& type);
  // The name and the type when "OK" closed the dialog, nothing otherwise.
  std::optional<TAnswer> Result() const;

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"
  void Edit1Exit();     // the name box lost the focus

  QLabel* Label1 = nullptr;        // "Nom"
  QLabel* Label2 = nullptr;        // "Type"
  TNameEdit* Edit1 = nullptr;      // the field's name
  QComboBox* ComboBox1 = nullptr;  // the field's type, "STRING" or "FLOAT" or typed
  QPushButton* Button1 = nullptr;  // "Annuler"
  QPushButton* Button2 = nullptr;  // "OK"

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
