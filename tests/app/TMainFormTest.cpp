// The main window as a user meets it: menus and tool bar, the enabling rules,
// opening and creating tables, the window menu, the status bar, the settings
// file and shut-down. Everything runs offscreen with scripted services, each
// test in its own start folder.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

#include "MainWindowTest.h"
#include "TAboutBox.h"
#include "TFaultyFileSystem.h"
#include "TImportPreviewDlg.h"

namespace {

class MainFormTest : public MainWindowTest {};

// Each menu as lines "caption|hint|shortcut", "-" for a separator and "> " for a
// submenu, whose items follow indented.
void Describe(const QMenu* menu, const QString& indent, QStringList& out) {
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      out << indent + "-";
    } else if (action->menu()) {
      out << indent + "> " + action->text() + "|" + action->statusTip();
      Describe(action->menu(), indent + "  ", out);
    } else {
      out << indent + action->text() + "|" + action->statusTip() + "|" +
                 action->shortcut().toString(QKeySequence::PortableText);
    }
  }
}

TEST_F(MainFormTest, MenusHaveEveryCaptionHintShortcutAndSeparatorInOrder) {
  QStringList top;
  for (const QAction* action : form->menuBar()->actions())
    top << action->text() + "|" + action->statusTip();
  EXPECT_EQ(top, QStringList({"&Fichier|Commandes liées aux menus", "&Edition|", "&Vue|", "&Table|",
                              "&Outils|", "&Utilitaires|",
                              "Fe&nêtre|Commandes de fenêtres telles que Mosaïque et Cascade",
                              "&Aide|Rubriques d'aide"}));

  const std::vector<std::pair<const char*, QStringList>> expected = {
      {"File1",
       {"&Nouveau|Créer un nouveau fichier|", "&Ouvrir|Ouvrir un fichier existant|",
        "&Fermer|Fermer fichier en cours|", "-", "&Enregistrer|Enregistrer le fichier en cours|",
        "Enregistrer &sous...|Enregistrer le fichier en cours sous...|", "-",
        "I&mporter...|Importer|", "E&xporter...|Exporter|", "-", "> &Imprimer|",
        "  &Liste...|Imprime la liste|", "  &Fiche...|Imprime la fiche active|",
        "  &Structure...|Imprimer la structure|", "  &Enveloppes...|Imprimer enveloppes|",
        "  &Aperçu avant impression|Afficher la liste telle qu'elle sera imprimée|",
        "&Configurer l'imprimante|Configurer l'imprimante|", "-",
        "&Quitter|Quitter l'application|"}},
      {"Edit1",
       {"A&nnuler|Annuler la dernière modification|", "-", "Co&pier|Copier dans le Presse-papiers|",
        "C&oller|Coller depuis le Presse-papiers|", "-", "&Rechercher...|Rechercher|Ctrl+F",
        "&Continuer|Continuer la recherche|F3", "Re&mplacer...|Remplacer|", "-",
        "&Supprimer l'enregistrement|Supprimer l'enregistrement courant|",
        "S&upprimer le champ|Supprimer le champ pointé|", "-",
        "&Aller à enregistrement N°...|Aller à l'enregistrement n°|"}},
      {"Vue1",
       {"&Tabulaire|Mode table|", "&Colonne|Mode colonne|", "&Formulaire|Mode formulaire|", "-",
        "&Afficher tout|Afficher tous les enregistrements|",
        "Afficher &sélection|Afficher en fonction du filtre|",
        "Ajuster &largeur colonnes|Ajuster la largeur des colonnes|", "-",
        "&Modifier structure|Modifier la structure de la table|",
        "&Propriétés|Propriétés de la table|", "Mo&difier formulaire|Modifier le formulaire|"}},
      {"Table1",
       {"Enregistrement &précédent||", "Enregistrement &suivant|Enregistrement suivant|",
        "P&remier enregistrement|Premier enregistrement|",
        "&Dernier enregistrement|Dernier enregistrement|", "-",
        "&Ajouter un enregistrement|Ajouter des enregistrements|",
        "Ajouter un &champ|ajouter un champ|", "&Renommer champ|Redéfinir un champ|", "-",
        "&Filtre de sélection...|Définir les enregistrements à afficher|"}},
      {"Outils1",
       {"> Tri|", "  &Ascendant|Tri ascendant|", "  &Descendant|Tri descendant|",
        "&Supprimer doublons|Supprimer les doublons|",
        "&Convertir caractères|Convertir les caractères|", "-",
        "Requête &SQL|Entrer une requête SQL|", "Interrogation &QBE|Interrogation par l'exemple|",
        "-", "Co&mpter...|Compter les enregistrements|",
        "Ca&lculer...|Calculer les enregistrements|",
        "S&tatistiques...|Résumer la table par groupe, avec un graphique|"}},
      {"Utilitaires1",
       {"&Calendrier|Calendrier|", "C&alculatrice|Calculatrice|", "&Horloge|Horloge|",
        "&Euro conversion|Convertisseur Euro|", "&Bloc-notes|Bloc-notes|"}},
      {"Window1",
       {"&Cascade|Disposer les fenêtre de façon qu'elles se recouvrent|",
        "&Mosaïque|Disposer les fenêtre sans recouvrement|",
        "&Réorganiser les icônes|Disposer les icônes en bas de la fenêtre principale|",
        "&Tout réduire|Réduire toutes les fenêtres|"}},
      {"Help1", {"&Manuel d'utilisation|Ouvrir le manuel d'utilisation|F1", "&A propos||"}},
  };
  for (const auto& [name, lines] : expected) {
    QStringList actual;
    ASSERT_NE(Menu(name), nullptr) << name;
    Describe(Menu(name), QString(), actual);
    EXPECT_EQ(actual, lines) << name;
  }
}

