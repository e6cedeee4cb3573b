#pragma once
// TFormPage: the form view of a document window. It holds the form layout
// (`Layout`, one line per element, Windows-1252, see TLayoutLine) and builds
// its controls on the window's form page. It owns every control it builds:
// `FieldControls` (edit boxes and field pictures, in layout order, which is
// also the Tab order) and `DecorControls` (labels, shapes, embedded pictures);
// Raz destroys them.
//
// It works on the window's table engine, table grid, Modified flag and file
// name, which the window owns; they and the page must outlive this object, and
// the window must call Raz before its page goes. Every message goes through
// Services(), once: a layout file that cannot be read says why (and the
// default layout shows), a layout that cannot be built shows the reason with
// its line number after the controls of the lines before it are built.
//
// Edit boxes show the current record (LitMasque) and write back only the texts
// that changed since (EcritMasque), so a record is never written from boxes
// that show another one. The layout file beside the table is written by
// SaveLayout only once the designer has changed the layout (`LayoutDesigned`).

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "TFormLayout.h"

class QLineEdit;
class QWidget;
class TFormPicture;
class TQor2;
class TStringGrid;

class TFormPage : public QObject {
 public:
  // The window's key-down handler: true when it used the key (navigation).
  using TKeyDownHandler = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;

  TFormPage(QWidget* page, TQor2& table, TStringGrid* tableGrid, bool& modified,
            const QString& fileName, TKeyDownHandler keyDown);

  // Reads the layout file beside the table (none, or an empty one, gives the
  // default layout) and builds the page.
  void ChargeMasque(const QString& tableFileName);
  void MasqueDefaut();
  void CreMasque();    // Raz, then the controls of Layout; edit boxes start empty
  void LitMasque();    // current record -> edit boxes
  void EcritMasque();  // changed edit boxes -> current record; sets Modified
  void Raz();
  // The form designer on the current layout. A new layout replaces it, marks
  // the table modified and is shown with the current record.
  void ModiFiche();
  // Writes the layout file beside `tableFileName` when the designer changed
  // the layout; true when written or nothing to write, else a warning.
  bool SaveLayout(const QString& tableFileName);

  // Handlers of the controls, public so that tests can drive them.
  void EditExit(QLineEdit* edit);
  void EditKeyPress(QChar c);
  void PictureClick(TFormPicture* picture);

  std::vector<std::string> Layout;
  std::vector<QWidget*> FieldControls;
  std::vector<QWidget*> DecorControls;
  bool LayoutDesigned = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int FieldControlIndex(const QObject* control) const;
  // The table grid's row that shows the current record, 0 if none.
  int RowOfCurrentRecord() const;
  QSize PageSize() const;

  QWidget* page_;
  TQor2& table_;
  TStringGrid* grid_;
  bool& modified_;
  const QString& fileName_;
  TKeyDownHandler keyDown_;
  // For each of FieldControls: the bound field (empty for a picture) and the
  // text LitMasque last showed.
  std::vector<std::string> fields_;
  std::vector<QString> shown_;
};
