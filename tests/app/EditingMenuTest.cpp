// The main window's side of the editing, structure and find commands: the
// new-table command, the menu items and shortcuts that reach the active
// document window, and the status text shown while a command runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QToolBar>

#include "MainWindowTest.h"
#include "TFindDlg.h"
#include "TStringGrid.h"

namespace {

class EditingMenuTest : public MainWindowTest {};

TEST_F(EditingMenuTest, NewTableOpensANumberedWindowOnTheFieldsEntered) {
  AnswerNewTable({"NOM STRING", "PRIX FLOAT"});
  Action("FileNewItem")->trigger();
  EXPECT_EQ(services.DialogTitles().last(), "Nouvelle table");
  ASSERT_EQ(Captions(), QStringList({"Noname1"}));
  TChild* child = form->ActiveChild();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->Document().Table().FieldCount(), 2);
  EXPECT_EQ(child->Document().Table().GetFieldName(1), "NOM");
  EXPECT_EQ(child->Document().Table().GetFieldType(2), "FLOAT");
  EXPECT_EQ(child->Document().Table().RecordCount(), 0);
  EXPECT_TRUE(child->FileName().isEmpty());
  EXPECT_FALSE(child->Document().Modified());
  EXPECT_EQ(child->GetOnglet(), TView::Table);
  EXPECT_TRUE(Action("Tabulaire1")->isChecked());
  EXPECT_EQ(child->StringGrid1->Cell(2, 0), "PRIX");

  AnswerNewTable({"A STRING"});
  Action("FileNewItem")->trigger();
  EXPECT_EQ(Captions(), QStringList({"Noname1", "Noname2"}));

  // Cancelled, or confirmed without a field: no window.
  services.AnswerDialog([](QDialog& d) { static_cast<TNouveau&>(d).Button1->click(); });
  Action("FileNewItem")->trigger();
  AnswerNewTable({});
  Action("NewButton")->trigger();
  EXPECT_EQ(Captions().size(), 2);
}

TEST_F(EditingMenuTest, MenuItemsReachTheActiveDocument) {
  AnswerNewTable({"NOM STRING"});
  Action("FileNewItem")->trigger();
  TChild* child = form->ActiveChild();
  ASSERT_NE(child, nullptr);
  Action("Ajouterdesenregistrements1")->trigger();
  Action("AddButton")->trigger();
  EXPECT_EQ(child->Document().Table().RecordCount(), 2);
  child->Document().Table().GoToRecord(1);
  child->Document().Table().SetFieldValue(1, "b");
  child->Document().Table().GoToRecord(2);
  child->Document().Table().SetFieldValue(1, "a");
  child->Remplit();
  Action("Ascendant1")->trigger();
  EXPECT_EQ(child->Document().Table().GetCell(1, 1), "a");
  Action("Descendant1")->trigger();
  EXPECT_EQ(child->Document().Table().GetCell(1, 1), "b");
  Action("Annuler1")->trigger();
  EXPECT_EQ(child->Document().Table().GetCell(1, 1), "a");
  Action("CopyItem")->trigger();
  EXPECT_EQ(child->Document().CopyBuffer().Get(0), "a");

  services.AnswerInput(QStringLiteral("ville"));
  Action("Ajouterunchamp1")->trigger();
  EXPECT_EQ(child->Document().Table().GetFieldName(2), "VILLE");
  services.AnswerQuestion(TAnswer::No);
  Action("Supprimerlechamp1")->trigger();
  services.AnswerQuestion(TAnswer::No);
  Action("Supprimerlenregistrement1")->trigger();
  services.AnswerQuestion(TAnswer::No);
  Action("Convertircaractres1")->trigger();
  EXPECT_EQ(services.Questions().back().text,
            QString::fromUtf8("Convertir les caractères de la table ?"));
  services.AnswerDialog([](QDialog& d) { d.reject(); });
  Action("Renommerchamp1")->trigger();
  services.AnswerDialog([](QDialog& d) { d.reject(); });
  Action("Modifierstructure1")->trigger();
  services.AnswerDialog([](QDialog& d) { d.reject(); });
  Action("Proprits1")->trigger();
  services.AnswerDialog([](QDialog& d) { d.reject(); });
  Action("Remplacer1")->trigger();
  services.AnswerDialog([](QDialog& d) { d.reject(); });
  Action("Modifierformulaire1")->trigger();
  EXPECT_EQ(services.DialogTitles().mid(1),
            QStringList({"Renommer champ", "Modifier structure",
                         QString::fromUtf8("Propriétés de la table"), "Remplacer",
                         QString::fromUtf8("Création du fichier")}));
}

TEST_F(EditingMenuTest, StatusTextWhileDuplicatesAreRemoved) {
  AnswerNewTable({"NOM STRING"});
  Action("FileNewItem")->trigger();
  QString during;
  services.WhileAsking([&](const TQuestion&) { during = form->StatusText(); });
  services.AnswerQuestion(TAnswer::Yes);
  Action("Supprimerdoublons1")->trigger();
  EXPECT_EQ(during, "Analyse...");
  EXPECT_EQ(form->StatusText(), "");
  EXPECT_TRUE(form->ActiveChild()->Document().Modified());
}

