#include "TQtPrinter.h"

TQtPrinter::TQtPrinter() : printer_(QPrinter::HighResolution) {}

// The painter lives in the base class: it must end the job while the QPrinter exists.
TQtPrinter::~TQtPrinter() {
  EndDoc();
}

void TQtPrinter::ApplySettings(const QString& title, QPageLayout::Orientation orientation) {
  printer_.setDocName(title);
  printer_.setPageOrientation(orientation);
}
