#include "TFormPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QStackedWidget>
#include <QWidget>
#include <algorithm>

#include "AnsiCodec.h"
#include "French.h"
#include "IFileSystem.h"
#include "IServices.h"
#include "TCrefiche.h"
#include "TFormControls.h"
#include "TFormPicture.h"
#include "TPictureLoader.h"
#include "TQor2.h"
#include "TStringGrid.h"

namespace {

// The form page shows an element 3 pixels left of and 37 above its place on
// the designer's surface, whose tool bar and frame it has not.
const QPoint kPageOffset(-3, -37);

std::string LayoutPath(const QString& tableFileName) {
  return TFormLayout::FileNameFor(QFile::encodeName(tableFileName).toStdString());
}

QString Canonical(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  return canonical.isEmpty() ? QFileInfo(folder).absoluteFilePath() : canonical;
}

QString Folder(const QString& path) {
  return Canonical(QFileInfo(path).absolutePath());
}

}  // namespace

TFormPage::TFormPage(QWidget* page, TQor2& table, TStringGrid* tableGrid, bool& modified,
                     const QString& fileName, TKeyDownHandler keyDown)
    : page_(page),
      table_(table),
      grid_(tableGrid),
      modified_(modified),
      fileName_(fileName),
      keyDown_(std::move(keyDown)) {}

void TFormPage::ChargeMasque(const QString& tableFileName) {
  Layout.clear();
  LayoutDesigned = false;
  const std::string path = LayoutPath(tableFileName);
  const TStatus status = TFormLayout::LoadFile(FileSystem(), path, Layout);
  // No layout file: the default layout, without a word.
  if (!status && status.Cause() != TFailure::NotFound) {
    Layout.clear();
    Services().Error(QStringLiteral("Impossible de lire '") + QFile::decodeName(path.c_str()) +
                     QStringLiteral("' : ") + FailureText(status));
  }
  if (Layout.empty())
    MasqueDefaut();
  else
    CreMasque();
}

QSize TFormPage::PageSize() const {
  // Before the window is first shown its layouts have not placed the page yet.
  std::vector<QWidget*> chain;
  for (QWidget* w = page_; w; w = w->parentWidget()) chain.push_back(w);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    if ((*it)->layout()) (*it)->layout()->activate();
  // A page control sizes only the page it shows; the others get its size when shown.
  if (auto* pages = qobject_cast<QStackedWidget*>(page_->parentWidget()))
    return pages->contentsRect().size();
  return page_->size();
}

void TFormPage::MasqueDefaut() {
  std::vector<std::string> names;
  for (int i = 1; i <= table_.FieldCount(); ++i) names.push_back(table_.GetFieldName(i));
  const QFont font = page_->font();
  Layout = TFormLayout::Default(names, PageSize().height(), TFormControls::PointSize(font),
                                TLayoutLine::kWindowText, ToAnsi(font.family()));
  CreMasque();
}

void TFormPage::CreMasque() {
  Raz();
  std::vector<TLayoutLine> elements;
  const TStatus status = TFormLayout::Read(Layout, elements);
  for (const TLayoutLine& element : elements) {
    QWidget* control = TFormControls::Create(element, page_, page_->font(), kPageOffset);
    if (!control) continue;
    control->show();
    if (element.kind == TLayoutLine::Edit || element.IsFieldPicture()) {
      control->installEventFilter(this);
      FieldControls.push_back(control);
      fields_.push_back(element.field);
      shown_.emplace_back();
    } else {
      DecorControls.push_back(control);
    }
  }
  if (!status) Services().Error(FailureText(status));
}

void TFormPage::Raz() {
  // Emptied first: a box that loses the focus as it goes must not be found.
  std::vector<QWidget*> controls;
  controls.swap(FieldControls);
  controls.insert(controls.end(), DecorControls.begin(), DecorControls.end());
  DecorControls.clear();
  fields_.clear();
  shown_.clear();
  for (QWidget* control : controls) delete control;
}

void TFormPage::LitMasque() {
  for (size_t i = 0; i < FieldControls.size(); ++i) {
    auto* edit = qobject_cast<QLineEdit*>(FieldControls[i]);
    if (!edit) continue;
    edit->setText(FromAnsi(table_.GetValueByName(fields_[i])));
    shown_[i] = edit->text();
  }
}

void TFormPage::EcritMasque() {
  for (size_t i = 0; i < FieldControls.size(); ++i) {
    auto* edit = qobject_cast<QLineEdit*>(FieldControls[i]);
    if (!edit || edit->text() == shown_[i]) continue;
    const std::string value = ToAnsi(edit->text());
    if (table_.GetValueByName(fields_[i]) != value && table_.SetValueByName(fields_[i], value))
      modified_ = true;
    shown_[i] = edit->text();
  }
}

