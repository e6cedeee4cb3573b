#include "TQtPrinter.h"

#include <dlfcn.h>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>

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

}  // namespace

TQtPrinter::TQtPrinter()
    : owned_(std::make_unique<QPrinter>(QPrinter::HighResolution)), printer_(owned_.get()) {}

TQtPrinter::TQtPrinter(QPrinter& printer) : printer_(&printer) {
  TakeDialogSettings();
}

// The painter lives in the base class: it must end the job while the QPrinter exists.
TQtPrinter::~TQtPrinter() {
  EndDoc();
}

void TQtPrinter::ApplySettings(const QString& title, QPageLayout::Orientation orientation) {
  endError_.clear();
  printer_->setDocName(title);
  printer_->setPageOrientation(orientation);
}

void TQtPrinter::TakeDialogSettings() {
  SetOrientation(printer_->pageLayout().orientation());
}

QString TQtPrinter::PdfFileName(const QString& title) {
  const QFileInfo info(title);
  if (title.isEmpty() || !info.isAbsolute() || info.fileName().isEmpty()) return QString();
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

void TQtPrinter::ProposeFileName() {
  const QString name = PdfFileName(Title());
  if (!name.isEmpty() && printer_->outputFormat() == QPrinter::PdfFormat)
    printer_->setOutputFileName(name);
}

void TQtPrinter::ProposeFileName(QPrintDialog& dialog) {
  const QString name = PdfFileName(Title());
  // Qt's dialog makes its proposal from the title as if it were a bare name.
  if (auto* entry = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
      entry && !name.isEmpty())
    entry->setText(name);
}

bool TQtPrinter::DeviceSucceeded() {
  if (printer_->printerState() == QPrinter::Error ||
      printer_->printerState() == QPrinter::Aborted) {
    endError_ = QStringLiteral("le système d'impression a interrompu le travail");
    return false;
  }
  if (printer_->outputFormat() == QPrinter::PdfFormat) {
    if (QFileInfo(printer_->outputFileName()).size() > 0) return true;
    endError_ = QStringLiteral("le fichier '") + printer_->outputFileName() +
                QStringLiteral("' n'a pas été écrit");
    return false;
  }
  QString message;
  if (!CupsRefused(message)) return true;
  endError_ = QStringLiteral("le système d'impression a refusé le travail");
  if (!message.isEmpty()) endError_ += QStringLiteral(" (") + message + QStringLiteral(")");
  return false;
}

QString TQtPrinter::DeviceError() {
  if (!endError_.isEmpty()) return endError_;
  if (printer_->outputFormat() == QPrinter::PdfFormat) {
    const QString file = printer_->outputFileName();
    if (file.isEmpty()) return QStringLiteral("aucun fichier PDF n'a été choisi");
    const QFileInfo info(file);
    if (!info.dir().exists())
      return QStringLiteral("le dossier '") + info.path() + QStringLiteral("' n'existe pas");
    return QStringLiteral("le fichier '") + file + QStringLiteral("' ne peut pas être écrit");
  }
  const QString name = printer_->printerName();
  if (!printer_->isValid())
    return QStringLiteral("l'imprimante '") + name + QStringLiteral("' n'est pas disponible");
  return QStringLiteral("l'imprimante '") + name + QStringLiteral("' a refusé le travail");
}
