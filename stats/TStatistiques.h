#pragma once
// TStatistiques: the modal window "Statistiques" over a document's table: the
// records counted per value of a grouping field, with the sum, mean, minimum
// and maximum of a numeric field and each group's share, in a table sortable
// by any column (a click on its header), and beside it a chart of one
// measure (number of records, sum or mean) that follows the table's order and
// the choices at once; with a numeric field and no grouping field, a
// histogram of that field in classes (Sturges' rule at first, then as set in
// "Classes"). Under the table: "3 valeurs non numériques ignorées".
//
// The records counted are those of the "Portée" (record numbers "De" to "A",
// all at first) and, while "Sélection seulement" is checked, those of the
// document's selection. The window opens grouped by the field of the grid's
// current column when it is a "STRING" field, with the first "FLOAT" field as
// the numeric field; otherwise ungrouped, over that column when it is a
// "FLOAT" field (else the first one).
//
// The work runs off the interface thread (TStatsWorker); past half a second
// a progress bar and "Calcul en cours... NN %" show, and every control keeps
// answering: a new choice stops the work under way. Out of the window: the
// results exported by the result files' dialog (TResultFile: semicolon text,
// Excel workbook, tab text, .xls spreadsheet), copied to the clipboard as tab-separated text; the
// chart saved as PNG, SVG or PDF (TChartFile), previewed and printed
// (TChartPrintout). Every question and dialog goes through Services().
//
// The table stays the caller's: it must outlive the window and not change
// while the window is open (it is modal, so the document cannot change it).

#include <QDialog>
#include <QElapsedTimer>
#include <memory>
#include <string>

#include "TStatistics.h"
#include "TStatsChartView.h"
#include "TStatsWorker.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;
class TDocument;
class TQor2;
class TStatsModel;

class TStatistiques : public QDialog {
  Q_OBJECT

 public:
  explicit TStatistiques(QWidget* parent = nullptr);
  ~TStatistiques() override;

  // `selection`: the document's selection filter while the document shows
  // its selection, null otherwise. `currentField`: the field of the grid's
  // current column, "" for none.
  void Init(const TQor2& table, const TCondition* selection, const std::string& currentField);

  // What the document window calls ("Outils > Statistiques..."): the window
  // over its table, until it is closed.
  static void Run(const TQor2& table, const TCondition* selection, const std::string& currentField,
                  QWidget* owner = nullptr);
  // The same over a document: its selection while it shows it, its field
  // number `currentField` (0 or out of range for none), its file's name in
  // the title.
  static void Run(const TDocument& doc, int currentField, QWidget* owner = nullptr);

  // The results shown are not yet those of the choices.
  bool Busy() const;

  void ExportClick();
  void CopyClick();
  void SaveChartClick();
  void PreviewClick();
  void PrintClick();

  QComboBox* GroupField = nullptr;   // "(aucun)", then every field
  QComboBox* NumberField = nullptr;  // "(aucun)", then the "FLOAT" fields
  QComboBox* Measure = nullptr;      // "Nombre", "Somme", "Moyenne"
  QSpinBox* Bins = nullptr;          // "Classes" of the histogram
  QGroupBox* Range = nullptr;        // "Portée"
  QSpinBox* From = nullptr;
  QSpinBox* To = nullptr;
  QCheckBox* SelectionOnly = nullptr;
  QTableView* Results = nullptr;
  TStatsModel* Model = nullptr;
  QLabel* NonNumeric = nullptr;
  TStatsChartView* Chart = nullptr;
  QProgressBar* Progress = nullptr;
  QLabel* StatusText = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* CopyButton = nullptr;
  QPushButton* SaveChartButton = nullptr;
  QPushButton* PreviewButton = nullptr;
  QPushButton* PrintButton = nullptr;
  QPushButton* CloseButton = nullptr;

 private:
  // The choices changed: the results or the chart are made again.
  void Recompute();
  void SortRequested(TStatsColumn column, bool ascending);
  void Shown(const TStatsOutput& output);
  void UpdateProgress();
  void UpdateControls();
  TChartTexts ChartTexts(const TStatsOutput& output) const;
  QString FieldChosen(const QComboBox* box) const;

  const TQor2* table_ = nullptr;
  std::unique_ptr<TStatsWorker> worker_;
  bool hasSelection_ = false;
  TCondition selection_;
  TStatsJob job_;  // the last one started
  bool binsChosen_ = false;
  bool filling_ = false;  // Init or Shown sets controls: no new job
  QTimer* progressTimer_ = nullptr;
  QElapsedTimer busyFor_;
};
