#pragma once
// TFindReplace: the find and replace commands of a document window, working
// on the document and the view that shows it for the length of one command.
// The criteria live in the document (TDocument::Find), so that "Continuer"
// goes on from the last find or replace.
//
// A search compares one field of each record with the search value: exactly
// with "=" ("Mot entier"), or as a pattern with "LIKE" and a "*" appended, so
// a prefix without regard to the case of a to z. A new find or replace starts
// on the first record; a continue step goes on after the record shown (on the
// last one it tests that one again). Only the records the view shows are
// visited: the rows of the table view, the selection in the other views in
// selection mode. When nothing is found the record shown stays current, and
// nothing is said. Neither takes an undo snapshot.

class IDocumentView;
class TDocument;

class TFindReplace {
 public:
  TFindReplace(TDocument& doc, IDocumentView& view) : doc_(doc), view_(view) {}

  void Rechercher();  // TFindDlg on the field under the cursor, then the first match
  void Continuer();   // the next match; after a replace, Continuer2
  // TReplaceDlg, then replaces in every matching record (the selection does not
  // limit it) or asks for the first match.
  void Remplacer();
  void Continuer2();  // the next match, then Replace
  void Replace();     // "Remplacer ?" (Yes, No, Cancel); Yes sets the field's whole value
  void ReplaceAll();  // every matching record of the table, without a question

 private:
  // One step from the first record or after the record shown; true with the
  // record found shown and current.
  bool FindStep(bool fromFirst);
  void SetFieldUnderCursor();

  TDocument& doc_;
  IDocumentView& view_;
};
