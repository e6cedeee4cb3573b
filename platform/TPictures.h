#pragma once
// TPictures: the program's own pictures, drawn in code so that every picture we
// ship is ours: the program icon, the splash picture and the tool-bar pictures,
// which picture buttons of other windows share (the notepad's "Imprimer"), and
// the form designer's tool pictures.
//
// Tool-bar pictures are drawn on a 16 x 16 grid and rendered at several sizes, so
// they stay sharp on high-density screens; Qt derives the greyed disabled look.
// Every call draws afresh; callers keep the icons they need.

#include <QIcon>
#include <QPixmap>

enum class TToolPicture {
  New,
  Open,
  Save,
  Print,
  Copy,
  Paste,
  Find,
  AddRecord,
  DeleteRecord,
  First,
  Prior,
  Next,
  Last,
  TableView,
  ColumnView,
  FormView,
  RunQuery,
  ChooseFields,
  // The form designer's tools.
  DesignClear,
  DesignBackground,
  DesignLabel,
  DesignPicture,
  DesignRectangle,
  DesignTextField,
  DesignFieldPicture,
  DesignModify,
};

class TPictures {
 public:
  static QIcon ToolButton(TToolPicture picture);
  // The program's picture: a table sheet over a blue card, `size` pixels square.
  static QPixmap Program(int size);
  static QIcon ProgramIcon();

 private:
  static void DrawTool(QPainter& painter, TToolPicture picture);
  static void DrawProgram(QPainter& painter);
};
