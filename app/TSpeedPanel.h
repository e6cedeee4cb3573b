#pragma once
// TSpeedPanel: the main window's tool bar, fixed under the menus: the picture
// buttons of the command table (TMainForm::Commands), 25 pixels square, in
// groups separated by a bevel.

#include <QToolBar>
#include <map>

#include "TPictures.h"

class QAction;

class TSpeedPanel : public QToolBar {
 public:
  // `buttons`: the command table's button of each picture; every picture of
  // the layout must have one.
  TSpeedPanel(const std::map<TToolPicture, QAction*>& buttons, QWidget* parent);
};
