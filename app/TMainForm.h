#pragma once
// TMainForm: the multiple-document main window. Each open table is a document
// window (TChild) in its work space; every table command of the menus and the
// tool bar is forwarded to the active one and does nothing when none is open.
// The frame itself adds the status text shown while a command runs, and enables
// menu items and buttons in one place, UpdateMenuItems.
//
// The menus, the tool bar, the handlers and the enabling rules are all built
// from one table, Commands() in TMainForm.cpp (rows: TCommand.h); a new command
// is one row there. Actions are found by their object names ("FileSaveItem",
// "SaveButton").
//
// Status bar: panel 0 shows the hint of the item under the mouse and the text of
// the command that runs; between them it says "Filtre actif" while the active
// document shows its selection. Panel 1 shows the time, from Services().Now(),
// every second.
//
// Settings: StartDir is fixed at construction; the envelope settings are kept
// in the settings file there (TSettingsFile). ChargeIni reads it when the window
// is first shown, and SauveIni writes it when the window closes. When it cannot
// be written (StartDir removed meanwhile, a full disk) the previous file stays
// as it was, a warning says so, and the window still closes.
//
// Closing the window first puts the close question to every document window,
// the active one first; one refusal keeps everything open.
//
// One window per file: opening a file open already activates its window, and
// a file another running Vek Base holds is opened read-only if the user wants
// (TChild::OpenFile). What a program that died had not saved is offered back
// at start-up (RecoverJournals), when main() calls it.

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>
#include <map>
#include <vector>

#include "TCommand.h"
#include "TEnvelopePrintout.h"
#include "TPictures.h"
#include "TWorkSpace.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QTimer;
class QToolBar;
class TChild;
class TJournalReader;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(const QString& startDir, QWidget* parent = nullptr);
  ~TMainForm() override;

  const QString StartDir;  // the working folder when the program started
  // The envelope settings, kept between runs in the settings file; the
  // envelope command gives them to the document and takes its sender lines back.
  TEnvelopeSettings Envelope;

  // The splash window to destroy when this window is first shown.
  void SetSplash(QWidget* splash);

  // The open command once a file is chosen (also used for the command line and
  // for dropped files): any file the document window opens as a table
  // (TChild::OpenFile). False, with no window left, when the file cannot be
  // loaded or the user chose none of its sheets or tables. A file open
  // already in a window activates that window; a file a program that died
  // left a recovery journal for is offered as at start-up first
  // (OfferRecovery).
  bool OpenTable(const QString& fileName);
  // Start-up: each recovery journal that no running program holds is offered
  // in turn (OfferRecovery). Journals with nothing to give back go silently.
  void RecoverJournals();
  // The new-table command once its fields are known ("NAME TYPE" entries); an
  // empty list creates nothing.
  void NewTable(const QStringList& fields);

  TChild* ActiveChild() const { return mdiArea->ActiveChild(); }
  QList<TChild*> Children() const { return mdiArea->Children(); }  // in the order they were opened
  QMdiArea* MdiArea() const { return mdiArea; }
  QString StatusText() const;
  QString TimeText() const;

  void UpdateMenuItems();
  void Decoche();
  // A hint, or with an empty one what panel 0 says at rest.
  void ShowStatusHint(const QString& hint);
  // Panel 0 at rest follows the active document's selection.
  void ShowFilterState();
  TChild* CreateChild(const QString& name);
  void ChargeIni();
  void SauveIni();
  void Timer1Timer();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The command table: every menu, menu item and tool-bar button, in menu order.
  std::vector<TCommand> Commands();
  // A handler that runs `op` (a TChild member, or a callable taking TChild&) on
  // the active document window, showing `status` meanwhile (TStatusText); with
  // no document window it does nothing.
  template <typename Op>
  std::function<void()> OnChild(Op op, const char* status = nullptr);

  void CreateActions(const std::vector<TCommand>& commands);
  void CreateToolBar();
  void CreateStatusBar();
  QAction* AddAction(const char* name, const QString& text, const std::function<void()>& run);

  // Asks whether to recover what a program that died left (TRecoveryPrompt);
  // "Récupérer" opens a window on the table as it stood at the journal's last
  // flush, modified and not saved. True when a window shows it.
  bool OfferRecovery(TJournalReader& journal);
  // A new window that `fill` fills; taken away again when it returns false.
  bool OpenChild(const QString& name, const std::function<bool(TChild&)>& fill);
  void ShowView(TView view);  // the three view commands
  void SetViewChecks(TView view);
  bool FormCloseQuery();
  void FormClose();

  // Commands with more to do than one call on the document window.
  void FileNewItemClick();
  void FileOpenItemClick();
  void FileCloseItemClick();
  void Enveloppes1Click(TChild& child);
  // The about box and the desk utilities: a window owned by this one, created,
  // shown modally and freed.
  template <typename TWindow>
  void RunModal();

  TWorkSpace* mdiArea;       // the work space that holds the document windows
  QToolBar* SpeedPanel;      // the tool bar
  QLabel* StatusPanel0;      // status panel 0: hints and command status
  QLabel* StatusPanel1;      // status panel 1: the time
  QString restingStatus_;    // what panel 0 says with no hint and no command: "Filtre actif" or ""
  QTimer* Timer1;            // shows the time every second
  QMenu* Window1 = nullptr;  // "Fe&nêtre", which lists the open tables
  QPointer<QWidget> splash;  // the splash window, until the first show
  bool shownOnce = false;

  // Built from the command table: what the enabling rules and the views touch.
  std::vector<QAction*> documentActions_;                // enabled exactly when a document is open
  std::vector<std::pair<QAction*, TView>> viewChecks_;   // checked in that view
  std::vector<std::pair<QAction*, TView>> viewEnabled_;  // enabled in that view
  std::map<TToolPicture, QAction*> buttons_;
};
