#pragma once
// TFormControls: the control that shows one element of a record form, shared by
// the form view and the form designer. The caller owns what is returned (as
// the parent's child) and places it: the element's position plus `offset`.
//
// Labels show their caption as plain text in the element's font: the page's
// font for every attribute the line does not give. Edit boxes are empty and
// named after their field (object and accessible name). Shapes have a 1-pixel
// outline. Embedded pictures show their pixels; field pictures are 105 x 105.

#include <QFont>
#include <QPoint>

#include "TLayoutLine.h"

class QWidget;

class TFormControls {
 public:
  static constexpr int kFieldPictureSize = 105;

  // Null for a line of no kind.
  static QWidget* Create(const TLayoutLine& element, QWidget* parent, const QFont& pageFont,
                         QPoint offset);
  static QFont LabelFont(const TLayoutLine& element, const QFont& pageFont);
  // The font's size, style digit and name into a label element; a combination
  // of styles is written as regular.
  static void SetLabelFont(TLayoutLine& element, const QFont& font);
  // In points, also for a font sized in pixels.
  static int PointSize(const QFont& font);
};
