#include "TInputBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TDialogParts.h"

TInputBox::TInputBox(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QString());
  PromptLabel = new QLabel(this);
  AnswerEdit = TDialogParts::BuddyEdit<QLineEdit>(PromptLabel, QStringLiteral("AnswerEdit"));
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addWidget(PromptLabel);
  layout->addWidget(AnswerEdit);
  layout->addLayout(TDialogParts::OkCancelRow(this, CancelButton, OkButton));

  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  // Enter in the line confirms it, as in any input box; Escape rejects.
  connect(AnswerEdit, &QLineEdit::returnPressed, OkButton, &QPushButton::click);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TInputBox::Init(const QString& caption, const QString& prompt, const QString& text) {
  setResult(QDialog::Rejected);
  setWindowTitle(caption);
  PromptLabel->setText(prompt);
  AnswerEdit->setAccessibleName(prompt);
  AnswerEdit->setText(text);
  AnswerEdit->selectAll();
  AnswerEdit->setMinimumWidth(AnswerEdit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30);
}

std::optional<QString> TInputBox::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return AnswerEdit->text();
}
