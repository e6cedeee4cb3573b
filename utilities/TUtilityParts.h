#pragma once
// TUtilityParts: the pieces the desk utilities build alike, so that their frames,
// colours, buttons and displays look and speak the same in every window.

#include <QColor>
#include <QFont>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

class TUtilityParts {
 public:
  // The design's colours.
  static const QColor Teal, Navy, Red, Lime, Grey, White, Black;

  // The caption, and a fixed frame with only the title and the close button.
  static void SetFixedDialog(QDialog* dialog, const QString& title);

  // A push button named `objectName`, its accessible name its caption. A
  // description says more where the caption is terse ("√"). Keypad buttons
  // take the focus from Tab only, so that a click leaves the keyboard where it was.
  static QPushButton* Button(QWidget* parent, const QString& caption, const QString& objectName,
                             const QString& description = QString());
  static QPushButton* KeypadButton(QWidget* parent, const QString& caption,
                                   const QString& objectName,
                                   const QString& description = QString());

  // Fills a widget's background, and its text when `text` is valid.
  static void Paint(QWidget* widget, const QColor& background, const QColor& text = QColor());

  // A right-aligned number display. A screen reader reads the number shown
  // (ShowNumber makes it the accessible name) and, while the display is empty,
  // what it shows (`description`, also its accessible description).
  static QLabel* Display(QWidget* parent, const QString& objectName, const QString& description,
                         const QColor& background, const QColor& text);
  static void ShowNumber(QLabel* display, const QString& text);

  static QFont Arial(int pointSize, bool bold, bool italic = false);
};
