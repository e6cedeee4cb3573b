#include "TPrinterSetup.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "TDialogParts.h"

namespace {

const char kPdf[] = "Fichier PDF";

}  // namespace

TPrinterSetup::TPrinterSetup(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Configuration de l'impression"));
  Label1 = new QLabel(QStringLiteral("&Imprimante"), this);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setMinimumContentsLength(24);
  Label1->setBuddy(ComboBox1);
  TDialogParts::NameByLabel(ComboBox1, QStringLiteral("Imprimante"));

  auto* orientation = new QGroupBox(QStringLiteral("Orientation"), this);
  orientation->setAccessibleName(orientation->title());
  RadioButton1 = new QRadioButton(QStringLiteral("Portrait"), orientation);
  RadioButton2 = new QRadioButton(QStringLiteral("Paysage"), orientation);
  auto* radios = new QHBoxLayout(orientation);
  for (QRadioButton* radio : {RadioButton1, RadioButton2}) {
    radio->setAccessibleName(radio->text());
    radios->addWidget(radio);
  }
  RadioButton1->setChecked(true);

  PageSetupButton = new QPushButton(QStringLiteral("Mise en page..."), this);
  PageSetupButton->setAccessibleName(QStringLiteral("Mise en page"));
  PageSetupButton->hide();
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, Button1, Button2, PageSetupButton);

  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(ComboBox1);
  layout->addWidget(orientation);
  layout->addLayout(buttons);

  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
  connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
  connect(PageSetupButton, &QPushButton::clicked, this, [this] {
    if (pageSetup_) pageSetup_(Choice());
  });
}

void TPrinterSetup::Init(const QPrinter& printer, const QStringList& printerNames) {
  ComboBox1->clear();
  ComboBox1->addItem(QString::fromUtf8(kPdf), QString());
  for (const QString& name : printerNames) ComboBox1->addItem(name, name);
  const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
  const int current = pdf ? 0 : ComboBox1->findData(printer.printerName());
  ComboBox1->setCurrentIndex(current < 0 ? 0 : current);
  const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  (landscape ? RadioButton2 : RadioButton1)->setChecked(true);
}

void TPrinterSetup::SetPageSetupHandler(TPageSetupHandler handler) {
  pageSetup_ = std::move(handler);
  PageSetupButton->setVisible(static_cast<bool>(pageSetup_));
}

TPrinterSetup::TChoice TPrinterSetup::Choice() const {
  TChoice choice;
  choice.printerName = ComboBox1->currentData().toString();
  choice.orientation = RadioButton2->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
  return choice;
}

std::optional<TPrinterSetup::TChoice> TPrinterSetup::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return Choice();
}

void TPrinterSetup::Apply(const TChoice& choice, QPrinter& printer) {
  if (choice.printerName.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
  } else {
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(choice.printerName);
  }
  printer.setPageOrientation(choice.orientation);
}

void TPrinterSetup::showEvent(QShowEvent* event) {
  setResult(QDialog::Rejected);
  QDialog::showEvent(event);
}
