#pragma once
// TPrintout: one printout - the ruled list, the structure, the envelopes - drawn
// by Draw() on whatever TPrinter it is given. Print() runs it as a job on
// Services().Printer(); Preview() shows the pages of the same Draw() on a
// printer of the same paper and resolution, so what the user previews is what
// prints.
//
// Print() sets the job's title and, when the printout asks for one, its
// orientation; the printer's own orientation is put back after the job. A job
// that the printer refuses or that fails part-way shows the warning
// "Impression impossible : <reason>" and Print() returns false. The hourglass
// is on while the pages are drawn.
//
// The printout draws from data its caller keeps alive (a grid, a table) for as
// long as the object lives.

#include <QPageLayout>
#include <QString>
#include <optional>

class TPrinter;

class TPrintout {
 public:
  virtual ~TPrintout();

  // The print dialog for a job called `title` (the file printer then proposes
  // a PDF named after it); true when confirmed.
  static bool AskPrinter(const QString& title);

  bool Print();
  // The preview; with `offerPrint` it has "Imprimer...", which closes it, asks
  // for the printer and prints.
  void Preview(bool offerPrint);

  // Title, orientation, the pages, and the end of the job on `printer`; the
  // orientation is left as the job set it. False when the job failed.
  bool RunJob(TPrinter& printer);

 protected:
  virtual QString Title() const = 0;
  virtual std::optional<QPageLayout::Orientation> JobOrientation() const { return std::nullopt; }
  // The pages, between BeginDoc() and EndDoc(); stops early when the printer
  // has failed.
  virtual void Draw(TPrinter& printer) = 0;
};
