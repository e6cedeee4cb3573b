#pragma once
// TPocket: the "Calculatrice" window, a four-function pocket calculator. The
// window only shows TCalculator: each button presses its key, a typed key clicks
// its button (so keyboard and mouse take the same path), the display label shows
// the result, and a failed step's message goes to Services().Error().
//
// Keys are taken from the window and its buttons, except while "1/x" or "√"
// (the square root) has the focus. A keypad button clicked with the mouse does not take the focus,
// which stays on "=" after clearing. Activating the window clears the calculator;
// coming back from the window's own error box does not.

#include <QDialog>

#include "TCalculator.h"

class QLabel;
class QPushButton;

class TPocket : public QDialog {
  Q_OBJECT

 public:
  explicit TPocket(QWidget* parent = nullptr);

  // "C", and what activating the window does.
  void FormActivate();
  // A typed character: clicks its button. False when no button takes it here.
  bool KeyPress(QChar key);

  // The keys: Button0..Button9 the digits, then 10 ",", 11 "=", 12 "+",
  // 13 "-", 14 "*", 15 "/", 16 "1/x", 17 "√", 18 "C", 19 "Fermer".
  QPushButton* Button[20] = {};
  QLabel* Label1 = nullptr;  // the display: the number typed or the result

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Press(QChar key);

  TCalculator calculator_;
  int errorBoxes_ = 0;            // error boxes of ours now open
  bool leftForErrorBox_ = false;  // the last deactivation went to one of them
};
