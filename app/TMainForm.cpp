#include "TMainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include "AnsiCodec.h"
#include "French.h"
#include "IServices.h"
#include "TAboutBox.h"
#include "TAtomicFile.h"
#include "TChild.h"
#include "TNouveau.h"

namespace {

const char kIniName[] = "VekBase.ini";

// A line holding a signed decimal integer, blanks before it allowed and anything
// after it ignored. False when the line does not start with a number that fits.
bool ReadIniNumber(const QByteArray& line, int& value) {
  int i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  int start = i;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
  int digits = i;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
  if (i == digits) return false;
  bool ok = false;
  const int number = line.mid(start, i - start).toInt(&ok);
  if (ok) value = number;
  return ok;
}

}  // namespace

TMainForm::TMainForm(const QString& startDir, QWidget* parent)
    : QMainWindow(parent), StartDir(QDir(startDir).absolutePath()) {
  setWindowTitle(QStringLiteral("Vek Base"));
  setWindowIcon(TPictures::ProgramIcon());
  setAcceptDrops(true);

  mdiArea = new QMdiArea(this);
  mdiArea->setObjectName(QStringLiteral("MdiArea"));
  mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea);

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  SetInitialStates();

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

QAction* TMainForm::AddItem(QMenu* menu, const char* name, const QString& caption,
                            const QString& hint) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QLatin1String(name));
  action->setStatusTip(hint);
  menu->addAction(action);
  return action;
}

QAction* TMainForm::AddToolButton(const char* name, TToolPicture picture, const QString& hint) {
  auto* action = new QAction(TPictures::ToolButton(picture), hint, this);
  action->setObjectName(QLatin1String(name));
  action->setToolTip(hint);
  action->setStatusTip(hint);
  return action;
}

