#pragma once
// TChild: the document window of one open table, a child of the main window's
// multiple-document area. It owns the document (TDocument: the table, its file
// name, Modified, the undo snapshot, the filter, the find criteria) and shows
// it in one of three views on a page control without tabs: the table view
// (StringGrid1, one record per row, record number in column 0), the column view
// (StringGrid2, the current record, one field per row) and the form view
// (TabSheet3, TFormPage).
//
// The window keeps views and document in step: the Lit* operations fill a view
// from the table, the Ecrit* operations write what the user typed back into it
// (only when a printable key was typed, `RowEdited`). The main window calls
// Init or OpenFile once, then Vue and the commands; every command that reads or
// changes the table first calls EcritOnglet and re-reads the view afterwards.
// What a command does to the table is the document's; the questions and
// dialogs around it are the window's, or those of the rooms it forwards to
// (TImportExport, TFieldCommands, TFindReplace, TQueryCommands), which work on
// the document and on this window as its view (IDocumentView).
//
// The caption is the name the window was given (the table file's name), and
// while the selection is on it ends with " (filtre)"; a name given later (a
// save as) keeps that ending.
//
// What the user types and has not written back is journaled a moment after
// the last key (TDocument::JournalTyped), so that a program that dies while
// the user types loses at most that moment.
//
// Nothing here talks to the user except through Services(). A document window
// never reaches the main window: it reports view changes, a new file name and
// the selection going on or off through signals. It deletes itself when closed
// (WA_DeleteOnClose); closing asks the close question first and refuses while
// the table could not be saved.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>

#include "IDocumentView.h"
#include "IServices.h"
#include "TDocument.h"
#include "TEnvelopePrintout.h"
#include "TFieldCommands.h"
#include "TFindReplace.h"
#include "TFormPage.h"
#include "TImportExport.h"
#include "TQueryCommands.h"

class QStackedWidget;
class QTimer;
class TJournalReader;
class TStringGrid;
class TTableGridSource;

class TChild : public QWidget, public IDocumentView {
  Q_OBJECT

  // First, so that the view parts that refer to it go before it.
  TDocument doc_;

 public:
  explicit TChild(QWidget* parent = nullptr);
  ~TChild() override;

  TDocument& Document() { return doc_; }
  const TDocument& Document() const { return doc_; }
  QString FileName() const;  // full path of the table file; empty for a new table

  // --- Filling the window (called once, right after creation) ---

  // A new, empty table: each entry is a field name, one space and a type name
  // (a type beginning with "F" gives "FLOAT", anything else "STRING").
  void Init(const QStringList& fields);
  // Loads a file as a table, or the table a program that died left in a
  // journal, and shows it in the table view (TOpenCommands). False when
  // nothing was loaded: the caller then deletes the window.
  bool OpenFile(const QString& name);
  bool Recover(TJournalReader& journal);

  // --- Views ---

  void InitGrilles() override;  // rebuilds both grids' headers from the fields
  void Remplit();               // refills the table view and goes to its first row
  // Display text of field i of the current record: trimmed, and for a "FLOAT"
  // field padded on the left with spaces to the column's width.
  QString LitChamp(int i);
  void LitEnr(int n) override;       // makes record n current, shows it in the current row
  void EcritEnr(int n);              // current row -> record n, when a key was typed
  void LitFiche();                   // current record -> column view
  void EcritFiche();                 // column view -> current record, when a key was typed
  void LitOnglet() override;         // re-reads the active view
  void EcritOnglet() override;       // writes the active view back
  int RecNo() const override;        // record number shown by the current row, 0 if none
  TView GetOnglet() const override;  // the active view
  void Vue(TView view);              // shows that view; emits ViewChanged
  // Gives the keyboard back to the view after a command: its current cell, or
  // in the form view its first field when the focus is not in the page.
  void FocusView();

  // Form view: its controls live in FormPage, its layout in the document.
  void ChargeMasque(const QString& tableFileName) { FormPage->ChargeMasque(tableFileName); }
  void MasqueDefaut() { FormPage->MasqueDefaut(); }
  void CreMasque() { FormPage->CreMasque(); }
  void LitMasque() { FormPage->LitMasque(); }
  void EcritMasque() { FormPage->EcritMasque(); }
  void Raz() { FormPage->Raz(); }
  void ModiFiche();  // writes the view back, then the form designer

  // --- Saving, import and export (TImportExport) ---

