#pragma once
// TEnreg: the "Aller à un enregistrement" dialog. Init proposes a record number;
// "OK" confirms and closes, "Annuler" (or Escape) closes without an answer.
// Result() is the number shown when "OK" was pressed, nothing otherwise. The spin box
// has no bounds of its own: the caller decides what a number outside the table
// means. Built in code so that a test can fill it and press its buttons.

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;

class TEnreg : public QDialog {
  Q_OBJECT

 public:
  explicit TEnreg(QWidget* parent = nullptr);

  void Init(int proposed);
  std::optional<int> Result() const;

  QLabel* Label1 = nullptr;             // "Enregistrement N°"
  QSpinBox* SpinEdit1 = nullptr;        // the record number, without bounds
  QPushButton* OkButton = nullptr;      // "OK"
  QPushButton* CancelButton = nullptr;  // "Annuler"
};
