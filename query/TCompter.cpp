#include "TCompter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>

#include "French.h"
#include "IServices.h"
#include "TDialogParts.h"

namespace {

QSpinBox* RangeBox(QLabel* label, const char* objectName) {
  auto* box = TDialogParts::BuddyEdit<QSpinBox>(label, QLatin1String(objectName));
  // Any number can be typed; the range is clamped to the table when used.
  box->setRange(0, INT_MAX);
  box->setAccessibleName(label->text());
  return box;
}

}  // namespace

TCompter::TCompter(QWidget* parent)
    : TCompter(QStringLiteral("Compter"), QStringLiteral("compter"), parent) {}

TCompter::TCompter(const QString& caption, const QString& action, QWidget* parent)
    : QDialog(parent), action_(action) {
  TDialogParts::SetTitle(this, caption);

  GroupBox1 = new QGroupBox(QStringLiteral("Portée"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  Label1 = new QLabel(QStringLiteral("De"), GroupBox1);
  SpinEdit1 = RangeBox(Label1, "SpinEdit1");
  Label2 = new QLabel(QStringLiteral("A"), GroupBox1);
  SpinEdit2 = RangeBox(Label2, "SpinEdit2");
  auto* range = new QHBoxLayout(GroupBox1);
  for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(SpinEdit1),
                     static_cast<QWidget*>(Label2), static_cast<QWidget*>(SpinEdit2)})
    range->addWidget(w);

  FieldLabel = new QLabel(QStringLiteral("Champ"), this);
  ComboBox1 = TDialogParts::BuddyEdit<QComboBox>(FieldLabel, QStringLiteral("ComboBox1"));
  TDialogParts::NameByLabel(ComboBox1, FieldLabel->text());
  ComboBox1->setMinimumContentsLength(16);

  GroupBox2 = new QGroupBox(QStringLiteral("Opérateurs"), this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  auto* operators = new QHBoxLayout(GroupBox2);
  QToolButton** buttons[] = {&SpeedButton1, &SpeedButton2, &SpeedButton3, &SpeedButton4,
                             &SpeedButton5};
  const char* const ops[] = {"=", "<", ">", "<=", ">="};
  for (int i = 0; i < 5; ++i) {
    auto* button = new QToolButton(GroupBox2);
    const QString op = QLatin1String(ops[i]);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
    button->setText(op);
    button->setAccessibleName(op);
    button->setMinimumWidth(32);
    // A click leaves the focus and the selected text in the condition; the
    // keyboard still reaches the buttons with Tab.
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QToolButton::clicked, this, [this, op] { OperatorClick(op); });
    operators->addWidget(button);
    *buttons[i] = button;
  }

  Label3 = new QLabel(QStringLiteral("Condition"), this);
  Edit1 = TDialogParts::BuddyEdit<QLineEdit>(Label3, QStringLiteral("Edit1"));
  Edit1->setAccessibleName(Label3->text());
  Edit1->setMinimumWidth(260);

  QHBoxLayout* okCancel = TDialogParts::OkCancelRow(this, Button1, Button2);
  TDialogParts::ClickOnEnter(Button2);

  auto* top = new QGridLayout;
  top->addWidget(GroupBox1, 0, 0, 1, 2);
  top->addWidget(FieldLabel, 1, 0);
  top->addWidget(ComboBox1, 1, 1);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addLayout(top);
  layout->addWidget(GroupBox2);
  layout->addWidget(Label3);
  layout->addWidget(Edit1);
  extra_ = new QVBoxLayout;
  layout->addLayout(extra_);
  layout->addLayout(okCancel);

  connect(ComboBox1, &QComboBox::activated, this, &TCompter::ComboBox1Change);
  connect(Button1, &QPushButton::clicked, this, &TCompter::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TCompter::Button2Click);
}

void TCompter::Init(int from, int to, const QStringList& fieldNames) {
  setResult(QDialog::Rejected);
  SpinEdit1->setValue(from);
  SpinEdit2->setValue(to);
  ComboBox1->clear();
  ComboBox1->addItems(fieldNames);
  ComboBox1->setCurrentIndex(fieldNames.isEmpty() ? -1 : 0);
  Edit1->setFocus();
}

std::optional<TCompter::TAnswer> TCompter::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return TAnswer{Edit1->text(), SpinEdit1->value(), SpinEdit2->value()};
}

void TCompter::ComboBox1Change(int index) {
  if (index < 0) return;
  Edit1->insert(ComboBox1->itemText(index));
  Edit1->setFocus();
}

void TCompter::OperatorClick(const QString& op) {
  Edit1->insert(op);
}

void TCompter::Button1Click() {
  reject();
}

void TCompter::Button2Click() {
  if (check_) {
    const TStatus status = check_(Edit1->text());
    if (!status) {
      Services().Warning(ConditionRefusal(action_, status, QStringLiteral("=, <, >, <= et >=")));
      Edit1->setFocus();
      return;
    }
  }
  accept();
}
