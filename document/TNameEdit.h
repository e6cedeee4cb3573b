#pragma once
// TNameEdit: the name box of the field dialogs. Field names are made of the
// letters A to Z (either case) and digits only, because the structure lists
// separate a name from its type by the first blank. Of the typed characters it
// lets through Backspace and those whose lower-case form is in
// "azertyuiopqsdfghjklmwxcvbn0123456789"; every other one (blank, punctuation,
// accented letter, Enter, control characters) is discarded. Pasting, dropping
// and composed input that would bring other characters are refused too, so
// that nothing reaches the box around the filter. Keys that type nothing
// (arrows, Delete, Home, Tab, Escape) and copy, cut, undo and select-all work
// as usual. setText() is not filtered: a caller may show a name from a file.

#include <QLineEdit>

class TNameEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TNameEdit(QWidget* parent = nullptr);

  static bool IsNameChar(QChar c);
  // Raises a to z only, as names are compared byte by byte.
  static QString UpperName(const QString& name);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
};
