#include "TReplaceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TDialogParts.h"

TReplaceDlg::TReplaceDlg(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Remplacer"));

  Label1 = new QLabel(QStringLiteral("Chercher"), this);
  Edit1 = TDialogParts::BuddyEdit<QLineEdit>(Label1, QStringLiteral("Edit1"));
  Label2 = new QLabel(QStringLiteral("Remplacer par"), this);
  Edit2 = TDialogParts::BuddyEdit<QLineEdit>(Label2, QStringLiteral("Edit2"));
  ComboBox1 = TDialogParts::PatternComboBox(this);
  ComboBox1->setMinimumContentsLength(12);
  CheckBox1 = new QCheckBox(QStringLiteral("Mot entier"), this);
  CheckBox2 = new QCheckBox(QStringLiteral("Remplacer tout"), this);
  // Enter confirms from the two text boxes only.
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, Button1, Button2);

  auto* boxes = new QGridLayout;
  boxes->addWidget(Label1, 0, 0);
  boxes->addWidget(Edit1, 1, 0);
  boxes->addWidget(ComboBox1, 1, 1);
  boxes->addWidget(Label2, 2, 0);
  boxes->addWidget(Edit2, 3, 0);
  boxes->addWidget(CheckBox1, 4, 0);
  boxes->addWidget(CheckBox2, 4, 1);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addLayout(boxes);
  layout->addLayout(buttons);

  connect(Edit1, &QLineEdit::returnPressed, this, &TReplaceDlg::Button2Click);
  connect(Edit2, &QLineEdit::returnPressed, this, &TReplaceDlg::Button2Click);
  connect(Button1, &QPushButton::clicked, this, &TReplaceDlg::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TReplaceDlg::Button2Click);
  setTabOrder(Edit1, ComboBox1);
  setTabOrder(ComboBox1, Edit2);
  Edit1->setFocus();
}

void TReplaceDlg::Init(const QString& value, const QString& replacement,
                       const QStringList& fieldNames, bool replaceAll, bool wholeWord,
                       const QString& field) {
  setResult(QDialog::Rejected);
  QString shown = value;
  if (shown.endsWith(QLatin1Char('*'))) shown.chop(1);
  Edit1->setText(shown);
  Edit1->selectAll();
  Edit2->setText(replacement);
  CheckBox1->setChecked(wholeWord);
  CheckBox2->setChecked(replaceAll);
  ComboBox1->clear();
  ComboBox1->addItems(fieldNames);
  ComboBox1->setCurrentText(field);
  Edit1->setFocus();
}

std::optional<TReplaceDlg::TAnswer> TReplaceDlg::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return TAnswer{Edit1->text(), Edit2->text(), ComboBox1->currentText(), CheckBox2->isChecked(),
                 CheckBox1->isChecked()};
}

void TReplaceDlg::Button1Click() {
  reject();
}

void TReplaceDlg::Button2Click() {
  accept();
}
