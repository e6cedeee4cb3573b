#include "TFindDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFindDlg::TFindDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Rechercher"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  Label1 = new QLabel(QStringLiteral("Rechercher"), this);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Label1->setBuddy(Edit1);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setMinimumContentsLength(12);
  CheckBox1 = new QCheckBox(QStringLiteral("Mot entier"), this);
  Button1 = new QPushButton(QStringLiteral("Annuler"), this);
  Button2 = new QPushButton(QStringLiteral("OK"), this);
  // Enter confirms from the search box only.
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);

  auto* boxes = new QGridLayout;
  boxes->addWidget(Label1, 0, 0);
  boxes->addWidget(Edit1, 1, 0);
  boxes->addWidget(ComboBox1, 1, 1);
  boxes->addWidget(CheckBox1, 2, 0);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(boxes);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(Edit1, &QLineEdit::returnPressed, this, &TFindDlg::Button2Click);
  connect(Button1, &QPushButton::clicked, this, &TFindDlg::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFindDlg::Button2Click);
  Edit1->setFocus();
}

void TFindDlg::Init(const QString& value, const QString& field, const QStringList& fieldNames,
                    bool wholeWord) {
  confirmed_ = false;
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

QString TFindDlg::Result(QString& field, bool& wholeWord) const {
  if (!confirmed_) return QString();
  field = ComboBox1->currentText();
  wholeWord = CheckBox1->isChecked();
  return Edit1->text();
}

void TFindDlg::Button1Click() {
  confirmed_ = false;
  reject();
}

void TFindDlg::Button2Click() {
  confirmed_ = true;
  accept();
}
