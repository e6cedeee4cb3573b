#pragma once
// TQueryToolBar: the tool bar across the top of the SQL and query-by-example
// windows ("Panel1", 33 pixels high): picture buttons left to right, separators
// ("Bevel1"), and the "Fermer" button near the right edge. A picture button's
// hint is its tool tip and its accessible name; a click leaves the focus in
// the statement or the grid, and the keyboard reaches it with Tab.

#include <QFrame>
#include <QString>

#include "TPictures.h"

class QHBoxLayout;
class QPushButton;
class QToolButton;

class TQueryToolBar : public QFrame {
  Q_OBJECT

 public:
  explicit TQueryToolBar(QWidget* parent = nullptr);

  QToolButton* AddButton(const char* objectName, TToolPicture picture, const QString& hint);
  void AddSeparator();
  // "Fermer" (`Button1`), after a stretch.
  QPushButton* AddClose();

 private:
  QHBoxLayout* layout_;
};