void TMainForm::CreateActions() {
  File1 = new QMenu(QStringLiteral("&Fichier"), this);
  File1->setObjectName(QStringLiteral("File1"));
  File1->menuAction()->setStatusTip(QStringLiteral("Commandes liées aux menus"));
  FileNewItem = AddItem(File1, "FileNewItem", QStringLiteral("&Nouveau"),
                        QStringLiteral("Créer un nouveau fichier"));
  FileOpenItem = AddItem(File1, "FileOpenItem", QStringLiteral("&Ouvrir"),
                         QStringLiteral("Ouvrir un fichier existant"));
  FileCloseItem = AddItem(File1, "FileCloseItem", QStringLiteral("&Fermer"),
                          QStringLiteral("Fermer fichier en cours"));
  File1->addSeparator();
  FileSaveItem = AddItem(File1, "FileSaveItem", QStringLiteral("&Enregistrer"),
                         QStringLiteral("Enregistrer le fichier en cours"));
  FileSaveAsItem = AddItem(File1, "FileSaveAsItem", QStringLiteral("Enregistrer &sous..."),
                           QStringLiteral("Enregistrer le fichier en cours sous..."));
  File1->addSeparator();
  Importer1 =
      AddItem(File1, "Importer1", QStringLiteral("I&mporter..."), QStringLiteral("Importer"));
  Exporter1 =
      AddItem(File1, "Exporter1", QStringLiteral("E&xporter..."), QStringLiteral("Exporter"));
  File1->addSeparator();
  Imprimer1 = File1->addMenu(QStringLiteral("&Imprimer"));
  Imprimer1->setObjectName(QStringLiteral("Imprimer1"));
  Liste1 =
      AddItem(Imprimer1, "Liste1", QStringLiteral("&Liste..."), QStringLiteral("Imprime la liste"));
  Fiche1 = AddItem(Imprimer1, "Fiche1", QStringLiteral("&Fiche..."),
                   QStringLiteral("Imprime la fiche active"));
  Structure1 = AddItem(Imprimer1, "Structure1", QStringLiteral("&Structure..."),
                       QStringLiteral("Imprimer la structure"));
  Enveloppes1 = AddItem(Imprimer1, "Enveloppes1", QStringLiteral("&Enveloppes..."),
                        QStringLiteral("Imprimer enveloppes"));
  Configurerlimprimante1 =
      AddItem(File1, "Configurerlimprimante1", QStringLiteral("&Configurer l'imprimante"),
              QStringLiteral("Configurer l'imprimante"));
  File1->addSeparator();
  FileExitItem = AddItem(File1, "FileExitItem", QStringLiteral("&Quitter"),
                         QStringLiteral("Quitter l'application"));

  Edit1 = new QMenu(QStringLiteral("&Edition"), this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Annuler1 = AddItem(Edit1, "Annuler1", QStringLiteral("A&nnuler"),
                     QStringLiteral("Annuler la dernière modification"));
  Edit1->addSeparator();
  CopyItem = AddItem(Edit1, "CopyItem", QStringLiteral("Co&pier"),
                     QStringLiteral("Copier dans le Presse-papiers"));
  PasteItem = AddItem(Edit1, "PasteItem", QStringLiteral("C&oller"),
                      QStringLiteral("Coller depuis le Presse-papiers"));
  Edit1->addSeparator();
  Rechercher1 =
      AddItem(Edit1, "Rechercher1", QStringLiteral("&Rechercher..."), QStringLiteral("Rechercher"));
  Rechercher1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  Continuerlarecherche1 = AddItem(Edit1, "Continuerlarecherche1", QStringLiteral("&Continuer"),
                                  QStringLiteral("Continuer la recherche"));
  Continuerlarecherche1->setShortcut(QKeySequence(Qt::Key_F3));
  Remplacer1 =
      AddItem(Edit1, "Remplacer1", QStringLiteral("Re&mplacer..."), QStringLiteral("Remplacer"));
  Edit1->addSeparator();
  Supprimerlenregistrement1 =
      AddItem(Edit1, "Supprimerlenregistrement1", QStringLiteral("&Supprimer l'enregistrement"),
              QStringLiteral("Supprimer l'enregistrement courant"));
  Supprimerlechamp1 = AddItem(Edit1, "Supprimerlechamp1", QStringLiteral("S&upprimer le champ"),
                              QStringLiteral("Supprimer le champ pointé"));
  Edit1->addSeparator();
  AllerenregistrementN1 =
      AddItem(Edit1, "AllerenregistrementN1", QStringLiteral("&Aller à enregistrement N°..."),
              QStringLiteral("Aller à l'enregistrement n°"));

  Vue1 = new QMenu(QStringLiteral("&Vue"), this);
  Vue1->setObjectName(QStringLiteral("Vue1"));
  Tabulaire1 =
      AddItem(Vue1, "Tabulaire1", QStringLiteral("&Tabulaire"), QStringLiteral("Mode table"));
  Colonne1 = AddItem(Vue1, "Colonne1", QStringLiteral("&Colonne"), QStringLiteral("Mode colonne"));
  Formulaire1 = AddItem(Vue1, "Formulaire1", QStringLiteral("&Formulaire"),
                        QStringLiteral("Mode formulaire"));
  for (QAction* view : {Tabulaire1, Colonne1, Formulaire1}) view->setCheckable(true);
  Vue1->addSeparator();
  Affichertout1 = AddItem(Vue1, "Affichertout1", QStringLiteral("&Afficher tout"),
                          QStringLiteral("Afficher tous les enregistrements"));
  Afficherslection1 = AddItem(Vue1, "Afficherslection1", QStringLiteral("Afficher &sélection"),
                              QStringLiteral("Afficher en fonction du filtre"));
  Ajusterlargeurcolonnes1 =
      AddItem(Vue1, "Ajusterlargeurcolonnes1", QStringLiteral("Ajuster &largeur colonnes"),
              QStringLiteral("Ajuster la largeur des colonnes"));
  Vue1->addSeparator();
  Modifierstructure1 = AddItem(Vue1, "Modifierstructure1", QStringLiteral("&Modifier structure"),
                               QStringLiteral("Modifier la structure de la table"));
  Proprits1 = AddItem(Vue1, "Proprits1", QStringLiteral("&Propriétés"),
                      QStringLiteral("Propriétés de la table"));
  Modifierformulaire1 = AddItem(Vue1, "Modifierformulaire1", QStringLiteral("Mo&difier formulaire"),
                                QStringLiteral("Modifier le formulaire"));

  Table1 = new QMenu(QStringLiteral("&Table"), this);
  Table1->setObjectName(QStringLiteral("Table1"));
  Enregistrementprcdent1 = AddItem(Table1, "Enregistrementprcdent1",
                                   QStringLiteral("Enregistrement &précédent"), QString());
  Enregistrementsuivant1 =
      AddItem(Table1, "Enregistrementsuivant1", QStringLiteral("Enregistrement &suivant"),
              QStringLiteral("Enregistrement suivant"));
  Premierenregistrement1 =
      AddItem(Table1, "Premierenregistrement1", QStringLiteral("P&remier enregistrement"),
              QStringLiteral("Premier enregistrement"));
  Dernierenregistrement1 =
      AddItem(Table1, "Dernierenregistrement1", QStringLiteral("&Dernier enregistrement"),
              QStringLiteral("Dernier enregistrement"));
  Table1->addSeparator();
  Ajouterdesenregistrements1 =
      AddItem(Table1, "Ajouterdesenregistrements1", QStringLiteral("&Ajouter un enregistrement"),
              QStringLiteral("Ajouter des enregistrements"));
  Ajouterunchamp1 = AddItem(Table1, "Ajouterunchamp1", QStringLiteral("Ajouter un &champ"),
                            QStringLiteral("ajouter un champ"));
  Renommerchamp1 = AddItem(Table1, "Renommerchamp1", QStringLiteral("&Renommer champ"),
                           QStringLiteral("Redéfinir un champ"));
  Table1->addSeparator();
  Filtredeslection1 =
      AddItem(Table1, "Filtredeslection1", QStringLiteral("&Filtre de sélection..."),
              QStringLiteral("Définir les enregistrements à afficher"));

  Outils1 = new QMenu(QStringLiteral("&Outils"), this);
  Outils1->setObjectName(QStringLiteral("Outils1"));
  Tri1 = Outils1->addMenu(QStringLiteral("Tri"));
  Tri1->setObjectName(QStringLiteral("Tri1"));
  Ascendant1 =
      AddItem(Tri1, "Ascendant1", QStringLiteral("&Ascendant"), QStringLiteral("Tri ascendant"));
  Descendant1 =
      AddItem(Tri1, "Descendant1", QStringLiteral("&Descendant"), QStringLiteral("Tri descendant"));
  Supprimerdoublons1 = AddItem(Outils1, "Supprimerdoublons1", QStringLiteral("&Supprimer doublons"),
                               QStringLiteral("Supprimer les doublons"));
  Convertircaractres1 =
      AddItem(Outils1, "Convertircaractres1", QStringLiteral("&Convertir caractères"),
              QStringLiteral("Convertir les caractères"));
  Outils1->addSeparator();
  RequeteSQL1 = AddItem(Outils1, "RequeteSQL1", QStringLiteral("Requête &SQL"),
                        QStringLiteral("Entrer une requête SQL"));
  InterrogationQBE1 = AddItem(Outils1, "InterrogationQBE1", QStringLiteral("Interrogation &QBE"),
                              QStringLiteral("Interrogation par l'exemple"));
  Outils1->addSeparator();
  Compter1 = AddItem(Outils1, "Compter1", QStringLiteral("Co&mpter..."),
                     QStringLiteral("Compter les enregistrements"));
  Calculer1 = AddItem(Outils1, "Calculer1", QStringLiteral("Ca&lculer..."),
                      QStringLiteral("Calculer les enregistrements"));

  Utilitaires1 = new QMenu(QStringLiteral("&Utilitaires"), this);
  Utilitaires1->setObjectName(QStringLiteral("Utilitaires1"));
  Calendrier1 = AddItem(Utilitaires1, "Calendrier1", QStringLiteral("&Calendrier"),
                        QStringLiteral("Calendrier"));
  Calculatrice1 = AddItem(Utilitaires1, "Calculatrice1", QStringLiteral("C&alculatrice"),
                          QStringLiteral("Calculatrice"));
  Horloge1 =
      AddItem(Utilitaires1, "Horloge1", QStringLiteral("&Horloge"), QStringLiteral("Horloge"));
  Euroconversion1 = AddItem(Utilitaires1, "Euroconversion1", QStringLiteral("&Euro conversion"),
                            QStringLiteral("Convertisseur Euro"));
  Blocnotes1 = AddItem(Utilitaires1, "Blocnotes1", QStringLiteral("&Bloc-notes"),
                       QStringLiteral("Bloc-notes"));

  Window1 = new QMenu(QStringLiteral("Fe&nêtre"), this);
  Window1->setObjectName(QStringLiteral("Window1"));
  Window1->menuAction()->setStatusTip(
      QStringLiteral("Commandes de fenêtres telles que Mosaïque et Cascade"));
  WindowCascadeItem =
      AddItem(Window1, "WindowCascadeItem", QStringLiteral("&Cascade"),
              QStringLiteral("Disposer les fenêtre de façon qu'elles se recouvrent"));
  WindowTileItem = AddItem(Window1, "WindowTileItem", QStringLiteral("&Mosaïque"),
                           QStringLiteral("Disposer les fenêtre sans recouvrement"));
  WindowArrangeItem =
      AddItem(Window1, "WindowArrangeItem", QStringLiteral("&Réorganiser les icônes"),
              QStringLiteral("Disposer les icônes en bas de la fenêtre principale"));
  WindowMinimizeItem = AddItem(Window1, "WindowMinimizeItem", QStringLiteral("&Tout réduire"),
                               QStringLiteral("Réduire toutes les fenêtres"));

  Help1 = new QMenu(QStringLiteral("&Aide"), this);
  Help1->setObjectName(QStringLiteral("Help1"));
  Help1->menuAction()->setStatusTip(QStringLiteral("Rubriques d'aide"));
  HelpAboutItem = AddItem(Help1, "HelpAboutItem", QStringLiteral("&A propos"), QString());

  NewButton = AddToolButton("NewButton", TToolPicture::New, QStringLiteral("Nouveau"));
  OpenButton = AddToolButton("OpenButton", TToolPicture::Open, QStringLiteral("Ouvrir"));
  SaveButton = AddToolButton("SaveButton", TToolPicture::Save, QStringLiteral("Enregistrer"));
  PrintButton = AddToolButton("PrintButton", TToolPicture::Print, QStringLiteral("Imprimer"));
  CopyButton = AddToolButton("CopyButton", TToolPicture::Copy, QStringLiteral("Copier"));
  PasteButton = AddToolButton("PasteButton", TToolPicture::Paste, QStringLiteral("Coller"));
  FindButton = AddToolButton("FindButton", TToolPicture::Find, QStringLiteral("Rechercher"));
  AddButton = AddToolButton("AddButton", TToolPicture::AddRecord, QStringLiteral("Ajouter fiche"));
  DeleteButton =
      AddToolButton("DeleteButton", TToolPicture::DeleteRecord, QStringLiteral("Supprimer fiche"));
  FirstButton = AddToolButton("FirstButton", TToolPicture::First, QStringLiteral("Première fiche"));
  PriorButton =
      AddToolButton("PriorButton", TToolPicture::Prior, QStringLiteral("Fiche précédente"));
  NextButton = AddToolButton("NextButton", TToolPicture::Next, QStringLiteral("Fiche suivante"));
  LastButton = AddToolButton("LastButton", TToolPicture::Last, QStringLiteral("Dernière fiche"));
  TableButton =
      AddToolButton("TableButton", TToolPicture::TableView, QStringLiteral("Vue tableau"));
  ColumnButton =
      AddToolButton("ColumnButton", TToolPicture::ColumnView, QStringLiteral("Vue colonne"));
  FormButton =
      AddToolButton("FormButton", TToolPicture::FormView, QStringLiteral("Vue formulaire"));

  const std::pair<QAction*, void (TMainForm::*)()> handlers[] = {
      {FileNewItem, &TMainForm::FileNewItemClick},
      {FileOpenItem, &TMainForm::FileOpenItemClick},
      {FileCloseItem, &TMainForm::FileCloseItemClick},
      {FileSaveItem, &TMainForm::FileSaveItemClick},
      {FileSaveAsItem, &TMainForm::FileSaveAsItemClick},
      {Importer1, &TMainForm::Importer1Click},
      {Exporter1, &TMainForm::Exporter1Click},
      {Liste1, &TMainForm::Liste1Click},
      {Fiche1, &TMainForm::Fiche1Click},
      {Structure1, &TMainForm::Structure1Click},
      {Enveloppes1, &TMainForm::Enveloppes1Click},
      {Configurerlimprimante1, &TMainForm::Configurerlimprimante1Click},
      {FileExitItem, &TMainForm::FileExitItemClick},
      {Annuler1, &TMainForm::Annuler1Click},
      {CopyItem, &TMainForm::CopyItemClick},
      {PasteItem, &TMainForm::PasteItemClick},
      {Rechercher1, &TMainForm::Rechercher1Click},
      {Continuerlarecherche1, &TMainForm::Continuerlarecherche1Click},
      {Remplacer1, &TMainForm::Remplacer1Click},
      {Supprimerlenregistrement1, &TMainForm::Supprimerlenregistrement1Click},
      {Supprimerlechamp1, &TMainForm::Supprimerlechamp1Click},
      {AllerenregistrementN1, &TMainForm::AllerenregistrementN1Click},
      {Tabulaire1, &TMainForm::Tabulaire1Click},
      {Colonne1, &TMainForm::Colonne1Click},
      {Formulaire1, &TMainForm::Formulaire1Click},
      {Affichertout1, &TMainForm::Affichertout1Click},
      {Afficherslection1, &TMainForm::Afficherslection1Click},
      {Ajusterlargeurcolonnes1, &TMainForm::Ajusterlargeurcolonnes1Click},
      {Modifierstructure1, &TMainForm::Modifierstructure1Click},
      {Proprits1, &TMainForm::Proprits1Click},
      {Modifierformulaire1, &TMainForm::Modifierformulaire1Click},
      {Enregistrementprcdent1, &TMainForm::Enregistrementprcdent1Click},
      {Enregistrementsuivant1, &TMainForm::Enregistrementsuivant1Click},
      {Premierenregistrement1, &TMainForm::Premierenregistrement1Click},
      {Dernierenregistrement1, &TMainForm::Dernierenregistrement1Click},
      {Ajouterdesenregistrements1, &TMainForm::Ajouterdesenregistrements1Click},
      {Ajouterunchamp1, &TMainForm::Ajouterunchamp1Click},
      {Renommerchamp1, &TMainForm::Renommerchamp1Click},
      {Filtredeslection1, &TMainForm::Filtredeslection1Click},
      {Ascendant1, &TMainForm::Ascendant1Click},
      {Descendant1, &TMainForm::Descendant1Click},
      {Supprimerdoublons1, &TMainForm::Supprimerdoublons1Click},
      {Convertircaractres1, &TMainForm::Convertircaractres1Click},
      {RequeteSQL1, &TMainForm::RequeteSQL1Click},
      {InterrogationQBE1, &TMainForm::InterrogationQBE1Click},
      {Compter1, &TMainForm::Compter1Click},
      {Calculer1, &TMainForm::Calculer1Click},
      {Calendrier1, &TMainForm::Calendrier1Click},
      {Calculatrice1, &TMainForm::Calculatrice1Click},
      {Horloge1, &TMainForm::Horloge1Click},
      {Euroconversion1, &TMainForm::Euroconversion1Click},
      {Blocnotes1, &TMainForm::Blocnotes1Click},
      {WindowCascadeItem, &TMainForm::WindowCascadeItemClick},
      {WindowTileItem, &TMainForm::WindowTileItemClick},
      {WindowArrangeItem, &TMainForm::WindowArrangeItemClick},
      {WindowMinimizeItem, &TMainForm::WindowMinimizeItemClick},
      {HelpAboutItem, &TMainForm::HelpAboutItemClick},
      // The buttons share the handlers of their menu items; "Imprimer" prints
      // the list and "Rechercher" finds.
      {NewButton, &TMainForm::FileNewItemClick},
      {OpenButton, &TMainForm::FileOpenItemClick},
      {SaveButton, &TMainForm::FileSaveItemClick},
      {PrintButton, &TMainForm::Liste1Click},
      {CopyButton, &TMainForm::CopyItemClick},
      {PasteButton, &TMainForm::PasteItemClick},
      {FindButton, &TMainForm::Rechercher1Click},
      {AddButton, &TMainForm::Ajouterdesenregistrements1Click},
      {DeleteButton, &TMainForm::Supprimerlenregistrement1Click},
      {FirstButton, &TMainForm::Premierenregistrement1Click},
      {PriorButton, &TMainForm::Enregistrementprcdent1Click},
      {NextButton, &TMainForm::Enregistrementsuivant1Click},
      {LastButton, &TMainForm::Dernierenregistrement1Click},
      {TableButton, &TMainForm::Tabulaire1Click},
      {ColumnButton, &TMainForm::Colonne1Click},
      {FormButton, &TMainForm::Formulaire1Click},
  };
  for (const auto& [action, handler] : handlers)
    connect(action, &QAction::triggered, this, handler);
}

void TMainForm::CreateMenus() {
  for (QMenu* menu : {File1, Edit1, Vue1, Table1, Outils1, Utilitaires1, Window1, Help1})
    menuBar()->addMenu(menu);
  connect(Window1, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);
}

void TMainForm::CreateToolBar() {
  SpeedPanel = new QToolBar(QStringLiteral("Barre d'outils"), this);
  SpeedPanel->setObjectName(QStringLiteral("SpeedPanel"));
  SpeedPanel->setMovable(false);
  SpeedPanel->setFloatable(false);
  SpeedPanel->setContextMenuPolicy(Qt::PreventContextMenu);
  SpeedPanel->toggleViewAction()->setEnabled(false);
  SpeedPanel->setIconSize(QSize(16, 16));
  SpeedPanel->setFixedHeight(33);
  const std::vector<std::vector<QAction*>> groups = {
      {NewButton, OpenButton, SaveButton, PrintButton},
      {CopyButton, PasteButton, FindButton},
      {AddButton, DeleteButton},
      {FirstButton, PriorButton, NextButton, LastButton},
      {TableButton, ColumnButton, FormButton},
  };
  for (size_t g = 0; g < groups.size(); ++g) {
    if (g > 0) SpeedPanel->addSeparator();
    for (QAction* action : groups[g]) {
      SpeedPanel->addAction(action);
      if (QWidget* button = SpeedPanel->widgetForAction(action)) button->setFixedSize(25, 25);
    }
  }
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

void TMainForm::SetInitialStates() {
  // What the window shows until the enabling rules first run.
  for (QAction* action : {FileSaveItem, FileSaveAsItem, CopyItem, PasteItem})
    action->setEnabled(false);
  for (QAction* action : SpeedPanel->actions())
    if (action != NewButton && action != OpenButton) action->setEnabled(false);
}

void TMainForm::SetSplash(QWidget* splashWindow) {
  delete splash;
  splash = splashWindow;
}

TChild* TMainForm::ActiveChild() const {
  QMdiSubWindow* sub = mdiArea->currentSubWindow();
  return sub ? qobject_cast<TChild*>(sub->widget()) : nullptr;
}

QList<TChild*> TMainForm::Children() const {
  QList<TChild*> children;
  for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::CreationOrder))
    if (auto* child = qobject_cast<TChild*>(sub->widget())) children.append(child);
  return children;
}

