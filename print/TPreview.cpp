#include "TPreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "IServices.h"
#include "TQtPrinter.h"

TPreview::TPreview(TDraw draw, bool offerPrint, QWidget* parent)
    : QDialog(parent), printer_(QPrinter::HighResolution), draw_(std::move(draw)) {
  setWindowTitle(QStringLiteral("Aperçu avant impression"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowMaximizeButtonHint);
  Services().Printer().CopySettingsTo(printer_);

  Preview = new QPrintPreviewWidget(&printer_, this);
  Preview->setObjectName(QStringLiteral("Preview"));
  Preview->setAccessibleName(QStringLiteral("Pages"));
  // Two rows, so that no caption is cut: the pages, printing and closing
  // above, the zoom below.
  auto* buttons = new QHBoxLayout;
  auto* zoom = new QHBoxLayout;
  FirstButton = AddButton(QStringLiteral("Première page"));
  PriorButton = AddButton(QStringLiteral("Page précédente"));
  NextButton = AddButton(QStringLiteral("Page suivante"));
  LastButton = AddButton(QStringLiteral("Dernière page"));
  PageLabel = new QLabel(this);
  PageLabel->setObjectName(QStringLiteral("PageLabel"));
  ZoomInButton = AddButton(QStringLiteral("Zoom avant"));
  ZoomOutButton = AddButton(QStringLiteral("Zoom arrière"));
  FitPageButton = AddButton(QStringLiteral("Page entière"));
  FitWidthButton = AddButton(QStringLiteral("Largeur de page"));
  if (offerPrint) PrintButton = AddButton(QStringLiteral("Imprimer..."));
  CloseButton = AddButton(QStringLiteral("Fermer"));
  for (QWidget* w : {FirstButton, PriorButton, NextButton, LastButton}) buttons->addWidget(w);
  buttons->insertWidget(2, PageLabel);
  buttons->addStretch(1);
  if (PrintButton) buttons->addWidget(PrintButton);
  buttons->addWidget(CloseButton);
  for (QWidget* w : {ZoomInButton, ZoomOutButton, FitPageButton, FitWidthButton})
    zoom->addWidget(w);
  zoom->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addLayout(zoom);
  layout->addWidget(Preview, 1);
  resize(900, 700);

  connect(Preview, &QPrintPreviewWidget::paintRequested, this, &TPreview::Paint);
  connect(Preview, &QPrintPreviewWidget::previewChanged, this, &TPreview::UpdatePageLabel);
  connect(FirstButton, &QPushButton::clicked, this, [this] { ShowPage(1); });
  connect(PriorButton, &QPushButton::clicked, this, [this] { ShowPage(CurrentPage() - 1); });
  connect(NextButton, &QPushButton::clicked, this, [this] { ShowPage(CurrentPage() + 1); });
  connect(LastButton, &QPushButton::clicked, this, [this] { ShowPage(PageCount()); });
  connect(ZoomInButton, &QPushButton::clicked, Preview, [this] { Preview->zoomIn(); });
  connect(ZoomOutButton, &QPushButton::clicked, Preview, [this] { Preview->zoomOut(); });
  connect(FitPageButton, &QPushButton::clicked, Preview, &QPrintPreviewWidget::fitInView);
  connect(FitWidthButton, &QPushButton::clicked, Preview, &QPrintPreviewWidget::fitToWidth);
  if (PrintButton) connect(PrintButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
  UpdatePageLabel();
}

TPreview::~TPreview() = default;

QPushButton* TPreview::AddButton(const QString& caption) {
  auto* button = new QPushButton(caption, this);
  button->setAccessibleName(caption);
  button->setAutoDefault(false);
  // Never narrower than its caption.
  button->setMinimumWidth(button->sizeHint().width());
  return button;
}

int TPreview::PageCount() const {
  return Preview->pageCount();
}

int TPreview::CurrentPage() const {
  return Preview->currentPage();
}

void TPreview::Paint(QPrinter* printer) {
  TQtPrinter device(*printer);
  draw_(device);
}

void TPreview::ShowPage(int page) {
  if (page < 1 || page > PageCount()) return;
  Preview->setCurrentPage(page);
  UpdatePageLabel();
}

void TPreview::UpdatePageLabel() {
  const QString text = QStringLiteral("Page %1 sur %2").arg(CurrentPage()).arg(PageCount());
  PageLabel->setText(text);
  PageLabel->setAccessibleName(text);
}
