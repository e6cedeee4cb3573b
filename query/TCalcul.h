#pragma once
// TCalcul: the "Calculer" dialog: TCompter's range and condition, plus the
// field to calculate ("Champ à calculer", the "FLOAT" fields) and the operation
// ("Opération": "Somme", chosen at first, "Moyenne", "Minimum", "Maximum").

#include <QStringList>

#include "TCompter.h"

class QButtonGroup;
class QRadioButton;

class TCalcul : public TCompter {
  Q_OBJECT

 public:
  explicit TCalcul(QWidget* parent = nullptr);

  struct TCalcAnswer {
    TAnswer range;      // the condition and the range
    QString field;      // the field to calculate; may be empty
    int operation = 1;  // 1 "Somme", 2 "Moyenne", 3 "Minimum", 4 "Maximum"
  };

  void Init(int from, int to, const QStringList& fieldNames, const QStringList& floatFieldNames);
  // The answers when "OK" was pressed, nothing otherwise.
  std::optional<TCalcAnswer> Result() const;

  QLabel* Label4 = nullptr;            // "Champ à calculer"
  QComboBox* ComboBox2 = nullptr;      // the "FLOAT" fields
  QGroupBox* RadioGroup1 = nullptr;    // "Opération"
  QButtonGroup* Operations = nullptr;  // its four buttons, ids 1 to 4
};
