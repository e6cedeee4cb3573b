#include "TQtPrinter.h"

#include <dlfcn.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintDialog>
#include <string>

#include "French.h"
#include "TAtomicFile.h"

namespace {

// The status of the calling thread's last CUPS request, with its message, when
// CUPS is loaded (Qt's print support loads it to reach a CUPS printer).
bool CupsRefused(QString& message) {
  void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (!cups) return false;
  using TLastError = int (*)();
  using TLastErrorString = const char* (*)();
  auto lastError = reinterpret_cast<TLastError>(dlsym(cups, "cupsLastError"));
  auto lastErrorString = reinterpret_cast<TLastErrorString>(dlsym(cups, "cupsLastErrorString"));
  // IPP status codes from 0x400 on are client or server errors.
  const bool refused = lastError && lastError() >= 0x400;
  if (refused && lastErrorString && lastErrorString())
    message = QString::fromUtf8(lastErrorString());
  dlclose(cups);
  return refused;
}

TStatus French(const QString& reason) {
  return TStatus(TFailure::Other, reason.toStdString());
}

}  // namespace

// The PDF being printed: what QPdfWriter writes goes to a TAtomicFile in
// pieces of a quarter of a megabyte, so that a long job makes few system calls.
// The first failed write is kept; later writes are dropped.
class TPdfFile : public QIODevice {
 public:
  bool Start(const std::string& path) {
    if (!file_.Open(path)) return false;
    return open(QIODevice::WriteOnly);
  }
  bool Commit() {
    close();
    return Flush() && file_.Commit();
  }
  bool Failed() const { return failed_; }
  TFailure Failure() const { return file_.Failure(); }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (failed_) return -1;
    buffer_.append(data, static_cast<size_t>(size));
    if (buffer_.size() >= kPiece && !Flush()) return -1;
    return size;
  }

 private:
  static constexpr size_t kPiece = size_t{1} << 18;
  bool Flush() {
    if (failed_) return false;
    if (!buffer_.empty() && !file_.Write(buffer_)) failed_ = true;
    buffer_.clear();
    return !failed_;
  }

  TAtomicFile file_;
  std::string buffer_;
  bool failed_ = false;
};

TQtPrinter::TQtPrinter()
    : owned_(std::make_unique<QPrinter>(QPrinter::HighResolution)), printer_(owned_.get()) {}

TQtPrinter::TQtPrinter(QPrinter& printer) : printer_(&printer) {
  TakeDialogSettings();
}

// The painter lives in the base class: it must end the job while the devices exist.
TQtPrinter::~TQtPrinter() {
  Abort();
}

QPaintDevice& TQtPrinter::Device() {
  if (pdfWriter_) return *pdfWriter_;
  return *printer_;
}

void TQtPrinter::ApplySettings(const QString& title, QPageLayout::Orientation orientation) {
  printer_->setDocName(title);
  printer_->setPageOrientation(orientation);
}

void TQtPrinter::TakeDialogSettings() {
  SetOrientation(printer_->pageLayout().orientation());
}

void TQtPrinter::CopySettingsTo(QPrinter& preview) {
  preview.setOutputFormat(printer_->outputFormat());
  if (printer_->outputFormat() == QPrinter::NativeFormat)
    preview.setPrinterName(printer_->printerName());
  preview.setResolution(printer_->resolution());
  preview.setPageLayout(printer_->pageLayout());
  preview.setFullPage(printer_->fullPage());
}

QString TQtPrinter::PdfFileName(const QString& title) {
  const QFileInfo info(title);
  if (title.isEmpty() || !info.isAbsolute() || info.fileName().isEmpty()) return QString();
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

void TQtPrinter::ProposeFileName() {
  // Without a name of its own the dialog proposes one from the title: never
  // the file the last job wrote, which a confirmation would overwrite unseen.
  if (printer_->outputFormat() == QPrinter::PdfFormat)
    printer_->setOutputFileName(PdfFileName(Title()));
}

void TQtPrinter::ProposeFileName(QPrintDialog& dialog) {
  const QString name = PdfFileName(Title());
  // Qt's dialog makes its proposal from the title as if it were a bare name.
  if (auto* entry = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
      entry && !name.isEmpty())
    entry->setText(name);
}

TStatus TQtPrinter::DeviceBeginJob() {
  if (!WritesPdf()) return TStatus();
  const QString file = printer_->outputFileName();
  if (file.isEmpty()) return French(QStringLiteral("aucun fichier PDF n'a été choisi"));
  auto pdf = std::make_unique<TPdfFile>();
  if (!pdf->Start(QFile::encodeName(file).toStdString())) {
    const QFileInfo info(file);
    if (pdf->Failure() == TFailure::FolderNotFound)
      return French(QStringLiteral("le dossier '") + info.path() +
                    QStringLiteral("' n'existe pas"));
    return French(QStringLiteral("le fichier '") + file +
                  QStringLiteral("' ne peut pas être écrit : ") +
                  QString::fromUtf8(FailureReason(pdf->Failure())));
  }
  pdfWriter_ = std::make_unique<QPdfWriter>(pdf.get());
  pdfWriter_->setTitle(printer_->docName());
  pdfWriter_->setCreator(printer_->creator());
  pdfWriter_->setResolution(printer_->resolution());
  pdfWriter_->setPageLayout(printer_->pageLayout());
  pdfFile_ = std::move(pdf);
  return TStatus();
}

bool TQtPrinter::DeviceNewPage() {
  if (pdfWriter_) return !pdfFile_->Failed() && pdfWriter_->newPage() && !pdfFile_->Failed();
  return printer_->newPage();
}

TStatus TQtPrinter::DeviceEndJob() {
  if (pdfFile_) {
    const bool written = !pdfFile_->Failed() && pdfFile_->Commit();
    const TFailure failure = pdfFile_->Failure();
    DropPdf();
    if (written) return TStatus();
    return TStatus(failure == TFailure::None ? TFailure::WriteError : failure,
                   QFile::encodeName(printer_->outputFileName()).toStdString());
  }
  if (printer_->printerState() == QPrinter::Error || printer_->printerState() == QPrinter::Aborted)
    return French(QStringLiteral("le système d'impression a interrompu le travail"));
  QString message;
  if (!CupsRefused(message)) return TStatus();
  QString reason = QStringLiteral("le système d'impression a refusé le travail");
  if (!message.isEmpty()) reason += QStringLiteral(" (") + message + QStringLiteral(")");
  return French(reason);
}

void TQtPrinter::DeviceAbort() {
  if (!pdfWriter_) printer_->abort();
}

void TQtPrinter::JobAborted() {
  DropPdf();  // without a commit: the temporary file goes
}

void TQtPrinter::DropPdf() {
  pdfWriter_.reset();
  pdfFile_.reset();
}

QString TQtPrinter::DeviceError() {
  if (pdfFile_ && pdfFile_->Failed()) return QString::fromUtf8(FailureReason(pdfFile_->Failure()));
  const QString name = printer_->printerName();
  if (!printer_->isValid())
    return QStringLiteral("l'imprimante '") + name + QStringLiteral("' n'est pas disponible");
  return QStringLiteral("l'imprimante '") + name + QStringLiteral("' a refusé le travail");
}
