#include "TCreEdt.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

TCreEdt::TCreEdt(QWidget* parent) : TElementDialog(QStringLiteral("Champ texte"), parent) {
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  // Editable only to show any name; its read-only line takes no typing.
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->lineEdit()->setReadOnly(true);
  AddRow(QStringLiteral("Nom du champ"), ComboBox1);
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

QString TCreEdt::Result(int& width, int& top, int& left) const {
  if (!Confirmed) return QString();
  width = SpinEdit1->value();
  top = SpinEdit3->value();
  left = SpinEdit2->value();
  return ComboBox1->currentText();
}
