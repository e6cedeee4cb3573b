#pragma once
// TFieldCommands: the field and structure commands of a document window,
// working on the document and the view that shows it for the length of one
// command: add a field, delete, rename or retype the field under the cursor,
// show the table's properties, edit the whole structure. The field under the
// cursor is the view's (none in the form view). After a change the grids are
// built again and the view re-read; the document marks itself modified.

#include <QStringList>

class IDocumentView;
class TDocument;

class TFieldCommands {
 public:
  TFieldCommands(TDocument& doc, IDocumentView& view) : doc_(doc), view_(view) {}

  // Asks for a name, proposing "Champ" and `number`, and adds an empty field
  // named so, upper-cased. A snapshot is taken before the question; an
  // emptied answer adds nothing. In the form view nothing is asked and the
  // table is only marked modified.
  void AjoutChamp(int number);
  void SupChamp();  // "Supprimer le champ courant ?", then deletes the field under the cursor
  // Renames and retypes the field under the cursor (TRenum). A name that
  // another field has already is refused: nothing changes.
  void Renommer();
  // The properties dialog (TInfos): the file, the fields, the counts and
  // whether two records are equal. What was typed is not written back first.
  void Proprietes();
  // Edits the list of fields (TModif) and rebuilds the table: every field keeps
  // the values of the field its entry came from, also when renamed; a new entry
  // starts empty. Writes the view back and takes a snapshot first.
  void ModiStru();

  // One line per field: name, the separator, type.
  static QStringList FieldList(const TDocument& doc, char separator);

 private:
  void Rebuilt();  // the grids and the view after the fields changed

  TDocument& doc_;
  IDocumentView& view_;
};
