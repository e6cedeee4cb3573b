#include "TChild.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "AnsiCodec.h"
#include "FileNames.h"
#include "French.h"
#include "IServices.h"
#include "PrintEnvelopes.h"
#include "PrintGrid.h"
#include "TEnreg.h"
#include "THourglass.h"
#include "TOpenCommands.h"
#include "TRecoveryJournal.h"
#include "TStatistiques.h"
#include "TStringGrid.h"
#include "TStructurePrintout.h"
#include "TTableGridSource.h"

namespace {

QWidget* FillingPage(QWidget* content) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(content);
  return page;
}

QFont ArialPixels(int pixels) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  return font;
}

}  // namespace

TChild::TChild(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Database"));
  resize(589, 373);

  StringGrid1 = new TStringGrid;
  StringGrid1->SetSize(2, 2);
  StringGrid1->SetFixedCols(1);
  StringGrid1->SetFixedRows(1);
  StringGrid1->SetDefaultColWidth(192);
  StringGrid1->SetRowHeight(24);
  StringGrid1->setFont(ArialPixels(13));
  StringGrid1->SetEditable(true);
  gridSource_ = std::make_unique<TTableGridSource>(Table(), *StringGrid1);
  StringGrid1->SetSource(gridSource_.get());

  StringGrid2 = new TStringGrid;
  StringGrid2->SetFixedRows(0);
  StringGrid2->SetFixedCols(1);
  StringGrid2->SetSize(2, 1);
  StringGrid2->SetDefaultColWidth(148);
  StringGrid2->setFrameShape(QFrame::NoFrame);
  StringGrid2->setFont(ArialPixels(17));
  StringGrid2->SetEditable(false);

  for (TStringGrid* grid : {StringGrid1, StringGrid2}) {
    grid->SetKeyDownHandler(
        [this](int key, Qt::KeyboardModifiers modifiers) { return FormKeyDown(key, modifiers); });
    grid->SetKeyPressHandler([this](QChar c) { StringGrid1KeyPress(c); });
    grid->SetEditedHandler([this] { CellEdited(); });
  }
  StringGrid1->SetSelectCellHandler(
      [this](int col, int row) { return StringGrid1SelectCell(col, row); });

  PageControl1 = new QStackedWidget(this);
  TabSheet1 = FillingPage(StringGrid1);
  TabSheet2 = FillingPage(StringGrid2);
  TabSheet3 = new QWidget;
  // F1 in the form view opens the manual's page on forms, not on the window.
  TabSheet3->setProperty("helpPage", QStringLiteral("formulaires.html#vue"));
  PageControl1->addWidget(TabSheet1);
  PageControl1->addWidget(TabSheet2);
  PageControl1->addWidget(TabSheet3);
  PageControl1->setCurrentWidget(TabSheet1);
  FormPage = std::make_unique<TFormPage>(TabSheet3, doc_, *this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);

  StringGrid1->SetColWidth(0, 48);
  StringGrid1->SetCell(0, 0, QStringLiteral("Enr"));
  StringGrid2->SetColWidth(1, OuterWidth() - 168);

  TypingTimer = new QTimer(this);
  TypingTimer->setObjectName(QStringLiteral("TypingTimer"));
  TypingTimer->setSingleShot(true);
  connect(TypingTimer, &QTimer::timeout, this, &TChild::JournalTyped);
}

TChild::~TChild() {
  Raz();
  // The grid outlives the source it reads, which goes with the members.
  StringGrid1->SetSource(nullptr);
}

QString TChild::FileName() const {
  return FromEnginePath(doc_.FileName());
}

int TChild::OuterWidth() const {
  // Inside the multiple-document area the frame is the sub-window's.
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) return frame->width();
  return width();
}

// --- Filling ---

void TChild::Init(const QStringList& fields) {
  std::vector<std::string> entries;
  for (const QString& entry : fields) entries.push_back(ToAnsi(entry));
  doc_.Init(entries, ToAnsi(windowTitle()));
  InitGrilles();
}

bool TChild::OpenFile(const QString& name) {
  return TOpenCommands(doc_, *this).Open(name);
}

bool TChild::Recover(TJournalReader& journal) {
  return TOpenCommands(doc_, *this).Recover(journal);
}

void TChild::ShowLoaded(const QString& layoutFile) {
  const bool modified = doc_.Modified();
  InitGrilles();
  Remplit();
  doc_.SetModified(modified);
  if (doc_.LayoutDesigned())
    FormPage->CreMasque();
  else if (!layoutFile.isEmpty())
    ChargeMasque(layoutFile);
}

