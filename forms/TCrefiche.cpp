#include "TCrefiche.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "AnsiCodec.h"
#include "French.h"
#include "IServices.h"
#include "TColorCode.h"
#include "TCreEdt.h"
#include "TCreImg.h"
#include "TCreLbl.h"
#include "TCreLig.h"
#include "TCreRec.h"
#include "TFormControls.h"
#include "TFormLayout.h"
#include "TFormPicture.h"
#include "TFormShape.h"
#include "TPictureLoader.h"
#include "TPictures.h"

namespace {

const int kToolBarHeight = 33;
const int kMaxPosition = 0xFFFF;
const int kMaxPictureSide = 0xFFF;
const int kMaxFieldElements = 32;
const int kProposedX = 10;

int Position(int value) {
  return std::clamp(value, 0, kMaxPosition);
}

QString FieldPictureName(int counter) {
  return QStringLiteral("CHAMP") + QString::number(counter);
}

}  // namespace

TCrefiche::TCrefiche(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Création du fichier"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setAutoFillBackground(true);
  setMouseTracking(true);

  StaticText1 = new QLabel(this);
  StaticText1->setAccessibleName(QStringLiteral("Position du pointeur"));
  StaticText1->move(88, 304);

  Surface = new QWidget(this);
  Surface->setObjectName(QStringLiteral("Surface"));
  Surface->setAttribute(Qt::WA_TransparentForMouseEvents);
  Surface->setAccessibleName(QStringLiteral("Formulaire"));
  Surface->setFocusPolicy(Qt::StrongFocus);
  Surface->installEventFilter(this);

  ToolBar = new QWidget(this);
  ToolBar->setObjectName(QStringLiteral("Panel1"));
  ToolBar->setAccessibleName(QStringLiteral("Barre d'outils"));
  ToolBar->setAutoFillBackground(true);
  ToolBar->setBackgroundRole(QPalette::Button);
  ToolBar->setFixedHeight(kToolBarHeight);
  SpeedButton8 = AddTool(QStringLiteral("Tout effacer"), 0);
  SpeedButton1 = AddTool(QStringLiteral("Couleur de fond"), 1);
  SpeedButton2 = AddTool(QStringLiteral("Libellé"), 2);
  SpeedButton3 = AddTool(QStringLiteral("Image"), 3);
  SpeedButton4 = AddTool(QStringLiteral("Ligne"), 4);
  SpeedButton5 = AddTool(QStringLiteral("Rectangle"), 5);
  SpeedButton6 = AddTool(QStringLiteral("Champ texte"), 6);
  SpeedButton7 = AddTool(QStringLiteral("Champ image"), 7);
  SpeedButton9 = AddTool(QStringLiteral("Modifier"), 7);
  const std::pair<QToolButton*, TToolPicture> pictures[] = {
      {SpeedButton8, TToolPicture::DesignClear},
      {SpeedButton1, TToolPicture::DesignBackground},
      {SpeedButton2, TToolPicture::DesignLabel},
      {SpeedButton3, TToolPicture::DesignPicture},
      {SpeedButton5, TToolPicture::DesignRectangle},
      {SpeedButton6, TToolPicture::DesignTextField},
      {SpeedButton7, TToolPicture::DesignFieldPicture},
      {SpeedButton9, TToolPicture::DesignModify}};
  for (const auto& [button, tool] : pictures) button->setIcon(TPictures::ToolButton(tool));
  SpeedButton4->setText(QStringLiteral("----"));
  SpeedButton7->hide();  // the tool exists, but the tool bar does not offer it
  Button1 = new QPushButton(QStringLiteral("Annuler"), ToolBar);
  Button2 = new QPushButton(QStringLiteral("OK"), ToolBar);
  for (QPushButton* button : {Button1, Button2}) {
    button->setAccessibleName(button->text());
    button->setAutoDefault(false);
    button->resize(75, 25);
  }

  PopupMenu1 = new QMenu(this);
  Modifier1 = PopupMenu1->addAction(QStringLiteral("Modifier"));
  Supprimer1 = PopupMenu1->addAction(QStringLiteral("Supprimer"));

  connect(SpeedButton8, &QToolButton::clicked, this, &TCrefiche::SpeedButton8Click);
  connect(SpeedButton1, &QToolButton::clicked, this, &TCrefiche::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TCrefiche::SpeedButton2Click);
  connect(SpeedButton3, &QToolButton::clicked, this, &TCrefiche::SpeedButton3Click);
  connect(SpeedButton4, &QToolButton::clicked, this, &TCrefiche::SpeedButton4Click);
  connect(SpeedButton5, &QToolButton::clicked, this, &TCrefiche::SpeedButton5Click);
  connect(SpeedButton6, &QToolButton::clicked, this, &TCrefiche::SpeedButton6Click);
  connect(SpeedButton7, &QToolButton::clicked, this, &TCrefiche::SpeedButton7Click);
  connect(SpeedButton9, &QToolButton::clicked, this, &TCrefiche::SpeedButton9Click);
  connect(Modifier1, &QAction::triggered, this, &TCrefiche::SpeedButton9Click);
  connect(Supprimer1, &QAction::triggered, this, &TCrefiche::Supprimer1Click);
  connect(Button1, &QPushButton::clicked, this, &TCrefiche::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TCrefiche::Button2Click);
}

