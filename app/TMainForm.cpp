#include "TMainForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QWindow>

#include "FileNames.h"
#include "French.h"
#include "IServices.h"
#include "TAboutBox.h"
#include "TBlocnotes.h"
#include "TCalendrier.h"
#include "TChild.h"
#include "TEurof.h"
#include "THelpKey.h"
#include "THelpWindow.h"
#include "THorloge.h"
#include "TJournalReader.h"
#include "TNouveau.h"
#include "TOpenCommands.h"
#include "TPocket.h"
#include "TRecoveryFolder.h"
#include "TRecoveryPrompt.h"
#include "TSettingsFile.h"
#include "TSpeedPanel.h"
#include "TStatusText.h"
#include "TTableLock.h"
#include "TWorkSpace.h"

TMainForm::TMainForm(const QString& startDir, QWidget* parent)
    : QMainWindow(parent), StartDir(QDir(startDir).absolutePath()) {
  setWindowTitle(QStringLiteral("Vek Base"));
  setWindowIcon(TPictures::ProgramIcon());
  setAcceptDrops(true);
  THelpKey::Install();

  mdiArea = new TWorkSpace(this);
  setCentralWidget(mdiArea);

  CreateActions(Commands());
  CreateToolBar();
  CreateStatusBar();

  // Any change of the active window - a document window, a dialog, another
  // program - may change what the commands can act on.
  connect(mdiArea, &QMdiArea::subWindowActivated, this, &TMainForm::UpdateMenuItems);
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &TMainForm::UpdateMenuItems);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
  Timer1->start();
}

TMainForm::~TMainForm() {
  // The work space and the document windows die after this body: they must no
  // longer reach a half-destroyed frame.
  disconnect(qGuiApp, nullptr, this, nullptr);
  mdiArea->disconnect(this);
  Timer1->stop();
  delete splash;
}

// Commands --------------------------------------------------------------------

template <typename Op>
std::function<void()> TMainForm::OnChild(Op op, const char* status) {
  return [this, op, status] {
    TChild* child = ActiveChild();
    if (!child) return;
    {
      TStatusText shown(StatusPanel0, status);
      std::invoke(op, *child);
    }
    ShowStatusHint(QString());
  };
}

template <typename TWindow>
void TMainForm::RunModal() {
  TWindow window(this);
  Services().RunDialog(window);
}

