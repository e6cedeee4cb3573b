#pragma once
// TQtPrinter: TPrinter on the machine's printer (QPrinter, high resolution).
// The print and printer set-up dialogs of TQtServices configure the same QPrinter.

#include <QPrinter>

#include "TPrinter.h"

class TQtPrinter : public TPrinter {
 public:
  TQtPrinter();
  ~TQtPrinter() override;
  QPrinter& QtPrinter() { return printer_; }

 protected:
  QPaintDevice& Device() override { return printer_; }
  void ApplySettings(const QString& title, QPageLayout::Orientation orientation) override;
  bool DeviceNewPage() override { return printer_.newPage(); }

 private:
  QPrinter printer_;
};
