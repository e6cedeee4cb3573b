#include "TCalcul.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <iterator>

#include "TDialogParts.h"

TCalcul::TCalcul(QWidget* parent)
    : TCompter(QStringLiteral("Calculer"), QStringLiteral("calculer"), parent) {
  Label4 = new QLabel(QStringLiteral("Champ à calculer"), this);
  ComboBox2 = TDialogParts::BuddyEdit<QComboBox>(Label4, QStringLiteral("ComboBox2"));
  TDialogParts::NameByLabel(ComboBox2, Label4->text());
  ComboBox2->setMinimumContentsLength(16);
  RadioGroup1 = new QGroupBox(QStringLiteral("Opération"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  Operations = new QButtonGroup(this);
  auto* radios = new QVBoxLayout(RadioGroup1);
  const char* const names[] = {"Somme", "Moyenne", "Minimum", "Maximum"};
  for (int i = 0; i < 4; ++i) {
    auto* radio = new QRadioButton(QLatin1String(names[i]), RadioGroup1);
    radio->setAccessibleName(radio->text());
    Operations->addButton(radio, i + 1);
    radios->addWidget(radio);
  }
  Operations->button(1)->setChecked(true);

  auto* field = new QHBoxLayout;
  field->addWidget(Label4);
  field->addWidget(ComboBox2, 1);
  ExtraLayout()->addLayout(field);
  ExtraLayout()->addWidget(RadioGroup1);

  // Made after "Annuler" and "OK", these controls stand above them: Tab takes
  // them in the order they are read.
  QWidget* order[] = {Edit1,
                      ComboBox2,
                      Operations->button(1),
                      Operations->button(2),
                      Operations->button(3),
                      Operations->button(4),
                      Button1,
                      Button2};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TCalcul::Init(int from, int to, const QStringList& fieldNames,
                   const QStringList& floatFieldNames) {
  TCompter::Init(from, to, fieldNames);
  ComboBox2->clear();
  ComboBox2->addItems(floatFieldNames);
  ComboBox2->setCurrentIndex(floatFieldNames.isEmpty() ? -1 : 0);
}

std::optional<TCalcul::TCalcAnswer> TCalcul::Result() const {
  const std::optional<TAnswer> range = TCompter::Result();
  if (!range) return std::nullopt;
  return TCalcAnswer{*range, ComboBox2->currentText(), Operations->checkedId()};
}