QToolButton* TCrefiche::AddTool(const QString& hint, int index) {
  auto* button = new QToolButton(ToolBar);
  button->setAutoRaise(true);
  button->setToolTip(hint);
  button->setStatusTip(hint);
  button->setAccessibleName(hint);
  button->setGeometry(4 + 28 * index, 4, 25, 25);
  button->setIconSize(QSize(16, 16));
  return button;
}

// --- Building and reading the surface ---

void TCrefiche::Init(const std::vector<std::string>& layout,
                     const std::vector<std::string>& fieldNames) {
  Clear();
  FieldElementCount = 0;
  FieldNames = fieldNames;
  std::vector<TLayoutLine> lines;
  const TStatus status = TFormLayout::Read(layout, lines);
  // The line that cannot be built and those after it are kept unseen, and
  // written back as they were after the elements, new ones included.
  unbuilt_.assign(layout.begin() + static_cast<std::ptrdiff_t>(lines.size()), layout.end());
  for (TLayoutLine& line : lines) {
    TElement element;
    if (line.kind == TLayoutLine::Edit || line.IsFieldPicture()) ++FieldElementCount;
    if (line.IsFieldPicture())
      element.frame = QSize(TFormControls::kFieldPictureSize, TFormControls::kFieldPictureSize);
    element.line = std::move(line);
    AddElement(std::move(element));
    if (Elements.back().line.IsFieldPicture())
      Elements.back().control->setObjectName(FieldPictureName(FieldElementCount));
  }
  initial_ = Lines();
  if (!status) Services().Error(FailureText(status));
}

std::vector<std::string> TCrefiche::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(Elements.size());
  for (const TElement& element : Elements) lines.push_back(element.line.Write());
  lines.insert(lines.end(), unbuilt_.begin(), unbuilt_.end());
  return lines;
}

std::optional<std::vector<std::string>> TCrefiche::Result() {
  std::optional<std::vector<std::string>> lines;
  if (result() == QDialog::Accepted) lines = Lines();
  Clear();
  return lines;
}

bool TCrefiche::Changed() const {
  return Lines() != initial_;
}

void TCrefiche::Clear() {
  for (TElement& element : Elements) delete element.control;
  Elements.clear();
  unbuilt_.clear();
  SelectedIndex = -1;
  Surface->update();
}

void TCrefiche::AddElement(TElement element) {
  Elements.push_back(std::move(element));
  Rebuild(Elements.back());
}

void TCrefiche::Rebuild(TElement& element) {
  const QString name = element.control ? element.control->objectName() : QString();
  delete element.control;
  element.control = TFormControls::Create(element.line, this, font(), QPoint(0, 0));
  if (!element.control) return;
  QWidget* control = element.control;
  control->setObjectName(name);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    // A text field shows the name of its field and takes no typing.
    edit->setReadOnly(true);
    edit->setText(FromAnsi(element.line.field));
  } else if (auto* shape = dynamic_cast<TFormShape*>(control)) {
    if (!shape->Filled()) shape->SetPenWidth(element.outline);
  } else if (element.line.IsFieldPicture()) {
    control->resize(element.frame);
  }
  control->setAttribute(Qt::WA_TransparentForMouseEvents);
  control->setFocusPolicy(Qt::NoFocus);
  control->show();
  Surface->raise();
  StaticText1->raise();
  ToolBar->raise();
  Surface->update();
}

void TCrefiche::AddCentred(TElement element) {
  const QSize size = element.line.kind == TLayoutLine::Shape
                         ? QSize(element.line.width, element.line.height)
                         : element.frame;
  element.line.x = Position((width() - size.width()) / 2);
  element.line.y = Position((height() - size.height()) / 2);
  surfaceMenu_ = true;
  AddElement(std::move(element));
}

// --- The element dialogs, for a new element and for a change alike ---

