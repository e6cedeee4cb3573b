#pragma once
// TDialogParts: the pieces the small dialogs of the windows build alike, so that
// their captions, object names and button behaviour stay the same everywhere.
// Each piece is created at the point of the call: the creation order, and with
// it the default tab order, stays the caller's.

#include <QLabel>
#include <QString>

class QComboBox;
class QDialog;
class QHBoxLayout;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;
class QWidget;

class TDialogParts {
 public:
  // The caption, without the title bar's help button.
  static void SetTitle(QDialog* dialog, const QString& title);

  // An edit box named `objectName`, the buddy of `label`, in the label's parent.
  template <class TEdit>
  static TEdit* BuddyEdit(QLabel* label, const QString& objectName);

  // "ComboBox1": editable, typed text is not added to the list.
  static QComboBox* PatternComboBox(QWidget* parent);
  // PatternComboBox with the field types to choose from.
  static QComboBox* TypeComboBox(QWidget* parent);

  // "Annuler" then "OK". A row with `left` first, if any, then a stretch and
  // the two. "OK" is the dialog's default button: Enter confirms the dialog
  // wherever a box does not use the key itself. No button is auto-default, so
  // the default stays "OK" whichever button has the focus.
  static QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton*& cancel, QPushButton*& ok,
                                  QPushButton* left = nullptr);

  // Enter or Return pressed while `button` has the focus clicks it; an
  // auto-default button would also take Enter pressed in the dialog's boxes.
  static void ClickOnEnter(QPushButton* button);

  // A screen reader announces `combo` by `label` (the caption of the label
  // beside it), and its current entry as its value - where Qt on Linux
  // announces a combo box by its entry alone. Its inner edit box, if any,
  // takes the same name.
  static void NameByLabel(QComboBox* combo, const QString& label);

  // The dialog's layout, top to bottom, sized to what it holds and not resizable.
  static QVBoxLayout* FixedLayout(QDialog* dialog);

  // "ListView1": a read-only two-column list of field names and types.
  static QTreeWidget* FieldList(QWidget* parent, int nameWidth, int typeWidth);

 private:
  static void SetBuddy(QLabel* label, QWidget* buddy, const QString& objectName);
};

template <class TEdit>
TEdit* TDialogParts::BuddyEdit(QLabel* label, const QString& objectName) {
  auto* edit = new TEdit(label->parentWidget());
  SetBuddy(label, edit, objectName);
  return edit;
}
