#pragma once
// TCreEdt: the "Champ texte" dialog of the form designer: the field a text
// field is bound to, chosen from the table's field names (typing cannot make
// up another name; a name given to Init that is no longer a field is shown as
// it is), its width and its position.

#include <QStringList>

#include "TElementDialog.h"

class QComboBox;
class QSpinBox;

class TCreEdt : public TElementDialog {
 public:
  explicit TCreEdt(QWidget* parent = nullptr);

  void Init(const QStringList& fieldNames, const QString& name, int top, int left, int width);
  // The field name when confirmed, with the other answers; empty otherwise.
  QString Result(int& width, int& top, int& left) const;

  QComboBox* ComboBox1 = nullptr;  // Nom du champ
  QSpinBox* SpinEdit1 = nullptr;   // Largeur
  QSpinBox* SpinEdit2 = nullptr;   // Pos. X
  QSpinBox* SpinEdit3 = nullptr;   // Pos. Y
};