// The command table. Each row is one menu item, in menu order; the menus, the
// tool bar, the handlers and the enabling rules are all built from it.
//
// To add a command, add one row where it stands in its menu:
//   DocItem("Name1", "&Caption", "Hint", OnChild(&TChild::Operation, "Status..."))
// DocItem: enabled while a document window is open. OnChild runs an operation
// of the active document window - a member, or a lambda taking TChild& - and
// nothing without one, showing the status text, if given, while it runs.
// Item: always enabled, for commands that need no document; give it a lambda,
// e.g. [this] { RunModal<TPocket>(); } for a window shown modally once.
// Then .Key(...) for a shortcut, .Button(...) for a tool-bar button (and put
// its picture into the tool-bar layout, CreateToolBar).
std::vector<TCommand> TMainForm::Commands() {
  using P = TToolPicture;
  return {
      Menu("File1", "&Fichier", "Commandes liées aux menus"),
      Item("FileNewItem", "&Nouveau", "Créer un nouveau fichier", [this] { FileNewItemClick(); })
          .Button("NewButton", P::New, "Nouveau"),
      Item("FileOpenItem", "&Ouvrir", "Ouvrir un fichier existant", [this] { FileOpenItemClick(); })
          .Button("OpenButton", P::Open, "Ouvrir"),
      DocItem("FileCloseItem", "&Fermer", "Fermer fichier en cours",
              [this] { FileCloseItemClick(); }),
      Separator(),
      DocItem("FileSaveItem", "&Enregistrer", "Enregistrer le fichier en cours",
              OnChild(&TChild::Enregistrer, "Enregistre..."))
          .OffAtStart()
          .Button("SaveButton", P::Save, "Enregistrer"),
      DocItem("FileSaveAsItem", "Enregistrer &sous...", "Enregistrer le fichier en cours sous...",
              OnChild(&TChild::SaveAs, "Enregistre..."))
          .OffAtStart(),
      Separator(),
      DocItem("Importer1", "I&mporter...", "Importer", OnChild(&TChild::Importer, "Importe...")),
      DocItem("Exporter1", "E&xporter...", "Exporter", OnChild(&TChild::Exporter, "Exporte...")),
      Separator(),
      SubMenu("Imprimer1", "&Imprimer", TEnabling::WithDocument),
      // "Imprimer" on the tool bar prints the list.
      Item("Liste1", "&Liste...", "Imprime la liste", OnChild(&TChild::ImpListe, "Imprime..."))
          .EnabledInView(TView::Table)
          .Button("PrintButton", P::Print, "Imprimer"),
      Item("Fiche1", "&Fiche...", "Imprime la fiche active",
           OnChild(&TChild::ImpFiche, "Imprime..."))
          .EnabledInView(TView::Column),
      DocItem("Structure1", "&Structure...", "Imprimer la structure",
              OnChild(&TChild::ImpStru, "Imprime...")),
      DocItem("Enveloppes1", "&Enveloppes...", "Imprimer enveloppes",
              OnChild([this](TChild& child) { Enveloppes1Click(child); })),
      Item("Apercu1", "&Aperçu avant impression", "Afficher la liste telle qu'elle sera imprimée",
           OnChild(&TChild::Apercu))
          .EnabledInView(TView::Table),
      EndSubMenu(),
      Item("Configurerlimprimante1", "&Configurer l'imprimante", "Configurer l'imprimante",
           [] { Services().PrinterSetupDialog(); }),
      Separator(),
      Item("FileExitItem", "&Quitter", "Quitter l'application", [this] { close(); }),

      Menu("Edit1", "&Edition"),
      Item("Annuler1", "A&nnuler", "Annuler la dernière modification", OnChild(&TChild::Annuler)),
      Separator(),
      DocItem("CopyItem", "Co&pier", "Copier dans le Presse-papiers", OnChild(&TChild::Copier))
          .OffAtStart()
          .Button("CopyButton", P::Copy, "Copier"),
      DocItem("PasteItem", "C&oller", "Coller depuis le Presse-papiers", OnChild(&TChild::Coller))
          .OffAtStart()
          .Button("PasteButton", P::Paste, "Coller"),
      Separator(),
      DocItem("Rechercher1", "&Rechercher...", "Rechercher", OnChild(&TChild::Rechercher))
          .Key(Qt::CTRL | Qt::Key_F)
          .Button("FindButton", P::Find, "Rechercher"),
      DocItem("Continuerlarecherche1", "&Continuer", "Continuer la recherche",
              OnChild(&TChild::Continuer))
          .Key(Qt::Key_F3),
      DocItem("Remplacer1", "Re&mplacer...", "Remplacer", OnChild(&TChild::Remplacer)),
      Separator(),
      DocItem("Supprimerlenregistrement1", "&Supprimer l'enregistrement",
              "Supprimer l'enregistrement courant", OnChild(&TChild::Supprimer))
          .Button("DeleteButton", P::DeleteRecord, "Supprimer fiche"),
      DocItem("Supprimerlechamp1", "S&upprimer le champ", "Supprimer le champ pointé",
              OnChild(&TChild::SupChamp)),
      Separator(),
      DocItem("AllerenregistrementN1", "&Aller à enregistrement N°...",
              "Aller à l'enregistrement n°", OnChild(&TChild::Aller)),

      Menu("Vue1", "&Vue"),
      DocItem("Tabulaire1", "&Tabulaire", "Mode table", [this] { ShowView(TView::Table); })
          .CheckedInView(TView::Table)
          .Button("TableButton", P::TableView, "Vue tableau"),
      DocItem("Colonne1", "&Colonne", "Mode colonne", [this] { ShowView(TView::Column); })
          .CheckedInView(TView::Column)
          .Button("ColumnButton", P::ColumnView, "Vue colonne"),
      DocItem("Formulaire1", "&Formulaire", "Mode formulaire", [this] { ShowView(TView::Form); })
          .CheckedInView(TView::Form)
          .Button("FormButton", P::FormView, "Vue formulaire"),
      Separator(),
      DocItem("Affichertout1", "&Afficher tout", "Afficher tous les enregistrements",
              OnChild(&TChild::AffTout)),
      DocItem("Afficherslection1", "Afficher &sélection", "Afficher en fonction du filtre",
              OnChild(&TChild::AffSel)),
      DocItem("Ajusterlargeurcolonnes1", "Ajuster &largeur colonnes",
              "Ajuster la largeur des colonnes", OnChild(&TChild::Largeur)),
      Separator(),
      DocItem("Modifierstructure1", "&Modifier structure", "Modifier la structure de la table",
              OnChild(&TChild::ModiStru)),
      DocItem("Proprits1", "&Propriétés", "Propriétés de la table", OnChild(&TChild::Proprietes)),
      DocItem("Modifierformulaire1", "Mo&difier formulaire", "Modifier le formulaire",
              OnChild(&TChild::ModiFiche)),

      Menu("Table1", "&Table"),
      DocItem("Enregistrementprcdent1", "Enregistrement &précédent", "",
              OnChild(&TChild::Precedent))
          .Button("PriorButton", P::Prior, "Fiche précédente"),
      DocItem("Enregistrementsuivant1", "Enregistrement &suivant", "Enregistrement suivant",
              OnChild(&TChild::Suivant))
          .Button("NextButton", P::Next, "Fiche suivante"),
      DocItem("Premierenregistrement1", "P&remier enregistrement", "Premier enregistrement",
              OnChild(&TChild::Premier))
          .Button("FirstButton", P::First, "Première fiche"),
      DocItem("Dernierenregistrement1", "&Dernier enregistrement", "Dernier enregistrement",
              OnChild(&TChild::Dernier))
          .Button("LastButton", P::Last, "Dernière fiche"),
      Separator(),
      DocItem("Ajouterdesenregistrements1", "&Ajouter un enregistrement",
              "Ajouter des enregistrements", OnChild(&TChild::Ajouter))
          .Button("AddButton", P::AddRecord, "Ajouter fiche"),
      DocItem("Ajouterunchamp1", "Ajouter un &champ", "ajouter un champ",
              OnChild(&TChild::AjoutChamp)),
      DocItem("Renommerchamp1", "&Renommer champ", "Redéfinir un champ",
              OnChild(&TChild::Renommer)),
      Separator(),
      DocItem("Filtredeslection1", "&Filtre de sélection...",
              "Définir les enregistrements à afficher", OnChild(&TChild::Filtre)),

      Menu("Outils1", "&Outils"),
      SubMenu("Tri1", "Tri", TEnabling::WithDocument),
      DocItem("Ascendant1", "&Ascendant", "Tri ascendant",
              OnChild(&TChild::TriAscendant, "Trie...")),
      DocItem("Descendant1", "&Descendant", "Tri descendant",
              OnChild(&TChild::TriDescendant, "Trie...")),
      EndSubMenu(),
      DocItem("Supprimerdoublons1", "&Supprimer doublons", "Supprimer les doublons",
              OnChild(&TChild::Doublons, "Analyse...")),
      DocItem("Convertircaractres1", "&Convertir caractères", "Convertir les caractères",
              OnChild(&TChild::Convertir)),
      Separator(),
      DocItem("RequeteSQL1", "Requête &SQL", "Entrer une requête SQL", OnChild(&TChild::Requete)),
      DocItem("InterrogationQBE1", "Interrogation &QBE", "Interrogation par l'exemple",
              OnChild(&TChild::Interrogation)),
      Separator(),
      DocItem("Compter1", "Co&mpter...", "Compter les enregistrements", OnChild(&TChild::Compte)),
      DocItem("Calculer1", "Ca&lculer...", "Calculer les enregistrements",
              OnChild(&TChild::Calculer)),
      DocItem("Statistiques1", "S&tatistiques...", "Résumer la table par groupe, avec un graphique",
              OnChild(&TChild::Statistiques)),

      Menu("Utilitaires1", "&Utilitaires"),
      Item("Calendrier1", "&Calendrier", "Calendrier", [this] { RunModal<TCalendrier>(); }),
      Item("Calculatrice1", "C&alculatrice", "Calculatrice", [this] { RunModal<TPocket>(); }),
      Item("Horloge1", "&Horloge", "Horloge", [this] { RunModal<THorloge>(); }),
      Item("Euroconversion1", "&Euro conversion", "Convertisseur Euro",
           [this] { RunModal<TEurof>(); }),
      Item("Blocnotes1", "&Bloc-notes", "Bloc-notes", [this] { TBlocnotes::Run(StartDir, this); }),

      Menu("Window1", "Fe&nêtre", "Commandes de fenêtres telles que Mosaïque et Cascade"),
      DocItem("WindowCascadeItem", "&Cascade",
              "Disposer les fenêtre de façon qu'elles se recouvrent",
              [this] { mdiArea->cascadeSubWindows(); }),
      DocItem("WindowTileItem", "&Mosaïque", "Disposer les fenêtre sans recouvrement",
              [this] { mdiArea->tileSubWindows(); }),
      DocItem("WindowArrangeItem", "&Réorganiser les icônes",
              "Disposer les icônes en bas de la fenêtre principale",
              [this] { mdiArea->ArrangeIcons(); }),
      DocItem("WindowMinimizeItem", "&Tout réduire", "Réduire toutes les fenêtres",
              [this] { mdiArea->MinimizeAll(); }),

      Menu("Help1", "&Aide", "Rubriques d'aide"),
      // F1 itself opens the page of the window it is pressed in (THelpKey).
      Item("HelpManualItem", "&Manuel d'utilisation", "Ouvrir le manuel d'utilisation",
           [this] { THelpWindow::Open(QStringLiteral("index.html"), this); })
          .Key(Qt::Key_F1),
      Item("HelpAboutItem", "&A propos", "", [this] { RunModal<TAboutBox>(); }),
  };
}

