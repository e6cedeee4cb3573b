#pragma once
// IDocumentView: what a command working on a document (TDocument) asks of the
// window that shows it: to write what the user typed into the table before
// the command reads it, to show the table again after it changed, and to tell
// the user how a long command goes. The document window (TChild) is one; the
// import and export room, the form page and the query commands take one beside
// the document instead of reaching into the window.

#include <QString>
#include <Qt>

#include "TView.h"

class IDocumentView {
 public:
  virtual ~IDocumentView() = default;

  virtual TView GetOnglet() const = 0;  // the active view
  virtual int RecNo() const = 0;        // record shown by the table view's current row, 0 if none
  virtual void EcritOnglet() = 0;       // the active view's typed values into the table
  virtual void LitOnglet() = 0;         // the active view filled again from the table
  virtual void Premier() = 0;           // to the first record the active view shows
  // The current record's value of `field` changed from the form view: the
  // table view's row of that record shows `text` at once.
  virtual void ShowInTableView(int field, const QString& text) = 0;
  // Navigation keys of the window; true when the key was used.
  virtual bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers) = 0;
  virtual void ShowStatus(const QString& text) = 0;  // progress; empty when over
  virtual void ShowFileName() = 0;  // the document has a new file name: the caption follows
};
