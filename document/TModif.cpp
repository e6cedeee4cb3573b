#include "TModif.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "TDialogParts.h"
#include "TNameEdit.h"

namespace {

constexpr int kOriginRole = Qt::UserRole;

}  // namespace

TModif::TModif(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Modifier structure"));

  Label1 = new QLabel(QStringLiteral("Nom"), this);
  Edit1 = TDialogParts::BuddyEdit<TNameEdit>(Label1, QStringLiteral("Edit1"));
  Label2 = new QLabel(QStringLiteral("Type"), this);
  ComboBox1 = TDialogParts::TypeComboBox(this);
  ComboBox1->setCurrentIndex(0);
  Label2->setBuddy(ComboBox1);
  SpeedButton1 = new QToolButton(this);
  SpeedButton1->setText(QStringLiteral("OK"));
  // A speed button: the focus stays in the boxes.
  SpeedButton1->setFocusPolicy(Qt::NoFocus);

  ListView1 = TDialogParts::FieldList(this, 150, 100);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->header()->setSectionsMovable(false);

  Button3 = new QPushButton(QStringLiteral("Supprimer"), this);
  // Enter belongs to the type box (the small "OK"); the name box discards it.
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, Button1, Button2, Button3);

  auto* boxes = new QGridLayout;
  boxes->addWidget(Label1, 0, 0);
  boxes->addWidget(Edit1, 1, 0);
  boxes->addWidget(Label2, 0, 1);
  boxes->addWidget(ComboBox1, 1, 1);
  boxes->addWidget(SpeedButton1, 1, 2);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addLayout(boxes);
  layout->addWidget(ListView1, 1);
  layout->addLayout(buttons);

  // The combo box keeps the focus and hands keys to its line edit: Enter is
  // caught on both.
  ComboBox1->installEventFilter(this);
  ComboBox1->lineEdit()->installEventFilter(this);
  ListView1->installEventFilter(this);
  connect(Button1, &QPushButton::clicked, this, &TModif::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TModif::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TModif::Button3Click);
  connect(SpeedButton1, &QToolButton::clicked, this, &TModif::SpeedButton1Click);
  connect(ListView1, &QTreeWidget::itemClicked, this, &TModif::ListView1Click);
  setTabOrder(Edit1, ComboBox1);
  Edit1->setFocus();
}

void TModif::AddEntry(const QString& name, const QString& type, int origin) {
  auto* item = new QTreeWidgetItem(ListView1, {name, type});
  item->setData(0, kOriginRole, origin);
}

void TModif::Init(const QStringList& fields) {
  setResult(QDialog::Rejected);
  ListView1->clear();
  int origin = 0;
  for (const QString& line : fields) {
    ++origin;
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    AddEntry(tab < 0 ? line : line.left(tab), tab < 0 ? QString() : line.mid(tab + 1), origin);
  }
  Edit1->setFocus();
}

std::optional<QStringList> TModif::Result() const {
  const std::optional<std::vector<TEntry>> entries = Entries();
  if (!entries) return std::nullopt;
  QStringList lines;
  for (const TEntry& entry : *entries) lines << entry.name + QLatin1Char(' ') + entry.type;
  return lines;
}

std::optional<std::vector<TModif::TEntry>> TModif::Entries() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  std::vector<TEntry> entries;
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = ListView1->topLevelItem(i);
    entries.push_back({item->text(0), item->text(1), item->data(0, kOriginRole).toInt()});
  }
  return entries;
}

void TModif::Button1Click() {
  reject();
}

void TModif::Button2Click() {
  accept();
}

void TModif::Button3Click() {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (!selected.isEmpty()) delete selected.first();
  ListView1->clearSelection();
}

void TModif::SpeedButton1Click() {
  if (Edit1->text().trimmed().isEmpty()) {
    Edit1->setFocus();
    return;
  }
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) {
    AddEntry(Edit1->text(), ComboBox1->currentText(), 0);
  } else {
    // The entry keeps the field it came from: this is a rename.
    selected.first()->setText(0, Edit1->text());
    selected.first()->setText(1, ComboBox1->currentText());
  }
  ListView1->clearSelection();
  ListView1->setCurrentItem(nullptr);
  Edit1->clear();
  Edit1->setFocus();
}

void TModif::ListView1Click() {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) return;
  Edit1->setText(selected.first()->text(0));
  ComboBox1->setCurrentText(selected.first()->text(1));
}

bool TModif::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((watched == ComboBox1 || watched == ComboBox1->lineEdit()) &&
        (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      SpeedButton1Click();
      return true;
    }
    if (watched == ListView1 && key == Qt::Key_Delete) {
      Button3Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
