#pragma once
// TQtServices: IServices with Qt's message boxes and standard dialogs, the real
// printer and the real clock. Boxes and dialogs are modal to the active window and
// carry French texts ("Oui", "Non", "Annuler", "OK").
//
// PrinterSetupDialog() chooses the printer among the machine's printers and
// the PDF file printer (TPrinterSetup), with the page set-up of the one chosen.
//
// SetSystemTime() asks the system to set its clock, which needs privileges; it
// returns false when the time is invalid or the system refuses.

#include "IServices.h"
#include "TQtPrinter.h"

class TQtServices : public IServices {
 public:
  TAnswer Ask(const TQuestion& question) override;
  int Choose(const TQuestion& question) override;
  std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                  const QString& defaultText) override;
  bool PrintDialog() override;
  bool PrinterSetupDialog() override;
  std::optional<QFont> FontDialog(const QFont& initial) override;
  std::optional<QColor> ColorDialog(const QColor& initial) override;
  TPrinter& Printer() override { return printer_; }
  QDateTime Now() override;
  bool SetSystemTime(const TSystemTime& utc) override;

 protected:
  std::optional<TFileChoice> ShowFileDialog(const TFileDialogRequest& request) override;
  int ShowDialog(QDialog& dialog) override;

 private:
  TQtPrinter printer_;
};
