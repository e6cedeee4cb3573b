#pragma once
// The width a window's title bar needs to show its caption whole, and the
// widening of a dialog to it. The title bar is the window manager's: its font
// is taken to be the application's in bold, beside the window's icon and up
// to three buttons (which some window managers add to any dialog), each about
// as wide as the bar is high.

#include <QString>

class QWidget;

int CaptionWidth(const QString& caption);

// Makes `window` at least CaptionWidth(its caption) wide. A layout that fixes
// the window's size (QLayout::SetFixedSize) is asked for the room itself, so
// that the widening holds when the layout sizes the window again.
void FitCaption(QWidget& window);
