// vekbase: starts Vek Base. Tables named on the command line are opened as the
// open command opens them.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>

#include "French.h"
#include "IServices.h"
#include "TMainForm.h"
#include "TQtServices.h"
#include "TSplash.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vek Base"));
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
  const QStringList arguments = QApplication::arguments();
  for (int i = 1; i < arguments.size(); ++i)
    mainForm.OpenTable(QFileInfo(arguments[i]).absoluteFilePath());

  const int status = QApplication::exec();
  return status;
}
