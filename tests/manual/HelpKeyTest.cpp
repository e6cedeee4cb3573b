// F1 opens the manual at the page of the window it is pressed in - the main
// window, a table's window and its views, a dialog run modally - and the
// "Manuel d'utilisation" command opens its contents.

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBrowser>

#include "MainWindowTest.h"
#include "THelpWindow.h"
#include "TSql.h"
#include "TStringGrid.h"

namespace {

class HelpKeyTest : public MainWindowTest {
 protected:
  // The manual's window that `owner` holds, and the page it shows.
  QString PageShownBy(QWidget* owner) {
    auto* window = owner->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) return QStringLiteral("(pas de manuel)");
    EXPECT_TRUE(window->isVisible());
    return window->CurrentPage();
  }
};

TEST_F(HelpKeyTest, F1InTheMainWindowOpensThePageOfWhatIsActive) {
  form->show();
  QTest::keyClick(form.get(), Qt::Key_F1);
  EXPECT_EQ(PageShownBy(form.get()), QStringLiteral("fenetre-principale.html"));

  ASSERT_TRUE(form->OpenTable(WriteTable("a.qor")));
  TChild* child = form->ActiveChild();
  QTest::keyClick(child->StringGrid1, Qt::Key_F1);
  EXPECT_EQ(PageShownBy(form.get()), QStringLiteral("fenetre-table.html"));
  // Still one window of the manual, at the new page.
  EXPECT_EQ(form->findChildren<THelpWindow*>().size(), 1);

  // F1 while a menu is open: the manual belongs to the main window, not to
  // the menu that closes.
  QMenu* fileMenu = Menu("File1");
  fileMenu->popup(QPoint(0, 0));
  QTest::keyClick(fileMenu, Qt::Key_F1);
  EXPECT_EQ(fileMenu->findChild<THelpWindow*>(), nullptr);
  EXPECT_EQ(PageShownBy(form.get()), QStringLiteral("fenetre-principale.html"));
  fileMenu->hide();

  Action("Formulaire1")->trigger();
  QTest::keyClick(child->TabSheet3, Qt::Key_F1);
  EXPECT_EQ(PageShownBy(form.get()), QStringLiteral("formulaires.html#vue"));
}

TEST_F(HelpKeyTest, TheManualCommandOpensTheContents) {
  ASSERT_TRUE(form->OpenTable(WriteTable("a.qor")));
  QAction* item = Action("HelpManualItem");
  EXPECT_EQ(item->text(), QStringLiteral("&Manuel d'utilisation"));
  EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F1));
  item->trigger();
  EXPECT_EQ(PageShownBy(form.get()), QStringLiteral("index.html"));
  EXPECT_EQ(form->findChild<THelpWindow*>()->windowTitle(),
            QStringLiteral("Manuel de Vek Base - Sommaire"));
}

TEST_F(HelpKeyTest, F1InAModalDialogOpensItsPageAboveIt) {
  ASSERT_TRUE(form->OpenTable(WriteTable("a.qor")));
  QString page;
  bool helpOwnedByDialog = false;
  services.AnswerDialog([&](QDialog& dialog) {
    auto& sql = dynamic_cast<TSql&>(dialog);
    sql.show();
    QTest::keyClick(sql.Memo1, Qt::Key_F1);
    // A child of the dialog, so that the dialog's modality does not block it.
    auto* help = sql.findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    helpOwnedByDialog = help != nullptr;
    if (help) page = help->CurrentPage();
    sql.Button1->click();
  });
  Action("RequeteSQL1")->trigger();
  EXPECT_TRUE(helpOwnedByDialog);
  EXPECT_EQ(page, QStringLiteral("requetes.html#sql"));
  // The manual went with the dialog; the main window has none.
  EXPECT_EQ(form->findChild<THelpWindow*>(), nullptr);
}

TEST_F(HelpKeyTest, EveryPageThatF1OpensIsInTheManual) {
  // The pages named for the program's windows are pages of the manual, with
  // the anchor they name.
  THelpWindow manual;
  // A table with a number, which Calculer needs before its dialog shows.
  TQor2 table;
  table.AddField("VILLE");
  table.AddField("SOLDE");
  table.SetFieldType(2, "FLOAT");
  table.Append();
  table.SetFieldValue(1, "Lyon");
  table.SetFieldValue(2, "12");
  ASSERT_TRUE(table.SaveToFile(QFile::encodeName(Path("a.qor")).toStdString()));
  ASSERT_TRUE(form->OpenTable(Path("a.qor")));
  const char* const items[] = {
      "Filtredeslection1", "RequeteSQL1",         "InterrogationQBE1",     "Compter1",
      "Calculer1",         "Calendrier1",         "Calculatrice1",         "Horloge1",
      "Euroconversion1",   "Blocnotes1",          "HelpAboutItem",         "Modifierstructure1",
      "Proprits1",         "Renommerchamp1",      "AllerenregistrementN1", "Rechercher1",
      "Remplacer1",        "Modifierformulaire1", "FileNewItem",           "Statistiques1"};
  for (const char* item : items) {
    QString page;
    services.AnswerDialog([&page](QDialog& dialog) {
      QTest::keyClick(&dialog, Qt::Key_F1);
      if (auto* help = dialog.findChild<THelpWindow*>()) page = help->CurrentPage();
      dialog.reject();
    });
    Action(item)->trigger();
    ASSERT_FALSE(page.isEmpty()) << item;
    EXPECT_NE(page, QStringLiteral("index.html")) << item << " n'a pas de page";
    EXPECT_TRUE(manual.ShowPage(page)) << item;
    const QString anchor = page.section(QLatin1Char('#'), 1);
    if (!anchor.isEmpty()) {
      QFile file(THelpWindow::ManualFolder() + QLatin1Char('/') +
                 page.section(QLatin1Char('#'), 0, 0));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_TRUE(
          QString::fromUtf8(file.readAll()).contains(QStringLiteral("id=\"%1\"").arg(anchor)))
          << item << " " << qPrintable(page);
    }
  }
}

}  // namespace