QString TMainForm::StatusText() const {
  return StatusPanel0->text();
}
QString TMainForm::TimeText() const {
  return StatusPanel1->text();
}

void TMainForm::SetStatus(const QString& text) {
  StatusPanel0->setText(text);
  // Shown at once: the command that follows keeps the event loop busy.
  StatusPanel0->repaint();
}

void TMainForm::ShowStatusHint(const QString& hint) {
  StatusPanel0->setText(hint);
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
  for (QAction* view : {Tabulaire1, Colonne1, Formulaire1}) view->setChecked(false);
}

void TMainForm::UpdateMenuItems() {
  const bool open = !mdiArea->subWindowList().isEmpty();
  if (open) {
    if (TChild* child = ActiveChild()) {
      switch (child->GetOnglet()) {
        case 1:
          Decoche();
          Tabulaire1->setChecked(true);
          Liste1->setEnabled(true);
          Fiche1->setEnabled(false);
          break;
        case 2:
          Decoche();
          Colonne1->setChecked(true);
          Fiche1->setEnabled(true);
          Liste1->setEnabled(false);
          break;
        case 3:
          Decoche();
          Formulaire1->setChecked(true);
          break;
        default:
          break;
      }
    }
  }
  QAction* const governed[] = {
      Modifierformulaire1,
      FileCloseItem,
      FileSaveItem,
      FileSaveAsItem,
      CopyItem,
      PasteItem,
      SaveButton,
      WindowCascadeItem,
      WindowTileItem,
      WindowArrangeItem,
      WindowMinimizeItem,
      Tabulaire1,
      Colonne1,
      Formulaire1,
      Enregistrementprcdent1,
      Enregistrementsuivant1,
      Premierenregistrement1,
      Dernierenregistrement1,
      Ajouterdesenregistrements1,
      Supprimerlenregistrement1,
      Imprimer1->menuAction(),
      Importer1,
      Exporter1,
      CopyButton,
      PasteButton,
      FindButton,
      FirstButton,
      PriorButton,
      NextButton,
      LastButton,
      PrintButton,
      AddButton,
      DeleteButton,
      Rechercher1,
      Continuerlarecherche1,
      Modifierstructure1,
      Affichertout1,
      Afficherslection1,
      AllerenregistrementN1,
      Filtredeslection1,
      Ajusterlargeurcolonnes1,
      Supprimerlechamp1,
      Ajouterunchamp1,
      Tri1->menuAction(),
      Ascendant1,
      Descendant1,
      Proprits1,
      Renommerchamp1,
      Supprimerdoublons1,
      TableButton,
      ColumnButton,
      FormButton,
      Convertircaractres1,
      Structure1,
      Remplacer1,
      RequeteSQL1,
      InterrogationQBE1,
      Compter1,
      Calculer1,
      Enveloppes1,
  };
  for (QAction* action : governed) action->setEnabled(open);
}

