#include "TDialogParts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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

// A combo box named by its label: Qt's own interface for combo boxes gives
// their current entry as the name on Linux.
class TNamedComboBox : public QAccessibleWidget {
 public:
  explicit TNamedComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    const auto* combo = static_cast<const QComboBox*>(widget());
    if (t == QAccessible::Name) return combo->accessibleName();
    if (t == QAccessible::Value) return combo->currentText();
    return QAccessibleWidget::text(t);
  }
};

const char kNamedByLabel[] = "vekNamedByLabel";

QAccessibleInterface* NamedComboBoxes(const QString&, QObject* object) {
  auto* combo = qobject_cast<QComboBox*>(object);
  if (!combo || !combo->property(kNamedByLabel).toBool()) return nullptr;
  return new TNamedComboBox(combo);
}

}  // namespace

void TDialogParts::NameByLabel(QComboBox* combo, const QString& label) {
  static const bool installed = [] {
    QAccessible::installFactory(NamedComboBoxes);
    return true;
  }();
  (void)installed;
  combo->setProperty(kNamedByLabel, true);
  // Qt may have made the combo box's interface already (an editable one's
  // edit box asks for it): that one goes, so that the next is ours.
  QAccessibleInterface* made = QAccessible::queryAccessibleInterface(combo);
  if (made && !dynamic_cast<TNamedComboBox*>(made))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
  combo->setAccessibleName(label);
  if (QLineEdit* edit = combo->lineEdit()) edit->setAccessibleName(label);
}

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
  ok->setDefault(true);
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
