#pragma once
// TBlocnotes: the "Bloc-notes" window, free text kept between runs in the file
// "VekBase.nte" of the start folder.
//
// File: Windows-1252 text, each line ended by CR LF; CR, LF or CR LF are read as
// line ends, and a last line end adds no empty line.
//
// Charge() replaces the text by the file's lines when the file exists and marks
// the text unchanged. Sauve() writes only a changed text, atomically: the file
// stays untouched (not even its date changes) when nothing was typed, and a
// failed save leaves the previous file as it was. Both report a failure in a
// French warning and then leave the text as it was. Imprimer() prints the lines
// through Services().Printer() in the text area's font, without a print dialog.

#include <QDialog>
#include <QStringList>

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

  bool Charge(const QString& fileName);
  bool Sauve(const QString& fileName);
  void Imprimer();

  QStringList Lines() const;

  QPlainTextEdit* Memo1 = nullptr;
  QToolButton* SpeedButton9 = nullptr;  // "Imprimer"
  QPushButton* Button1 = nullptr;       // "Fermer"
};