// Document windows ------------------------------------------------------------

TChild* TMainForm::CreateChild(const QString& name) {
  auto* child = new TChild;
  child->setWindowTitle(QFileInfo(name).fileName());
  connect(child, &TChild::ViewChanged, this, &TMainForm::UpdateMenuItems);
  // The window's own size is its outer size in the work space.
  const QSize designSize = child->size();
  QMdiSubWindow* sub = mdiArea->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->resize(designSize);
  sub->show();
  mdiArea->setActiveSubWindow(sub);
  return child;
}

void TMainForm::NewTable(const QStringList& fields) {
  if (fields.isEmpty()) return;
  const QString name = QStringLiteral("Noname%1").arg(mdiArea->subWindowList().size() + 1);
  TChild* child = CreateChild(name);
  child->Init(fields);
  Tabulaire1Click();
}

bool TMainForm::OpenTable(const QString& fileName) {
  SetStatus(QStringLiteral("Ouverture..."));
  TChild* child = CreateChild(fileName);
  Tabulaire1Click();
  const bool loaded = child->OpenFile(fileName);
  if (loaded) {
    child->Vue(1);
  } else {
    // The window has told the user why; an empty window would only mislead.
    if (QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget())) {
      mdiArea->removeSubWindow(sub);
      delete sub;
    }
  }
  SetStatus(QString());
  UpdateMenuItems();
  return loaded;
}

