#pragma once
// TPrinterSetup: "Configuration de l'impression", what "Configurer l'imprimante"
// opens: the printer later jobs go to - a PDF file, which the print dialog
// then names, or one of the machine's printers - and the orientation of the
// page. "Mise en page..." opens the page set-up of the printer chosen (paper,
// margins) through the handler given; without one the button is hidden.
//
// Init fills the dialog from a QPrinter and the names of the machine's
// printers; "OK" confirms, "Annuler" (also Escape) does not. Result gives the
// choice when confirmed; Apply sets it on a QPrinter. Built so that a test can
// fill it and press its buttons without a modal loop.

#include <QDialog>
#include <QPageLayout>
#include <QStringList>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;

class TPrinterSetup : public QDialog {
 public:
  struct TChoice {
    QString printerName;  // empty: the PDF file
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
  };
  using TPageSetupHandler = std::function<void(const TChoice& choice)>;

  explicit TPrinterSetup(QWidget* parent = nullptr);

  void Init(const QPrinter& printer, const QStringList& printerNames);
  void SetPageSetupHandler(TPageSetupHandler handler);
  std::optional<TChoice> Result() const;
  static void Apply(const TChoice& choice, QPrinter& printer);

  QLabel* Label1 = nullptr;
  QComboBox* ComboBox1 = nullptr;          // the printers, the PDF file first
  QRadioButton* RadioButton1 = nullptr;    // "Portrait"
  QRadioButton* RadioButton2 = nullptr;    // "Paysage"
  QPushButton* PageSetupButton = nullptr;  // "Mise en page..."
  QPushButton* Button1 = nullptr;          // "Annuler"
  QPushButton* Button2 = nullptr;          // "OK"

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TChoice Choice() const;

  TPageSetupHandler pageSetup_;
};
