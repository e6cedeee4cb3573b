#include "TFenv.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const int kMaxLength = 35;

// A line edit that keeps its selection when it loses the focus (Qt's drops it),
// and reports the loss.
class TKeptSelectionEdit : public QLineEdit {
 public:
  TKeptSelectionEdit(QWidget* parent, std::function<void()> onExit)
      : QLineEdit(parent), onExit_(std::move(onExit)) {}

 protected:
  void focusOutEvent(QFocusEvent* event) override {
    const int start = selectionStart();
    const int length = static_cast<int>(selectedText().size());
    const bool caretAtStart = cursorPosition() == start;
    QLineEdit::focusOutEvent(event);
    if (start >= 0 && length > 0) {
      if (caretAtStart)
        setSelection(start + length, -length);
      else
        setSelection(start, length);
    }
    if (onExit_) onExit_();
  }

 private:
  std::function<void()> onExit_;
};

QLineEdit* LineIn(QGroupBox* group, const QString& name, const QString& accessibleName) {
  auto* edit = new QLineEdit(group);
  edit->setObjectName(name);
  edit->setAccessibleName(accessibleName);
  edit->setMaxLength(kMaxLength);
  return edit;
}

}  // namespace

TFenv::TFenv(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FENV"));
  setWindowTitle(QStringLiteral("Enveloppes"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  // Created in the order of the tab stops: the sender first, as on the envelope.
  GroupBox2 = new QGroupBox(QStringLiteral("Expéditeur"), this);
  GroupBox2->setAccessibleName(GroupBox2->title());
  auto* senders = new QVBoxLayout(GroupBox2);
  for (int k = 0; k < 4; ++k) {
    Senders[k] = LineIn(GroupBox2, QStringLiteral("Edit%1").arg(k + 5),
                        QStringLiteral("Expéditeur, ligne %1").arg(k + 1));
    senders->addWidget(Senders[k]);
  }
  GroupBox1 = new QGroupBox(QStringLiteral("Destinataire"), this);
  GroupBox1->setAccessibleName(GroupBox1->title());
  auto* recipients = new QVBoxLayout(GroupBox1);
  for (int k = 0; k < 4; ++k) {
    auto* edit = new TKeptSelectionEdit(GroupBox1, [this, k] { EditExit(k + 1); });
    edit->setObjectName(QStringLiteral("Edit%1").arg(k + 1));
    edit->setAccessibleName(QStringLiteral("Destinataire, ligne %1").arg(k + 1));
    edit->setMaxLength(kMaxLength);
    Recipients[k] = edit;
    recipients->addWidget(edit);
  }
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setAccessibleName(QStringLiteral("Champs"));

  PreviewButton = new QPushButton(QStringLiteral("Aperçu"), this);
  Button1 = new QPushButton(QStringLiteral("Annuler"), this);
  Button2 = new QPushButton(QStringLiteral("OK"), this);
  for (QPushButton* button : {PreviewButton, Button1, Button2}) {
    button->setAccessibleName(button->text());
    button->setAutoDefault(false);
  }
  Button1->setObjectName(QStringLiteral("Button1"));
  Button2->setObjectName(QStringLiteral("Button2"));

  // The sender above the recipient, as on the envelope; the fields beside them.
  auto* lines = new QVBoxLayout;
  lines->addWidget(GroupBox2);
  lines->addWidget(GroupBox1);
  auto* body = new QHBoxLayout;
  body->addLayout(lines, 1);
  body->addWidget(ListBox1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(PreviewButton);
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(body);
  layout->addLayout(buttons);
  for (QLineEdit* edit : Senders)
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 36);

  connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TFenv::ListBox1DblClick);
  connect(Button1, &QPushButton::clicked, this, &TFenv::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFenv::Button2Click);
  connect(PreviewButton, &QPushButton::clicked, this, &TFenv::PreviewClick);
}

void TFenv::SetExp(const TLines& senders) {
  for (int k = 0; k < 4; ++k) {
    Senders[k]->setMaxLength(std::max<int>(kMaxLength, static_cast<int>(senders[k].size())));
    Senders[k]->setText(senders[k]);
  }
}

void TFenv::Init(const QStringList& fieldNames) {
  fieldNames_ = fieldNames;
  ListBox1->clear();
  ListBox1->addItems(fieldNames);
  insertLine_ = 0;
  setResult(QDialog::Rejected);
}

TFenv::TLines TFenv::Lines(const std::array<QLineEdit*, 4>& edits) const {
  TLines lines;
  for (int k = 0; k < 4; ++k) lines[k] = edits[k]->text();
  return lines;
}

TFenv::TLines TFenv::GetExp() const {
  return Lines(Senders);
}

std::optional<TFenv::TLines> TFenv::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return Lines(Recipients);
}

void TFenv::showEvent(QShowEvent* event) {
  for (int k = 0; k < 4 && k < fieldNames_.size(); ++k)
    if (Recipients[k]->text().isEmpty()) Recipients[k]->setText(fieldNames_[k]);
  QDialog::showEvent(event);
}

void TFenv::EditExit(int line) {
  insertLine_ = line;
}

void TFenv::ListBox1DblClick() {
  QListWidgetItem* item = ListBox1->currentItem();
  if (insertLine_ < 1 || !item) return;
  Recipients[insertLine_ - 1]->insert(item->text());
}

void TFenv::Button1Click() {
  reject();
}

void TFenv::Button2Click() {
  accept();
}

void TFenv::PreviewClick() {
  if (preview_) preview_(Lines(Recipients), Lines(Senders));
}