TEST_F(EditingMenuTest, CtrlFFindsAndF3Continues) {
  AnswerNewTable({"NOM STRING"});
  Action("FileNewItem")->trigger();
  TChild* child = form->ActiveChild();
  for (const char* name : {"a", "dup", "b", "dupuis"}) {
    child->Document().Table().Append();
    child->Document().Table().SetFieldValue(1, name);
  }
  child->Remplit();
  EXPECT_EQ(Action("Rechercher1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
  EXPECT_EQ(Action("Continuerlarecherche1")->shortcut(), QKeySequence(Qt::Key_F3));

  form->show();
  QApplication::setActiveWindow(form.get());
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TFindDlg&>(d);
    dialog.Edit1->setText(QStringLiteral("dup"));
    dialog.Button2->click();
  });
  QTest::keyClick(child->StringGrid1, Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(services.DialogTitles().last(), "Rechercher");
  EXPECT_EQ(child->StringGrid1->Row(), 2);
  QTest::keyClick(child->StringGrid1, Qt::Key_F3);
  EXPECT_EQ(child->StringGrid1->Row(), 4);
  EXPECT_EQ(child->Document().Table().RecNo(), 4);
}

TEST_F(EditingMenuTest, CommandsDoNothingWithoutADocument) {
  for (const char* name :
       {"Annuler1", "CopyItem", "PasteItem", "Rechercher1", "Continuerlarecherche1", "Remplacer1",
        "Supprimerlenregistrement1", "Supprimerlechamp1", "Modifierstructure1", "Proprits1",
        "Ajouterdesenregistrements1", "Ajouterunchamp1", "Renommerchamp1", "Ascendant1",
        "Descendant1", "Supprimerdoublons1", "Convertircaractres1"})
    Action(name)->trigger();
  EXPECT_TRUE(services.Questions().empty());
  EXPECT_TRUE(services.DialogTitles().isEmpty());
  EXPECT_EQ(form->StatusText(), "");
}

}  // namespace

namespace {

// After a command from a menu or the tool bar the keyboard acts on the grid
// again, without a click: the current cell has the focus, also when its editor
// was open as the command ran.
TEST_F(EditingMenuTest, TheGridHasTheKeyboardAfterEveryCommand) {
  ASSERT_TRUE(form->OpenTable(WriteTable("t.qor")));
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  TStringGrid* grid = form->ActiveChild()->StringGrid1;
  const struct {
    Qt::Key menu;  // 0: the tool-bar button `button` is clicked
    char item;
    const char* button;
  } commands[] = {
      {Qt::Key_T, 's', nullptr},  // Enregistrement suivant
      {Qt::Key_T, 'a', nullptr},  // Ajouter un enregistrement
      {Qt::Key_V, 'l', nullptr},  // Ajuster largeur colonnes
      {Qt::Key_E, 's', nullptr},  // Supprimer l'enregistrement, confirmed
      {Qt::Key_E, 'n', nullptr},  // Annuler
      {Qt::Key_E, 'a', nullptr},  // Aller à enregistrement N°, confirmed
      {Qt::Key_unknown, 0, "FirstButton"}, {Qt::Key_unknown, 0, "TableButton"},
  };
  for (const auto& command : commands) {
    SCOPED_TRACE(command.button ? command.button : std::string(1, command.item));
    grid->setFocus();
    grid->SetCurrentCell(1, 1);
    QTest::keyClick(grid, Qt::Key_F2);  // the cell editor opens
    ASSERT_NE(QApplication::focusWidget(), grid);
    if (command.menu == Qt::Key_E && command.item == 's') services.AnswerQuestion(TAnswer::Yes);
    if (command.menu == Qt::Key_E && command.item == 'a')
      services.AnswerDialog([](QDialog& d) { d.accept(); });
    if (command.button) {
      QTest::mouseClick(form->findChild<QToolBar*>()->widgetForAction(Action(command.button)),
                        Qt::LeftButton);
    } else {
      QTest::keyClick(QApplication::focusWidget(), command.menu, Qt::AltModifier);
      QWidget* popup = QApplication::activePopupWidget();
      ASSERT_NE(popup, nullptr);
      QTest::keyClick(popup, command.item);
    }
    // The menu or dialog that was up gives the main window back, as the
    // window manager does (the offscreen platform leaves a closed menu active).
    QApplication::processEvents();
    if (QApplication::activeWindow() != form.get()) QApplication::setActiveWindow(form.get());

    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == grid || grid->isAncestorOf(focus)) << focus->metaObject()->className();
    // Keys act on the current cell: Escape leaves an editor, an arrow moves.
    QTest::keyClick(focus, Qt::Key_Escape);
    grid->SetCurrentCell(1, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
  }
}

}  // namespace
