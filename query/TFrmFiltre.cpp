#include "TFrmFiltre.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "TDialogParts.h"

TFrmFiltre::TFrmFiltre(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Filtre"));
  Label1 = new QLabel(QStringLiteral("Champ"), this);
  ComboBox1 = TDialogParts::PatternComboBox(this);
  ComboBox1->setMinimumContentsLength(16);
  Label2 = new QLabel(QStringLiteral("Opérateur"), this);
  ComboBox2 = TDialogParts::PatternComboBox(this);
  ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
  ComboBox2->addItems({QStringLiteral("="), QStringLiteral("LIKE"), QStringLiteral("<"),
                       QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">=")});
  Label3 = new QLabel(QStringLiteral("Valeur"), this);
  Edit1 = TDialogParts::BuddyEdit<QLineEdit>(Label3, QStringLiteral("Edit1"));
  Edit1->setMinimumWidth(160);
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, Button1, Button2);
  TDialogParts::ClickOnEnter(Button2);
  Label1->setBuddy(ComboBox1);
  Label2->setBuddy(ComboBox2);
  // The edit boxes of the combo boxes are announced on their own.
  for (auto [combo, label] : {std::pair{ComboBox1, Label1}, std::pair{ComboBox2, Label2}}) {
    combo->setAccessibleName(label->text());
    combo->lineEdit()->setAccessibleName(label->text());
  }
  Edit1->setAccessibleName(Label3->text());

  auto* boxes = new QGridLayout;
  boxes->addWidget(Label1, 0, 0);
  boxes->addWidget(ComboBox1, 1, 0);
  boxes->addWidget(Label2, 0, 1);
  boxes->addWidget(ComboBox2, 1, 1);
  boxes->addWidget(Label3, 0, 2);
  boxes->addWidget(Edit1, 1, 2);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addLayout(boxes);
  layout->addLayout(buttons);

  connect(Button1, &QPushButton::clicked, this, &TFrmFiltre::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFrmFiltre::Button2Click);
}

void TFrmFiltre::Init(const QStringList& fieldNames, const QString& field, const QString& op,
                      const QString& value) {
  confirmed_ = false;
  ComboBox1->clear();
  ComboBox1->addItems(fieldNames);
  ComboBox1->setCurrentText(field);
  ComboBox2->setCurrentText(op);
  Edit1->setText(value);
  ComboBox1->setFocus();
}

QString TFrmFiltre::Result(QString& op, QString& value) const {
  if (!confirmed_) return QString();
  op = ComboBox2->currentText();
  value = Edit1->text();
  return ComboBox1->currentText();
}

void TFrmFiltre::Button1Click() {
  confirmed_ = false;
  reject();
}

void TFrmFiltre::Button2Click() {
  confirmed_ = true;
  accept();
}
