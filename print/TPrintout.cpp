#include "TPrintout.h"

#include <QDialog>

#include "IServices.h"
#include "THourglass.h"
#include "TPreview.h"
#include "TPrinter.h"

TPrintout::~TPrintout() = default;

bool TPrintout::AskPrinter(const QString& title) {
  Services().Printer().SetTitle(title);
  return Services().PrintDialog();
}

bool TPrintout::RunJob(TPrinter& printer) {
  printer.SetTitle(Title());
  if (const auto orientation = JobOrientation()) printer.SetOrientation(*orientation);
  if (!printer.BeginDoc()) return false;
  Draw(printer);
  return printer.EndDoc();
}

bool TPrintout::Print() {
  TPrinter& printer = Services().Printer();
  const QPageLayout::Orientation before = printer.Orientation();
  bool printed;
  {
    THourglass hourglass;
    printed = RunJob(printer);
  }
  printer.SetOrientation(before);
  if (!printed)
    Services().Warning(QStringLiteral("Impression impossible : ") + printer.ErrorText());
  return printed;
}

void TPrintout::Preview(bool offerPrint) {
  bool print = false;
  {
    TPreview preview([this](TPrinter& printer) { RunJob(printer); }, offerPrint);
    print = Services().RunDialog(preview) == QDialog::Accepted;
  }
  if (print && offerPrint && AskPrinter(Title())) Print();
}
