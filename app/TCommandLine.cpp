#include "TCommandLine.h"

TCommandLine TCommandLine::Parse(const QStringList& arguments) {
  TCommandLine line;
  bool options = true;
  for (const QString& argument : arguments) {
    if (options && argument == QLatin1String("--")) {
      options = false;
    } else if (options &&
               (argument == QLatin1String("-h") || argument == QLatin1String("--help"))) {
      line.action = TAction::Help;
      return line;
    } else if (options &&
               (argument == QLatin1String("-v") || argument == QLatin1String("--version"))) {
      line.action = TAction::Version;
      return line;
    } else if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
      line.action = TAction::Error;
      line.message = QStringLiteral(
                         "vekbase : option inconnue « %1 ». "
                         "« vekbase --help » donne les options.")
                         .arg(argument);
    } else {
      line.files << argument;
    }
  }
  // An unknown option wins over the files, but not over --help further on.
  if (line.action == TAction::Error) line.files.clear();
  return line;
}

QString TCommandLine::HelpText() {
  return QStringLiteral(
      "Utilisation : vekbase [OPTION]... [FICHIER]...\n"
      "Vek Base, gestionnaire de tables de données.\n"
      "\n"
      "Ouvre chaque FICHIER dans une fenêtre : une table Vek Base (.qor), ou un\n"
      "fichier de données lu comme une table (texte .csv, .tsv, .txt ; table dBase\n"
      ".dbf ; classeur .xlsx, .ods ; base SQLite .sqlite, .sqlite3, .db).\n"
      "\n"
      "Options :\n"
      "  -h, --help     affiche cette aide et quitte\n"
      "  -v, --version  affiche la version et quitte\n"
      "  --             la suite n'est que des fichiers\n"
      "\n"
      "Dans le programme, la touche F1 ouvre le manuel d'utilisation à la page de\n"
      "la fenêtre active. Pour les travaux en série : vektool --help.\n");
}

QString TCommandLine::VersionText() {
  return QStringLiteral("vekbase (Vek Base) " VEK_VERSION "\n");
}