QAction* TMainForm::AddAction(const char* name, const QString& text,
                              const std::function<void()>& run) {
  auto* action = new QAction(text, this);
  action->setObjectName(QLatin1String(name));
  connect(action, &QAction::triggered, this, [this, run] {
    if (run) run();
    // Whatever the command did with the focus, the keys go to the table again.
    if (TChild* child = ActiveChild()) child->FocusView();
  });
  return action;
}

void TMainForm::CreateActions(const std::vector<TCommand>& commands) {
  QMenu* menu = nullptr;  // where the next rows go
  QMenu* topMenu = nullptr;
  for (const TCommand& c : commands) {
    switch (c.kind) {
      case TCommand::TKind::Menu:
        topMenu = menu = menuBar()->addMenu(c.caption);
        menu->setObjectName(QLatin1String(c.name));
        menu->menuAction()->setStatusTip(c.hint);
        continue;
      case TCommand::TKind::SubMenu:
        menu = topMenu->addMenu(c.caption);
        menu->setObjectName(QLatin1String(c.name));
        if (c.enabling == TEnabling::WithDocument) documentActions_.push_back(menu->menuAction());
        continue;
      case TCommand::TKind::EndSubMenu:
        menu = topMenu;
        continue;
      case TCommand::TKind::Separator:
        menu->addSeparator();
        continue;
      case TCommand::TKind::Item:
        break;
    }
    QAction* item = AddAction(c.name, c.caption, c.run);
    item->setStatusTip(c.hint);
    item->setShortcut(c.shortcut);
    item->setEnabled(!c.offAtStart);
    menu->addAction(item);
    if (c.enabling == TEnabling::WithDocument) documentActions_.push_back(item);
    if (c.enabling == TEnabling::InView) viewEnabled_.emplace_back(item, c.enabledInView);
    if (c.checkedInView != TView::None) {
      item->setCheckable(true);
      viewChecks_.emplace_back(item, c.checkedInView);
    }
    if (!c.button) continue;
    // The button runs the same command; it is disabled until the rules run
    // when the command needs a document.
    QAction* button = AddAction(c.button, c.buttonHint, c.run);
    button->setIcon(TPictures::ToolButton(c.picture));
    button->setToolTip(c.buttonHint);
    button->setStatusTip(c.buttonHint);
    button->setEnabled(c.enabling == TEnabling::Always);
    if (c.enabling != TEnabling::Always) documentActions_.push_back(button);
    buttons_[c.picture] = button;
  }
  Window1 = findChild<QMenu*>(QStringLiteral("Window1"));
  // The four commands, then the open document windows.
  connect(Window1, &QMenu::aboutToShow, this, [this] { mdiArea->ListWindows(Window1, 4); });
}