TEST_F(MainFormTest, ToolBarHasItsGroupsOfPicturedButtonsWithHints) {
  auto* bar = form->findChild<QToolBar*>(QStringLiteral("SpeedPanel"));
  ASSERT_NE(bar, nullptr);
  QStringList buttons;
  for (QAction* action : bar->actions()) {
    if (action->isSeparator()) {
      buttons << "|";
      continue;
    }
    buttons << action->toolTip();
    EXPECT_EQ(action->statusTip(), action->toolTip());
    EXPECT_FALSE(action->icon().isNull()) << action->toolTip().toStdString();
    QWidget* button = bar->widgetForAction(action);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->size(), QSize(25, 25));
  }
  EXPECT_EQ(buttons, QStringList({"Nouveau",
                                  "Ouvrir",
                                  "Enregistrer",
                                  "Imprimer",
                                  "|",
                                  "Copier",
                                  "Coller",
                                  "Rechercher",
                                  "|",
                                  "Ajouter fiche",
                                  "Supprimer fiche",
                                  "|",
                                  "Première fiche",
                                  "Fiche précédente",
                                  "Fiche suivante",
                                  "Dernière fiche",
                                  "|",
                                  "Vue tableau",
                                  "Vue colonne",
                                  "Vue formulaire"}));
}

// The commands of the menus (submenus included) and the tool bar. Usable: only
// those a user can reach and use - enabled, in menus that are enabled.
QStringList Commands(QMainWindow& form, bool usable) {
  QStringList names;
  std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->isSeparator() || (usable && !action->isEnabled())) continue;
      if (action->menu())
        walk(action->menu());
      else
        names << action->objectName();
    }
  };
  for (QAction* top : form.menuBar()->actions())
    if (!usable || top->isEnabled()) walk(top->menu());
  for (QAction* button : form.findChild<QToolBar*>(QStringLiteral("SpeedPanel"))->actions())
    if (!button->isSeparator() && (!usable || button->isEnabled())) names << button->objectName();
  names.sort();
  return names;
}
QStringList UsableCommands(QMainWindow& form) {
  return Commands(form, true);
}

