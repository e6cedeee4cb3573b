#include "TRenum.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TDialogParts.h"
#include "TNameEdit.h"

TRenum::TRenum(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Renommer champ"));

  Label1 = new QLabel(QStringLiteral("Nom"), this);
  Edit1 = TDialogParts::BuddyEdit<TNameEdit>(Label1, QStringLiteral("Edit1"));
  Label2 = new QLabel(QStringLiteral("Type"), this);
  ComboBox1 = TDialogParts::TypeComboBox(this);
  Label2->setBuddy(ComboBox1);
  // Enter confirms from the type box only; the name box discards it.
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, Button1, Button2);

  auto* boxes = new QGridLayout;
  boxes->addWidget(Label1, 0, 0);
  boxes->addWidget(Edit1, 1, 0);
  boxes->addWidget(Label2, 0, 1);
  boxes->addWidget(ComboBox1, 1, 1);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addLayout(boxes);
  layout->addLayout(buttons);

  Edit1->installEventFilter(this);
  // The combo box keeps the focus and hands keys to its line edit: Enter is
  // caught on both.
  ComboBox1->installEventFilter(this);
  ComboBox1->lineEdit()->installEventFilter(this);
  connect(Button1, &QPushButton::clicked, this, &TRenum::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TRenum::Button2Click);
  Edit1->setFocus();
}

void TRenum::Init(const QString& name, const QString& type) {
  setResult(QDialog::Rejected);
  Edit1->setText(name);
  ComboBox1->setCurrentText(type);
  Edit1->setFocus();
}

std::optional<TRenum::TAnswer> TRenum::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return TAnswer{Edit1->text(), ComboBox1->currentText()};
}

void TRenum::Button1Click() {
  reject();
}

void TRenum::Button2Click() {
  Edit1Exit();
  accept();
}

void TRenum::Edit1Exit() {
  const QString upper = TNameEdit::UpperName(Edit1->text());
  if (upper != Edit1->text()) Edit1->setText(upper);
}

bool TRenum::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Edit1 && event->type() == QEvent::FocusOut) {
    Edit1Exit();
  } else if ((watched == ComboBox1 || watched == ComboBox1->lineEdit()) &&
             event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Button2Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
