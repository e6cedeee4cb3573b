#pragma once
// TFormPage: the form view of a document window. It builds the controls of the
// document's form layout (TDocument::Layout, one line per element,
// Windows-1252, see TLayoutLine) on the window's form page, and owns every
// control it builds: `FieldControls` (edit boxes and field pictures, in layout
// order, which is also the Tab order) and `DecorControls` (labels, shapes,
// embedded pictures); Raz destroys them.
//
// It works on the document and on the view that shows it (the table view
// follows what is typed here, and the navigation keys are the window's); they
// and the page must outlive this object, and the window must call Raz before
// its page goes. Every message goes through Services(), once: a layout file
// that cannot be read says why (and the default layout shows), a layout that
// cannot be built shows the reason with its line number after the controls of
// the lines before it are built.
//
// Edit boxes show the current record (LitMasque) and write back only the texts
// that changed since (EcritMasque), so a record is never written from boxes
// that show another one. A layout the designer changed is the user's: the
// document writes it beside the table at the next save.

#include <QObject>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "TFormLayout.h"

class IDocumentView;
class QLineEdit;
class QWidget;
class TDocument;
class TFormPicture;

class TFormPage : public QObject {
 public:
  TFormPage(QWidget* page, TDocument& doc, IDocumentView& view);

  // Reads the layout file beside the table (none, or an empty one, gives the
  // default layout) and builds the page.
  void ChargeMasque(const QString& tableFileName);
  void MasqueDefaut();
  void CreMasque();    // Raz, then the controls of Layout; edit boxes start empty
  void LitMasque();    // current record -> edit boxes
  void EcritMasque();  // changed edit boxes -> current record; sets Modified
  // The boxes whose text changed since LitMasque: field name and text.
  std::vector<std::pair<std::string, std::string>> TypedTexts() const;
  void Raz();
  // The form designer on the current layout. A new layout replaces it, marks
  // the table modified and is shown with the current record.
  void ModiFiche();

  // Handlers of the controls, public so that tests can drive them.
  void EditExit(QLineEdit* edit);
  void EditKeyPress(QChar c);
  void PictureClick(TFormPicture* picture);

  std::vector<QWidget*> FieldControls;
  std::vector<QWidget*> DecorControls;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int FieldControlIndex(const QObject* control) const;
  QSize PageSize() const;

  QWidget* page_;
  TDocument& doc_;
  IDocumentView& view_;
  // For each of FieldControls: the bound field (empty for a picture) and the
  // text LitMasque last showed.
  std::vector<std::string> fields_;
  std::vector<QString> shown_;
};
