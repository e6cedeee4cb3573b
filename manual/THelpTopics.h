#pragma once
// HelpPageFor: which page of the manual tells about the window that holds a
// widget. Walking from the widget up through its parents (a message box's
// parent window too), the first widget that names a page decides: its
// "helpPage" property when set, else the page of its class (the windows and
// dialogs of the program, by class name). When none does, the table of
// contents.
//
// F1 (THelpKey) and the "Manuel d'utilisation" command open that page; a new
// window or dialog gets its page by one line in the list in THelpTopics.cpp.

#include <QString>

class QWidget;

QString HelpPageFor(const QWidget* widget);
