#pragma once
// TStatusText: a command's status text ("Enregistre...", "Trie...") in the main
// window's first status panel for the life of the object, so that an early
// return can never leave it on. Made: the text is shown and painted at once,
// for the command that follows keeps the event loop busy. Destroyed: the panel
// is emptied. A null text shows and empties nothing.

#include <QPointer>

class QLabel;

class TStatusText {
 public:
  TStatusText(QLabel* panel, const char* text);
  ~TStatusText();
  TStatusText(const TStatusText&) = delete;
  TStatusText& operator=(const TStatusText&) = delete;

 private:
  QPointer<QLabel> panel_;
};
