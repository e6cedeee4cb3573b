#pragma once
// TPreview: "Aperçu avant impression", the pages of a printout as they will
// print, in Qt's preview widget. The pages are drawn by the caller's function on
// a TPrinter over the preview's own QPrinter, which has the paper, orientation
// and resolution of Services().Printer() when that is the machine's printer
// (TQtPrinter); the printer itself is never touched by the preview.
//
// Buttons: "Première page", "Page précédente", "Page suivante", "Dernière page",
// "Zoom avant", "Zoom arrière", "Page entière", "Largeur de page", then
// "Imprimer..." (when offered; it closes the preview accepted) and "Fermer"
// (also Escape; closes it rejected). The label beside the page buttons says
// "Page n sur m". Built so that a test can show it and press its buttons.

#include <QDialog>
#include <QPrinter>
#include <functional>

class QLabel;
class QPrintPreviewWidget;
class QPushButton;
class TPrinter;

class TPreview : public QDialog {
  Q_OBJECT

 public:
  using TDraw = std::function<void(TPrinter& printer)>;

  explicit TPreview(TDraw draw, bool offerPrint, QWidget* parent = nullptr);
  ~TPreview() override;

  int PageCount() const;
  int CurrentPage() const;

  QPrintPreviewWidget* Preview = nullptr;
  QPushButton* FirstButton = nullptr;
  QPushButton* PriorButton = nullptr;
  QPushButton* NextButton = nullptr;
  QPushButton* LastButton = nullptr;
  QLabel* PageLabel = nullptr;
  QPushButton* ZoomInButton = nullptr;
  QPushButton* ZoomOutButton = nullptr;
  QPushButton* FitPageButton = nullptr;
  QPushButton* FitWidthButton = nullptr;
  QPushButton* PrintButton = nullptr;  // null when printing is not offered
  QPushButton* CloseButton = nullptr;

 private:
  QPushButton* AddButton(const QString& caption);
  void Paint(QPrinter* printer);
  void ShowPage(int page);
  void UpdatePageLabel();

  QPrinter printer_;
  TDraw draw_;
};
