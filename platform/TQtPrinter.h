#pragma once
// TQtPrinter: TPrinter on the machine's printer (QPrinter, high resolution), or on
// a QPrinter owned elsewhere, such as the one a print preview paints on. The
// print and printer set-up dialogs of TQtServices configure the owned QPrinter.
//
// A job on the owned printer set to write a PDF file is a save like any other:
// the pages go, through TAtomicFile, to a temporary file beside the one chosen,
// which replaces it only when the job ends well. A job that fails (a full
// disk) or is aborted leaves the chosen file as it was and no temporary file.
// The PDF is drawn by a QPdfWriter with the QPrinter's page layout and
// resolution, so the pages measure what the printer says they measure.
//
// Failures: a job that the device refuses at its start gives a reason from what
// can be checked (no file chosen, a missing folder, an unwritable file, an
// invalid printer). A job handed to CUPS is refused by CUPS only after Qt has
// ended it, and Qt does not pass the refusal on: EndDoc() asks CUPS for the
// status of that last request, when CUPS is loaded in the process.
//
// A file printer proposes a PDF named after the job's title: "/data/clients.qor"
// gives "/data/clients.pdf". A title that is no absolute path proposes no file
// of its own: the dialog then makes its proposal from the title, never from the
// file a former job wrote.

#include <QPrinter>
#include <memory>

#include "TPrinter.h"

class QPdfWriter;
class QPrintDialog;
class TPdfFile;

class TQtPrinter : public TPrinter {
 public:
  TQtPrinter();
  // Draws on `printer`, which must outlive this object; takes its orientation.
  explicit TQtPrinter(QPrinter& printer);
  ~TQtPrinter() override;
  QPrinter& QtPrinter() { return *printer_; }

  // After the print or printer set-up dialog: the orientation chosen there is
  // the one later jobs keep.
  void TakeDialogSettings();
  bool PrintsToFile() override { return printer_->outputFormat() == QPrinter::PdfFormat; }
  void CopySettingsTo(QPrinter& preview) override;

  // The PDF file proposed for a job title, empty when there is none.
  static QString PdfFileName(const QString& title);
  // Before the print dialog is built: a file printer writes to PdfFileName(Title()).
  void ProposeFileName();
  // Once it is built: the dialog's own file entry proposes the same file, also
  // while the printer chosen is not a file.
  void ProposeFileName(QPrintDialog& dialog);

 protected:
  QPaintDevice& Device() override;
  void ApplySettings(const QString& title, QPageLayout::Orientation orientation) override;
  TStatus DeviceBeginJob() override;
  bool DeviceNewPage() override;
  TStatus DeviceEndJob() override;
  void DeviceAbort() override;
  void JobAborted() override;
  QString DeviceError() override;

 private:
  bool WritesPdf() { return owned_ && PrintsToFile(); }
  void DropPdf();

  std::unique_ptr<QPrinter> owned_;
  QPrinter* printer_;
  // During a PDF job: the file and the writer drawing into it.
  std::unique_ptr<TPdfFile> pdfFile_;
  std::unique_ptr<QPdfWriter> pdfWriter_;
};
