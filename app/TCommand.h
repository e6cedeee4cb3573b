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
// same handler and follows the same enabling. An empty handler does nothing:
// the commands still to be written are rows with {} waiting for theirs.

#include <QKeySequence>
#include <QString>
#include <functional>

#include "TPictures.h"

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
  bool offAtStart = false;       // disabled until the enabling rules first run
  int checkedInView = 0;         // a view item: checked while the document shows that view
  int enabledInView = 0;         // InView: enabled in this view, disabled in the other of 1 and 2
  const char* button = nullptr;  // the tool-bar button's name, if any
  TToolPicture picture = TToolPicture::New;
  QString buttonHint;

  TCommand Key(const QKeySequence& key) &&;
  TCommand Button(const char* buttonName, TToolPicture buttonPicture, const char* hintText) &&;
  TCommand OffAtStart() &&;
  TCommand CheckedInView(int view) &&;
  TCommand EnabledInView(int view) &&;
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
