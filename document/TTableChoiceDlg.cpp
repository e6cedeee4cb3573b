#include "TTableChoiceDlg.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "FileNames.h"
#include "ForeignTable.h"
#include "IServices.h"
#include "TDialogParts.h"

TTableChoiceDlg::TTableChoiceDlg(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Choisir une feuille"));
  Label1 = new QLabel(this);
  Label1->setTextFormat(Qt::PlainText);
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->setMinimumSize(280, 160);
  Label1->setBuddy(ListBox1);
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, Button1, Button2);
  Button1->setAccessibleName(Button1->text());
  Button2->setAccessibleName(Button2->text());

  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(ListBox1);
  layout->addLayout(buttons);

  ListBox1->installEventFilter(this);
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TTableChoiceDlg::Button2Click);
  connect(Button1, &QPushButton::clicked, this, &TTableChoiceDlg::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TTableChoiceDlg::Button2Click);
}

void TTableChoiceDlg::Init(const QString& fileName, const std::vector<std::string>& names,
                           bool sheets) {
  setResult(QDialog::Rejected);
  names_ = names;
  setWindowTitle(sheets ? QStringLiteral("Choisir une feuille")
                        : QStringLiteral("Choisir une table"));
  Label1->setText((sheets ? QStringLiteral("Feuilles du classeur « ")
                          : QStringLiteral("Tables de la base « ")) +
                  QFileInfo(fileName).fileName() + QStringLiteral(" » :"));
  ListBox1->setAccessibleName(Label1->text());
  ListBox1->clear();
  for (const std::string& name : names) ListBox1->addItem(QString::fromStdString(name));
  if (!names.empty()) ListBox1->setCurrentRow(0);
  ListBox1->setFocus();
}

std::optional<std::string> TTableChoiceDlg::Result() const {
  const int row = ListBox1->currentRow();
  if (result() != QDialog::Accepted || row < 0 || row >= static_cast<int>(names_.size()))
    return std::nullopt;
  return names_[static_cast<size_t>(row)];
}

std::optional<std::string> TTableChoiceDlg::Ask(const QString& path, TStatus& status) {
  std::vector<std::string> names;
  const std::string source = EnginePath(path);
  status = TStatus::Ok();
  if (ForeignKindOf(source) == TForeignKind::None) return std::string();  // one table
  status = ListForeignTables(source, names);
  if (!status) return std::nullopt;
  if (names.size() < 2) return std::string();
  TTableChoiceDlg dialog;
  dialog.Init(path, names, IsWorkbook(ForeignKindOf(source)));
  Services().RunDialog(dialog);
  return dialog.Result();
}

void TTableChoiceDlg::Button1Click() {
  reject();
}

void TTableChoiceDlg::Button2Click() {
  if (ListBox1->currentRow() >= 0) accept();
}

bool TTableChoiceDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Button2Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
