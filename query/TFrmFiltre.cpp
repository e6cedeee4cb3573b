#include "TFrmFiltre.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AnsiCodec.h"
#include "French.h"
#include "IServices.h"
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
  TDialogParts::NameByLabel(ComboBox1, Label1->text());
  TDialogParts::NameByLabel(ComboBox2, Label2->text());
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

void TFrmFiltre::Init(const QStringList& fieldNames, const TCondition& filter) {
  setResult(QDialog::Rejected);
  ComboBox1->clear();
  ComboBox1->addItems(fieldNames);
  ComboBox1->setCurrentText(FromAnsi(filter.Field));
  ComboBox2->setCurrentText(filter.Operator.empty() ? QStringLiteral("=")
                                                    : FromAnsi(filter.Operator));
  Edit1->setText(FromAnsi(filter.Value));
  ComboBox1->setFocus();
}

std::optional<TCondition> TFrmFiltre::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return Typed();
}

TCondition TFrmFiltre::Typed() const {
  return TCondition{ToAnsi(ComboBox1->currentText()), ToAnsi(ComboBox2->currentText().trimmed()),
                    ToAnsi(Edit1->text())};
}

void TFrmFiltre::Button1Click() {
  reject();
}

void TFrmFiltre::Button2Click() {
  if (check_) {
    const TStatus status = check_(Typed());
    if (!status) {
      Services().Warning(ConditionRefusal(QStringLiteral("filtrer"), status,
                                          QStringLiteral("=, <, >, <=, >= et LIKE")));
      (status.Cause() == TFailure::NoSuchField ? ComboBox1 : ComboBox2)->setFocus();
      return;
    }
  }
  accept();
}
