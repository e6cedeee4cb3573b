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
#include "FileNames.h"
#include "French.h"
#include "IDocumentView.h"
#include "IServices.h"
#include "TCrefiche.h"
#include "TDocument.h"
#include "TFormControls.h"
#include "TFormPicture.h"
#include "TPictureLoader.h"
#include "TQor2.h"

namespace {

// The form page shows an element 3 pixels left of and 37 above its place on
// the designer's surface, whose tool bar and frame it has not.
const QPoint kPageOffset(-3, -37);

QString Canonical(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  return canonical.isEmpty() ? QFileInfo(folder).absoluteFilePath() : canonical;
}

QString Folder(const QString& path) {
  return Canonical(QFileInfo(path).absolutePath());
}

}  // namespace

TFormPage::TFormPage(QWidget* page, TDocument& doc, IDocumentView& view)
    : page_(page), doc_(doc), view_(view) {}

void TFormPage::ChargeMasque(const QString& tableFileName) {
  const TStatus status = doc_.LoadLayout(EnginePath(tableFileName));
  if (!status)
    Services().Error(QStringLiteral("Impossible de lire '") + FromEnginePath(status.Detail()) +
                     QStringLiteral("' : ") + FailureText(status.Cause(), std::string()));
  if (doc_.Layout().empty())
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
  const QFont font = page_->font();
  doc_.SetLayout(
      TFormLayout::Default(doc_.FieldNames(), PageSize().height(), TFormControls::PointSize(font),
                           TLayoutLine::kWindowText, ToAnsi(font.family())),
      doc_.LayoutDesigned());
  CreMasque();
}

void TFormPage::CreMasque() {
  Raz();
  std::vector<TLayoutLine> elements;
  const TStatus status = TFormLayout::Read(doc_.Layout(), elements);
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
    edit->setText(FromAnsi(doc_.Table().GetValueByName(fields_[i])));
    shown_[i] = edit->text();
  }
}

void TFormPage::EcritMasque() {
  for (size_t i = 0; i < FieldControls.size(); ++i) {
    auto* edit = qobject_cast<QLineEdit*>(FieldControls[i]);
    if (!edit || edit->text() == shown_[i]) continue;
    doc_.StoreValue(fields_[i], ToAnsi(edit->text()));
    shown_[i] = edit->text();
  }
}

std::vector<std::pair<std::string, std::string>> TFormPage::TypedTexts() const {
  std::vector<std::pair<std::string, std::string>> typed;
  for (size_t i = 0; i < FieldControls.size(); ++i) {
    auto* edit = qobject_cast<QLineEdit*>(FieldControls[i]);
    if (edit && edit->text() != shown_[i]) typed.emplace_back(fields_[i], ToAnsi(edit->text()));
  }
  return typed;
}

int TFormPage::FieldControlIndex(const QObject* control) const {
  for (size_t i = 0; i < FieldControls.size(); ++i)
    if (FieldControls[i] == control) return static_cast<int>(i);
  return -1;
}

void TFormPage::EditExit(QLineEdit* edit) {
  const int p = FieldControlIndex(edit);
  if (p < 0 || edit->text() == shown_[p]) return;
  // The table view shows the text at once.
  view_.ShowInTableView(doc_.Table().FieldIndex(fields_[p]), edit->text());
}

void TFormPage::EditKeyPress(QChar c) {
  if (c != QLatin1Char('\r')) doc_.SetModified(true);
  view_.TextTyped();
}

void TFormPage::PictureClick(TFormPicture* picture) {
  // The picture goes with the first field, in field order, that no edit box shows.
  std::string field;
  for (const std::string& name : doc_.FieldNames()) {
    if (std::find(fields_.begin(), fields_.end(), name) != fields_.end()) continue;
    field = name;
    break;
  }
  if (field.empty()) return;
  // A new table, without a file yet, goes to the current folder.
  const QString folder = doc_.FileName().empty() ? Canonical(QDir::currentPath())
                                                 : Folder(FromEnginePath(doc_.FileName()));
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
  doc_.StoreValue(field, ToAnsi(name));
  view_.ShowInTableView(doc_.Table().FieldIndex(field), name);
  doc_.SetModified(true);
}

void TFormPage::ModiFiche() {
  std::vector<std::string> result;
  {
    TCrefiche designer(page_->window());
    const QSize size = PageSize();
    designer.resize(size.width(), size.height() + 33);
    designer.Init(doc_.Layout(), doc_.FieldNames());
    Services().RunDialog(designer);
    result = designer.Result().value_or(std::vector<std::string>());
  }
  if (result.empty() || result == doc_.Layout()) return;
  doc_.SetLayout(std::move(result), true);
  doc_.SetModified(true);
  CreMasque();
  LitMasque();
}

bool TFormPage::eventFilter(QObject* watched, QEvent* event) {
  if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (view_.FormKeyDown(key->key(), key->modifiers())) return true;
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
