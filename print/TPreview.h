#pragma once
// TPreview: "Aperçu avant impression", the pages of a printout as they will
// print, in Qt's preview widget. The pages are drawn by the caller's function on
// a TPrinter over the preview's own QPrinter, which takes the paper,
// orientation and resolution of Services().Printer() (TPrinter::CopySettingsTo);
// the printer itself is never touched by the preview.
//
// Buttons, each at least as wide as its caption: "Première page", "Page
// précédente", the label "Page n sur m", "Page suivante", "Dernière page", then
// "Imprimer..." (when offered; it closes the preview accepted) and "Fermer"
// (also Escape; closes it rejected); below them "Zoom avant", "Zoom arrière",
// "Page entière", "Largeur de page". Built so that a test can show it and
// press its buttons.

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

  QPrintPreviewWidget* Preview = nullptr;  // the pages, as they will print
  QPushButton* FirstButton = nullptr;      // "Première page"
  QPushButton* PriorButton = nullptr;      // "Page précédente"
  QPushButton* NextButton = nullptr;       // "Page suivante"
  QPushButton* LastButton = nullptr;       // "Dernière page"
  QLabel* PageLabel = nullptr;             // "Page n sur m"
  QPushButton* ZoomInButton = nullptr;     // "Zoom avant"
  QPushButton* ZoomOutButton = nullptr;    // "Zoom arrière"
  QPushButton* FitPageButton = nullptr;    // "Page entière": a whole page in view
  QPushButton* FitWidthButton = nullptr;   // "Largeur de page": the page's width in view
  QPushButton* PrintButton = nullptr;      // "Imprimer...": null when printing is not offered
  QPushButton* CloseButton = nullptr;      // "Fermer"

 private:
  QPushButton* AddButton(const QString& caption);
  void Paint(QPrinter* printer);
  void ShowPage(int page);
  void UpdatePageLabel();

  QPrinter printer_;
  TDraw draw_;
};