void TMainForm::CreateToolBar() {
  SpeedPanel = new TSpeedPanel(buttons_, this);
  addToolBar(Qt::TopToolBarArea, SpeedPanel);
}

void TMainForm::CreateStatusBar() {
  StatusPanel0 = new QLabel(this);
  StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
  StatusPanel0->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  StatusPanel1 = new QLabel(this);
  StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
  StatusPanel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  StatusPanel1->setAlignment(Qt::AlignCenter);
  // 50 pixels, or what "00:00:00" needs in this font, whichever is wider.
  StatusPanel1->setFixedWidth(
      std::max(50, StatusPanel1->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 12));
  statusBar()->addWidget(StatusPanel0);
  statusBar()->addPermanentWidget(StatusPanel1);
  statusBar()->setSizeGripEnabled(false);
}

void TMainForm::SetSplash(QWidget* splashWindow) {
  delete splash;
  splash = splashWindow;
}

QString TMainForm::StatusText() const {
  return StatusPanel0->text();
}
QString TMainForm::TimeText() const {
  return StatusPanel1->text();
}

void TMainForm::ShowStatusHint(const QString& hint) {
  StatusPanel0->setText(hint.isEmpty() ? restingStatus_ : hint);
}

void TMainForm::ShowFilterState() {
  TChild* child = mdiArea->subWindowList().isEmpty() ? nullptr : ActiveChild();
  const QString resting =
      child && child->Document().SelectionMode() ? QStringLiteral("Filtre actif") : QString();
  // A hint or a command's text stays until it is over.
  const QString shown = StatusPanel0->text();
  if (shown.isEmpty() || shown == restingStatus_) StatusPanel0->setText(resting);
  restingStatus_ = resting;
}