void TChild::ShowReadOnly() {
  setWindowTitle(windowTitle() + QStringLiteral(" (lecture seule)"));
}

// --- Views ---

void TChild::InitGrilles() {
  StringGrid1->SetColWidth(0, 48);
  StringGrid1->SetCell(0, 0, QStringLiteral("Enr"));
  StringGrid2->SetColWidth(1, OuterWidth() - 168);
  // Shrinking first empties the columns and rows beyond the second, as adding
  // them one by one after the fields would.
  StringGrid1->SetColCount(2);
  StringGrid2->SetRowCount(2);
  const int fields = Table().FieldCount();
  if (fields + 1 > 2) StringGrid1->SetColCount(fields + 1);
  if (fields > 2) StringGrid2->SetRowCount(fields);
  for (int i = 1; i <= fields; ++i) {
    const QString name = FromAnsi(Table().GetFieldName(i));
    StringGrid1->SetCell(i, 0, name);
    StringGrid2->SetCell(0, i - 1, name);
  }
  // The spare column and rows kept for a table of fewer than two fields name
  // no field.
  for (int c = fields + 1; c < StringGrid1->ColCount(); ++c) StringGrid1->SetCell(c, 0, QString());
  for (int r = fields; r < StringGrid2->RowCount(); ++r)
    for (int c = 0; c < 2; ++c) StringGrid2->SetCell(c, r, QString());
}

QString TChild::LitChamp(int i) {
  return FromAnsi(gridSource_->Display(Table().GetFieldValue(i), Table().GetFieldType(i) == "FLOAT",
                                       StringGrid1->ColWidth(i)));
}

void TChild::FillTableGrid() {
  gridSource_->Fill(doc_.SelectionMode() ? &doc_.Filter() : nullptr);
}

void TChild::Remplit() {
  FillTableGrid();
  Premier();
  StringGrid1->SetRow(1);
}

void TChild::LitEnr(int n) {
  Table().GoToRecord(n);
  const int row = StringGrid1->Row();
  for (int i = 1; i <= Table().FieldCount(); ++i) StringGrid1->SetCell(i, row, LitChamp(i));
}

void TChild::EcritEnr(int n) {
  // A number beyond the table names no record: the row must not go into
  // whichever record happens to be current.
  if (!RowEdited || n < 1 || !Table().GoToRecord(n)) return;
  const int row = StringGrid1->Row();
  // Only the cells typed into hold a text of their own: the others show the
  // record, which keeps its values exactly as stored (blanks included).
  for (int c = 1; c < StringGrid1->ColCount() && c <= Table().FieldCount(); ++c)
    if (StringGrid1->HasOwnText(c, row)) doc_.StoreTyped(c, StringGrid1->CellAnsi(c, row));
}

void TChild::LitFiche() {
  for (int i = 1; i <= Table().FieldCount(); ++i)
    StringGrid2->SetCell(1, i - 1, FromAnsi(Table().GetFieldValue(i)));
  RowEdited = false;
}

void TChild::EcritFiche() {
  if (!RowEdited) return;
  for (int i = 1; i <= Table().FieldCount(); ++i)
    doc_.StoreTyped(i, StringGrid2->CellAnsi(1, i - 1));
}

void TChild::LitOnglet() {
  if (GetOnglet() == TView::Table)
    Remplit();
  else
    ReRead();  // the column and form views
}

void TChild::EcritOnglet() {
  const TView view = GetOnglet();
  if (view == TView::Table) EcritEnr(RecNo());
  if (view == TView::Column) EcritFiche();
  if (view == TView::Form) EcritMasque();
}

void TChild::ReRead() {
  if (GetOnglet() == TView::Column) LitFiche();
  if (GetOnglet() == TView::Form) LitMasque();
}

int TChild::RecNo() const {
  return RowRecNo(StringGrid1->Row());
}

TView TChild::GetOnglet() const {
  QWidget* page = PageControl1->currentWidget();
  if (page == TabSheet1) return TView::Table;
  if (page == TabSheet2) return TView::Column;
  if (page == TabSheet3) return TView::Form;
  return TView::None;
}

