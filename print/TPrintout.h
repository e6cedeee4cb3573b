#pragma once
// TPrintout: one printout - the ruled list, the structure, the envelopes, the
// notepad - drawn by Draw() on whatever TPrinter it is given. Print() runs it
// as a job on Services().Printer(); Preview() shows the pages of the same
// Draw() on a printer of the same paper and resolution, so what the user
// previews is what prints.
//
// Print() sets the job's title and, when the printout asks for one, its
// orientation; the printer's own orientation is put back after the job. The
// hourglass is on while the pages are drawn, and a job that lasts shows its
// progress with "Annuler" (TPrintProgress): cancelling aborts the job, so
// nothing of it prints and no file is written. Print() returns the job's
// status - the printer's refusal or failure, for the window to tell once (see
// Message()); a cancelled job is ok (Cancelled() says so), as the user knows.
//
// The printout draws from data its caller keeps alive (a grid, a table) for as
// long as the object lives.

#include <QPageLayout>
#include <QString>
#include <optional>

#include "TStatus.h"

class TPrinter;
class TPrintProgress;

class TPrintout {
 public:
  virtual ~TPrintout();

  // The print dialog for a job called `title` (the file printer then proposes
  // a PDF named after it); true when confirmed.
  static bool AskPrinter(const QString& title);
  // Commands that print without asking for the printer: true when the
  // printer may print now, which for a file printer means the user has just
  // named the file in the print dialog.
  static bool MayPrintWithoutAsking(const QString& title);
  // What the user is told of a failed job: "Impression impossible : <reason>".
  static QString Message(const TStatus& status);
  // For the window that ran a print: shows that message in a warning when the
  // status is a failure, and returns the status.
  static const TStatus& Tell(const TStatus& status);

  TStatus Print();
  bool Cancelled() const { return cancelled_; }
  // The preview; with `offerPrint` it has "Imprimer...", which closes it, asks
  // for the printer and prints. Returns the status of that print, if any.
  TStatus Preview(bool offerPrint);

  // Title, orientation, the pages, and the end of the job on `printer`; the
  // orientation is left as the job set it.
  TStatus RunJob(TPrinter& printer);

 protected:
  virtual QString Title() const = 0;
  virtual std::optional<QPageLayout::Orientation> JobOrientation() const { return std::nullopt; }
  // The pages, between BeginDoc() and EndDoc(): pages after the first are
  // started with NextPage(), and drawing stops when it returns false (the
  // printer failed or the user cancelled).
  virtual void Draw(TPrinter& printer) = 0;

  // The number of pages the job will have, once Draw() knows it.
  void SetPageCount(int pages);
  bool NextPage(TPrinter& printer);

 private:
  TPrintProgress* progress_ = nullptr;  // during Print()
  bool cancelled_ = false;
};