bool TCrefiche::AskLabel(TLayoutLine& line, bool fresh) {
  const QFont font = TFormControls::LabelFont(line, this->font());
  const uint32_t color = line.hasColor ? line.color : TLayoutLine::kWindowText;
  TCreLbl dialog(this);
  dialog.Init(FromAnsi(line.caption), font, color, line.y, line.x);
  Services().RunDialog(dialog);
  const std::optional<TCreLbl::TAnswer> answer = dialog.Result();
  if (!answer || answer->text.isEmpty()) return false;
  line.caption = ToAnsi(answer->text);
  line.x = Position(answer->left);
  line.y = Position(answer->top);
  // Attributes the user left alone stay as they were read.
  if (fresh || answer->font != font || answer->color != color) {
    TFormControls::SetLabelFont(line, answer->font);
    line.color = answer->color;
    line.hasColor = true;
  }
  return true;
}

bool TCrefiche::AskLine(TLayoutLine& line) {
  const bool horizontal = line.width > line.height;
  TCreLig dialog(this);
  dialog.Init(horizontal ? 0 : 1, std::max(line.width, line.height),
              std::min(line.width, line.height));
  Services().RunDialog(dialog);
  const std::optional<TCreLig::TAnswer> answer = dialog.Result();
  if (!answer) return false;
  const bool across = answer->orientation == 0;
  line.width = Position(across ? answer->length : answer->thickness);
  line.height = Position(across ? answer->thickness : answer->length);
  return true;
}

bool TCrefiche::AskRectangle(TElement& element) {
  TCreRec dialog(this);
  dialog.Init(element.outline, element.line.width, element.line.height);
  Services().RunDialog(dialog);
  const std::optional<TCreRec::TAnswer> answer = dialog.Result();
  if (!answer) return false;
  element.outline = answer->thickness;
  element.line.width = Position(answer->length);
  element.line.height = Position(answer->breadth);
  return true;
}

bool TCrefiche::AskTextField(TLayoutLine& line, int except) {
  QStringList names;
  for (const std::string& name : FieldNames) names << FromAnsi(name);
  TCreEdt dialog(this);
  dialog.Init(names, FromAnsi(line.field), line.y, line.x, line.width);
  Services().RunDialog(dialog);
  const std::optional<TCreEdt::TAnswer> answer = dialog.Result();
  if (!answer || answer->name.isEmpty() || !CanBind(ToAnsi(answer->name), except)) return false;
  line.field = ToAnsi(answer->name);
  line.width = std::clamp(answer->width, 0, 0xFFF);
  line.x = Position(answer->left);
  line.y = Position(answer->top);
  return true;
}

bool TCrefiche::AskFieldPicture(TElement& element) {
  // The first value is the frame's height, though captioned "Largeur".
  TCreImg dialog(this);
  dialog.Init(element.frame.height(), element.frame.width());
  Services().RunDialog(dialog);
  const std::optional<TCreImg::TAnswer> answer = dialog.Result();
  if (!answer || answer->first < 10 || answer->second < 10) return false;
  element.frame = QSize(Position(answer->second), Position(answer->first));
  return true;
}

bool TCrefiche::CanBind(const std::string& field, int except) const {
  for (size_t i = 0; i < Elements.size(); ++i)
    if (static_cast<int>(i) != except && Elements[i].line.kind == TLayoutLine::Edit &&
        Elements[i].line.field == field) {
      Services().Error(QString::fromStdString(TFormLayout::RepeatedName(field)));
      return false;
    }
  return true;
}

bool TCrefiche::ChoosePicture(TLayoutLine& line) {
  TFileDialogRequest request;
  request.kind = TFileDialogKind::Picture;
  request.filters = TPictureLoader::Filters();
  const std::optional<TFileChoice> choice = Services().FileDialog(request);
  if (!choice) return false;
  QImage image;
  QString message;
  if (!TPictureLoader::Load(choice->path, image, message)) {
    Services().Error(message);
    return false;
  }
  // What the picture leaves uncovered (transparent parts) is written white.
  const int w = std::min(image.width(), kMaxPictureSide);
  const int h = std::min(image.height(), kMaxPictureSide);
  QImage canvas(w, h, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  {
    QPainter painter(&canvas);
    painter.drawImage(0, 0, image);
  }
  line.kind = TLayoutLine::Image;
  line.embedded = true;
  line.width = w;
  line.height = h;
  line.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  size_t k = 0;
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y)
      line.pixels[k++] = TColorCode::FromColor(QColor(canvas.pixel(x, y)));
  return true;
}

// --- Adding elements ---

void TCrefiche::SpeedButton2Click() {
  TElement element;
  element.line.kind = TLayoutLine::Label;
  element.line.x = kProposedX;
  element.line.y = height() / 2;
  if (!AskLabel(element.line, true)) return;
  element.ownMenu = true;
  AddElement(std::move(element));
}