void TMainForm::FileNewItemClick() {
  QStringList fields;
  {
    TNouveau dialog;
    if (Services().RunDialog(dialog) == QDialog::Accepted) fields = dialog.Result();
  }
  NewTable(fields);
}

void TMainForm::FileOpenItemClick() {
  TFileDialogRequest request;
  request.kind = TFileDialogKind::Open;
  request.fileName = QStringLiteral("*.qor");
  request.filters = {{QStringLiteral("Fichiers Vek Base (*.qor)"), QStringLiteral("*.qor")}};
  if (std::optional<TFileChoice> choice = Services().FileDialog(request)) OpenTable(choice->path);
  UpdateMenuItems();
}

void TMainForm::FileCloseItemClick() {
  if (QMdiSubWindow* sub = mdiArea->currentSubWindow()) sub->close();
}

void TMainForm::FileSaveItemClick() {
  if (TChild* child = ActiveChild()) {
    SetStatus(QStringLiteral("Enregistre..."));
    child->Enregistrer();
    SetStatus(QString());
  }
}

void TMainForm::FileSaveAsItemClick() {
  if (TChild* child = ActiveChild()) {
    SetStatus(QStringLiteral("Enregistre..."));
    child->SaveAs();
    SetStatus(QString());
  }
}

void TMainForm::Importer1Click() {}
void TMainForm::Exporter1Click() {}
void TMainForm::Liste1Click() {}
void TMainForm::Fiche1Click() {}
void TMainForm::Structure1Click() {}
void TMainForm::Enveloppes1Click() {}

