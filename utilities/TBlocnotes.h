#pragma once
// TBlocnotes: the "Bloc-notes" window, free text kept between runs in the file
// "VekBase.nte" of the start folder.
//
// File: Windows-1252 text, each line ended by CR LF; CR, LF or CR LF are read as
// line ends, and a last line end adds no empty line.
//
// Charge() replaces the text by the file's lines when the file exists and marks
// the text unchanged; it reads through the file-system seam (LoadText).
// Sauve() writes only a changed text, through TAtomicFile: the file stays
// untouched (not even its date changes) when nothing was typed, and a failed
// save - a full disk included - leaves the previous file as it was and no
// temporary file. Both report a failure in a French warning, with its reason,
// and then leave the text as it was. Imprimer() prints the lines in the text
// area's font (TTextPrintout), without a print dialog - except that a printer
// writing a PDF file first asks for the file, so that no file the user did not
// name is written.

#include <QDialog>
#include <QStringList>

#include "TStatus.h"

class IFileSystem;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class TBlocnotes : public QDialog {
  Q_OBJECT

 public:
  explicit TBlocnotes(QWidget* parent = nullptr);

  // The notepad file of a start folder.
  static QString FileIn(const QString& startDir);
  // What the main window does: load, show modally, save if changed. When the
  // save fails the user is asked whether to close anyway; "Non" shows the
  // notepad again with its text.
  static void Run(const QString& startDir, QWidget* parent);

  // The text of a notepad file, its lines joined by "\n"; `text` is left as
  // it was on failure (NotFound when there is no file).
  static TStatus LoadText(IFileSystem& fileSystem, const QString& fileName, QString& text);
  bool Charge(const QString& fileName);
  bool Sauve(const QString& fileName);
  void Imprimer();

  QStringList Lines() const;

  QPlainTextEdit* Memo1 = nullptr;      // the notes, as typed
  QToolButton* SpeedButton9 = nullptr;  // "Imprimer": prints the notes
  QPushButton* Button1 = nullptr;       // "Fermer": closes, saving a changed text

 private:
  QString fileName_;  // the file Charge read, which names the print job
};
