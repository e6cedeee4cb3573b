#pragma once
// TQbe: the modal window "Interrogation QBE". The user chooses fields of the
// document's table ("Sélectionner champs", TDualListDlg), types a condition
// under each in the criteria grid, and runs the query (TQbeQuery) into the
// result grid, which can be saved and printed.
//
// Init takes a copy of the document's table (records shared, not copied), so
// the query never touches the document's table or its cursor. Each run
// rebuilds the result from scratch; the criteria grid keeps what was typed.

#include <QDialog>

#include "TQor2.h"

class QPushButton;
class QToolButton;
class TQueryToolBar;
class TResultGrid;
class TStringGrid;

class TQbe : public QDialog {
  Q_OBJECT

 public:
  explicit TQbe(QWidget* parent = nullptr);
  ~TQbe() override;

  void Init(const TQor2& table);
  void Remplit();  // the result grid from the last result

  void Button1Click();        // "Fermer"
  void SaveBtnClick();        // "Enregistrer": the result as text, csv or xls
  void SpeedButton11Click();  // "Imprimer": the result grid
  void SpeedButton1Click();   // "Sélectionner champs"
  void SpeedButton2Click();   // "Exécuter requête"

  TQueryToolBar* Panel1 = nullptr;       // the tool bar
  QToolButton* SaveBtn = nullptr;        // "Enregistrer"
  QToolButton* SpeedButton11 = nullptr;  // "Imprimer"
  QToolButton* SpeedButton1 = nullptr;   // "Sélectionner champs"
  QToolButton* SpeedButton2 = nullptr;   // "Exécuter requête"
  QPushButton* Button1 = nullptr;        // "Fermer"
  TStringGrid* StringGrid2 = nullptr;    // criteria: names in row 0, conditions in row 1
  TResultGrid* StringGrid1 = nullptr;    // the records found

  const TQor2& SourceCopy() const { return sourceCopy_; }
  const TQor2& ResultTable() const { return resultTable_; }

 private:
  TQor2 sourceCopy_;
  TQor2 resultTable_;
};