// What stays usable with no table open.
const QStringList kWithoutTable = [] {
  QStringList names = {"FileNewItem",     "FileOpenItem",  "Configurerlimprimante1", "FileExitItem",
                       "Annuler1",        "Calendrier1",   "Calculatrice1",          "Horloge1",
                       "Euroconversion1", "Blocnotes1",    "HelpAboutItem",          "NewButton",
                       "OpenButton",      "HelpManualItem"};
  names.sort();
  return names;
}();

TEST_F(MainFormTest, BeforeTheRulesRunOnlySavingCopyingAndMostButtonsAreDisabled) {
  for (const char* name : {"FileSaveItem", "FileSaveAsItem", "CopyItem", "PasteItem"})
    EXPECT_FALSE(Enabled(name)) << name;
  for (QAction* action : form->findChild<QToolBar*>(QStringLiteral("SpeedPanel"))->actions()) {
    if (action->isSeparator()) continue;
    const bool fileButton =
        action->objectName() == "NewButton" || action->objectName() == "OpenButton";
    EXPECT_EQ(action->isEnabled(), fileButton) << action->objectName().toStdString();
  }
  for (const char* name : {"FileCloseItem", "Liste1", "Fiche1", "Rechercher1", "Tabulaire1"})
    EXPECT_TRUE(Enabled(name)) << name;
}

TEST_F(MainFormTest, EnablingRulesFollowTheOpenWindowsAndTheActiveView) {
  form->UpdateMenuItems();
  EXPECT_EQ(UsableCommands(*form), kWithoutTable);
  // Undo with no window does nothing.
  Action("Annuler1")->trigger();
  EXPECT_TRUE(services.Log().isEmpty());

  // With a table open everything is usable but the print item of the other
  // view: "Fiche..." in the table view, "Liste..." and its preview in the
  // column view.
  ASSERT_TRUE(form->OpenTable(WriteTable("a.qor")));
  const QStringList everything = Commands(*form, false);
  QStringList allButFiche = everything, allButListe = everything;
  allButFiche.removeOne("Fiche1");
  allButListe.removeOne("Liste1");
  allButListe.removeOne("Apercu1");
  EXPECT_EQ(UsableCommands(*form), allButFiche);
  EXPECT_TRUE(Checked("Tabulaire1"));
  EXPECT_FALSE(Checked("Colonne1"));
  EXPECT_TRUE(Enabled("Liste1"));
  EXPECT_FALSE(Enabled("Fiche1"));

  Action("Colonne1")->trigger();
  EXPECT_EQ(form->ActiveChild()->GetOnglet(), TView::Column);
  EXPECT_EQ(UsableCommands(*form), allButListe);
  EXPECT_FALSE(Checked("Tabulaire1"));
  EXPECT_TRUE(Checked("Colonne1"));
  EXPECT_TRUE(Enabled("Fiche1"));
  EXPECT_FALSE(Enabled("Liste1"));

  // The form view keeps the print items as the column view left them.
  Action("FormButton")->trigger();
  EXPECT_EQ(form->ActiveChild()->GetOnglet(), TView::Form);
  EXPECT_TRUE(Checked("Formulaire1"));
  EXPECT_FALSE(Checked("Colonne1"));
  EXPECT_TRUE(Enabled("Fiche1"));
  EXPECT_FALSE(Enabled("Liste1"));

  Action("TableButton")->trigger();
  EXPECT_TRUE(Checked("Tabulaire1"));
  EXPECT_TRUE(Enabled("Liste1"));

  Action("FileCloseItem")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(form->Children().isEmpty());
  EXPECT_EQ(UsableCommands(*form), kWithoutTable);
}

