// The notepad's file in the start folder and its printing, through the scripted
// services and the recording printer.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cerrno>

#include "TBlocnotes.h"
#include "TFaultyFileSystem.h"
#include "UtilityTest.h"

namespace {

class BlocnotesTest : public UtilityTest {
 protected:
  QString File() const { return TBlocnotes::FileIn(dir.path()); }
  void Write(const QByteArray& bytes) {
    QFile f(File());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray Read() const {
    QFile f(File());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
  }
  static void Type(TBlocnotes& notes, const QString& text) {
    notes.Memo1->moveCursor(QTextCursor::End);
    notes.Memo1->insertPlainText(text);
  }
};

TEST_F(BlocnotesTest, TheFileLivesInTheStartFolderEvenAtTheRoot) {
  EXPECT_EQ(TBlocnotes::FileIn("/"), "/VekBase.nte");
  EXPECT_EQ(TBlocnotes::FileIn(dir.path() + "/"), dir.path() + "/VekBase.nte");
}

TEST_F(BlocnotesTest, WithoutAFileOpensEmptyAndClosingUntypedCreatesNone) {
  TBlocnotes notes;
  EXPECT_EQ(notes.windowTitle(), "Bloc-notes");
  EXPECT_TRUE(notes.Charge(File()));
  EXPECT_EQ(notes.Memo1->toPlainText(), "");
  EXPECT_TRUE(notes.Sauve(File()));
  EXPECT_FALSE(QFile::exists(File()));
}

TEST_F(BlocnotesTest, AnUntouchedTextLeavesTheFileAsItWas) {
  Write("un\r\ndeux\nfin\r\n");
  const QDateTime old(QDate(2000, 1, 1), QTime(12, 0));
  {
    QFile f(File());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
  }
  TBlocnotes notes;
  ASSERT_TRUE(notes.Charge(File()));
  EXPECT_EQ(notes.Lines(), (QStringList{"un", "deux", "fin"}));
  EXPECT_TRUE(notes.Sauve(File()));
  EXPECT_EQ(Read(), "un\r\ndeux\nfin\r\n");
  EXPECT_EQ(QFileInfo(File()).lastModified(), old);
}

TEST_F(BlocnotesTest, AFailedSaveKeepsThePreviousFileAndTheText) {
  Write("avant\r\n");
  ASSERT_EQ(chmod(QFile::encodeName(File()).constData(), 0444), 0);
  TBlocnotes notes;
  ASSERT_TRUE(notes.Charge(File()));
  Type(notes, " et après");
  EXPECT_FALSE(notes.Sauve(File()));
  EXPECT_EQ(Boxes(), QStringList{"Warning: Impossible d'enregistrer '" + File() +
                                 "' : fichier en lecture seule"});
  EXPECT_EQ(Read(), "avant\r\n");
  EXPECT_EQ(notes.Memo1->toPlainText(), "avant et après");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"VekBase.nte"});

  // A notepad file that cannot be read leaves the text as it was.
  ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
  ASSERT_TRUE(QDir(dir.filePath("sub")).mkdir("VekBase.nte"));
  EXPECT_FALSE(notes.Charge(TBlocnotes::FileIn(dir.filePath("sub"))));
  EXPECT_EQ(services.Questions().size(), 2u);
  EXPECT_TRUE(services.Questions().back().text.startsWith("Impossible d'ouvrir '"));
  EXPECT_EQ(notes.Memo1->toPlainText(), "avant et après");
}

