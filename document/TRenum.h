#pragma once
// TRenum: the "Renommer champ" dialog, which edits one field's name and type.
// Init shows a name and a type; "OK" (also Enter in the type box) confirms and
// closes, "Annuler" or Escape closes without an answer. The name box takes
// letters and digits only (TNameEdit) and is upper-cased (a to z) when it loses
// the focus, and again on "OK", so a confirmed name is always upper-case. The
// type text is given back exactly as typed. Built in code so that a test can
// fill it and press its buttons.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class TNameEdit;

class TRenum : public QDialog {
  Q_OBJECT

 public:
  explicit TRenum(QWidget* parent = nullptr);

  void Init(const QString& name, const QString& type);
  // The name when confirmed, with the type in `type`; an empty name otherwise,
  // and then `type` is left as it was.
  QString Result(QString& type) const;

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"
  void Edit1Exit();     // the name box lost the focus

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  TNameEdit* Edit1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool confirmed_ = false;
};
