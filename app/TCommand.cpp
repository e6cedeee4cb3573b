#include "TCommand.h"

#include <utility>

TCommand TCommand::Key(const QKeySequence& key) && {
  shortcut = key;
  return std::move(*this);
}

TCommand TCommand::Button(const char* buttonName, TToolPicture buttonPicture,
                          const char* hintText) && {
  button = buttonName;
  picture = buttonPicture;
  buttonHint = QString::fromUtf8(hintText);
  return std::move(*this);
}

TCommand TCommand::OffAtStart() && {
  offAtStart = true;
  return std::move(*this);
}

TCommand TCommand::CheckedInView(TView view) && {
  checkedInView = view;
  return std::move(*this);
}

TCommand TCommand::EnabledInView(TView view) && {
  enabling = TEnabling::InView;
  enabledInView = view;
  return std::move(*this);
}

namespace {

TCommand Row(TCommand::TKind kind, const char* name, const char* caption, const char* hint) {
  TCommand row;
  row.kind = kind;
  row.name = name;
  row.caption = QString::fromUtf8(caption);
  row.hint = QString::fromUtf8(hint);
  return row;
}

}  // namespace

TCommand Menu(const char* name, const char* caption, const char* hint) {
  return Row(TCommand::TKind::Menu, name, caption, hint);
}

TCommand SubMenu(const char* name, const char* caption, TEnabling enabling) {
  TCommand row = Row(TCommand::TKind::SubMenu, name, caption, "");
  row.enabling = enabling;
  return row;
}

TCommand EndSubMenu() {
  return Row(TCommand::TKind::EndSubMenu, "", "", "");
}

TCommand Separator() {
  return Row(TCommand::TKind::Separator, "", "", "");
}

TCommand Item(const char* name, const char* caption, const char* hint, std::function<void()> run) {
  TCommand row = Row(TCommand::TKind::Item, name, caption, hint);
  row.run = std::move(run);
  return row;
}

TCommand DocItem(const char* name, const char* caption, const char* hint,
                 std::function<void()> run) {
  TCommand row = Item(name, caption, hint, std::move(run));
  row.enabling = TEnabling::WithDocument;
  return row;
}
