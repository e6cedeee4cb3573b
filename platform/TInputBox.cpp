#include "TInputBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TDialogParts.h"

TInputBox::TInputBox(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QString());
  Label1 = new QLabel(this);
  Edit1 = TDialogParts::BuddyEdit<QLineEdit>(Label1, QStringLiteral("Edit1"));
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addLayout(TDialogParts::OkCancelRow(this, CancelButton, OkButton));

  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  // Enter in the line confirms it, as in any input box; Escape rejects.
  connect(Edit1, &QLineEdit::returnPressed, OkButton, &QPushButton::click);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TInputBox::Init(const QString& caption, const QString& prompt, const QString& text) {
  setResult(QDialog::Rejected);
  setWindowTitle(caption);
  Label1->setText(prompt);
  Edit1->setAccessibleName(prompt);
  Edit1->setText(text);
  Edit1->selectAll();
  Edit1->setMinimumWidth(Edit1->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30);
}

std::optional<QString> TInputBox::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return Edit1->text();
}
