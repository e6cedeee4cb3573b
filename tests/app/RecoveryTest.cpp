// What a program that died had not saved, as the user meets it at the next
// start or when opening the file again: the question and its three answers,
// the table shown as it stood at the last flush, a changed file, a damaged
// journal, a new table; one window per file, read-only opens, and no journal
// or temporary file left behind by saving and closing.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <optional>

#include "JournalFiles.h"
#include "MainWindowTest.h"
#include "TRecoveryJournal.h"
#include "TStringGrid.h"
#include "TTableLock.h"
#include "TableContents.h"

namespace fs = std::filesystem;

namespace {

using Rows = std::vector<std::vector<std::string>>;

const QStringList kButtons = {"Récupérer", "Ignorer", "Plus tard"};

class RecoveryTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    saved_ = TRecoveryJournal::Settings();
    TRecoveryJournal::Settings().flushDelayMs = 0;
    TRecoveryJournal::Settings().typedDelayMs = 1;
    path = WriteTable("clients.qor");
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    TRecoveryJournal::Settings() = saved_;
    std::error_code ec;
    fs::remove_all(TRecoveryFolder::Path(), ec);
  }

  // What a program that died after `changes` on clients.qor left; the rows
  // it had then.
  Rows DeadSession(const std::function<void(TDocument&)>& changes) {
    TDocument dead;
    EXPECT_TRUE(dead.Load(QFile::encodeName(path).toStdString()));
    changes(dead);
    LeaveOrphan(dead);
    return RecordsOf(dead.Table());
  }
  static void TwoChanges(TDocument& doc) {
    doc.Table().GoToRecord(2);
    doc.StoreTyped(2, "Marseille");
    doc.AppendRecord();
    doc.StoreTyped(1, "Z\xE9");
    doc.Sort(1, true);
  }

  QString Question(int i) const { return services.Questions().at(i).text; }
  // Closes a document window as its close box does; `answer` to the close
  // question of a modified table. The window is gone on return.
  void Close(TChild* child, std::optional<TAnswer> answer = std::nullopt) {
    if (answer) services.AnswerQuestion(*answer);
    qobject_cast<QMdiSubWindow*>(child->parentWidget())->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  Rows Shown() const { return RecordsOf(form->ActiveChild()->Document().Table()); }

  QString path;
  TRecoveryJournal::TSettings saved_;
};

TEST_F(RecoveryTest, StartUpOffersWhatAProgramLeftAndRecoverShowsTheTableAsFlushed) {
  const QByteArray onDisk = ReadFile(path);
  const Rows expected = DeadSession(TwoChanges);
  ASSERT_EQ(expected.size(), 4u);

  services.AnswerChoice("Récupérer");
  form->RecoverJournals();
  ASSERT_EQ(services.Questions().size(), 1u);
  const TQuestion& q = services.Questions()[0];
  EXPECT_EQ(q.kind, TQuestionKind::Choice);
  EXPECT_EQ(
      q.text,
      "Vek Base s'est arrêté sans enregistrer « clients.qor ». Récupérer les modifications ?");
  EXPECT_EQ(q.buttons, kButtons);

  ASSERT_EQ(Captions(), QStringList({"clients.qor"}));
  TChild* child = form->ActiveChild();
  EXPECT_EQ(child->FileName(), path);
  EXPECT_TRUE(child->Document().Modified());
  EXPECT_EQ(Shown(), expected);
  EXPECT_EQ(child->StringGrid1->Cell(2, 1), "Marseille");  // the view shows it, sorted
  EXPECT_EQ(ReadFile(path), onDisk);                       // untouched until saved
  EXPECT_TRUE(Enabled("FileSaveItem"));

  // Saved: the table is in the file, nothing is left to recover.
  Action("FileSaveItem")->trigger();
  EXPECT_FALSE(child->Document().Modified());
  EXPECT_NE(ReadFile(path), onDisk);
  EXPECT_TRUE(JournalFiles().empty());
  form->RecoverJournals();
  EXPECT_EQ(services.Questions().size(), 1u);
}

TEST_F(RecoveryTest, LaterKeepsTheJournalAndIgnoreRemovesItOnceConfirmed) {
  DeadSession(TwoChanges);
  services.AnswerChoice("Plus tard");
  form->RecoverJournals();
  EXPECT_TRUE(form->Children().isEmpty());
  EXPECT_EQ(JournalFiles().size(), 1u);

  services.AnswerChoice("Ignorer");
  services.AnswerQuestion(TAnswer::No);
  form->RecoverJournals();
  EXPECT_EQ(Question(2),
            "Les modifications non enregistrées de « clients.qor » seront perdues. Supprimer le "
            "journal de récupération ?");
  EXPECT_EQ(JournalFiles().size(), 1u);

  services.AnswerChoice("Ignorer");
  services.AnswerQuestion(TAnswer::Yes);
  form->RecoverJournals();
  EXPECT_TRUE(JournalFiles().empty());
  EXPECT_TRUE(form->Children().isEmpty());
  form->RecoverJournals();  // nothing more to ask
  EXPECT_EQ(services.Questions().size(), 5u);
}