TEST_F(MainFormTest, OpenCommandOpensTheChosenTableOnceAndActivatesItsWindowAfter) {
  const QString path = WriteTable("clients.qor");
  services.AnswerFile(path);
  Action("FileOpenItem")->trigger();

  ASSERT_EQ(services.FileDialogs().size(), 1u);
  const TFileDialogRequest& request = services.FileDialogs()[0];
  EXPECT_EQ(request.kind, TFileDialogKind::Open);
  EXPECT_EQ(request.fileName, "");
  // Every kind the window opens, then one filter per kind.
  ASSERT_EQ(request.filters.size(), 8u);
  EXPECT_EQ(request.filters[0].label, "Tables et fichiers de données");
  EXPECT_EQ(request.filters[0].pattern,
            "*.qor;*.csv;*.tsv;*.txt;*.dbf;*.xlsx;*.ods;*.sqlite;*.sqlite3;*.db");
  EXPECT_EQ(request.filters[1].label, "Fichiers Vek Base (*.qor)");
  EXPECT_EQ(request.filters[1].pattern, "*.qor");
  EXPECT_EQ(request.filters[2].label, "Fichiers texte");
  EXPECT_EQ(request.filters[2].pattern, "*.csv;*.tsv;*.txt");
  EXPECT_EQ(request.filters[3].label, "Fichiers dBase (*.dbf)");
  EXPECT_EQ(request.filters[4].label, "Classeurs Excel (*.xlsx)");
  EXPECT_EQ(request.filters[5].label, "Classeurs OpenDocument (*.ods)");
  EXPECT_EQ(request.filters[6].label, "Bases SQLite");
  EXPECT_EQ(request.filters[6].pattern, "*.sqlite;*.sqlite3;*.db");
  EXPECT_EQ(request.filters[7].label, "Tous les fichiers");
  EXPECT_EQ(request.filters[7].pattern, "*");

  ASSERT_EQ(form->Children().size(), 1);
  TChild* child = form->ActiveChild();
  ASSERT_EQ(child, form->Children()[0]);
  EXPECT_EQ(child->windowTitle(), "clients.qor");
  EXPECT_EQ(child->FileName(), path);
  EXPECT_EQ(child->Document().Table().RecordCount(), 3);
  EXPECT_EQ(child->GetOnglet(), TView::Table);
  EXPECT_FALSE(child->Document().Modified());
  EXPECT_EQ(form->StatusText(), "");

  // Another file, then the first again: its window comes back to the front,
  // no second window edits the same file.
  services.AnswerFile(WriteTable("autres.qor"));
  Action("OpenButton")->trigger();
  EXPECT_NE(form->ActiveChild(), child);
  services.AnswerFile(path);
  Action("OpenButton")->trigger();
  EXPECT_EQ(Captions(), QStringList({"clients.qor", "autres.qor"}));
  EXPECT_EQ(form->ActiveChild(), child);

  // Cancelled: no window, the rules still run.
  services.CancelFile();
  Action("FileOpenItem")->trigger();
  EXPECT_EQ(form->Children().size(), 2);
  EXPECT_TRUE(services.Questions().empty());
}

TEST_F(MainFormTest, TableThatCannotBeLoadedLeavesNoWindowAndNoStatus) {
  WriteFile(Path("broken.qor"), "not a table");
  services.AnswerFile(Path("broken.qor"));
  Action("FileOpenItem")->trigger();

  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Warning);
  EXPECT_TRUE(services.Questions()[0].text.startsWith("Impossible d'ouvrir '" + Path("broken.qor") +
                                                      "' : "))
      << services.Questions()[0].text.toStdString();
  QApplication::processEvents();
  EXPECT_TRUE(form->Children().isEmpty());
  EXPECT_TRUE(form->MdiArea()->subWindowList().isEmpty());
  EXPECT_EQ(form->StatusText(), "");
  EXPECT_FALSE(Enabled("FileCloseItem"));

  // A missing file, from the command line or a drop, goes the same way.
  EXPECT_FALSE(form->OpenTable(Path("absent.qor")));
  EXPECT_TRUE(form->Children().isEmpty());
  EXPECT_EQ(services.Questions().size(), 2u);

  // With a table already open, that one stays the active document.
  ASSERT_TRUE(form->OpenTable(WriteTable("a.qor")));
  EXPECT_FALSE(form->OpenTable(Path("absent.qor")));
  QApplication::processEvents();
  ASSERT_EQ(form->Children().size(), 1);
  EXPECT_EQ(form->ActiveChild(), form->Children()[0]);
  EXPECT_TRUE(Enabled("FileCloseItem"));
}