int TFormPage::FieldControlIndex(const QObject* control) const {
  for (size_t i = 0; i < FieldControls.size(); ++i)
    if (FieldControls[i] == control) return static_cast<int>(i);
  return -1;
}

int TFormPage::RowOfCurrentRecord() const {
  const int recNo = table_.RecNo();
  if (recNo < 1 || recNo > table_.RecordCount()) return 0;
  const QString text = QString::number(recNo);
  if (recNo < grid_->RowCount() && grid_->Cell(0, recNo) == text) return recNo;
  for (int row = 1; row < grid_->RowCount(); ++row)
    if (grid_->Cell(0, row) == text) return row;
  return 0;
}

void TFormPage::EditExit(QLineEdit* edit) {
  const int p = FieldControlIndex(edit);
  if (p < 0 || edit->text() == shown_[p]) return;
  // The table view shows the text at once, in the row of the record shown
  // here (the grid's current row may show another record).
  const int row = RowOfCurrentRecord();
  const int column = table_.FieldIndex(fields_[p]);
  if (row > 0 && column > 0) grid_->SetCell(column, row, edit->text());
}

void TFormPage::EditKeyPress(QChar c) {
  if (c != QLatin1Char('\r')) modified_ = true;
}

void TFormPage::PictureClick(TFormPicture* picture) {
  // The picture goes with the first field, in field order, that no edit box shows.
  std::string field;
  for (int i = 1; i <= table_.FieldCount() && field.empty(); ++i) {
    const std::string name = table_.GetFieldName(i);
    if (std::find(fields_.begin(), fields_.end(), name) == fields_.end()) field = name;
  }
  if (field.empty()) return;
  // A new table, without a file yet, goes to the current folder.
  const QString folder = fileName_.isEmpty() ? Canonical(QDir::currentPath()) : Folder(fileName_);
  TFileDialogRequest request;
  request.kind = TFileDialogKind::Picture;
  request.directory = folder;
  request.filters = TPictureLoader::Filters();
  const std::optional<TFileChoice> choice = Services().FileDialog(request);
  if (!choice) return;
  if (Folder(choice->path) != folder) {
    Services().Message(QStringLiteral("L'image doit être dans le même répertoire"));
    return;
  }
  QImage image;
  QString message;
  if (!TPictureLoader::Load(choice->path, image, message)) {
    Services().Error(message);
    return;
  }
  picture->SetImage(image);
  const QString name = QFileInfo(choice->path).fileName();
  table_.SetValueByName(field, ToAnsi(name));
  const int row = RowOfCurrentRecord();
  if (row > 0) grid_->SetCell(table_.FieldIndex(field), row, name);
  modified_ = true;
}

void TFormPage::ModiFiche() {
  std::vector<std::string> names;
  for (int i = 1; i <= table_.FieldCount(); ++i) names.push_back(table_.GetFieldName(i));
  std::vector<std::string> result;
  {
    TCrefiche designer(page_->window());
    const QSize size = PageSize();
    designer.resize(size.width(), size.height() + 33);
    designer.Init(Layout, names);
    Services().RunDialog(designer);
    result = designer.Result().value_or(std::vector<std::string>());
  }
  if (result.empty() || result == Layout) return;
  Layout = std::move(result);
  LayoutDesigned = true;
  modified_ = true;
  CreMasque();
  LitMasque();
}

bool TFormPage::SaveLayout(const QString& tableFileName) {
  if (!LayoutDesigned) return true;
  const std::string path = LayoutPath(tableFileName);
  const TStatus status = TFormLayout::SaveFile(path, Layout);
  if (status) return true;
  Services().Warning(QStringLiteral("Impossible d'enregistrer '") +
                     QFile::decodeName(path.c_str()) + QStringLiteral("' : ") +
                     FailureText(status));
  return false;
}

bool TFormPage::eventFilter(QObject* watched, QEvent* event) {
  if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (keyDown_ && keyDown_(key->key(), key->modifiers())) return true;
      const bool plainTab = key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier;
      // Tab from the last box goes back to the first, when that is a box.
      if (plainTab && FieldControlIndex(edit) == static_cast<int>(FieldControls.size()) - 1) {
        if (auto* first = qobject_cast<QLineEdit*>(FieldControls.front())) {
          first->setFocus(Qt::TabFocusReason);
          return true;
        }
      }
      if (!key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
        EditKeyPress(key->text().front());
    } else if (event->type() == QEvent::FocusOut) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) EditExit(edit);
    }
  } else if (auto* picture = dynamic_cast<TFormPicture*>(watched)) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      PictureClick(picture);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