void TMainForm::Timer1Timer() {
  StatusPanel1->setText(FormatTime(Services().Now().time()));
}

bool TMainForm::event(QEvent* event) {
  // Hints of menus and buttons go to panel 0, not to a temporary message that
  // would hide both panels.
  if (event->type() == QEvent::StatusTip) {
    ShowStatusHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  StatusPanel0->setFixedWidth(std::max(0, width() - 100));
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce) return;
  shownOnce = true;
  delete splash;
  setWindowState(windowState() | Qt::WindowMaximized);
  ChargeIni();
  Timer1Timer();
}
// Enabling rules --------------------------------------------------------------

void TMainForm::Decoche() {
  for (const auto& [action, view] : viewChecks_) action->setChecked(false);
}

void TMainForm::SetViewChecks(TView view) {
  Decoche();
  for (const auto& [action, checkedIn] : viewChecks_)
    if (checkedIn == view) action->setChecked(true);
}

void TMainForm::UpdateMenuItems() {
  const bool open = !mdiArea->subWindowList().isEmpty();
  if (TChild* child = open ? ActiveChild() : nullptr) {
    const TView view = child->GetOnglet();
    if (view != TView::None) SetViewChecks(view);
    // The print items follow the table and column views; the form view leaves
    // them as they were.
    if (view == TView::Table || view == TView::Column)
      for (const auto& [action, enabledIn] : viewEnabled_) action->setEnabled(enabledIn == view);
  }
  for (QAction* action : documentActions_) action->setEnabled(open);
  ShowFilterState();
}

// Document windows ------------------------------------------------------------

TChild* TMainForm::CreateChild(const QString& name) {
  auto* child = new TChild;
  child->setWindowTitle(QFileInfo(name).fileName());
  connect(child, &TChild::ViewChanged, this, &TMainForm::UpdateMenuItems);
  // The progress of a long import.
  connect(child, &TChild::StatusText, this, &TMainForm::ShowStatusHint);
  connect(child, &TChild::SelectionModeChanged, this, &TMainForm::ShowFilterState);
  mdiArea->AddChild(child);
  return child;
}

void TMainForm::NewTable(const QStringList& fields) {
  if (fields.isEmpty()) return;
  const QString name = QStringLiteral("Noname%1").arg(mdiArea->subWindowList().size() + 1);
  TChild* child = CreateChild(name);
  child->Init(fields);
  ShowView(TView::Table);
}

