#pragma once
// TElementDialog: what the form designer's five element dialogs share: a
// fixed frame with a caption, labelled fields in a grid, and "Annuler" then
// "OK" below them; "OK" is the default button, so Enter confirms. Each
// dialog's Result gives its answers only when "OK" was pressed since it was
// last shown - not after "Annuler", Escape or the close box (Confirmed()).
// Built in code so that a test can fill the fields and press the buttons.

#include <QDialog>
#include <climits>

class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;

class TElementDialog : public QDialog {
 public:
  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"

  QPushButton* Button1 = nullptr;  // "Annuler"
  QPushButton* Button2 = nullptr;  // "OK": the default button

 protected:
  TElementDialog(const QString& caption, QWidget* parent);

  // A label and a control in the next row of the grid; the control takes the
  // label's caption as its accessible name.
  void AddRow(const QString& caption, QWidget* control);
  // An integer spin field, without bounds unless given.
  QSpinBox* AddNumber(const QString& caption, const QString& objectName, int value,
                      int minimum = INT_MIN, int maximum = INT_MAX);
  // Called last by each dialog, so that the buttons come last in the Tab order.
  void AddButtons(const QString& okCaption = QStringLiteral("OK"));
  bool Confirmed() const { return result() == QDialog::Accepted; }

  void showEvent(QShowEvent* event) override;

 private:
  QGridLayout* fields_ = nullptr;
};