void TCrefiche::SpeedButton3Click() {
  TElement element;
  if (!ChoosePicture(element.line)) return;
  // The default frame is centred, then takes the picture's size.
  element.line.x = Position((width() - TFormControls::kFieldPictureSize) / 2);
  element.line.y = Position((height() - TFormControls::kFieldPictureSize) / 2);
  element.ownMenu = true;
  AddElement(std::move(element));
}

void TCrefiche::SpeedButton4Click() {
  TElement element;
  element.line.kind = TLayoutLine::Shape;
  element.line.fill = '1';
  element.line.width = 400;
  element.line.height = 1;
  if (AskLine(element.line)) AddCentred(std::move(element));
}

void TCrefiche::SpeedButton5Click() {
  TElement element;
  element.line.kind = TLayoutLine::Shape;
  element.line.fill = '2';
  element.line.width = 300;
  element.line.height = 100;
  if (AskRectangle(element)) AddCentred(std::move(element));
}

void TCrefiche::SpeedButton6Click() {
  if (FieldElementCount >= kMaxFieldElements) {
    Services().Message(QStringLiteral("Vous avez déjà 32 champs"));
    return;
  }
  // The field proposed is the one after the count of field elements, or the
  // last field once the count reaches the number of fields.
  ++FieldElementCount;
  const int fields = static_cast<int>(FieldNames.size());
  if (FieldElementCount >= fields) FieldElementCount = fields - 1;
  if (FieldElementCount < 0) {
    Services().Error(QStringLiteral("Index de liste hors limites (%1)").arg(FieldElementCount));
    return;
  }
  TElement element;
  element.line.kind = TLayoutLine::Edit;
  element.line.field = FieldNames[static_cast<size_t>(FieldElementCount)];
  element.line.width = 160;
  element.line.x = kProposedX;
  element.line.y = height() / 2;
  if (!AskTextField(element.line, -1)) return;
  surfaceMenu_ = true;
  AddElement(std::move(element));
}

void TCrefiche::SpeedButton7Click() {
  if (FieldElementCount >= kMaxFieldElements) {
    Services().Message(QStringLiteral("Vous avez déjà 32 champs"));
    return;
  }
  ++FieldElementCount;
  TElement element;
  element.line.kind = TLayoutLine::Image;
  element.frame = QSize(100, 100);
  if (!AskFieldPicture(element)) return;
  AddCentred(std::move(element));
  Elements.back().control->setObjectName(FieldPictureName(FieldElementCount));
}

// --- Modifying, deleting, clearing ---

void TCrefiche::SpeedButton9Click() {
  if (SelectedIndex < 0 || SelectedIndex >= static_cast<int>(Elements.size())) return;
  TElement& element = Elements[static_cast<size_t>(SelectedIndex)];
  TLayoutLine& line = element.line;
  bool changed = false;
  switch (line.kind) {
    case TLayoutLine::Label:
      changed = AskLabel(line, false);
      break;
    case TLayoutLine::Shape:
      changed = line.IsFilled() ? AskLine(line) : AskRectangle(element);
      break;
    case TLayoutLine::Edit:
      changed = AskTextField(line, SelectedIndex);
      break;
    case TLayoutLine::Image:
      if (!line.embedded) {
        changed = AskFieldPicture(element);
      } else {
        TLayoutLine picture;
        changed = ChoosePicture(picture);
        if (changed) {
          line.width = picture.width;
          line.height = picture.height;
          line.pixels = std::move(picture.pixels);
        }
      }
      break;
    case TLayoutLine::Other:
      break;
  }
  if (changed) Rebuild(element);
}

void TCrefiche::Supprimer1Click() {
  if (SelectedIndex < 0 || SelectedIndex >= static_cast<int>(Elements.size())) return;
  delete Elements[static_cast<size_t>(SelectedIndex)].control;
  Elements.erase(Elements.begin() + SelectedIndex);
  SelectedIndex = -1;
  Surface->update();
}

void TCrefiche::SpeedButton8Click() {
  if (!Lines().empty() &&
      !Services().Confirm(QStringLiteral("Effacer tous les éléments du formulaire ?")))
    return;
  Clear();
  FieldElementCount = 0;
}

void TCrefiche::SpeedButton1Click() {
  const std::optional<QColor> color = Services().ColorDialog(palette().color(backgroundRole()));
  if (!color) return;
  QPalette p = palette();
  p.setColor(backgroundRole(), *color);
  setPalette(p);
}

void TCrefiche::Button1Click() {
  reject();
}

