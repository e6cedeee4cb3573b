#pragma once
// TDesignerPictures: the pictures of the form designer's tool buttons, drawn in
// code on a 16 x 16 grid and rendered at a few sizes.

#include <QIcon>

enum class TDesignerTool {
  Clear,
  Background,
  Label,
  Picture,
  Rectangle,
  TextField,
  FieldPicture,
  Modify
};

class TDesignerPictures {
 public:
  static QIcon Tool(TDesignerTool tool);
};
