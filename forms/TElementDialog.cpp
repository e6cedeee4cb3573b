#include "TElementDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "TDialogParts.h"

TElementDialog::TElementDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, caption);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  fields_ = new QGridLayout;
  layout->addLayout(fields_);
}

void TElementDialog::AddRow(const QString& caption, QWidget* control) {
  const int row = fields_->rowCount();
  if (!caption.isEmpty()) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(control);
    fields_->addWidget(label, row, 0);
    control->setAccessibleName(caption);
  }
  fields_->addWidget(control, row, 1);
}

QSpinBox* TElementDialog::AddNumber(const QString& caption, const QString& objectName, int value,
                                    int minimum, int maximum) {
  auto* spin = new QSpinBox(this);
  spin->setObjectName(objectName);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  AddRow(caption, spin);
  return spin;
}

void TElementDialog::AddButtons(const QString& okCaption) {
  static_cast<QVBoxLayout*>(layout())->addLayout(TDialogParts::OkCancelRow(this, Button1, Button2));
  Button2->setText(okCaption);
  Button1->setAccessibleName(Button1->text());
  Button2->setAccessibleName(okCaption);
  connect(Button1, &QPushButton::clicked, this, &TElementDialog::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TElementDialog::Button2Click);
}

void TElementDialog::Button1Click() {
  reject();
}

void TElementDialog::Button2Click() {
  accept();
}

void TElementDialog::showEvent(QShowEvent* event) {
  setResult(QDialog::Rejected);
  QDialog::showEvent(event);
}