  void Memorise() { doc_.Memorise(); }  // takes the undo snapshot
  // Saves the table when it was modified: to FileName through the engine, or
  // through SaveAs when there is no file name or the file is read-only ("Fichier
  // en lecture seule" first). True when the table is saved afterwards (or had
  // nothing to save); false when the user cancelled or the save failed, and
  // then Modified stays true.
  bool Enregistrer() { return ImportExport().Enregistrer(); }
  // Asks for a name and one of six formats and writes the table. True when the
  // whole table was written and the file became the document's file; false when
  // cancelled, refused, failed (warning shown, FileName and caption unchanged)
  // or when only the structure was written. Leaves Modified as it was.
  bool SaveAs() { return ImportExport().SaveAs(); }
  bool SauveStru(const QString& path) { return ImportExport().SauveStru(path); }
  bool SauveXml(const QString& path) { return ImportExport().SauveXml(path); }
  // Importer asks for a file and appends its records (undo takes them back);
  // the Impor* operations append one file. Exporter writes the table, or in
  // selection mode the selected records, as semicolon text, tab text or XML,
  // without changing FileName.
  void Importer() { ImportExport().Importer(); }
  bool ImporTxt(const QString& path) { return ImportExport().ImporTxt(path); }
  bool ImporCsv(const QString& path) { return ImportExport().ImporCsv(path); }
  bool ImporDbf(const QString& path) { return ImportExport().ImporDbf(path); }
  void Exporter() { ImportExport().Exporter(); }
  bool ExportCsv(const QString& path) { return ImportExport().ExportCsv(path); }
  bool ExportTxt(const QString& path) { return ImportExport().ExportTxt(path); }
  bool ExportXml(const QString& path) { return ImportExport().ExportXml(path); }

  // --- Navigation, in the records the active view shows ---

  void Precedent() { Navigate(false, false); }
  void Suivant() { Navigate(true, false); }
  void Premier() override { Navigate(false, true); }
  void Dernier() { Navigate(true, true); }
  void Aller();    // asks for a record number (TEnreg) and goes to it
  void AffTout();  // shows all records
  // Shows the records matching the selection filter, from the first of them.
  void AffSel();
  void Largeur();  // fits the table view's column widths to their contents

  // --- Editing commands ---

  // Appends an empty record and shows it; leaves the selection. Does not mark
  // the table modified: values typed into the record will.
  void Ajouter();
  void Supprimer();  // "Supprimer l'enregistrement ?", then deletes the record shown
  // Copies the values of the record shown (the current row's in the table view)
  // into the copy buffer, and pastes them into the record shown.
  void Copier();
  void Coller();
  void Annuler();  // restores the last snapshot, which stays for another undo
  // Sort every record by the field under the cursor, as numbers for a "FLOAT"
  // field; nothing is sorted in the form view.
  void TriAscendant() { Trie(true); }
  void TriDescendant() { Trie(false); }
  void Doublons();   // "Supprimer les doublons de la table ?", then removes them
  void Convertir();  // "Convertir les caractères de la table ?", DOS letters in every value

  // --- Field and structure commands (TFieldCommands) ---

  // Asks for a name, proposing "Champ" and the number of the grid's next
  // column or row, and adds an empty field, its name upper-cased.
  void AjoutChamp();
  void SupChamp() { FieldCommands().SupChamp(); }
  void Renommer() { FieldCommands().Renommer(); }
  void Proprietes() { FieldCommands().Proprietes(); }
  void ModiStru() { FieldCommands().ModiStru(); }

  // --- Find and replace (TFindReplace, which says what they visit) ---

  void Rechercher() { FindReplace().Rechercher(); }
  void Continuer() { FindReplace().Continuer(); }
  void Remplacer() { FindReplace().Remplacer(); }
  void Continuer2() { FindReplace().Continuer2(); }
  void Replace() { FindReplace().Replace(); }
  void ReplaceAll() { FindReplace().ReplaceAll(); }

  // --- Queries: they read the table and change none of its records ---

  // The selection filter (TFrmFiltre), then AffSel.
  void Filtre() {
    EcritOnglet();
    if (TQueryCommands::Filtre(doc_)) AffSel();
  }
  // The SQL and query-by-example windows on the table.
  void Requete() {
    EcritOnglet();
    TQueryCommands::Requete(doc_, this);
  }
  void Interrogation() {
    EcritOnglet();
    TQueryCommands::Interrogation(doc_, this);
  }
  // Counts the records that satisfy a typed condition.
  void Compte() {
    EcritOnglet();
    TQueryCommands::Compte(doc_);
  }
  // Sum, average, minimum or maximum of a "FLOAT" field.
  void Calculer() {
    EcritOnglet();
    TQueryCommands::Calculer(doc_);
  }
  // The statistics window over the table, grouped by the field under the cursor.
  void Statistiques();

  // --- Printing: the print dialog, then the print room draws what the window shows ---

