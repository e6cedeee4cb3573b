#pragma once
// IDocumentView: what a command working on a document (TDocument) asks of the
// window that shows it: to write what the user typed into the table before
// the command reads it, to show the table again after it changed, where the
// user stands (the view, the row, the field under the cursor), and to tell the
// user how a long command goes. The document window (TChild) is one; the rooms
// that work on the document (import and export, fields, find and replace, the
// form page) take one beside the document instead of reaching into the window.

#include <QString>
#include <Qt>
#include <functional>

#include "TView.h"

class IDocumentView {
 public:
  virtual ~IDocumentView() = default;

  virtual TView GetOnglet() const = 0;  // the active view
  virtual int RecNo() const = 0;        // record shown by the table view's current row, 0 if none
  virtual int FieldUnderCursor() const = 0;  // 0 in the form view
  virtual void EcritOnglet() = 0;            // the active view's typed values into the table
  virtual void LitOnglet() = 0;              // the active view filled again from the table
  virtual void LitEnr(int recNo) = 0;        // the table view's current row shows that record again
  virtual void InitGrilles() = 0;            // the grids' headers after the fields changed
  virtual void Premier() = 0;                // to the first record the active view shows
  // A find step in the table view: the first row from the top, or after the
  // current row (the last row itself when on it), whose record `matches`
  // becomes the current row, its record current. False when there is none,
  // the record shown then staying current.
  virtual bool FindRow(bool fromFirst, const std::function<bool(int recNo)>& matches) = 0;
  // The current record's value of `field` changed from the form view: the
  // table view's row of that record shows `text` at once.
  virtual void ShowInTableView(int field, const QString& text) = 0;
  // Navigation keys of the window; true when the key was used.
  virtual bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers) = 0;
  virtual void ShowStatus(const QString& text) = 0;  // progress; empty when over
  virtual void ShowFileName() = 0;  // the document has a new file name: the caption follows
  // A key was typed into a box whose text is not in the table yet.
  virtual void TextTyped() {}
  // The document holds a table just opened or recovered: the grids, the rows
  // and the form (the one designed in the document, else the one kept beside
  // `layoutFile`, none when empty). The modified mark stays as it is.
  virtual void ShowLoaded(const QString& layoutFile) = 0;
  virtual void ShowReadOnly() = 0;  // the caption says the file is open read-only
};
