#pragma once
// TMainForm: the multiple-document main window. Each open table is a document
// window (TChild) in its work space; every table command of the menus and the
// tool bar is forwarded to the active one and does nothing when none is open.
// The frame itself adds the status text shown while a command runs, and enables
// menu items and buttons in one place, UpdateMenuItems.
//
// Status bar: panel 0 shows the hint of the item under the mouse and the text of
// the command that runs; panel 1 the time, from Services().Now(), every second.
//
// Settings: StartDir is fixed at construction; "VekBase.ini" in it holds six
// lines ended by CR LF: the four sender lines (Windows-1252 bytes, unchanged),
// the envelope offset and the envelope orientation in decimal. ChargeIni reads it
// when the window is first shown (a missing or short file leaves the rest empty
// or 0), and the file is rewritten when the window closes, through the engine's
// atomic write. When it cannot be written (StartDir removed meanwhile, a full
// disk) the previous file stays as it was, a warning says so, and the window
// still closes.
//
// Closing the window first puts the close question to every document window,
// the active one first; one refusal keeps everything open.

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>

#include "TPictures.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QTimer;
class QToolBar;
class TChild;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(const QString& startDir, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Envelope settings, kept between runs in "VekBase.ini".
  const QString StartDir;
  std::array<QString, 4> SenderLines;  // lines 1 to 4
  int EnvelopeOffset = 0;              // millimetres
  int EnvelopeOrientation = 0;         // 1: landscape; anything else: portrait

  // The splash window to destroy when this window is first shown.
  void SetSplash(QWidget* splash);

  // The open command once a file is chosen (also used for the command line and
  // for dropped files). False, with no window left, when the file cannot be
  // loaded.
  bool OpenTable(const QString& fileName);
  // The new-table command once its fields are known ("NAME TYPE" entries); an
  // empty list creates nothing.
  void NewTable(const QStringList& fields);

  TChild* ActiveChild() const;
  QList<TChild*> Children() const;  // in the order they were opened
  QMdiArea* MdiArea() const { return mdiArea; }
  QString StatusText() const;
  QString TimeText() const;

  void UpdateMenuItems();
  void Decoche();
  void ShowStatusHint(const QString& hint);
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
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void SetInitialStates();

  QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QString& hint);
  QAction* AddToolButton(const char* name, TToolPicture picture, const QString& hint);
  void SetStatus(const QString& text);
  void UpdateWindowMenu();
  bool FormCloseQuery();
  void FormClose();
  QStringList DroppedTables(const QMimeData* data) const;

  // Commands.
  void FileNewItemClick();
  void FileOpenItemClick();
  void FileCloseItemClick();
  void FileSaveItemClick();
  void FileSaveAsItemClick();
  void Importer1Click();
  void Exporter1Click();
  void Liste1Click();
  void Fiche1Click();
  void Structure1Click();
  void Enveloppes1Click();
  void Configurerlimprimante1Click();
  void FileExitItemClick();
  void Annuler1Click();
  void CopyItemClick();
  void PasteItemClick();
  void Rechercher1Click();
  void Continuerlarecherche1Click();
  void Remplacer1Click();
  void Supprimerlenregistrement1Click();
  void Supprimerlechamp1Click();
  void AllerenregistrementN1Click();
  void Tabulaire1Click();
  void Colonne1Click();
  void Formulaire1Click();
  void Affichertout1Click();
  void Afficherslection1Click();
  void Ajusterlargeurcolonnes1Click();
  void Modifierstructure1Click();
  void Proprits1Click();
  void Modifierformulaire1Click();
  void Enregistrementprcdent1Click();
  void Enregistrementsuivant1Click();
  void Premierenregistrement1Click();
  void Dernierenregistrement1Click();
  void Ajouterdesenregistrements1Click();
  void Ajouterunchamp1Click();
  void Renommerchamp1Click();
  void Filtredeslection1Click();
  void Ascendant1Click();
  void Descendant1Click();
  void Supprimerdoublons1Click();
  void Convertircaractres1Click();
  void RequeteSQL1Click();
  void InterrogationQBE1Click();
  void Compter1Click();
  void Calculer1Click();
  void Calendrier1Click();
  void Calculatrice1Click();
  void Horloge1Click();
  void Euroconversion1Click();
  void Blocnotes1Click();
  void WindowCascadeItemClick();
  void WindowTileItemClick();
  void WindowArrangeItemClick();
  void WindowMinimizeItemClick();
  void HelpAboutItemClick();
  QMdiArea* mdiArea;
  QToolBar* SpeedPanel;
  QLabel* StatusPanel0;  // hints and command status
  QLabel* StatusPanel1;  // the time
  QTimer* Timer1;
  QPointer<QWidget> splash;
  bool shownOnce = false;

  QMenu* File1;
  QAction* FileNewItem;
  QAction* FileOpenItem;
  QAction* FileCloseItem;
  QAction* FileSaveItem;
  QAction* FileSaveAsItem;
  QAction* Importer1;
  QAction* Exporter1;
  QMenu* Imprimer1;
  QAction* Liste1;
  QAction* Fiche1;
  QAction* Structure1;
  QAction* Enveloppes1;
  QAction* Configurerlimprimante1;
  QAction* FileExitItem;
  QMenu* Edit1;
  QAction* Annuler1;
  QAction* CopyItem;
  QAction* PasteItem;
  QAction* Rechercher1;
  QAction* Continuerlarecherche1;
  QAction* Remplacer1;
  QAction* Supprimerlenregistrement1;
  QAction* Supprimerlechamp1;
  QAction* AllerenregistrementN1;
  QMenu* Vue1;
  QAction* Tabulaire1;
  QAction* Colonne1;
  QAction* Formulaire1;
  QAction* Affichertout1;
  QAction* Afficherslection1;
  QAction* Ajusterlargeurcolonnes1;
  QAction* Modifierstructure1;
  QAction* Proprits1;
  QAction* Modifierformulaire1;
  QMenu* Table1;
  QAction* Enregistrementprcdent1;
  QAction* Enregistrementsuivant1;
  QAction* Premierenregistrement1;
  QAction* Dernierenregistrement1;
  QAction* Ajouterdesenregistrements1;
  QAction* Ajouterunchamp1;
  QAction* Renommerchamp1;
  QAction* Filtredeslection1;
  QMenu* Outils1;
  QMenu* Tri1;
  QAction* Ascendant1;
  QAction* Descendant1;
  QAction* Supprimerdoublons1;
  QAction* Convertircaractres1;
  QAction* RequeteSQL1;
  QAction* InterrogationQBE1;
  QAction* Compter1;
  QAction* Calculer1;
  QMenu* Utilitaires1;
  QAction* Calendrier1;
  QAction* Calculatrice1;
  QAction* Horloge1;
  QAction* Euroconversion1;
  QAction* Blocnotes1;
  QMenu* Window1;
  QAction* WindowCascadeItem;
  QAction* WindowTileItem;
  QAction* WindowArrangeItem;
  QAction* WindowMinimizeItem;
  QMenu* Help1;
  QAction* HelpAboutItem;

  // Tool-bar buttons.
  QAction* NewButton;
  QAction* OpenButton;
  QAction* SaveButton;
  QAction* PrintButton;
  QAction* CopyButton;
  QAction* PasteButton;
  QAction* FindButton;
  QAction* AddButton;
  QAction* DeleteButton;
  QAction* FirstButton;
  QAction* PriorButton;
  QAction* NextButton;
  QAction* LastButton;
  QAction* TableButton;
  QAction* ColumnButton;
  QAction* FormButton;
};
