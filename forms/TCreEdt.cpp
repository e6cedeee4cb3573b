#include "TCreEdt.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include "TDialogParts.h"

TCreEdt::TCreEdt(QWidget* parent) : TElementDialog(QStringLiteral("Champ texte"), parent) {
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  // Editable only to show any name; its read-only line takes no typing.
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->lineEdit()->setReadOnly(true);
  AddRow(QStringLiteral("Nom du champ"), ComboBox1);
  TDialogParts::NameByLabel(ComboBox1, QStringLiteral("Nom du champ"));
  SpinEdit1 = AddNumber(QStringLiteral("Largeur"), QStringLiteral("SpinEdit1"), 160);
  SpinEdit2 = AddNumber(QStringLiteral("Pos. X"), QStringLiteral("SpinEdit2"), 0);
  SpinEdit3 = AddNumber(QStringLiteral("Pos. Y"), QStringLiteral("SpinEdit3"), 0);
  AddButtons(QStringLiteral("Ok"));
}

void TCreEdt::Init(const QStringList& fieldNames, const QString& name, int top, int left,
                   int width) {
  ComboBox1->clear();
  ComboBox1->addItems(fieldNames);
  ComboBox1->setCurrentIndex(fieldNames.indexOf(name));
  ComboBox1->setEditText(name);
  SpinEdit1->setValue(width);
  SpinEdit2->setValue(left);
  SpinEdit3->setValue(top);
}

std::optional<TCreEdt::TAnswer> TCreEdt::Result() const {
  if (!Confirmed()) return std::nullopt;
  return TAnswer{ComboBox1->currentText(), SpinEdit1->value(), SpinEdit3->value(),
                 SpinEdit2->value()};
}
