#pragma once
// TCommand: one row of the main window's command table (TMainForm::Commands),
// the single description of the menus, the tool bar, what each command runs and
// when it is enabled. Rows come in menu order: Menu starts a top-level menu,
// SubMenu ... EndSubMenu nest one, Separator draws a line, and every other row
// is one command, made by Item or DocItem and completed by the modifiers below.
//
// Captions and hints are UTF-8 and shown exactly as written. The object name of
// a command's action is `name` (tests and other code find actions by it); its
// button, when it has one, is a second action with its own name that runs the
// same handler and follows the same enabling.

#include <QKeySequence>
#include <QString>
#include <functional>

#include "TPictures.h"
#include "TView.h"

// When the enabling rules (TMainForm::UpdateMenuItems) enable a command.
enum class TEnabling {
  Always,        // never disabled by the rules
  WithDocument,  // exactly when a document window is open
  InView,        // by the active document's view (see EnabledInView)
};

struct TCommand {
  enum class TKind { Menu, SubMenu, EndSubMenu, Separator, Item };

  TKind kind = TKind::Item;
  const char* name = "";
  QString caption;
  QString hint;
  QKeySequence shortcut;
  std::function<void()> run;
  TEnabling enabling = TEnabling::Always;
  bool offAtStart = false;            // disabled until the enabling rules first run
  TView checkedInView = TView::None;  // a view item: checked while the document shows that view
  // InView: enabled in this view, disabled in the other of the table and
  // column views; the form view leaves it as it is.
  TView enabledInView = TView::None;
  const char* button = nullptr;  // the tool-bar button's name, if any
  TToolPicture picture = TToolPicture::New;
  QString buttonHint;

  TCommand Key(const QKeySequence& key) &&;
  TCommand Button(const char* buttonName, TToolPicture buttonPicture, const char* hintText) &&;
  TCommand OffAtStart() &&;
  TCommand CheckedInView(TView view) &&;
  TCommand EnabledInView(TView view) &&;
};

TCommand Menu(const char* name, const char* caption, const char* hint = "");
TCommand SubMenu(const char* name, const char* caption, TEnabling enabling);
TCommand EndSubMenu();
TCommand Separator();
// A command that needs nothing open.
TCommand Item(const char* name, const char* caption, const char* hint, std::function<void()> run);
// A command on the active document window: enabled when one is open.
TCommand DocItem(const char* name, const char* caption, const char* hint,
                 std::function<void()> run);
