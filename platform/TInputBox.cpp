#include "TInputBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TInputBox::TInputBox(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  Label1 = new QLabel(this);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Label1->setBuddy(Edit1);
  OkButton = new QPushButton(QStringLiteral("OK"), this);
  OkButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Annuler"), this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(OkButton, &QPushButton::clicked, this, [this] {
    confirmed_ = true;
    accept();
  });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TInputBox::Init(const QString& caption, const QString& prompt, const QString& text) {
  confirmed_ = false;
  setWindowTitle(caption);
  Label1->setText(prompt);
  Edit1->setAccessibleName(prompt);
  Edit1->setText(text);
  Edit1->selectAll();
  Edit1->setMinimumWidth(Edit1->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30);
}

std::optional<QString> TInputBox::Result() const {
  if (!confirmed_) return std::nullopt;
  return Edit1->text();
}
