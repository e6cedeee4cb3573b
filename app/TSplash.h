#pragma once
// TSplash: the start-up window shown while the main window is being built. No
// border and no system buttons, 318 x 221 pixels, centred on the screen: an
// orange raised panel with the program's picture, the product name and version.
//
// Whoever shows it owns it; the main window destroys it when it is first shown.
// ShowNow() paints it at once, before the message loop runs.

#include <QWidget>

class QFrame;

class TSplash : public QWidget {
  Q_OBJECT

 public:
  explicit TSplash(QWidget* parent = nullptr);

  void ShowNow();

 private:
  QFrame* Panel1;  // the coloured panel that holds the picture and the texts
};