void TChild::Vue(TView view) {
  if (view == TView::None) return;
  const TView old = GetOnglet();
  if (old == view)
    EcritOnglet();  // the view is read again below: what was typed must not be lost
  else if (old == TView::Table)
    TabSheet1Exit();
  else if (old == TView::Column)
    TabSheet2Exit();
  else if (old == TView::Form)
    TabSheet3Exit();
  switch (view) {
    case TView::Table:
      // A command in another view may have changed the table under the rows:
      // they are laid out again (what was typed in them was written back).
      if (old != TView::Table) {
        const int current = Table().RecNo();
        FillTableGrid();
        Table().GoToRecord(current);
      }
      PageControl1->setCurrentWidget(TabSheet1);
      StringGrid1->setFocus();
      break;
    case TView::Column:
      PageControl1->setCurrentWidget(TabSheet2);
      LitFiche();
      StringGrid2->setFocus();
      break;
    default:
      PageControl1->setCurrentWidget(TabSheet3);
      LitMasque();
      break;
  }
  emit ViewChanged(view);
}

void TChild::FocusView() {
  const TView view = GetOnglet();
  if (view == TView::Table || view == TView::Column)
    (view == TView::Table ? StringGrid1 : StringGrid2)->FocusCurrentCell();
  if (view == TView::Form && !TabSheet3->isAncestorOf(QApplication::focusWidget()) &&
      !FormPage->FieldControls.empty())
    FormPage->FieldControls.front()->setFocus();
}

void TChild::TabSheet1Exit() {
  EcritEnr(RecNo());
  Table().GoToRecord(RecNo());
}

void TChild::TabSheet2Exit() {
  EcritFiche();
}

void TChild::TabSheet3Exit() {
  EcritMasque();
}

void TChild::ModiFiche() {
  EcritOnglet();
  FormPage->ModiFiche();
}

void TChild::ShowInTableView(int field, const QString& text) {
  // In the row of the record the form shows: the grid's current row may show
  // another one.
  const int recNo = Table().RecNo();
  const int row = recNo <= Table().RecordCount() ? RowShowing(recNo) : 0;
  if (row > 0 && field > 0) StringGrid1->SetCell(field, row, text);
}

void TChild::ShowFileName() {
  setWindowTitle(QFileInfo(FileName()).fileName());
  emit FileNameChanged(FileName());
}

// --- Navigation ---

void TChild::Navigate(bool forward, bool toEnd) {
  EcritOnglet();
  if (GetOnglet() == TView::Table) {
    const int row = StringGrid1->Row();
    const int last = StringGrid1->RowCount() - 1;
    if (forward ? row < last : row > 1)
      StringGrid1->SetRow(toEnd ? (forward ? last : 1) : (forward ? row + 1 : row - 1));
    Table().GoToRecord(RecNo());
    return;
  }
  toEnd ? doc_.ToEnd(forward) : doc_.Step(forward);
  ReRead();
}

int TChild::RowShowing(int recNo) const {
  const QString text = QString::number(recNo);
  if (recNo >= 1 && recNo < StringGrid1->RowCount() && StringGrid1->Cell(0, recNo) == text)
    return recNo;
  for (int row = 1; row < StringGrid1->RowCount(); ++row)
    if (StringGrid1->Cell(0, row) == text) return row;
  return 0;
}

void TChild::Aller() {
  EcritOnglet();
  std::optional<int> chosen;
  {
    TEnreg dialog;
    dialog.Init(Table().RecNo());
    Services().RunDialog(dialog);
    chosen = dialog.Result();
  }
  const bool valid = Table().GoToRecord(chosen.value_or(0));
  LitOnglet();
  if (GetOnglet() == TView::Table && valid) {
    const int row = RowShowing(*chosen);
    if (row > 0) StringGrid1->SetRow(row);
    Table().GoToRecord(*chosen);
  }
}

void TChild::AffTout() {
  EcritOnglet();
  doc_.ShowAll();
  LitOnglet();
  ShowSelectionState();
}

void TChild::AffSel() {
  EcritOnglet();
  // The column and form views show the first selected record, not record 1.
  doc_.ShowSelection();
  LitOnglet();
  ShowSelectionState();
}

void TChild::ShowSelectionState() {
  const bool on = doc_.SelectionMode();
  settingCaption_ = true;
  setWindowTitle(on ? caption_ + QStringLiteral(" (filtre)") : caption_);
  settingCaption_ = false;
  if (on != selectionShown_) {
    selectionShown_ = on;
    emit SelectionModeChanged(on);
  }
}

void TChild::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // A caption given from outside is the name; the selection's ending follows it.
  if (event->type() == QEvent::WindowTitleChange && !settingCaption_) {
    caption_ = windowTitle();
    if (selectionShown_) ShowSelectionState();
  }
}

void TChild::Largeur() {
  if (GetOnglet() != TView::Table) return;
  EcritOnglet();
  for (int c = 1; c < StringGrid1->ColCount(); ++c)
    StringGrid1->SetColWidth(c, gridSource_->FittingWidth(c));
  Remplit();
}

