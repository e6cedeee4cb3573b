#include "TPrintout.h"

#include <QDialog>

#include "French.h"
#include "IServices.h"
#include "THourglass.h"
#include "TPreview.h"
#include "TPrintProgress.h"
#include "TPrinter.h"

TPrintout::~TPrintout() = default;

bool TPrintout::AskPrinter(const QString& title) {
  Services().Printer().SetTitle(title);
  return Services().PrintDialog();
}

bool TPrintout::MayPrintWithoutAsking(const QString& title) {
  return !Services().Printer().PrintsToFile() || AskPrinter(title);
}

QString TPrintout::Message(const TStatus& status) {
  return QStringLiteral("Impression impossible : ") + FailureText(status);
}

const TStatus& TPrintout::Tell(const TStatus& status) {
  if (!status) Services().Warning(Message(status));
  return status;
}

void TPrintout::SetPageCount(int pages) {
  if (progress_) progress_->SetPageCount(pages);
}

bool TPrintout::NextPage(TPrinter& printer) {
  if (!printer.NewPage()) return false;
  if (progress_ && !progress_->Page(printer.PageNumber())) {
    cancelled_ = true;
    return false;
  }
  return true;
}

TStatus TPrintout::RunJob(TPrinter& printer) {
  cancelled_ = false;
  printer.SetTitle(Title());
  if (const auto orientation = JobOrientation()) printer.SetOrientation(*orientation);
  if (TStatus started = printer.BeginDoc(); !started) return started;
  Draw(printer);
  if (cancelled_) {
    printer.Abort();
    return TStatus();
  }
  return printer.EndDoc();
}

TStatus TPrintout::Print() {
  TPrinter& printer = Services().Printer();
  const QPageLayout::Orientation before = printer.Orientation();
  TStatus status;
  {
    THourglass hourglass;
    TPrintProgress progress(Title());
    progress_ = &progress;
    status = RunJob(printer);
    progress_ = nullptr;
  }
  printer.SetOrientation(before);
  return status;
}

TStatus TPrintout::Preview(bool offerPrint) {
  bool print = false;
  {
    TPreview preview([this](TPrinter& printer) { RunJob(printer); }, offerPrint);
    print = Services().RunDialog(preview) == QDialog::Accepted;
  }
  if (print && offerPrint && AskPrinter(Title())) return Print();
  return TStatus();
}