TEST_F(BlocnotesTest, AFailedSaveOnClosingAsksBeforeTheTextIsLost) {
  Write("avant\r\n");
  ASSERT_EQ(chmod(QFile::encodeName(File()).constData(), 0444), 0);
  int shown = 0;
  const auto typeAndClose = [&](QDialog& d) {
    auto& notes = static_cast<TBlocnotes&>(d);
    if (++shown == 1) Type(notes, " et après");
    EXPECT_EQ(notes.Memo1->toPlainText(), "avant et après");  // still there the second time
    notes.Button1->click();
  };
  services.AnswerDialog(typeAndClose);
  services.AnswerQuestion(TAnswer::No);  // keep the notepad open
  services.AnswerDialog(typeAndClose);
  services.AnswerQuestion(TAnswer::Yes);  // close after all
  TBlocnotes::Run(dir.path(), nullptr);
  EXPECT_EQ(shown, 2);
  const QString warning =
      "Warning: Impossible d'enregistrer '" + File() + "' : fichier en lecture seule";
  const QString question =
      "Other: Le bloc-notes n'a pas été enregistré. Fermer quand même et perdre les "
      "modifications ?";
  EXPECT_EQ(Boxes(), (QStringList{warning, question, warning, question}));
  EXPECT_EQ(Read(), "avant\r\n");
}

// On a full disk the notes survive: the previous file stays whole, the user is
// told why and asked before the text is lost.
TEST_F(BlocnotesTest, AFullDiskKeepsThePreviousNotes) {
  Write("avant\r\n");
  TFaultyFileSystem disk;
  disk.Arm(TFaultyFileSystem::TFault::DiskFull, 3);
  services.AnswerDialog([](QDialog& d) {
    auto& notes = static_cast<TBlocnotes&>(d);
    Type(notes, " et après, une note plus longue que ce qui tient");
    notes.Button1->click();
  });
  services.AnswerQuestion(TAnswer::Yes);
  TBlocnotes::Run(dir.path(), nullptr);
  EXPECT_EQ(Boxes(),
            (QStringList{"Warning: Impossible d'enregistrer '" + File() + "' : le disque est plein",
                         "Other: Le bloc-notes n'a pas été enregistré. Fermer quand "
                         "même et perdre les modifications ?"}));
  EXPECT_EQ(Read(), "avant\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"VekBase.nte"});
}

// A file that fails half-way through its reading leaves the text as it was.
TEST_F(BlocnotesTest, AReadErrorLeavesTheTextAsItWas) {
  Write(QByteArray(100000, 'x'));
  struct TFailingReads : TPosixFileSystem {
    long Read(int fd, void* data, size_t size) override {
      if (read_ > 50000) {
        errno = EIO;
        return -1;
      }
      const long n = TPosixFileSystem::Read(fd, data, size);
      read_ += n > 0 ? n : 0;
      return n;
    }
    long read_ = 0;
  } failing;
  IFileSystem* previous = SetFileSystem(&failing);
  TBlocnotes notes;
  notes.Memo1->setPlainText("ancien");
  EXPECT_FALSE(notes.Charge(File()));
  SetFileSystem(previous);
  EXPECT_EQ(Boxes(), QStringList{"Warning: Impossible d'ouvrir '" + File() +
                                 "' : erreur de lecture du fichier"});
  EXPECT_EQ(notes.Memo1->toPlainText(), "ancien");
}

TEST_F(BlocnotesTest, PrintsEachLineInTheTextFontWithoutAPrintDialog) {
  TBlocnotes notes;
  notes.Memo1->setPlainText("un\tdeux\n\ntrois");
  QTest::mouseClick(notes.SpeedButton9, Qt::LeftButton);
  const auto& jobs = services.RecordingPrinter().Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_TRUE(jobs[0].finished);
  EXPECT_EQ(jobs[0].Texts(0), (QStringList{"un", "deux", "trois"}));
  const auto& items = jobs[0].pages[0];
  EXPECT_EQ(items[0].font.family(), notes.Memo1->font().family());
  EXPECT_GT(items[1].pos.x(), items[0].pos.x());                // after the tab
  EXPECT_EQ(items[1].pos.y(), items[0].pos.y());                // on the same line
  EXPECT_GT(items[2].pos.y(), 2 * (items[1].pos.y() + 1) - 1);  // the empty line kept
  EXPECT_EQ(services.PrintDialogs(), 0);

  services.RecordingPrinter().SetAvailable(false);
  notes.Imprimer();
  EXPECT_EQ(jobs.size(), 1u);
  EXPECT_EQ(Boxes(),
            QStringList{"Warning: Impression impossible : l'imprimante a refusé le travail"});
}

}  // namespace
