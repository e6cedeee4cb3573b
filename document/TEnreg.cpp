#include "TEnreg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

TEnreg::TEnreg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Aller à un enregistrement"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  Label1 = new QLabel(QStringLiteral("Enregistrement N°"), this);
  SpinEdit1 = new QSpinBox(this);
  SpinEdit1->setRange(INT_MIN, INT_MAX);
  Label1->setBuddy(SpinEdit1);
  OkButton = new QPushButton(QStringLiteral("OK"), this);
  OkButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Annuler"), this);

  auto* row = new QHBoxLayout;
  row->addWidget(Label1);
  row->addWidget(SpinEdit1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(buttons);
  // Fixed dialog border: the size the layout asks for, no resizing.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // Escape also ends in reject(): no answer.
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TEnreg::Init(int proposed) {
  setResult(QDialog::Rejected);
  SpinEdit1->setValue(proposed);
  SpinEdit1->selectAll();
}

std::optional<int> TEnreg::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return SpinEdit1->value();
}
