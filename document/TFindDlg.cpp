#include "TFindDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TDialogParts.h"

TFindDlg::TFindDlg(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Rechercher"));

  Label1 = new QLabel(QStringLiteral("Rechercher"), this);
  Edit1 = TDialogParts::BuddyEdit<QLineEdit>(Label1, QStringLiteral("Edit1"));
  ComboBox1 = TDialogParts::PatternComboBox(this);
  ComboBox1->setMinimumContentsLength(12);
  CheckBox1 = new QCheckBox(QStringLiteral("Mot entier"), this);
  // Enter confirms from the search box only.
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, Button1, Button2);

  auto* boxes = new QGridLayout;
  boxes->addWidget(Label1, 0, 0);
  boxes->addWidget(Edit1, 1, 0);
  boxes->addWidget(ComboBox1, 1, 1);
  boxes->addWidget(CheckBox1, 2, 0);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addLayout(boxes);
  layout->addLayout(buttons);

  connect(Edit1, &QLineEdit::returnPressed, this, &TFindDlg::Button2Click);
  connect(Button1, &QPushButton::clicked, this, &TFindDlg::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFindDlg::Button2Click);
  Edit1->setFocus();
}

void TFindDlg::Init(const QString& value, const QString& field, const QStringList& fieldNames,
                    bool wholeWord) {
  setResult(QDialog::Rejected);
  QString shown = value;
  if (shown.endsWith(QLatin1Char('*'))) shown.chop(1);
  Edit1->setText(shown);
  Edit1->selectAll();
  CheckBox1->setChecked(wholeWord);
  ComboBox1->clear();
  ComboBox1->addItems(fieldNames);
  ComboBox1->setCurrentText(field);
  Edit1->setFocus();
}

std::optional<TFindDlg::TAnswer> TFindDlg::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return TAnswer{Edit1->text(), ComboBox1->currentText(), CheckBox1->isChecked()};
}

void TFindDlg::Button1Click() {
  reject();
}

void TFindDlg::Button2Click() {
  accept();
}
