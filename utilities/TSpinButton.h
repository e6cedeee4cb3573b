#pragma once
// TSpinButton: a pair of small arrow buttons, up above down, that step a value
// the owner keeps. Each arrow repeats while held down and carries its own
// accessible name ("Augmenter", "Diminuer") for a screen reader.

#include <QWidget>

class QToolButton;

class TSpinButton : public QWidget {
  Q_OBJECT

 public:
  explicit TSpinButton(QWidget* parent = nullptr);

  QToolButton* UpButton = nullptr;    // "Augmenter"
  QToolButton* DownButton = nullptr;  // "Diminuer"

 signals:
  void UpClick();
  void DownClick();
};
