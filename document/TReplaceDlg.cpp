#include "TReplaceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TReplaceDlg::TReplaceDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Remplacer"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  Label1 = new QLabel(QStringLiteral("Chercher"), this);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Label1->setBuddy(Edit1);
  Label2 = new QLabel(QStringLiteral("Remplacer par"), this);
  Edit2 = new QLineEdit(this);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Label2->setBuddy(Edit2);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setMinimumContentsLength(12);
  CheckBox1 = new QCheckBox(QStringLiteral("Mot entier"), this);
  CheckBox2 = new QCheckBox(QStringLiteral("Remplacer tout"), this);
  Button1 = new QPushButton(QStringLiteral("Annuler"), this);
  Button2 = new QPushButton(QStringLiteral("OK"), this);
  // Enter confirms from the two text boxes only.
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);

  auto* boxes = new QGridLayout;
  boxes->addWidget(Label1, 0, 0);
  boxes->addWidget(Edit1, 1, 0);
  boxes->addWidget(ComboBox1, 1, 1);
  boxes->addWidget(Label2, 2, 0);
  boxes->addWidget(Edit2, 3, 0);
  boxes->addWidget(CheckBox1, 4, 0);
  boxes->addWidget(CheckBox2, 4, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(boxes);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

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
  confirmed_ = false;
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

QString TReplaceDlg::Result(QString& replacement, bool& replaceAll, bool& wholeWord,
                            QString& field) const {
  if (!confirmed_) return QString();
  replacement = Edit2->text();
  replaceAll = CheckBox2->isChecked();
  wholeWord = CheckBox1->isChecked();
  field = ComboBox1->currentText();
  return Edit1->text();
}

void TReplaceDlg::Button1Click() {
  confirmed_ = false;
  reject();
}

void TReplaceDlg::Button2Click() {
  confirmed_ = true;
  accept();
}