void TMainForm::Configurerlimprimante1Click() {
  Services().PrinterSetupDialog();
}

void TMainForm::FileExitItemClick() {
  close();
}

void TMainForm::Annuler1Click() {
  if (TChild* child = ActiveChild()) child->Annuler();
}

void TMainForm::CopyItemClick() {
  if (TChild* child = ActiveChild()) child->Copier();
}

void TMainForm::PasteItemClick() {
  if (TChild* child = ActiveChild()) child->Coller();
}

void TMainForm::Rechercher1Click() {
  if (TChild* child = ActiveChild()) child->Rechercher();
}

void TMainForm::Continuerlarecherche1Click() {
  if (TChild* child = ActiveChild()) child->Continuer();
}

void TMainForm::Remplacer1Click() {
  if (TChild* child = ActiveChild()) child->Remplacer();
}

void TMainForm::Supprimerlenregistrement1Click() {
  if (TChild* child = ActiveChild()) child->Supprimer();
}

void TMainForm::Supprimerlechamp1Click() {
  if (TChild* child = ActiveChild()) child->SupChamp();
}

void TMainForm::AllerenregistrementN1Click() {
  if (TChild* child = ActiveChild()) child->Aller();
}

void TMainForm::Tabulaire1Click() {
  Decoche();
  Tabulaire1->setChecked(true);
  if (TChild* child = ActiveChild()) child->Vue(1);
  UpdateMenuItems();
}

