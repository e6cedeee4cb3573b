#include "TSpeedPanel.h"

#include <QAction>
#include <vector>

TSpeedPanel::TSpeedPanel(const std::map<TToolPicture, QAction*>& buttons, QWidget* parent)
    : QToolBar(QStringLiteral("Barre d'outils"), parent) {
  setObjectName(QStringLiteral("SpeedPanel"));
  setMovable(false);
  setFloatable(false);
  setContextMenuPolicy(Qt::PreventContextMenu);
  toggleViewAction()->setEnabled(false);
  setIconSize(QSize(16, 16));
  setFixedHeight(33);
  using P = TToolPicture;
  const std::vector<std::vector<TToolPicture>> groups = {
      {P::New, P::Open, P::Save, P::Print},
      {P::Copy, P::Paste, P::Find},
      {P::AddRecord, P::DeleteRecord},
      {P::First, P::Prior, P::Next, P::Last},
      {P::TableView, P::ColumnView, P::FormView},
  };
  for (size_t g = 0; g < groups.size(); ++g) {
    if (g > 0) addSeparator();
    for (TToolPicture picture : groups[g]) {
      QAction* action = buttons.at(picture);
      addAction(action);
      if (QWidget* button = widgetForAction(action)) button->setFixedSize(25, 25);
    }
  }
}
