#pragma once
// THelpKey: F1 anywhere in the program opens the manual at the page of the
// window the key was pressed in (HelpPageFor), whatever has the focus there.
// Installed once on the application (Install); it takes F1 before any shortcut
// or widget does, so that a menu item bound to F1 in the main window and a
// dialog's own keys never see it.

#include <QObject>

class THelpKey : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  // Installs one filter on the application, owned by it; a second call does
  // nothing.
  static void Install();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
