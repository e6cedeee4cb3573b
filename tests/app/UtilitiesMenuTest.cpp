// The "Utilitaires" menu opens each desk utility as a modal window of the main
// window, through the scripted services; the notepad keeps its text in the
// start folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

#include "MainWindowTest.h"
#include "TBlocnotes.h"
#include "TCalendrier.h"
#include "TEurof.h"
#include "THorloge.h"
#include "TPocket.h"

namespace {

class UtilitiesMenuTest : public MainWindowTest {
 protected:
  // Runs a menu item whose window must be a TWindow owned by the main window;
  // the window is closed with the button `fermer` gives.
  template <typename TWindow, typename Fermer>
  void OpenAndClose(const char* item, Fermer fermer) {
    services.AnswerDialog([this, item, fermer](QDialog& dialog) {
      auto* window = dynamic_cast<TWindow*>(&dialog);
      ASSERT_NE(window, nullptr) << item;
      EXPECT_EQ(window->parentWidget(), form.get());
      fermer(*window)->click();
    });
    Action(item)->trigger();
  }
};

TEST_F(UtilitiesMenuTest, EachItemOpensItsWindowEvenWithNoTableOpen) {
  form->UpdateMenuItems();
  OpenAndClose<TCalendrier>("Calendrier1", [](TCalendrier& w) { return w.Button1; });
  OpenAndClose<TPocket>("Calculatrice1", [](TPocket& w) { return w.Button[19]; });
  OpenAndClose<THorloge>("Horloge1", [](THorloge& w) { return w.Button1; });
  OpenAndClose<TEurof>("Euroconversion1", [](TEurof& w) { return w.Button[10]; });
  OpenAndClose<TBlocnotes>("Blocnotes1", [](TBlocnotes& w) { return w.Button1; });
  EXPECT_EQ(services.DialogTitles(), (QStringList{"Calendrier", "Calculatrice", "Horloge",
                                                  "Euro convertisseur", "Bloc-notes"}));
  EXPECT_TRUE(form->Children().isEmpty());
}

TEST_F(UtilitiesMenuTest, NotepadKeepsItsTextInTheStartFolder) {
  services.AnswerDialog([](QDialog& dialog) {
    auto& notes = dynamic_cast<TBlocnotes&>(dialog);
    notes.Memo1->insertPlainText("Appeler Léon\nLyon\n");
    notes.Button1->click();
  });
  Action("Blocnotes1")->trigger();
  // Windows-1252 lines ended by CR LF, and no temporary file left beside it.
  EXPECT_EQ(ReadFile(Path("VekBase.nte")), "Appeler L\xE9on\r\nLyon\r\n\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"VekBase.nte"});

  QString shown;
  services.AnswerDialog([&shown](QDialog& dialog) {
    auto& notes = dynamic_cast<TBlocnotes&>(dialog);
    shown = notes.Memo1->toPlainText();
    notes.Button1->click();
  });
  Action("Blocnotes1")->trigger();
  EXPECT_EQ(shown, "Appeler Léon\nLyon\n");
}

}  // namespace