  void ImpListe();  // the table view as a ruled list, headed by FileName
  void ImpFiche();  // the column view as it was last shown
  void ImpStru();   // "Structure du fichier <name>", then one line per field
  void Apercu();    // the table view's list in "Aperçu avant impression"
  // The envelope settings, copied from the main window for one envelope command.
  void SetEnv(const TEnvelopeSettings& settings) { Envelope = settings; }
  void SetEnv(const std::array<QString, 4>& senderLines, int offset, int orientation) {
    Envelope = {senderLines, offset, orientation};
  }
  std::array<QString, 4> GetEnv() const { return Envelope.SenderLines; }
  // The envelope dialog, then an envelope per record shown: all, or the
  // selection in selection mode. Writes the view back first.
  void ImpEnv();

  // The close question: true when the window may close. Asks "Enregistrer
  // changements dans '<file>'?" (Yes, No, Cancel) when the table was modified;
  // Yes saves, and the window stays open when the table was not saved after all.
  bool FormCloseQuery();

  // --- Event handlers, public so that tests can drive them as the grids do ---

  // Row change of the table view: before the move, snapshot and write the row
  // being left. Always allows the move.
  bool StringGrid1SelectCell(int col, int row);
  void StringGrid1KeyPress(QChar c);  // a printable character sets RowEdited
  // Page Up/Down in the column and form views, Ctrl+Home/End everywhere; true
  // when the key was consumed.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers) override;
  void TabSheet1Exit();
  void TabSheet2Exit();
  void TabSheet3Exit();

  // --- Controls, owned by the window ---

  QStackedWidget* PageControl1 = nullptr;  // the three view pages, tabs hidden
  QWidget* TabSheet1 = nullptr;            // page of the table view
  QWidget* TabSheet2 = nullptr;            // page of the column view
  QWidget* TabSheet3 = nullptr;            // page of the form view, filled by FormPage
  TStringGrid* StringGrid1 = nullptr;      // the table grid: one record per row
  TStringGrid* StringGrid2 = nullptr;      // the column grid: one field per row

  // A printable key was typed in a grid since the view was last read; the
  // write-back operations store nothing while it is false.
  bool RowEdited = false;
  // The envelope settings of the envelope command, copied in by the main window.
  TEnvelopeSettings Envelope;
  // What is typed and not yet written back goes into the recovery journal a
  // moment after the last key (TRecoveryJournal::Settings().typedDelayMs).
  QTimer* TypingTimer = nullptr;
  // The texts typed in the table view's current row, or in the form view's
  // boxes, that the table does not hold yet.
  std::vector<TTypedText> TypedTexts() const;
  // The controls of the form view, built from the document's layout.
  std::unique_ptr<TFormPage> FormPage;

 signals:
  // The active view changed (Vue); the main window updates its menus.
  void ViewChanged(TView view);
  // FileName changed through a save as; the caption has been set already.
  void FileNameChanged(const QString& fileName);
  // Progress of a long command for the status bar; empty when it is over.
  void StatusText(const QString& text);
  // The selection went on or off (the views show only the filter's records).
  void SelectionModeChanged(bool on);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // IDocumentView, for the rooms that work on the document.
  int FieldUnderCursor() const override;
  bool FindRow(bool fromFirst, const std::function<bool(int recNo)>& matches) override;
  void ShowInTableView(int field, const QString& text) override;
  void ShowStatus(const QString& text) override { emit StatusText(text); }
  void ShowFileName() override;
  void TextTyped() override;  // restarts TypingTimer
  void JournalTyped();
  // An editor's text changed, by a key or a paste: the row is written back
  // when it is left.
  void CellEdited() {
    RowEdited = true;
    TextTyped();
  }
  void ShowLoaded(const QString& layoutFile) override;
  void ShowReadOnly() override;

  TQor2& Table() { return doc_.Table(); }
  const TQor2& Table() const { return doc_.Table(); }
  TImportExport ImportExport() { return TImportExport(doc_, *this); }
  TFieldCommands FieldCommands() { return TFieldCommands(doc_, *this); }
  TFindReplace FindReplace() { return TFindReplace(doc_, *this); }
  // Lays out the rows of every shown record (the fill of Remplit without its
  // move to the first row); the current row stays where it is.
  void FillTableGrid();
  void ReRead();  // LitFiche or LitMasque, in the column and form views
  // Precedent, Suivant, Premier and Dernier: one record that way, or to that end.
  void Navigate(bool forward, bool toEnd);
  void Trie(bool ascending);
  int RowRecNo(int row) const;      // record number in column 0 of a table grid row, 0 if none
  int RowShowing(int recNo) const;  // table grid row of a record, 0 if none
  int OuterWidth() const;
  // The caption and SelectionModeChanged after the selection may have changed.
  void ShowSelectionState();

  // The table view's texts, read from the table as the grid draws them.
  std::unique_ptr<TTableGridSource> gridSource_;
  QString caption_;              // the caption without the selection's ending
  bool settingCaption_ = false;  // the caption being changed by ShowSelectionState
  bool selectionShown_ = false;  // the selection state the caption shows
};
