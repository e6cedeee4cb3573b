#pragma once
// TQueryCommands: the query commands of a document window, each run on the
// document: the SQL and query-by-example windows, the selection filter, count
// and calculate. The document window forwards to them and keeps its views;
// none of them changes the table's fields or records, and none moves its
// cursor.

class QWidget;
class TDocument;

class TQueryCommands {
 public:
  // The modal windows "Requête  SQL" and "Interrogation QBE", owned by `owner`.
  static void Requete(TDocument& doc, QWidget* owner);
  static void Interrogation(const TDocument& doc, QWidget* owner);

  // The "Filtre" dialog on the document's filter. "OK" sets the operator and
  // the value; true when it also gave a field, which is then the filter's
  // field and the caller switches to selection mode. "Annuler" changes nothing.
  // The dialog refuses a filter that names no field of the table (its own
  // field kept when none is typed) or an operator MatchText does not know.
  static bool Filtre(TDocument& doc);

  // "Compter": "<condition> : <n> enregistrements comptés" ("1 enregistrement
  // compté"). The dialog refuses a condition that cannot be read (TExpression):
  // no operator, an unknown one, or a field the table lacks.
  static void Compte(const TDocument& doc);
  // "Calculer": "<condition> - Somme : 42,50" (or Moyenne, Minimum, Maximum);
  // an average, minimum or maximum over no record says "Aucun enregistrement
  // ne satisfait la condition" (a sum of none is 0), a total beyond the 6-byte
  // range "Dépassement de capacité". The condition is checked as the count's.
  // A table without a "FLOAT" field gets no dialog but "Cette table n'a aucun
  // champ numérique (de type FLOAT) : rien à calculer."
  static void Calculer(const TDocument& doc);
};
