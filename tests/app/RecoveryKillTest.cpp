// The program killed with SIGKILL while the user types, then started again:
// what was typed up to the journal's last flush comes back. The program that
// is killed is this test binary run again as a typist (RecoveryKill.Typist):
// the main window on a table, keys typed into the table grid as the keyboard
// sends them, a row written back now and then. It tells on its standard
// output what it knows to be on the disk; the test kills it while it types on,
// then starts a main window of its own through the scripted services.

#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <map>

#include "MainWindowTest.h"
#include "TRecoveryFolder.h"
#include "TRecoveryJournal.h"
#include "TStringGrid.h"

namespace {

const char kTypistTable[] = "VEK_TYPIST_TABLE";
constexpr int kRows = 12;

QString TextFor(int row) {
  return QStringLiteral("Saisie%1abcdefgh").arg(row);
}

// The typist: run only when the test below starts this binary as one.
TEST(RecoveryKill, Typist) {
  const QString table = qEnvironmentVariable(kTypistTable);
  if (table.isEmpty()) GTEST_SKIP() << "run by RecoveryKillTest as a program to kill";
  TFakeServices services;
  SetServices(&services);
  TRecoveryJournal::Settings().flushDelayMs = 10;
  TRecoveryJournal::Settings().typedDelayMs = 20;
  TMainForm form(QFileInfo(table).absolutePath());
  form.show();
  QApplication::setActiveWindow(&form);
  if (!form.OpenTable(table)) std::_Exit(3);
  TChild* child = form.ActiveChild();
  TStringGrid* grid = child->StringGrid1;
  grid->SetCurrentCell(1, 1);
  grid->setFocus();
  auto target = [&]() -> QWidget* {
    QWidget* focus = QApplication::focusWidget();
    return focus && grid->isAncestorOf(focus) ? focus : grid;
  };
  int keys = 0;
  for (int row = 1; row <= kRows; ++row) {
    const QString text = TextFor(row);
    for (const QChar c : text) {
      QTest::keyClick(target(), c.toLatin1());
      QTest::qWait(1);
      if (++keys % 6 != 0) continue;
      // What the disk holds now: the typed texts a moment after the key.
      if (!QTest::qWaitFor([&] { return !child->TypingTimer->isActive(); }, 5000)) std::_Exit(5);
      if (!child->Document().FlushJournal()) std::_Exit(4);
      std::printf("F %d %s\n", row, grid->Cell(1, row).toLatin1().constData());
      std::fflush(stdout);
    }
    std::printf("R %d %s\n", row, grid->Cell(1, row).toLatin1().constData());
    std::fflush(stdout);
    QTest::keyClick(target(), Qt::Key_Down);  // the row is written back
  }
  for (;;) QTest::qWait(50);  // until killed
}

class RecoveryKillTest : public MainWindowTest {};

TEST_F(RecoveryKillTest, KilledWhileTypingTheProgramGivesBackWhatWasFlushedAtTheNextStart) {
  TQor2 t;
  t.AddField("NOM");
  t.AddField("VILLE");
  for (int i = 1; i <= kRows; ++i) {
    t.Append();
    t.SetFieldValue(1, "Nom" + std::to_string(i));
    t.SetFieldValue(2, "Ville");
  }
  const QString table = Path("clients.qor");
  ASSERT_TRUE(t.SaveToFile(QFile::encodeName(table).toStdString()));

  QProcess typist;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kTypistTable, table);
  env.insert("VEK_TEST_INHERIT_STATE", "1");  // its journal goes where this test looks
  typist.setProcessEnvironment(env);
  typist.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RecoveryKill.Typist"});
  ASSERT_TRUE(typist.waitForStarted());

  int flushedRow = 0;
  QByteArray flushedText;
  std::map<int, QByteArray> rowsDone;
  int checkpoints = 0;
  auto readLines = [&] {
    while (typist.canReadLine()) {
      const QList<QByteArray> parts = typist.readLine().trimmed().split(' ');
      if (parts.size() != 3) continue;
      if (parts[0] == "F") {
        flushedRow = parts[1].toInt();
        flushedText = parts[2];
        ++checkpoints;
      } else if (parts[0] == "R") {
        rowsDone[parts[1].toInt()] = parts[2];
      }
    }
  };
  // Killed in the middle of its fourth row, typing on.
  while (flushedRow < 4 && typist.state() == QProcess::Running && typist.waitForReadyRead(20000))
    readLines();
  ASSERT_EQ(flushedRow, 4) << typist.readAllStandardError().toStdString();
  kill(static_cast<pid_t>(typist.processId()), SIGKILL);
  ASSERT_TRUE(typist.waitForFinished(10000));
  EXPECT_EQ(typist.exitStatus(), QProcess::CrashExit);
  readLines();  // what it said before it died counts too

  services.AnswerChoice("Récupérer");
  form->RecoverJournals();
  ASSERT_EQ(form->Children().size(), 1);
  const TQor2& recovered = form->ActiveChild()->Document().Table();
  ASSERT_EQ(recovered.RecordCount(), kRows);
  for (int row = 1; row < flushedRow; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(QByteArray(recovered.GetCell(1, row).data(),
                         static_cast<int>(recovered.GetCell(1, row).size())),
              rowsDone[row]);
    EXPECT_EQ(rowsDone[row], TextFor(row).toLatin1());  // typed as the keyboard sent it
  }
  const std::string last = recovered.GetCell(1, flushedRow).str();
  EXPECT_EQ(last.rfind(flushedText.toStdString(), 0), 0u)
      << last << " does not begin with " << flushedText.toStdString();
  EXPECT_EQ(TextFor(flushedRow).toStdString().rfind(last, 0), 0u);
  EXPECT_GE(checkpoints, 4);
}

}  // namespace