TEST_F(MainFormTest, NewTablesAreNumberedByTheWindowsOpenAtThatMoment) {
  form->NewTable({});
  EXPECT_TRUE(form->Children().isEmpty());

  ASSERT_TRUE(form->OpenTable(WriteTable("a.qor")));
  form->NewTable({"NOM STRING", "PRIX FLOAT"});
  EXPECT_EQ(Captions(), QStringList({"a.qor", "Noname2"}));
  TChild* fresh = form->ActiveChild();
  EXPECT_EQ(fresh->windowTitle(), "Noname2");
  EXPECT_EQ(fresh->Document().Table().FieldCount(), 2);
  EXPECT_EQ(fresh->Document().Table().GetFieldType(2), "FLOAT");
  EXPECT_EQ(fresh->GetOnglet(), TView::Table);
  EXPECT_TRUE(Checked("Tabulaire1"));

  form->NewTable({"A STRING"});
  // Closing the first window and creating another repeats the number 3.
  form->Children()[0]->parentWidget()->close();
  QApplication::processEvents();
  form->NewTable({"B STRING"});
  EXPECT_EQ(Captions(), QStringList({"Noname2", "Noname3", "Noname3"}));
}

TEST_F(MainFormTest, QuittingAsksEveryModifiedTableAndOneCancelKeepsAllOpen) {
  ASSERT_TRUE(form->OpenTable(WriteTable("un.qor")));
  ASSERT_TRUE(form->OpenTable(WriteTable("deux.qor")));
  for (TChild* child : form->Children()) child->Document().SetModified(true);

  services.AnswerQuestion(TAnswer::No);
  services.AnswerQuestion(TAnswer::Cancel);
  EXPECT_FALSE(form->close());
  ASSERT_EQ(services.Questions().size(), 2u);
  // The active window first.
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::YesNoCancel);
  EXPECT_EQ(services.Questions()[0].text, "Enregistrer changements dans 'deux.qor'?");
  EXPECT_EQ(services.Questions()[1].text, "Enregistrer changements dans 'un.qor'?");
  QApplication::processEvents();
  EXPECT_EQ(form->Children().size(), 2);
  EXPECT_FALSE(QFile::exists(Path("VekBase.ini")));

  services.AnswerQuestion(TAnswer::No);
  services.AnswerQuestion(TAnswer::No);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(services.Questions().size(), 4u);
  EXPECT_TRUE(QFile::exists(Path("VekBase.ini")));
  EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
}

TEST_F(MainFormTest, TableNotSavedAfterAYesKeepsItsWindowAndTheProgram) {
  form->NewTable({"NOM STRING"});
  TChild* child = form->ActiveChild();
  child->Document().SetModified(true);

  // Yes, then the save-as dialog is cancelled: nothing was saved.
  services.AnswerQuestion(TAnswer::Yes);
  services.CancelFile();
  EXPECT_FALSE(form->close());
  EXPECT_EQ(services.Questions()[0].text, "Enregistrer changements dans ''?");
  EXPECT_EQ(form->Children().size(), 1);
  EXPECT_TRUE(child->Document().Modified());

  // The same through the close command of the window.
  services.AnswerQuestion(TAnswer::Yes);
  services.CancelFile();
  Action("FileCloseItem")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(form->Children().size(), 1);
}

TEST_F(MainFormTest, SettingsFileHoldsSixLinesAndIsCreatedWithDefaults) {
  form->ChargeIni();
  EXPECT_EQ(form->Envelope.SenderLines[0], "");
  EXPECT_EQ(form->Envelope.EnvelopeOffset, 0);
  EXPECT_EQ(form->Envelope.EnvelopeOrientation, 0);
  ASSERT_TRUE(form->close());
  EXPECT_EQ(ReadFile(Path("VekBase.ini")), QByteArray("\r\n\r\n\r\n\r\n0\r\n0\r\n"));
}

