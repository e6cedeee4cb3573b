#include "TDualListDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "TDialogParts.h"

namespace {

QPushButton* MoveButton(QWidget* parent, const char* caption, const QString& name) {
  auto* button = new QPushButton(QLatin1String(caption), parent);
  button->setAccessibleName(name);
  button->setToolTip(name);
  button->setAutoDefault(false);
  button->setFixedWidth(40);
  return button;
}

QListWidget* NameList(QWidget* parent, const char* objectName, QLabel* label) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QLatin1String(objectName));
  list->setAccessibleName(label->text());
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setMinimumSize(160, 200);
  label->setBuddy(list);
  return list;
}

// The order of the left list: a to z without regard to case, then as is.
bool SortsBefore(const QString& a, const QString& b) {
  const int c = a.compare(b, Qt::CaseInsensitive);
  return c != 0 ? c < 0 : a < b;
}

}  // namespace

TDualListDlg::TDualListDlg(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Choix des champs"));
  SrcLabel = new QLabel(QStringLiteral("Champs disponibles"), this);
  SrcList = NameList(this, "SrcList", SrcLabel);
  IncludeBtn = MoveButton(this, ">", QStringLiteral("Ajouter"));
  IncAllBtn = MoveButton(this, ">>", QStringLiteral("Ajouter tout"));
  ExcludeBtn = MoveButton(this, "<", QStringLiteral("Enlever"));
  ExAllBtn = MoveButton(this, "<<", QStringLiteral("Enlever tout"));
  DstLabel = new QLabel(QStringLiteral("Champs sélectionnés"), this);
  DstList = NameList(this, "DstList", DstLabel);
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, CancelBtn, OKBtn);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  OKBtn->setDefault(true);

  auto* moves = new QVBoxLayout;
  moves->addStretch(1);
  for (QPushButton* b : {IncludeBtn, IncAllBtn, ExcludeBtn, ExAllBtn}) moves->addWidget(b);
  moves->addStretch(1);
  auto* grid = new QGridLayout;
  grid->addWidget(SrcLabel, 0, 0);
  grid->addWidget(DstLabel, 0, 2);
  grid->addWidget(SrcList, 1, 0);
  grid->addLayout(moves, 1, 1);
  grid->addWidget(DstList, 1, 2);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  connect(IncludeBtn, &QPushButton::clicked, this, &TDualListDlg::IncludeBtnClick);
  connect(ExcludeBtn, &QPushButton::clicked, this, &TDualListDlg::ExcludeBtnClick);
  connect(IncAllBtn, &QPushButton::clicked, this, &TDualListDlg::IncAllBtnClick);
  connect(ExAllBtn, &QPushButton::clicked, this, &TDualListDlg::ExcAllBtnClick);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  SetButtons();
}

void TDualListDlg::Init(const QStringList& list) {
  setResult(QDialog::Rejected);
  SrcList->clear();
  DstList->clear();
  for (const QString& name : list) AddItem(SrcList, name);
  SetButtons();
}

std::optional<QStringList> TDualListDlg::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  QStringList names;
  for (int i = 0; i < DstList->count(); ++i) names << DstList->item(i)->text();
  return names;
}

void TDualListDlg::AddItem(QListWidget* list, const QString& name) {
  int at = list->count();
  if (list == SrcList)
    while (at > 0 && SortsBefore(name, list->item(at - 1)->text())) --at;
  list->insertItem(at, name);
}

void TDualListDlg::MoveSelected(QListWidget* from, QListWidget* to) {
  for (int i = from->count() - 1; i >= 0; --i) {
    if (!from->item(i)->isSelected()) continue;
    QListWidgetItem* item = from->takeItem(i);
    AddItem(to, item->text());
    delete item;
  }
}

void TDualListDlg::MoveAll(QListWidget* from, QListWidget* to) {
  while (from->count() > 0) {
    QListWidgetItem* item = from->takeItem(0);
    AddItem(to, item->text());
    delete item;
  }
}

int TDualListDlg::GetFirstSelection(const QListWidget* list) {
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) return i;
  return -1;
}

void TDualListDlg::SetItem(QListWidget* list, int index) {
  list->setFocus();
  list->clearSelection();
  if (list->count() > 0) {
    if (index < 0) index = 0;
    if (index > list->count() - 1) index = list->count() - 1;
    list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  }
  SetButtons();
}

void TDualListDlg::SetButtons() {
  const bool source = SrcList->count() > 0;
  const bool destination = DstList->count() > 0;
  IncludeBtn->setEnabled(source);
  IncAllBtn->setEnabled(source);
  ExcludeBtn->setEnabled(destination);
  ExAllBtn->setEnabled(destination);
}

void TDualListDlg::IncludeBtnClick() {
  const int first = GetFirstSelection(SrcList);
  MoveSelected(SrcList, DstList);
  SetItem(SrcList, first);
}

void TDualListDlg::ExcludeBtnClick() {
  const int first = GetFirstSelection(DstList);
  MoveSelected(DstList, SrcList);
  SetItem(DstList, first);
}

void TDualListDlg::IncAllBtnClick() {
  MoveAll(SrcList, DstList);
  SetItem(SrcList, 0);
}

void TDualListDlg::ExcAllBtnClick() {
  MoveAll(DstList, SrcList);
  SetItem(DstList, 0);
}