// --- Editing commands ---

void TChild::Ajouter() {
  // The selection is left, but the rows it shows stay: the new record comes
  // after them.
  doc_.SetSelectionMode(false);
  ShowSelectionState();
  switch (GetOnglet()) {
    case TView::Table: {
      EcritEnr(RecNo());
      Memorise();
      // The spare row of an empty view shows no record: the new one takes it.
      const bool spareRow = StringGrid1->RowCount() == 2 && RowRecNo(1) == 0;
      const int added = doc_.AppendRecord();
      if (!spareRow) StringGrid1->SetRowCount(StringGrid1->RowCount() + 1);
      // Moving to the new row writes back the row left, which may move the
      // cursor; the new row then shows the record actually appended.
      Dernier();
      gridSource_->ShowLast(StringGrid1->Row(), added);
      Table().GoToRecord(added);
      break;
    }
    case TView::Column:
    case TView::Form:
      EcritOnglet();
      doc_.AppendRecord();
      Memorise();
      ReRead();
      break;
    case TView::None:
      break;
  }
}

void TChild::Supprimer() {
  if (!Services().Confirm(QStringLiteral("Supprimer l'enregistrement ?"))) return;
  if (GetOnglet() == TView::Table) {
    doc_.DeleteRecord(RecNo());
    Remplit();
  } else {
    doc_.DeleteCurrent();
    ReRead();
  }
}

void TChild::Copier() {
  EcritOnglet();
  // In the table view the record copied is the one of the row the user sees,
  // not whichever record the cursor last stopped on; a row without record
  // copies empty values.
  doc_.CopyRecord(GetOnglet() == TView::Table ? RecNo() : Table().RecNo());
}

void TChild::Coller() {
  // The table view pastes into the row shown (none on a row without record);
  // the other views into the record they show.
  const bool tableView = GetOnglet() == TView::Table;
  doc_.Paste(tableView ? RecNo() : Table().RecNo());
  if (!tableView)
    ReRead();
  else if (RecNo() >= 1)
    LitEnr(RecNo());
}

void TChild::Annuler() {
  if (!doc_.UndoAvailable()) return;
  THourglass hourglass;
  doc_.Annuler();
  InitGrilles();
  LitOnglet();
}

void TChild::Trie(bool ascending) {
  THourglass hourglass;
  EcritOnglet();
  // No field under the cursor (the form view) names no field: nothing sorts.
  if (const TStatus sorted = doc_.Sort(FieldUnderCursor(), ascending); !sorted)
    return Services().Warning(FailureMessage(QStringLiteral("trier la table"), sorted));
  if (GetOnglet() == TView::Table) Remplit();
  if (GetOnglet() == TView::Column) LitFiche();
}

void TChild::Statistiques() {
  EcritOnglet();
  TStatistiques::Run(doc_, FieldUnderCursor(), this);
}

void TChild::Doublons() {
  if (!Services().Confirm(QStringLiteral("Supprimer les doublons de la table ?"))) return;
  THourglass hourglass;
  EcritOnglet();
  if (const TStatus removed = doc_.RemoveDuplicates(); !removed)
    return Services().Warning(FailureMessage(QStringLiteral("supprimer les doublons"), removed));
  InitGrilles();
  LitOnglet();
}

void TChild::Convertir() {
  if (!Services().Confirm(QStringLiteral("Convertir les caractères de la table ?"))) return;
  THourglass hourglass;
  EcritOnglet();
  doc_.Convertir();
  LitOnglet();
}

// --- Fields and find: the grids' side ---

int TChild::FieldUnderCursor() const {
  switch (GetOnglet()) {
    case TView::Table:
      return StringGrid1->Col();
    case TView::Column:
      return StringGrid2->Row() + 1;
    default:
      return 0;
  }
}

void TChild::AjoutChamp() {
  FieldCommands().AjoutChamp(GetOnglet() == TView::Table ? StringGrid1->ColCount()
                                                         : StringGrid2->RowCount() + 1);
}

int TChild::RowRecNo(int row) const {
  const std::string text = StringGrid1->CellAnsi(0, row);
  if (text.empty() || text.size() > 9) return 0;
  int n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n;
}