TEST_F(MainFormTest, SettingsFileIsReadAtFirstShowAndWrittenBackUnchanged) {
  // Windows-1252 bytes pass unchanged; a negative offset keeps its sign.
  const QByteArray ini("Soci\xE9t\xE9 Vek\r\n12 rue Haute\r\n75001 Paris\r\n\r\n-10\r\n1\r\n");
  WriteFile(Path("VekBase.ini"), ini);
  form->show();
  EXPECT_EQ(form->Envelope.SenderLines[0], QString::fromUtf8("Société Vek"));
  EXPECT_EQ(form->Envelope.SenderLines[2], "75001 Paris");
  EXPECT_EQ(form->Envelope.SenderLines[3], "");
  EXPECT_EQ(form->Envelope.EnvelopeOffset, -10);
  EXPECT_EQ(form->Envelope.EnvelopeOrientation, 1);
  ASSERT_TRUE(form->close());
  EXPECT_EQ(ReadFile(Path("VekBase.ini")), ini);
}

TEST_F(MainFormTest, StartFolderRemovedBeforeExitWritesNothingAndStillQuits) {
  QTemporaryDir gone;
  const QString start = gone.path() + "/start";
  ASSERT_TRUE(QDir().mkpath(start));
  {
    TMainForm other(start);
    ASSERT_TRUE(QDir(start).removeRecursively());
    EXPECT_TRUE(other.close());
  }
  EXPECT_FALSE(QFileInfo::exists(start));
  EXPECT_FALSE(QFile::exists(QDir::current().filePath("VekBase.ini")));
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Warning);
  EXPECT_EQ(services.Questions()[0].text,
            QString::fromUtf8("Impossible d'enregistrer les paramètres dans '") + start +
                "/VekBase.ini' : le dossier n'existe pas");
}

TEST_F(MainFormTest, SettingsThatCannotBeWrittenAreReportedAndTheFileStays) {
  const QByteArray previous("a\r\nb\r\nc\r\nd\r\n1\r\n0\r\n");
  WriteFile(Path("VekBase.ini"), previous);
  form->Envelope.SenderLines[0] = QStringLiteral("Soci\u00e9t\u00e9");
  {
    TFaultyFileSystem fileSystem;
    fileSystem.Arm(TFaultyFileSystem::TFault::FailRename);
    EXPECT_TRUE(form->close());
  }
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Warning);
  EXPECT_EQ(services.Questions()[0].text,
            QString::fromUtf8("Impossible d'enregistrer les paramètres dans '") +
                Path("VekBase.ini") + QString::fromUtf8("' : erreur d'écriture du fichier"));
  EXPECT_EQ(ReadFile(Path("VekBase.ini")), previous);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"VekBase.ini"}));
}

TEST_F(MainFormTest, StatusBarShowsHintsAndTheTimeOfTheClock) {
  QStatusTipEvent tip(QStringLiteral("Ouvrir un fichier existant"));
  QApplication::sendEvent(form.get(), &tip);
  EXPECT_EQ(form->StatusText(), "Ouvrir un fichier existant");

  services.SetNow(QDateTime(QDate(1998, 10, 20), QTime(18, 23, 0)));
  form->Timer1Timer();
  EXPECT_EQ(form->TimeText(), "18:23:00");

  form->show();
  QApplication::processEvents();
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("StatusPanel0"))->width(), form->width() - 100);
}

TEST_F(MainFormTest, WindowMenuListsTheOpenTablesAndMinimisesThemAll) {
  form->show();
  ASSERT_TRUE(form->OpenTable(WriteTable("a.qor")));
  form->NewTable({"X STRING"});
  QMenu* window = Menu("Window1");
  emit window->aboutToShow();
  QStringList items;
  for (QAction* action : window->actions())
    if (!action->isSeparator())
      items << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
  EXPECT_EQ(items.mid(4), QStringList({"&1 a.qor", "&2 Noname2 *"}));

  // Choosing an entry makes that window the active one.
  window->actions().at(5)->trigger();
  EXPECT_EQ(form->ActiveChild()->windowTitle(), "a.qor");

  Action("WindowMinimizeItem")->trigger();
  for (QMdiSubWindow* sub : form->MdiArea()->subWindowList()) EXPECT_TRUE(sub->isMinimized());
  Action("WindowArrangeItem")->trigger();
  const int bottom = form->MdiArea()->viewport()->height();
  for (QMdiSubWindow* sub : form->MdiArea()->subWindowList())
    EXPECT_EQ(sub->geometry().bottom() + 1, bottom);
}

