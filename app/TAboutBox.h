#pragma once
// TAboutBox: the "A propos" box: the program's picture, the product name and
// version, and a default "OK" button that closes it. Fixed size, centred on the
// screen. Shown modally through Services().RunDialog() by whoever creates it.

#include <QDialog>

class QPushButton;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QPushButton* OKButton;  // "OK", the default button, closes the box
};
