#include "TDialogParts.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

class TEnterClicks : public QObject {
 public:
  explicit TEnterClicks(QPushButton* button) : QObject(button), button_(button) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        button_->click();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QPushButton* button_;
};

}  // namespace

void TDialogParts::ClickOnEnter(QPushButton* button) {
  button->installEventFilter(new TEnterClicks(button));
}

void TDialogParts::SetTitle(QDialog* dialog, const QString& title) {
  dialog->setWindowTitle(title);
  // A fixed dialog frame: title and close button, no help, minimise or maximise.
  dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
}

void TDialogParts::SetBuddy(QLabel* label, QWidget* buddy, const QString& objectName) {
  buddy->setObjectName(objectName);
  label->setBuddy(buddy);
}

QComboBox* TDialogParts::PatternComboBox(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QStringLiteral("ComboBox1"));
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

QComboBox* TDialogParts::TypeComboBox(QWidget* parent) {
  QComboBox* combo = PatternComboBox(parent);
  combo->addItems({QStringLiteral("STRING"), QStringLiteral("FLOAT")});
  return combo;
}

QHBoxLayout* TDialogParts::OkCancelRow(QDialog* dialog, QPushButton*& cancel, QPushButton*& ok,
                                       QPushButton* left) {
  cancel = new QPushButton(QStringLiteral("Annuler"), dialog);
  ok = new QPushButton(QStringLiteral("OK"), dialog);
  auto* row = new QHBoxLayout;
  if (left) {
    left->setAutoDefault(false);
    row->addWidget(left);
  }
  cancel->setAutoDefault(false);
  ok->setAutoDefault(false);
  row->addStretch(1);
  row->addWidget(cancel);
  row->addWidget(ok);
  return row;
}

QVBoxLayout* TDialogParts::FixedLayout(QDialog* dialog) {
  auto* layout = new QVBoxLayout(dialog);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return layout;
}

QTreeWidget* TDialogParts::FieldList(QWidget* parent, int nameWidth, int typeWidth) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(QStringLiteral("ListView1"));
  list->setColumnCount(2);
  list->setHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Type")});
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setColumnWidth(0, nameWidth);
  list->setColumnWidth(1, typeWidth);
  // Room for both columns, the frame and a vertical scroll bar.
  list->setMinimumWidth(nameWidth + typeWidth + 2 * list->frameWidth() + 20);
  return list;
}