TEST_F(RecoveryTest, AFileChangedSinceIsStillOfferedWithAWarning) {
  DeadSession(TwoChanges);
  TQor2 changed;
  changed.AddField("NOM");
  changed.AddField("VILLE");
  for (const char* name : {"Autre3", "Autre1", "Autre2"}) {
    changed.Append();
    changed.SetFieldValue(1, name);
  }
  ASSERT_TRUE(changed.SaveToFile(QFile::encodeName(path).toStdString()));

  services.AnswerChoice("Récupérer");
  form->RecoverJournals();
  EXPECT_EQ(Question(0),
            "Vek Base s'est arrêté sans enregistrer « clients.qor ». Récupérer les modifications ?"
            "\n\nAttention : « clients.qor » a été modifié depuis ; les modifications seront "
            "reportées sur le fichier tel qu'il est maintenant.");
  // Replayed on the file as it is now.
  ASSERT_EQ(form->Children().size(), 1);
  EXPECT_EQ(Shown(),
            (Rows{{"Autre1", "Marseille"}, {"Autre2", ""}, {"Autre3", ""}, {"Z\xE9", ""}}));
}

TEST_F(RecoveryTest, ADamagedJournalGivesBackWhatCameBeforeTheDamageAndSaysSo) {
  DeadSession(TwoChanges);
  const std::string journal = TRecoveryFolder::Path() + "/" + JournalFiles().at(0);
  fs::resize_file(journal, fs::file_size(journal) - 3);  // the sort cut short

  services.AnswerChoice("Récupérer");
  form->RecoverJournals();
  ASSERT_EQ(services.Questions().size(), 2u);
  EXPECT_EQ(services.Questions()[1].kind, TQuestionKind::Warning);
  EXPECT_EQ(Question(1),
            "Le journal de récupération de « clients.qor » est endommagé : les 3 premières "
            "modifications ont été récupérées, la suite est perdue.");
  EXPECT_EQ(Shown(), (Rows{{"Martin", "Lyon"},
                           {"Dupont", "Marseille"},
                           {"L\xE9on",
                            "Orl\xE9"
                            "ans"},
                           {"Z\xE9", ""}}));
}

TEST_F(RecoveryTest, ANewTableNeverSavedComesBackUnderItsCaption) {
  {
    TDocument dead;
    dead.Init({"NOM STRING", "AGE FLOAT"}, "Noname1");
    dead.AppendRecord();
    dead.StoreTyped(1, "Alice");
    dead.StoreTyped(2, "31");
    LeaveOrphan(dead);
  }
  services.AnswerChoice("Récupérer");
  form->RecoverJournals();
  EXPECT_EQ(Question(0),
            "Vek Base s'est arrêté sans enregistrer « Noname1 ». Récupérer les modifications ?");
  ASSERT_EQ(Captions(), QStringList({"Noname1"}));
  TChild* child = form->ActiveChild();
  EXPECT_EQ(child->FileName(), "");
  EXPECT_TRUE(child->Document().Modified());
  EXPECT_EQ(FieldsOf(child->Document().Table()),
            (std::vector<std::string>{"NOM:STRING", "AGE:FLOAT"}));
  EXPECT_EQ(Shown(), (Rows{{"Alice", "31"}}));
}

TEST_F(RecoveryTest, OpeningAFileOffersWhatWasLeftForIt) {
  const Rows expected = DeadSession(TwoChanges);
  services.AnswerFile(path);
  services.AnswerChoice("Récupérer");
  Action("FileOpenItem")->trigger();
  ASSERT_EQ(form->Children().size(), 1);
  EXPECT_EQ(Shown(), expected);
  EXPECT_TRUE(form->ActiveChild()->Document().Modified());

  // Open again: the window comes forward, nothing is asked.
  services.AnswerFile(path);
  Action("FileOpenItem")->trigger();
  EXPECT_EQ(form->Children().size(), 1);
  EXPECT_EQ(services.Questions().size(), 1u);
}

