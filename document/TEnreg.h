#pragma once
// TEnreg: the "Aller à un enregistrement" dialog. Init proposes a record number;
// "OK" confirms and closes, "Annuler" (or Escape) closes without an answer.
// Result() is the number shown when "OK" was pressed, 0 otherwise. The spin box
// has no bounds of its own: the caller decides what a number outside the table
// means. Built in code so that a test can fill it and press its buttons.

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

class TEnreg : public QDialog {
  Q_OBJECT

 public:
  explicit TEnreg(QWidget* parent = nullptr);

  void Init(int proposed);
  int Result() const;

  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

 private:
  bool confirmed_ = false;
};
