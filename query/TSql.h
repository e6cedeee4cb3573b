#pragma once
// TSql: the modal window "Requête  SQL": a SELECT statement typed against the
// table of a document window, run by TQor2Sql, its result in a grid, the
// statement or the result saved to a file, the grid printed.
//
// Init takes the document's table; the window reads it and never changes its
// fields or records, and puts its cursor back where it was after every run
// (the SQL engine leaves it on the last record).
//
// A run upper-cases the keywords select, where, distinct, or and and, in any
// letter case, where they stand as whole words outside quoted text (delimited
// by blanks, commas, parentheses, operator characters or the ends of the text),
// shows that text in the statement box, runs it and shows the records that
// satisfy the condition: the header and one empty row when none does. A
// statement may take several lines of the box: they are joined (OneLine)
// before it runs, the engine reading a statement of one line. A
// statement the engine cannot read empties the grid and says why in the status
// line. The last ten statements run in this session are offered in the
// drop-down beside the statement box, most recent first.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

#include "TQor2.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TQor2Sql;
class TQueryToolBar;
class TResultGrid;

class TSql : public QDialog {
  Q_OBJECT

 public:
  explicit TSql(QWidget* parent = nullptr);
  ~TSql() override;

  // The table stays the caller's and must outlive the window.
  void Init(TQor2& table);
  void Remplit();  // the grid from the table shown

  // Handlers of the tool bar, each named after its button.
  void Button1Click();        // "Fermer"
  void SpeedButton1Click();   // "Nouvelle requête": empties the statement
  void OpenBtnClick();        // "Ouvrir requête": a file's lines replace the statement
  void SaveBtnClick();        // "Enregistrer": the statement or the result
  void SpeedButton2Click();   // "Exécuter requête"
  void SpeedButton11Click();  // "Imprimer": the result grid
  void HistoryChosen(int index);

  static QString UpperKeywords(const QString& text);
  // The statement as the engine reads it: outside quoted text each line break
  // or tab is a blank; inside, a line break is a carriage return and line feed,
  // as a table value holds it.
  static QString OneLine(const QString& text);
  // Statements run in this session, most recent first, at most ten.
  static QStringList History();

  TQueryToolBar* Panel1 = nullptr;       // the tool bar
  QToolButton* SpeedButton1 = nullptr;   // "Nouvelle requête"
  QToolButton* OpenBtn = nullptr;        // "Ouvrir requête"
  QToolButton* SaveBtn = nullptr;        // "Enregistrer"
  QToolButton* SpeedButton11 = nullptr;  // "Imprimer"
  QToolButton* SpeedButton2 = nullptr;   // "Exécuter requête"
  QPushButton* Button1 = nullptr;        // "Fermer"
  QPlainTextEdit* Memo1 = nullptr;       // the statement being edited
  QComboBox* HistoryBox = nullptr;       // the statements run in this session
  TResultGrid* StringGrid1 = nullptr;    // the records the statement selected
  QLabel* StatusLine = nullptr;          // why the last statement could not be read

 private:
  void Remember(const QString& statement);
  void FillHistory();

  TQor2* source_ = nullptr;
  std::unique_ptr<TQor2Sql> query_;
  TQor2 placeholder_;  // shown until the first run, and after a failed one
  TQor2* resultTable_ = &placeholder_;
};
