#pragma once
// TCreEdt: the "Champ texte" dialog of the form designer: the field a text
// field is bound to, chosen from the table's field names (typing cannot make
// up another name; a name given to Init that is no longer a field is shown as
// it is), its width and its position. A screen reader announces the field box
// by its label, "Nom du champ", and the field chosen as its value.

#include <QStringList>
#include <optional>

#include "TElementDialog.h"

class QComboBox;
class QSpinBox;

class TCreEdt : public TElementDialog {
 public:
  struct TAnswer {
    QString name;
    int width = 0, top = 0, left = 0;
  };

  explicit TCreEdt(QWidget* parent = nullptr);

  void Init(const QStringList& fieldNames, const QString& name, int top, int left, int width);
  // The answers when confirmed.
  std::optional<TAnswer> Result() const;

  QComboBox* ComboBox1 = nullptr;  // "Nom du champ"
  QSpinBox* SpinEdit1 = nullptr;   // "Largeur"
  QSpinBox* SpinEdit2 = nullptr;   // "Pos. X"
  QSpinBox* SpinEdit3 = nullptr;   // "Pos. Y"
};
