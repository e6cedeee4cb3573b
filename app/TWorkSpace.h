#pragma once
// TWorkSpace: the main window's multiple-document area. It holds the document
// windows (TChild), each in a sub-window of its own that is deleted when it
// closes, and does what the "Fenêtre" menu asks of them besides cascading and
// tiling: arranging the icons of the minimised windows, minimising them all,
// and listing them in the menu for the user to pick one.

#include <QList>
#include <QMdiArea>

class QMenu;
class TChild;

class TWorkSpace : public QMdiArea {
 public:
  explicit TWorkSpace(QWidget* parent = nullptr);

  TChild* ActiveChild() const;
  QList<TChild*> Children() const;  // in the order they were opened

  // Shows a new document window at its own size and makes it the active one.
  void AddChild(TChild* child);
  // Takes a window away at once (one that could not be filled), without
  // putting the close question to it.
  void RemoveChild(TChild* child);

  // The window showing that file (the same file by any path), if any.
  TChild* ChildOf(const QString& fileName) const;
  void Activate(TChild* child);  // shown again if minimised, and made active

  // Minimised windows in a row along the bottom edge, further rows above it,
  // in the order they were opened.
  void ArrangeIcons();
  void MinimizeAll();  // from the last window opened to the first
  // The menu keeps its first `kept` items; then, after a separator, one item
  // per window ("&1 clients.qor"...), the active one checked, which brings
  // that window back and activates it.
  void ListWindows(QMenu* menu, int kept);
};