void TCrefiche::Button2Click() {
  accept();
}

void TCrefiche::reject() {
  // "Annuler", Escape and the close box all come here.
  if (Changed() &&
      !Services().Confirm(QStringLiteral("Abandonner les modifications du formulaire ?")))
    return;
  QDialog::reject();
}

// --- Mouse and painting ---

int TCrefiche::ElementAt(QPoint pos) const {
  for (int i = static_cast<int>(Elements.size()) - 1; i >= 0; --i) {
    const QWidget* control = Elements[static_cast<size_t>(i)].control;
    if (control && control->geometry().contains(pos)) return i;
  }
  return -1;
}

void TCrefiche::ElementClick(int index) {
  // A line of no known kind has nothing to select.
  const bool shown = index >= 0 && index < static_cast<int>(Elements.size()) &&
                     Elements[static_cast<size_t>(index)].control;
  SelectedIndex = shown ? index : -1;
  Surface->update();
}

bool TCrefiche::MenuAt(QPoint pos) const {
  const int index = ElementAt(pos);
  return surfaceMenu_ || (index >= 0 && Elements[static_cast<size_t>(index)].ownMenu);
}

void TCrefiche::CurseurSel(int x, int y) {
  if (SelectedIndex < 0) return;
  const QWidget* selected = Elements[static_cast<size_t>(SelectedIndex)].control;
  const int w = selected->width(), h = selected->height();
  Pointer = QPoint(x, y);
  // Later tests win: the corners, then the middle of the left side.
  Zone = 0;
  if (x < 5 && y < 5) Zone = 1;
  if (x > w - 5 && y < 5) Zone = 2;
  if (x < 5 && y > h - 5) Zone = 3;
  if (x > w - 5 && y > h - 5) Zone = 4;
  if (x < 5 && h / 2 - 5 < y && y < h / 2 + 5) Zone = 5;
  static const Qt::CursorShape kShapes[] = {Qt::CrossCursor,     Qt::SizeFDiagCursor,
                                            Qt::SizeBDiagCursor, Qt::SizeBDiagCursor,
                                            Qt::SizeFDiagCursor, Qt::SizeHorCursor};
  windowCursor_ = QCursor(kShapes[Zone]);
  setCursor(windowCursor_);
  StaticText1->setText(QStringLiteral("%1  %2  %3").arg(Zone).arg(x).arg(y));
  StaticText1->adjustSize();
}

void TCrefiche::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) ElementClick(ElementAt(event->pos()));
  QDialog::mousePressEvent(event);
}

void TCrefiche::mouseMoveEvent(QMouseEvent* event) {
  const int index = ElementAt(event->pos());
  if (index < 0) {
    setCursor(windowCursor_);
  } else if (SelectedIndex >= 0) {
    const QPoint at = event->pos() - Elements[static_cast<size_t>(index)].control->pos();
    CurseurSel(at.x(), at.y());
  } else {
    setCursor(Qt::CrossCursor);
  }
  QDialog::mouseMoveEvent(event);
}

void TCrefiche::contextMenuEvent(QContextMenuEvent* event) {
  if (MenuAt(event->pos())) PopupMenu1->popup(event->globalPos());
}

void TCrefiche::RectSel(QPainter& painter) const {
  if (SelectedIndex < 0) return;
  const QRect r = Elements[static_cast<size_t>(SelectedIndex)].control->geometry();
  const int left = r.x(), top = r.y(), right = r.x() + r.width(), bottom = r.y() + r.height();
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(left, top, r.width(), r.height());
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  const int midX = (left + right) / 2, midY = (top + bottom) / 2;
  for (const QPoint& p :
       {QPoint(left, top), QPoint(midX, top), QPoint(right, top), QPoint(left, midY),
        QPoint(right, midY), QPoint(left, bottom), QPoint(midX, bottom), QPoint(right, bottom)})
    painter.drawRect(p.x() - 2, p.y() - 2, 5, 5);
}

bool TCrefiche::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Surface && event->type() == QEvent::Paint) {
    QPainter painter(Surface);
    RectSel(painter);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TCrefiche::showEvent(QShowEvent* event) {
  setResult(QDialog::Rejected);
  SelectedIndex = -1;
  setFixedSize(size());
  QDialog::showEvent(event);
  // The keyboard starts on the form, not on a tool that Space would press.
  Surface->setFocus(Qt::OtherFocusReason);
}

void TCrefiche::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ToolBar->setGeometry(0, 0, width(), kToolBarHeight);
  Surface->setGeometry(rect());
  Button1->move(width() - 200, 4);
  Button2->move(width() - 120, 4);
}
