#pragma once
// TCrefiche: the form designer ("Création du fichier"), a modal window in which
// the user composes a record form from labels, pictures, lines, rectangles and
// text fields bound to the table's fields. Init builds the surface from layout
// lines; Result gives the layout back (nothing unless "OK" was pressed) and
// destroys the elements. Elements are placed and sized only through the
// element dialogs (TCreLbl, TCreLig, TCreRec, TCreEdt, TCreImg), which run
// through Services().RunDialog, like every question and file dialog here.
//
// Each element keeps the values it was read with, font colour codes and the
// pixels of an embedded picture included, so OK without edits gives back the
// lines it was given (hexadecimal digits in upper case); a line of no known
// kind is kept as it was, unseen. A layout whose building stops at a line
// (TFormLayout::Read) keeps that line and the ones after it, unseen, and gives
// them back after the elements. Numbers entered in the dialogs are clamped
// to what the layout can hold: positions and shape sizes 0 to FFFF, text
// field widths 0 to FFF; pictures larger than FFF pixels are cut.
//
// Nothing is lost by a slip: the keyboard starts on the surface, "Tout
// effacer" asks "Effacer tous les éléments du formulaire ?", and leaving
// without "OK" (Annuler, Escape, the close box) once the layout has changed
// asks "Abandonner les modifications du formulaire ?"; "Non" stays.
//
// The surface is the window's client area; the 33-pixel tool bar lies over its
// top. Elements do not take the mouse: the window finds the element under the
// pointer for selecting, the element menu and the pointer zones. The window
// owns its elements' controls.

#include <QCursor>
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "TLayoutLine.h"

class QAction;
class QLabel;
class QMenu;
class QPainter;
class QPushButton;
class QToolButton;

class TCrefiche : public QDialog {
 public:
  struct TElement {
    TLayoutLine line;
    QWidget* control = nullptr;  // none for a line of no known kind
    int outline = 1;             // a rectangle's outline thickness, not written
    QSize frame;                 // a field picture's frame, not written
    bool ownMenu = false;        // carries the element menu itself
  };

  explicit TCrefiche(QWidget* parent = nullptr);

  void Init(const std::vector<std::string>& layout, const std::vector<std::string>& fieldNames);
  // The layout when "OK" was pressed (empty for an empty surface), nothing
  // otherwise; the elements are destroyed either way.
  std::optional<std::vector<std::string>> Result();
  // Whether the layout differs from the one Init was given.
  bool Changed() const;

  void SpeedButton8Click();  // "Tout effacer"
  void SpeedButton1Click();  // "Couleur de fond"
  void SpeedButton2Click();  // "Libellé"
  void SpeedButton3Click();  // "Image"
  void SpeedButton4Click();  // "Ligne"
  void SpeedButton5Click();  // "Rectangle"
  void SpeedButton6Click();  // "Champ texte"
  void SpeedButton7Click();  // "Champ image"
  void SpeedButton9Click();  // "Modifier"
  void Supprimer1Click();    // "Supprimer" of the element menu
  void Button1Click();       // "Annuler"
  void Button2Click();       // "OK"

  // What the mouse does, public so that tests can drive it: the topmost
  // element at a point of the surface (-1 for none), a click on an element
  // (-1: on the empty surface), and a pointer move to (x, y) within an element.
  int ElementAt(QPoint pos) const;
  void ElementClick(int index);
  void CurseurSel(int x, int y);
  bool MenuAt(QPoint pos) const;  // whether a right click there opens the element menu

  std::vector<TElement> Elements;
  std::vector<std::string> FieldNames;
  int FieldElementCount = 0;
  int SelectedIndex = -1;
  QPoint Pointer;
  int Zone = 0;

  QWidget* ToolBar = nullptr;           // the tools, over the surface's top
  QToolButton* SpeedButton1 = nullptr;  // "Couleur de fond"
  QToolButton* SpeedButton2 = nullptr;  // "Libellé": adds a label
  QToolButton* SpeedButton3 = nullptr;  // "Image": adds an embedded picture
  QToolButton* SpeedButton4 = nullptr;  // "Ligne" ("----"): adds a line
  QToolButton* SpeedButton5 = nullptr;  // "Rectangle": adds a rectangle
  QToolButton* SpeedButton6 = nullptr;  // "Champ texte": adds a text field
  QToolButton* SpeedButton7 = nullptr;  // "Champ image": not on the tool bar
  QToolButton* SpeedButton8 = nullptr;  // "Tout effacer": removes every element
  QToolButton* SpeedButton9 = nullptr;  // "Modifier": the selected element's dialog
  QPushButton* Button1 = nullptr;       // "Annuler"
  QPushButton* Button2 = nullptr;       // "OK"
  QLabel* StaticText1 = nullptr;        // the pointer's zone and position
  QMenu* PopupMenu1 = nullptr;          // the element menu
  QAction* Modifier1 = nullptr;         // "Modifier"
  QAction* Supprimer1 = nullptr;        // "Supprimer"
  // The surface the form is drawn on: takes the keyboard, paints the
  // selection above the elements, lets the mouse through to the window.
  QWidget* Surface = nullptr;

  // "Annuler", Escape and the close box: asks first when the layout changed.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* AddTool(const QString& hint, int index);
  void AddElement(TElement element);
  void Rebuild(TElement& element);  // a new control for changed values
  void Clear();
  void RectSel(QPainter& painter) const;
  // Centred on the window; gives the surface the element menu.
  void AddCentred(TElement element);
  // Each element dialog opened on an element's values, which take the answers;
  // false when cancelled or refused. A fresh label takes the chosen font
  // whole; a label read from the layout keeps what the user left alone.
  bool AskLabel(TLayoutLine& line, bool fresh);
  bool AskLine(TLayoutLine& line);
  bool AskRectangle(TElement& element);
  bool AskTextField(TLayoutLine& line, int except);
  bool AskFieldPicture(TElement& element);
  // A field a text field may be bound to, other than `except`'s; else a message.
  bool CanBind(const std::string& field, int except) const;
  // Asks for a picture file and reads its pixels into `line`; false when
  // cancelled or when the file cannot be decoded (message shown).
  bool ChoosePicture(TLayoutLine& line);

  std::vector<std::string> Lines() const;

  std::vector<std::string> initial_;  // the layout as Init gave it
  std::vector<std::string> unbuilt_;  // the lines from one that could not be built
  bool surfaceMenu_ = false;
  QCursor windowCursor_;
};