bool TChild::FindRow(bool fromFirst, const std::function<bool(int recNo)>& matches) {
  // The rows are what the user sees, the selection's records in selection
  // mode: the search visits them in order. On the last row it starts there.
  const int rows = StringGrid1->RowCount();
  const int before = Table().RecNo();
  for (int row = fromFirst ? 1 : std::min(StringGrid1->Row() + 1, rows - 1); row < rows; ++row) {
    const int n = RowRecNo(row);
    if (n < 1 || !matches(n)) continue;
    // The row change snapshots and writes back the row left, which may
    // move the cursor: the record found is made current again.
    StringGrid1->SetRow(row);
    Table().GoToRecord(n);
    return true;
  }
  // Nothing found: the record shown stays the current one.
  Table().GoToRecord(RecNo() >= 1 ? RecNo() : before);
  return false;
}

// --- Printing ---

void TChild::ImpListe() {
  if (TPrintout::AskPrinter(FileName()))
    TPrintout::Tell(PrintGrid(*StringGrid1, FileName(), FileName(), StringGrid1->RowCount() - 1));
}

void TChild::ImpFiche() {
  if (TPrintout::AskPrinter(FileName()))
    TPrintout::Tell(PrintGrid(*StringGrid2, FileName(), FileName(), StringGrid2->RowCount() - 1));
}

void TChild::ImpStru() {
  if (TPrintout::AskPrinter(FileName()))
    TPrintout::Tell(TStructurePrintout(FileName(), TFieldCommands::FieldList(doc_, '\t')).Print());
}

void TChild::Apercu() {
  TPrintout::Tell(PreviewGrid(*StringGrid1, FileName(), FileName(), StringGrid1->RowCount() - 1));
}

void TChild::ImpEnv() {
  EcritOnglet();
  TPrintout::Tell(PrintEnvelopes(Table(), doc_.SelectionMode() ? &doc_.Filter() : nullptr, Envelope,
                                 FileName()));
}

// --- Closing and events ---

bool TChild::FormCloseQuery() {
  EcritOnglet();
  if (!doc_.Modified()) return true;
  const QString question = QStringLiteral("Enregistrer changements dans '") +
                           QFileInfo(FileName()).fileName() + QStringLiteral("'?");
  switch (Services().ConfirmCancel(question)) {
    case TAnswer::Yes:
      return Enregistrer();
    case TAnswer::No:
      return true;
    default:
      return false;
  }
}

bool TChild::StringGrid1SelectCell(int col, int row) {
  if (row != StringGrid1->Row()) {
    Memorise();
    EcritEnr(RecNo());
  }
  return true;
}

void TChild::StringGrid1KeyPress(QChar c) {
  if (c.unicode() >= 32) RowEdited = true;
  TextTyped();
}

void TChild::TextTyped() {
  TypingTimer->start(TRecoveryJournal::Settings().typedDelayMs);
}

std::vector<TTypedText> TChild::TypedTexts() const {
  std::vector<TTypedText> typed;
  const TQor2& table = Table();
  if (GetOnglet() == TView::Table) {
    const int recNo = RecNo();
    const int row = StringGrid1->Row();
    if (!RowEdited || recNo < 1 || recNo > table.RecordCount()) return typed;
    for (int c = 1; c < StringGrid1->ColCount() && c <= table.FieldCount(); ++c) {
      if (StringGrid1->HasOwnText(c, row))
        typed.push_back({recNo, c, StringGrid1->CellAnsi(c, row), false});
    }
  } else if (GetOnglet() == TView::Form && table.RecNo() >= 1) {
    for (auto& [name, text] : FormPage->TypedTexts()) {
      const int field = table.FieldIndex(name);
      if (field >= 1) typed.push_back({table.RecNo(), field, std::move(text), true});
    }
  }
  return typed;
}

void TChild::JournalTyped() {
  doc_.JournalTyped(TypedTexts());
}

bool TChild::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  const bool tableView = GetOnglet() == TView::Table;
  const bool ctrlOnly =
      (modifiers & Qt::ControlModifier) && !(modifiers & (Qt::ShiftModifier | Qt::AltModifier));
  switch (key) {
    case Qt::Key_PageDown:
      if (tableView) return false;
      Suivant();
      return true;
    case Qt::Key_PageUp:
      if (tableView) return false;
      Precedent();
      return true;
    case Qt::Key_Home:
      if (!ctrlOnly) return false;
      Premier();
      return true;
    case Qt::Key_End:
      if (!ctrlOnly) return false;
      Dernier();
      return true;
  }
  return false;
}

void TChild::keyPressEvent(QKeyEvent* event) {
  if (FormKeyDown(event->key(), event->modifiers())) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TChild::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  StringGrid2->SetColWidth(1, OuterWidth() - 168);
}

void TChild::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}