bool TMainForm::OpenTable(const QString& fileName) {
  // One window per file, save for the several sheets or tables a file may hold.
  const bool several = HoldsSeveralTables(TableFileKindOf(EnginePath(fileName)));
  if (TChild* open = several ? nullptr : mdiArea->ChildOf(fileName)) {
    mdiArea->Activate(open);
    UpdateMenuItems();
    return true;
  }
  for (const auto& journal : TRecoveryFolder::Orphans(EnginePath(fileName)))
    if (OfferRecovery(*journal)) return true;
  return OpenChild(fileName, [&](TChild& child) { return child.OpenFile(fileName); });
}

void TMainForm::RecoverJournals() {
  TTableLock::RemoveStale();  // the locks of programs that died
  for (const auto& journal : TRecoveryFolder::Orphans()) OfferRecovery(*journal);
  UpdateMenuItems();
}

bool TMainForm::OfferRecovery(TJournalReader& journal) {
  // Declined, the journal stays for a later start (or went with "Ignorer").
  return TRecoveryPrompt::Wanted(journal) &&
         OpenChild(FromEnginePath(journal.Header().path),
                   [&](TChild& child) { return child.Recover(journal); });
}

bool TMainForm::OpenChild(const QString& name, const std::function<bool(TChild&)>& fill) {
  bool filled;
  {
    TStatusText status(StatusPanel0, "Ouverture...");
    TChild* child = CreateChild(name);
    ShowView(TView::Table);
    filled = fill(*child);
    if (filled)
      child->Vue(TView::Table);
    else
      mdiArea->RemoveChild(child);  // the window has told the user why
  }
  UpdateMenuItems();
  return filled;
}

void TMainForm::ShowView(TView view) {
  SetViewChecks(view);
  if (TChild* child = ActiveChild()) child->Vue(view);
  UpdateMenuItems();
}

void TMainForm::FileNewItemClick() {
  QStringList fields;
  {
    TNouveau dialog;
    Services().RunDialog(dialog);
    fields = dialog.Result().value_or(QStringList());
  }
  NewTable(fields);
}

void TMainForm::FileOpenItemClick() {
  TFileDialogRequest request;
  request.kind = TFileDialogKind::Open;
  request.filters = TOpenCommands::Filters();
  if (std::optional<TFileChoice> choice = Services().FileDialog(request)) OpenTable(choice->path);
  UpdateMenuItems();
}

// The document window prints with a copy of the envelope settings; the sender
// lines come back as the envelope dialog left them, confirmed or not.
void TMainForm::Enveloppes1Click(TChild& child) {
  child.SetEnv(Envelope);
  child.ImpEnv();
  Envelope.SenderLines = child.GetEnv();
}

void TMainForm::FileCloseItemClick() {
  if (QMdiSubWindow* sub = mdiArea->currentSubWindow()) sub->close();
}

// Settings --------------------------------------------------------------------

void TMainForm::ChargeIni() {
  Envelope = TSettingsFile(StartDir).Read();
}

void TMainForm::SauveIni() {
  const TSettingsFile file(StartDir);
  const TStatus status = file.Write(Envelope);
  if (status) return;
  Services().Warning(QStringLiteral("Impossible d'enregistrer les paramètres dans '") +
                     file.Path() + QStringLiteral("' : ") + FailureText(status));
}

// Shut-down -------------------------------------------------------------------

bool TMainForm::FormCloseQuery() {
  // The active window is asked first, as the user sees it on top.
  QList<QMdiSubWindow*> subs = mdiArea->subWindowList(QMdiArea::StackingOrder);
  for (int i = subs.size() - 1; i >= 0; --i)
    if (auto* child = qobject_cast<TChild*>(subs[i]->widget()))
      if (!child->FormCloseQuery()) return false;
  return true;
}

void TMainForm::FormClose() {
  // Settings that cannot be written are lost, with a word to the user; the
  // program still ends.
  SauveIni();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

// Dropped files ---------------------------------------------------------------

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!TOpenCommands::OpenableFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QStringList files = TOpenCommands::OpenableFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  // Opened once the drop is over: a warning box must not run inside it.
  QTimer::singleShot(0, this, [this, files] {
    for (const QString& file : files) OpenTable(file);
  });
}