TEST_F(RecoveryTest, ClosingWithOrWithoutSavingLeavesNoJournal) {
  for (const TAnswer answer : {TAnswer::No, TAnswer::Yes}) {
    ASSERT_TRUE(form->OpenTable(path));
    TChild* child = form->ActiveChild();
    child->Document().Table().GoToRecord(1);
    child->Document().StoreTyped(1, answer == TAnswer::Yes ? "Oui" : "Non");
    ASSERT_TRUE(child->Document().FlushJournal());
    EXPECT_EQ(JournalFiles().size(), 1u);
    Close(child, answer);  // "Enregistrer changements dans 'clients.qor'?"
    EXPECT_TRUE(form->Children().isEmpty());
    EXPECT_TRUE(JournalFiles().empty());
  }
  TQor2 saved;
  ASSERT_TRUE(saved.LoadFromFile(QFile::encodeName(path).toStdString()));
  EXPECT_EQ(saved.GetCell(1, 1), "Oui");
}

TEST_F(RecoveryTest, WhatIsTypedIsJournaledAMomentAfterTheLastKey) {
  ASSERT_TRUE(form->OpenTable(path));
  TChild* child = form->ActiveChild();
  TStringGrid* grid = child->StringGrid1;
  grid->SetCurrentCell(1, 2);
  for (const QString typed : {"D", "Du", "Dup", "Dupo"}) {
    grid->SetCell(1, 2, typed);  // the grid writes each key into the cell
    child->StringGrid1KeyPress(typed.back());
  }
  EXPECT_TRUE(child->TypingTimer->isActive());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !child->TypingTimer->isActive(); }, 2000));
  EXPECT_EQ(child->Document().Table().GetCell(1, 2), "Dupont");  // not written back
  LeaveOrphan(child->Document());
  Close(child, TAnswer::No);

  services.AnswerChoice("Récupérer");
  form->RecoverJournals();
  ASSERT_EQ(form->Children().size(), 1);
  EXPECT_EQ(form->ActiveChild()->Document().Table().GetCell(1, 2), "Dupo");
  EXPECT_EQ(form->ActiveChild()->StringGrid1->Cell(1, 2), "Dupo");
}

TEST_F(RecoveryTest, AFileAnotherProgramHoldsOpensReadOnlyAndIsNotSavedOver) {
  TTableLock other;  // another running Vek Base
  ASSERT_EQ(other.Acquire(QFile::encodeName(path).toStdString()), TTableLock::TResult::Acquired);
  const QString question =
      "« clients.qor » est déjà ouvert dans une autre fenêtre de Vek Base. L'ouvrir en lecture "
      "seule ?";
  services.AnswerQuestion(TAnswer::No);
  EXPECT_FALSE(form->OpenTable(path));
  EXPECT_EQ(Question(0), question);
  EXPECT_TRUE(form->Children().isEmpty());

  services.AnswerQuestion(TAnswer::Yes);
  ASSERT_TRUE(form->OpenTable(path));
  TChild* child = form->ActiveChild();
  EXPECT_EQ(child->windowTitle(), "clients.qor (lecture seule)");
  EXPECT_TRUE(child->Document().ReadOnly());
  const QByteArray onDisk = ReadFile(path);
  child->Document().Table().GoToRecord(1);
  child->Document().StoreTyped(1, "Modifié");

  // Saving goes to "save as", which refuses the file the other program holds...
  services.AnswerFile(path);
  Action("FileSaveItem")->trigger();
  EXPECT_EQ(Question(2), "Fichier en lecture seule");
  EXPECT_EQ(Question(3),
            "« clients.qor » est ouvert dans une autre fenêtre de Vek Base : enregistrez sous un "
            "autre nom.");
  EXPECT_EQ(ReadFile(path), onDisk);
  EXPECT_TRUE(child->Document().Modified());

  // ... and writes any other, which is then this window's own.
  services.AnswerFile(Path("copie.qor"));
  Action("FileSaveAsItem")->trigger();
  EXPECT_EQ(child->windowTitle(), "copie.qor");
  EXPECT_FALSE(child->Document().ReadOnly());
  EXPECT_TRUE(TTableLock::IsLocked(QFile::encodeName(Path("copie.qor")).toStdString()));
  EXPECT_EQ(ReadFile(path), onDisk);
}

TEST_F(RecoveryTest, ATemporaryFileASaveLeftGoesWhenTheFileIsOpenedUnlessAnotherHoldsIt) {
  const QString leftover = Path(".clients.qor.tmp");
  WriteFile(leftover, "half a table");
  {
    TTableLock other;
    ASSERT_EQ(other.Acquire(QFile::encodeName(path).toStdString()), TTableLock::TResult::Acquired);
    services.AnswerQuestion(TAnswer::Yes);
    ASSERT_TRUE(form->OpenTable(path));
    EXPECT_TRUE(QFileInfo::exists(leftover));  // perhaps its save, going on
    Close(form->ActiveChild());
  }
  ASSERT_TRUE(form->OpenTable(path));
  EXPECT_FALSE(QFileInfo::exists(leftover));
}

}  // namespace
