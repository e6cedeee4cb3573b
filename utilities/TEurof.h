#pragma once
// TEurof: the "Euro convertisseur" window. It only shows TEuroConverter: the
// buttons and keys type into the input display (Label1), "=" or Enter shows the
// conversion in the result display (Label2), the arrows beside the read-only
// rate box step the rate, and the two radio buttons choose the direction.
//
// Typed keys count while "=" or "Fermer" has the focus, as after activation;
// keypad buttons, the direction and the rate's arrows clicked with the mouse
// leave the focus there. Activating the
// window shows the rate, lets the next key start a new input and puts the focus
// on "="; it does not clear the displays.

#include <QDialog>

#include "TEuroConverter.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TSpinButton;

class TEurof : public QDialog {
  Q_OBJECT

 public:
  explicit TEurof(QWidget* parent = nullptr);

  void FormActivate();
  // A typed key (digit, "," or ".", Enter): false when it does nothing here.
  bool KeyPress(int key, QChar text);

  // The keys: Button0..Button9 the digits, 10 "Fermer", 11 "=", 12 ",".
  QPushButton* Button[13] = {};
  QLabel* Label1 = nullptr;              // the amount typed
  QLabel* Label2 = nullptr;              // the converted amount
  QLineEdit* Edit3 = nullptr;            // the rate, francs for one euro (read-only)
  TSpinButton* SpinButton1 = nullptr;    // steps the rate by 0,00001
  QRadioButton* RadioButton1 = nullptr;  // "Fr>Euro": francs to euros
  QRadioButton* RadioButton2 = nullptr;  // "Euro>Fr": euros to francs

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Type(QChar key);
  void Convert();
  void ShowRate();
  void ShowDisplays();

  TEuroConverter converter_;
};