void TMainForm::Colonne1Click() {
  Decoche();
  Colonne1->setChecked(true);
  if (TChild* child = ActiveChild()) child->Vue(2);
  UpdateMenuItems();
}

void TMainForm::Formulaire1Click() {
  Decoche();
  Formulaire1->setChecked(true);
  if (TChild* child = ActiveChild()) child->Vue(3);
  UpdateMenuItems();
}

void TMainForm::Affichertout1Click() {
  if (TChild* child = ActiveChild()) child->AffTout();
}

void TMainForm::Afficherslection1Click() {
  if (TChild* child = ActiveChild()) child->AffSel();
}

void TMainForm::Ajusterlargeurcolonnes1Click() {
  if (TChild* child = ActiveChild()) child->Largeur();
}

void TMainForm::Modifierstructure1Click() {
  if (TChild* child = ActiveChild()) child->ModiStru();
}

void TMainForm::Proprits1Click() {
  if (TChild* child = ActiveChild()) child->Proprietes();
}
void TMainForm::Modifierformulaire1Click() {}

void TMainForm::Enregistrementprcdent1Click() {
  if (TChild* child = ActiveChild()) child->Precedent();
}

void TMainForm::Enregistrementsuivant1Click() {
  if (TChild* child = ActiveChild()) child->Suivant();
}

void TMainForm::Premierenregistrement1Click() {
  if (TChild* child = ActiveChild()) child->Premier();
}

void TMainForm::Dernierenregistrement1Click() {
  if (TChild* child = ActiveChild()) child->Dernier();
}

void TMainForm::Ajouterdesenregistrements1Click() {
  if (TChild* child = ActiveChild()) child->Ajouter();
}

void TMainForm::Ajouterunchamp1Click() {
  if (TChild* child = ActiveChild()) child->AjoutChamp();
}

void TMainForm::Renommerchamp1Click() {
  if (TChild* child = ActiveChild()) child->Renommer();
}
void TMainForm::Filtredeslection1Click() {}
void TMainForm::Ascendant1Click() {
  if (TChild* child = ActiveChild()) {
    SetStatus(QStringLiteral("Trie..."));
    child->TriAscendant();
    SetStatus(QString());
  }
}

void TMainForm::Descendant1Click() {
  if (TChild* child = ActiveChild()) {
    SetStatus(QStringLiteral("Trie..."));
    child->TriDescendant();
    SetStatus(QString());
  }
}

void TMainForm::Supprimerdoublons1Click() {
  if (TChild* child = ActiveChild()) {
    SetStatus(QStringLiteral("Analyse..."));
    child->Doublons();
    SetStatus(QString());
  }
}

