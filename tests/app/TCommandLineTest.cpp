// vekbase's command line: the files it opens, --help and --version in French
// and without a display, an unknown option refused with a French word.

#include <gtest/gtest.h>

#include <QProcess>

#include "TCommandLine.h"

namespace {

using TAction = TCommandLine::TAction;

TEST(TCommandLineTest, FilesOptionsAndTheEndOfOptions) {
  TCommandLine line = TCommandLine::Parse({"a.qor", "b c.csv"});
  EXPECT_EQ(line.action, TAction::Run);
  EXPECT_EQ(line.files, (QStringList{"a.qor", "b c.csv"}));
  EXPECT_EQ(TCommandLine::Parse({"a.qor", "--help"}).action, TAction::Help);
  EXPECT_EQ(TCommandLine::Parse({"-h"}).action, TAction::Help);
  EXPECT_EQ(TCommandLine::Parse({"-v"}).action, TAction::Version);
  EXPECT_EQ(TCommandLine::Parse({"--bogus", "--help"}).action, TAction::Help);

  line = TCommandLine::Parse({"--", "-moins.qor", "--help"});
  EXPECT_EQ(line.action, TAction::Run);
  EXPECT_EQ(line.files, (QStringList{"-moins.qor", "--help"}));
  EXPECT_EQ(TCommandLine::Parse({"-"}).files, QStringList{"-"});

  line = TCommandLine::Parse({"a.qor", "--bogus"});
  EXPECT_EQ(line.action, TAction::Error);
  EXPECT_TRUE(line.files.isEmpty());
  EXPECT_EQ(line.message,
            QStringLiteral(
                "vekbase : option inconnue « --bogus ». « vekbase --help » donne les options."));
}

// The program itself, started as a user starts it in a terminal: no display is
// needed for its help and version, and Qt's English never shows.
TEST(TCommandLineTest, TheProgramAnswersInFrenchWithoutADisplay) {
  auto run = [](const QStringList& arguments, int& code, QString& out, QString& err) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VEKBASE_PROGRAM), arguments);
    ASSERT_TRUE(process.waitForFinished(20000));
    code = process.exitCode();
    out = QString::fromUtf8(process.readAllStandardOutput());
    err = QString::fromUtf8(process.readAllStandardError());
  };
  int code;
  QString out, err;
  run({"--help"}, code, out, err);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(out.startsWith(QStringLiteral("Utilisation : vekbase [OPTION]... [FICHIER]...\n")));
  EXPECT_EQ(out, TCommandLine::HelpText());
  for (const char* english : {"Usage", "Displays", "Options:", "Arguments"})
    EXPECT_FALSE(out.contains(QLatin1String(english))) << english;
  EXPECT_TRUE(err.isEmpty()) << qPrintable(err);

  run({"--version"}, code, out, err);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(out, QStringLiteral("vekbase (Vek Base) " VEK_VERSION "\n"));

  // An unknown option: refused before a window is made.
  QProcess offscreen;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  offscreen.setProcessEnvironment(env);
  offscreen.start(QStringLiteral(VEKBASE_PROGRAM), {QStringLiteral("--bogus")});
  ASSERT_TRUE(offscreen.waitForFinished(20000));
  EXPECT_EQ(offscreen.exitCode(), 2);
  EXPECT_TRUE(QString::fromUtf8(offscreen.readAllStandardError())
                  .contains(QStringLiteral("option inconnue « --bogus »")));
}

}  // namespace
