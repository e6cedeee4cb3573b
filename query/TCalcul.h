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

  void Init(int from, int to, const QStringList& fieldNames, const QStringList& floatFieldNames);
  // The field to calculate when "OK" was pressed, with the range, the condition
  // and the operation (1 "Somme", 2 "Moyenne", 3 "Minimum", 4 "Maximum"); an
  // empty text otherwise, and then the others are left as they were.
  QString Result(int& from, int& to, QString& condition, int& operation) const;

  QLabel* Label4 = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  QButtonGroup* Operations = nullptr;  // ids 1 to 4
};