TEST_F(MainFormTest, AboutBoxShowsTheProductAndClosesWithOk) {
  QString texts;
  services.AnswerDialog([&texts](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "A propos");
    for (QLabel* label : dialog.findChildren<QLabel*>()) texts += label->text() + "\n";
    auto& box = dynamic_cast<TAboutBox&>(dialog);
    EXPECT_TRUE(box.OKButton->isDefault());
    box.OKButton->click();
  });
  Action("HelpAboutItem")->trigger();
  EXPECT_TRUE(texts.contains("Vek Base 2002\n"));
  EXPECT_TRUE(texts.contains("Version 1.0\n"));
  EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
}

TEST_F(MainFormTest, DroppedTableFilesOpenAndOtherFilesAreRefused) {
  const QString path = WriteTable("glisse.qor");
  WriteFile(Path("photo.png"), "\x89PNG");
  WriteFile(Path("note.txt"), "x");
  auto drop = [this](const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &dropped);
    QApplication::processEvents();
    return true;
  };
  EXPECT_FALSE(drop(Path("photo.png")));
  EXPECT_TRUE(form->Children().isEmpty());
  EXPECT_TRUE(drop(path));
  EXPECT_EQ(Captions(), QStringList({"glisse.qor"}));
  // Text opens as a table, as the open command opens it.
  EXPECT_TRUE(drop(Path("note.txt")));
  EXPECT_EQ(Captions(), QStringList({"glisse.qor", "note.txt"}));
}

TEST_F(MainFormTest, TableCommandsWithoutAWindowDoNothing) {
  form->UpdateMenuItems();
  // Disabled actions do not fire: the handlers behind them must not need a
  // window either. The commands usable without a table open their dialogs.
  for (QAction* action : form->findChildren<QAction*>()) {
    if (action->objectName().isEmpty() || kWithoutTable.contains(action->objectName())) continue;
    action->setEnabled(true);
    action->trigger();
  }
  EXPECT_TRUE(form->Children().isEmpty());
  EXPECT_TRUE(services.Log().isEmpty()) << services.Log().join('\n').toStdString();
  EXPECT_EQ(form->StatusText(), "");
}

TEST_F(MainFormTest, ImportAndExportRunOnTheActiveTableWithTheirStatusTexts) {
  services.AnswerFile(WriteTable("clients.qor"));
  Action("FileOpenItem")->trigger();
  TChild* child = form->ActiveChild();
  ASSERT_NE(child, nullptr);
  QStringList during;
  services.WhileAsking([&](const TQuestion&) { during << form->StatusText(); });

  // UTF-8 with one character the table cannot hold: the count is told while
  // the import's status text shows.
  WriteFile(Path("new.txt"), "Zo\xC3\xA9\tNice\r\n\xE4\xB8\xAD\r\n");
  services.AnswerFile(Path("new.txt"));
  services.AnswerDialog([](QDialog& d) { static_cast<TImportPreviewDlg&>(d).Button2->click(); });
  Action("Importer1")->trigger();
  EXPECT_EQ(child->Document().Table().RecordCount(), 5);
  EXPECT_EQ(child->Document().Table().GetCell(1, 4), "Zo\xE9");
  EXPECT_TRUE(child->Document().Modified());

  WriteFile(Path("out.csv"), "old");
  services.AnswerFile(Path("out.csv"));
  services.AnswerQuestion(TAnswer::Yes);
  Action("Exporter1")->trigger();
  EXPECT_EQ(ReadFile(Path("out.csv")).toStdString(), child->Document().Table().CsvText());
  EXPECT_EQ(child->FileName(), Path("clients.qor"));

  EXPECT_EQ(during, QStringList({"Importe...", "Exporte..."}));
  EXPECT_EQ(form->StatusText(), "");
}

}  // namespace
