// vekbase: starts Vek Base. Files named on the command line are opened as the
// open command opens them; --help and --version answer without a window.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>

#include "French.h"
#include "IServices.h"
#include "TCommandLine.h"
#include "TMainForm.h"
#include "TQtServices.h"
#include "TSplash.h"

namespace {

// Answers --help, --version and a command line it cannot read; -1 when the
// program is to run.
int Answer(const TCommandLine& line) {
  switch (line.action) {
    case TCommandLine::TAction::Help:
      std::fputs(TCommandLine::HelpText().toUtf8().constData(), stdout);
      return 0;
    case TCommandLine::TAction::Version:
      std::fputs(TCommandLine::VersionText().toUtf8().constData(), stdout);
      return 0;
    case TCommandLine::TAction::Error:
      std::fprintf(stderr, "%s\n", line.message.toUtf8().constData());
      return 2;
    case TCommandLine::TAction::Run:
      break;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList raw;
  for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
  const TCommandLine first = TCommandLine::Parse(raw);
  if (first.action == TCommandLine::TAction::Help || first.action == TCommandLine::TAction::Version)
    return Answer(first);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vek Base"));
  // What Qt's own options (-platform, -style...) leave.
  const TCommandLine line = TCommandLine::Parse(QApplication::arguments().mid(1));
  if (const int status = Answer(line); status >= 0) return status;
  // Qt's own dialogs in French, their dates, sizes and measures too.
  if (!InstallFrenchTranslations(app))
    std::fprintf(stderr, "%s\n", MissingTranslationsMessage().toLocal8Bit().constData());
  QLocale::setDefault(FrenchLocale());
  TQtServices services;
  SetServices(&services);

  auto* splash = new TSplash;
  splash->ShowNow();

  TMainForm mainForm(QDir::currentPath());
  mainForm.SetSplash(splash);
  mainForm.show();
  // What a program that died had not saved, before the tables asked for.
  mainForm.RecoverJournals();
  for (const QString& file : line.files) mainForm.OpenTable(QFileInfo(file).absoluteFilePath());

  const int status = QApplication::exec();
  return status;
}
