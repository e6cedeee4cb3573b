#pragma once
// TCommandLine: what vekbase's command line asks for. Read twice by main: on
// the raw arguments, before any window can be made, for --help and --version
// (so that they work without a display); then on what QApplication leaves of
// them (its own options such as -platform taken), for the files to open and
// for an option it does not know.
//
//   vekbase [-h|--help] [-v|--version] [--] [FICHIER]...
//
// Every text is French. Files are kept as given; "--" ends the options, so a
// file whose name begins with "-" can be opened.

#include <QString>
#include <QStringList>

struct TCommandLine {
  enum class TAction { Run, Help, Version, Error };

  TAction action = TAction::Run;
  QStringList files;  // Run: in the order given
  QString message;    // Error: why, one line

  // `arguments` without the program's name.
  static TCommandLine Parse(const QStringList& arguments);
  static QString HelpText();     // ends with a line end
  static QString VersionText();  // "vekbase (Vek Base) VERSION", line end
};