void TMainForm::Convertircaractres1Click() {
  if (TChild* child = ActiveChild()) child->Convertir();
}
void TMainForm::RequeteSQL1Click() {}
void TMainForm::InterrogationQBE1Click() {}
void TMainForm::Compter1Click() {}
void TMainForm::Calculer1Click() {}
void TMainForm::Calendrier1Click() {}
void TMainForm::Calculatrice1Click() {}
void TMainForm::Horloge1Click() {}
void TMainForm::Euroconversion1Click() {}
void TMainForm::Blocnotes1Click() {}

// Window menu -----------------------------------------------------------------

void TMainForm::WindowCascadeItemClick() {
  mdiArea->cascadeSubWindows();
}

void TMainForm::WindowTileItemClick() {
  mdiArea->tileSubWindows();
}

void TMainForm::WindowArrangeItemClick() {
  // Minimised windows in a row along the bottom edge, further rows above it.
  const QRect area = mdiArea->viewport()->rect();
  int x = 0;
  int y = area.bottom() + 1;
  for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->isMinimized()) continue;
    const QSize size = sub->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      y -= size.height();
    }
    if (x == 0 && y == area.bottom() + 1) y -= size.height();
    sub->move(x, y);
    x += size.width();
  }
}

void TMainForm::WindowMinimizeItemClick() {
  const QList<QMdiSubWindow*> subs = mdiArea->subWindowList(QMdiArea::CreationOrder);
  for (int i = subs.size() - 1; i >= 0; --i) subs[i]->showMinimized();
}

void TMainForm::UpdateWindowMenu() {
  // The four commands, then the open document windows, the active one checked.
  const QList<QAction*> actions = Window1->actions();
  for (int i = 4; i < actions.size(); ++i) {
    Window1->removeAction(actions[i]);
    delete actions[i];
  }
  const QList<QMdiSubWindow*> subs = mdiArea->subWindowList(QMdiArea::CreationOrder);
  if (subs.isEmpty()) return;
  Window1->addSeparator();
  auto* group = new QActionGroup(Window1);
  for (int i = 0; i < subs.size(); ++i) {
    QMdiSubWindow* sub = subs[i];
    const QString title = sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle();
    const QString caption = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                                  : QStringLiteral("%1 %2").arg(i + 1).arg(title);
    QAction* action = Window1->addAction(caption);
    action->setCheckable(true);
    action->setChecked(sub == mdiArea->currentSubWindow());
    group->addAction(action);
    connect(action, &QAction::triggered, sub, [this, sub] {
      if (sub->isMinimized()) sub->showNormal();
      mdiArea->setActiveSubWindow(sub);
    });
  }
}

void TMainForm::HelpAboutItemClick() {
  TAboutBox box(this);
  Services().RunDialog(box);
}

// Settings --------------------------------------------------------------------

void TMainForm::ChargeIni() {
  QFile file(QDir(StartDir).filePath(QLatin1String(kIniName)));
  if (!file.open(QIODevice::ReadOnly)) return;
  QList<QByteArray> lines = file.readAll().split('\n');
  // A final line end leaves an empty piece behind: it is no line.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QByteArray& line : lines)
    if (line.endsWith('\r')) line.chop(1);
  for (int i = 0; i < 4 && i < lines.size(); ++i) SenderLines[i] = FromAnsi(lines[i].toStdString());
  // A number missing or unreadable leaves it, and the one after it, at 0.
  if (lines.size() > 4 && ReadIniNumber(lines[4], EnvelopeOffset) && lines.size() > 5)
    ReadIniNumber(lines[5], EnvelopeOrientation);
}

void TMainForm::SauveIni() {
  std::string text;
  for (const QString& line : SenderLines) text += ToAnsi(line) + "\r\n";
  text += std::to_string(EnvelopeOffset) + "\r\n";
  text += std::to_string(EnvelopeOrientation) + "\r\n";
  const QString path = QDir(StartDir).filePath(QLatin1String(kIniName));
  const int result = WriteFileAtomically(QFile::encodeName(path).toStdString(), text);
  if (result == 0) return;
  Services().Warning(QStringLiteral("Impossible d'enregistrer les paramètres dans '") + path +
                     QStringLiteral("' : ") +
                     (result == 3 ? QStringLiteral("création du fichier impossible")
                                  : QStringLiteral("erreur d'écriture du fichier")));
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

QStringList TMainForm::DroppedTables(const QMimeData* data) const {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    const QString path = url.toLocalFile();
    if (!path.isEmpty() && path.endsWith(QLatin1String(".qor"), Qt::CaseInsensitive))
      files.append(path);
  }
  return files;
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedTables(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedTables(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  // Opened once the drop is over: a warning box must not run inside it.
  QTimer::singleShot(0, this, [this, files] {
    for (const QString& file : files) OpenTable(file);
  });
}
