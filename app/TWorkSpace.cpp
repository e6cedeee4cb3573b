#include "TWorkSpace.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiSubWindow>
#include <QMenu>

#include "FileNames.h"
#include "TChild.h"
#include "TTableLock.h"

TWorkSpace::TWorkSpace(QWidget* parent) : QMdiArea(parent) {
  setObjectName(QStringLiteral("MdiArea"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

TChild* TWorkSpace::ChildOf(const QString& fileName) const {
  const std::string wanted = TTableLock::CanonicalPath(EnginePath(fileName));
  for (TChild* child : Children())
    if (!child->FileName().isEmpty() &&
        TTableLock::CanonicalPath(EnginePath(child->FileName())) == wanted)
      return child;
  return nullptr;
}

void TWorkSpace::Activate(TChild* child) {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget())) {
    if (sub->isMinimized()) sub->showNormal();
    setActiveSubWindow(sub);
  }
}

TChild* TWorkSpace::ActiveChild() const {
  QMdiSubWindow* sub = currentSubWindow();
  return sub ? qobject_cast<TChild*>(sub->widget()) : nullptr;
}

QList<TChild*> TWorkSpace::Children() const {
  QList<TChild*> children;
  for (QMdiSubWindow* sub : subWindowList(QMdiArea::CreationOrder))
    if (auto* child = qobject_cast<TChild*>(sub->widget())) children.append(child);
  return children;
}

void TWorkSpace::AddChild(TChild* child) {
  // The window's own size is its outer size in the work space.
  const QSize designSize = child->size();
  QMdiSubWindow* sub = addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->resize(designSize);
  sub->show();
  setActiveSubWindow(sub);
}

void TWorkSpace::RemoveChild(TChild* child) {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget())) {
    removeSubWindow(sub);
    delete sub;
  }
}

void TWorkSpace::ArrangeIcons() {
  const QRect area = viewport()->rect();
  int x = 0;
  int y = area.bottom() + 1;
  for (QMdiSubWindow* sub : subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->isMinimized()) continue;
    const QSize size = sub->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      y -= size.height();
    }
    if (x == 0 && y == area.bottom() + 1) y -= size.height();
    sub->move(x, y);
    x += size.width();
  }
}

void TWorkSpace::MinimizeAll() {
  const QList<QMdiSubWindow*> subs = subWindowList(QMdiArea::CreationOrder);
  for (int i = subs.size() - 1; i >= 0; --i) subs[i]->showMinimized();
}

void TWorkSpace::ListWindows(QMenu* menu, int kept) {
  const QList<QAction*> actions = menu->actions();
  for (int i = kept; i < actions.size(); ++i) {
    menu->removeAction(actions[i]);
    delete actions[i];
  }
  const QList<QMdiSubWindow*> subs = subWindowList(QMdiArea::CreationOrder);
  if (subs.isEmpty()) return;
  menu->addSeparator();
  auto* group = new QActionGroup(menu);
  for (int i = 0; i < subs.size(); ++i) {
    QMdiSubWindow* sub = subs[i];
    const QString title = sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle();
    const QString caption = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                                  : QStringLiteral("%1 %2").arg(i + 1).arg(title);
    QAction* action = menu->addAction(caption);
    action->setCheckable(true);
    action->setChecked(sub == currentSubWindow());
    group->addAction(action);
    connect(action, &QAction::triggered, sub, [this, sub] {
      if (sub->isMinimized()) sub->showNormal();
      setActiveSubWindow(sub);
    });
  }
}
