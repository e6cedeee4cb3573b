#include "TChild.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "AnsiCodec.h"
#include "ConvertOemText.h"
#include "FileNames.h"
#include "French.h"
#include "IServices.h"
#include "PrintEnvelopes.h"
#include "PrintGrid.h"
#include "TEnreg.h"
#include "TFindDlg.h"
#include "THourglass.h"
#include "TImportExport.h"
#include "TInfos.h"
#include "TModif.h"
#include "TQueryCommands.h"
#include "TRenum.h"
#include "TReplaceDlg.h"
#include "TStringGrid.h"
#include "TStringGridModel.h"
#include "TStructurePrintout.h"
#include "TTableGridSource.h"
#include "TTextWidths.h"

namespace {

const char kFloat[] = "FLOAT";

// Blanks and control characters at both ends go, as the grids show values.
bool IsBlank(unsigned char c) {
  return c <= 32;
}

std::pair<const char*, size_t> TrimmedBytes(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsBlank(static_cast<unsigned char>(s[e - 1]))) --e;
  return {s.data() + b, e - b};
}

std::string TrimAnsi(std::string_view s) {
  const auto t = TrimmedBytes(s);
  return std::string(t.first, t.second);
}

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
  gridSource_ = std::make_unique<TTableGridSource>(Table, *StringGrid1);
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
  }
  StringGrid1->SetSelectCellHandler(
      [this](int col, int row) { return StringGrid1SelectCell(col, row); });

  PageControl1 = new QStackedWidget(this);
  TabSheet1 = FillingPage(StringGrid1);
  TabSheet2 = FillingPage(StringGrid2);
  TabSheet3 = new QWidget;
  PageControl1->addWidget(TabSheet1);
  PageControl1->addWidget(TabSheet2);
  PageControl1->addWidget(TabSheet3);
  PageControl1->setCurrentWidget(TabSheet1);
  FormPage = std::make_unique<TFormPage>(
      TabSheet3, Table, StringGrid1, Modified, FileName,
      [this](int key, Qt::KeyboardModifiers modifiers) { return FormKeyDown(key, modifiers); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);

  StringGrid1->SetColWidth(0, 48);
  StringGrid1->SetCell(0, 0, QStringLiteral("Enr"));
  StringGrid2->SetColWidth(1, OuterWidth() - 168);
}

TChild::~TChild() {
  Raz();
  // The grid outlives the source it reads, which goes with the members.
  StringGrid1->SetSource(nullptr);
}

int TChild::OuterWidth() const {
  // Inside the multiple-document area the frame is the sub-window's.
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) return frame->width();
  return width();
}

std::string TChild::EnginePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// --- Filling ---

void TChild::Init(const QStringList& fields) {
  std::vector<TFieldSource> structure;
  for (const QString& entry : fields) {
    const qsizetype blank = entry.indexOf(QLatin1Char(' '));
    const QString type = blank < 0 ? QString() : entry.mid(blank + 1, 255);
    structure.push_back({ToAnsi(blank < 0 ? entry : entry.left(blank)), ToAnsi(type), 0});
  }
  Table.Restructure(structure);
  InitGrilles();
}

bool TChild::OpenFile(const QString& name) {
  THourglass hourglass;
  if (!Table.LoadFromFile(EnginePath(name))) {
    Services().Warning(QStringLiteral("Impossible d'ouvrir '") + name + QStringLiteral("' : ") +
                       FailureText(Table.ErrorCause, Table.ErrorMessage));
    return false;
  }
  FileName = name;
  Table.First();
  InitGrilles();
  Remplit();
  Modified = false;
  ChargeMasque(name);
  return true;
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
  const int fields = Table.FieldCount();
  if (fields + 1 > 2) StringGrid1->SetColCount(fields + 1);
  if (fields > 2) StringGrid2->SetRowCount(fields);
  for (int i = 1; i <= fields; ++i) {
    const QString name = FromAnsi(Table.GetFieldName(i));
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
  return FromAnsi(gridSource_->Display(Table.GetFieldValue(i), Table.GetFieldType(i) == kFloat,
                                       StringGrid1->ColWidth(i)));
}

void TChild::FillTableGrid() {
  gridSource_->Fill(SelectionMode, FilterField, FilterOperator, FilterValue);
}

void TChild::Remplit() {
  FillTableGrid();
  Premier();
  StringGrid1->SetRow(1);
}

void TChild::LitEnr(int n) {
  Table.GoToRecord(n);
  const int row = StringGrid1->Row();
  for (int i = 1; i <= Table.FieldCount(); ++i) StringGrid1->SetCell(i, row, LitChamp(i));
}

void TChild::EcritEnr(int n) {
  if (!RowEdited || n < 1) return;
  // A number beyond the table names no record: the row must not go into
  // whichever record happens to be current.
  if (!Table.GoToRecord(n)) return;
  const int row = StringGrid1->Row();
  // Only the cells typed into hold a text of their own: the others show the
  // record, which keeps its values exactly as stored (blanks included).
  bool changed = false;
  for (int c = 1; c < StringGrid1->ColCount() && c <= Table.FieldCount(); ++c) {
    if (!StringGrid1->HasOwnText(c, row)) continue;
    const std::string text = TrimAnsi(StringGrid1->CellAnsi(c, row));
    if (text == TrimAnsi(Table.GetFieldValue(c))) continue;
    if (Table.SetFieldValue(c, text)) changed = true;
  }
  if (changed) Modified = true;
}

void TChild::LitFiche() {
  for (int i = 1; i <= Table.FieldCount(); ++i)
    StringGrid2->SetCell(1, i - 1, FromAnsi(Table.GetFieldValue(i)));
  RowEdited = false;
}

void TChild::EcritFiche() {
  if (!RowEdited) return;
  bool changed = false;
  for (int i = 1; i <= Table.FieldCount(); ++i) {
    const std::string text = TrimAnsi(StringGrid2->CellAnsi(1, i - 1));
    if (text == TrimAnsi(Table.GetFieldValue(i))) continue;
    if (Table.SetFieldValue(i, text)) changed = true;
  }
  if (changed) Modified = true;
}

void TChild::LitOnglet() {
  switch (GetOnglet()) {
    case 1:
      Remplit();
      break;
    case 2:
      LitFiche();
      break;
    case 3:
      LitMasque();
      break;
  }
}

void TChild::EcritOnglet() {
  switch (GetOnglet()) {
    case 1:
      EcritEnr(RecNo());
      break;
    case 2:
      EcritFiche();
      break;
    case 3:
      EcritMasque();
      break;
  }
}

int TChild::RecNo() const {
  const QString text = StringGrid1->Cell(0, StringGrid1->Row());
  if (text.isEmpty()) return 0;
  bool ok = false;
  const int n = text.toInt(&ok, 10);
  return ok ? n : 0;
}

int TChild::GetOnglet() const {
  QWidget* page = PageControl1->currentWidget();
  if (page == TabSheet1) return 1;
  if (page == TabSheet2) return 2;
  if (page == TabSheet3) return 3;
  return 0;
}

void TChild::Vue(int n) {
  if (n < 1 || n > 3) return;
  const int old = GetOnglet();
  if (old != n) {
    if (old == 1) TabSheet1Exit();
    if (old == 2) TabSheet2Exit();
    if (old == 3) TabSheet3Exit();
  } else {
    EcritOnglet();  // the view is read again below: what was typed must not be lost
  }
  switch (n) {
    case 1:
      // A command in another view may have changed the table under the rows:
      // they are laid out again (what was typed in them was written back).
      if (old != 1) {
        const int current = Table.RecNo();
        FillTableGrid();
        Table.GoToRecord(current);
      }
      PageControl1->setCurrentWidget(TabSheet1);
      StringGrid1->setFocus();
      break;
    case 2:
      PageControl1->setCurrentWidget(TabSheet2);
      LitFiche();
      StringGrid2->setFocus();
      break;
    case 3:
      PageControl1->setCurrentWidget(TabSheet3);
      LitMasque();
      break;
  }
  emit ViewChanged(n);
}

void TChild::FocusView() {
  const int view = GetOnglet();
  if (view == 1 || view == 2) (view == 1 ? StringGrid1 : StringGrid2)->FocusCurrentCell();
  if (view == 3 && !TabSheet3->isAncestorOf(QApplication::focusWidget()) &&
      !FormPage->FieldControls.empty())
    FormPage->FieldControls.front()->setFocus();
}

void TChild::TabSheet1Exit() {
  EcritEnr(RecNo());
  Table.GoToRecord(RecNo());
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

// --- Commands ---

namespace {

bool SameStructure(const TQor2& a, const TQor2& b) {
  return a.RecordCount() == b.RecordCount() && a.Names().Items() == b.Names().Items() &&
         a.Types().Items() == b.Types().Items();
}

}  // namespace

void TChild::Memorise() {
  // Most snapshots follow the write-back of one row. When the structure is the
  // same and only a few records differ, bring just those up to date: records
  // still shared with the table are skipped by a pointer compare, so such a
  // snapshot is a walk over two arrays. After a command that changed many
  // records, Assign shares them all again.
  // Cheaper still when the table kept the list of records written since the
  // last snapshot: a row change then costs nothing per record of the table.
  const size_t kFewRecords = 32;
  std::vector<size_t> differ;
  bool few = UndoAvailable && SameStructure(UndoTable, Table);
  std::vector<int> edited;
  if (few && Table.EditsSinceMark(edited)) {
    for (const int recNo : edited) differ.push_back(static_cast<size_t>(recNo) - 1);
  } else if (few) {
    const std::vector<TRecord>& now = Table.RecordList().Items();
    const std::vector<TRecord>& then = UndoTable.RecordList().Items();
    for (size_t k = 0; k < now.size() && few; ++k) {
      if (now[k] == then[k] || *now[k] == *then[k]) continue;
      differ.push_back(k);
      few = differ.size() <= kFewRecords;
    }
  }
  if (!few) {
    UndoTable.Assign(Table);
  } else {
    for (const size_t k : differ) {
      const int recNo = static_cast<int>(k) + 1;
      UndoTable.GoToRecord(recNo);
      for (int f = 1; f <= Table.FieldCount(); ++f)
        UndoTable.SetFieldValue(f, Table.GetCell(f, recNo));
    }
    UndoTable.Last();  // where Assign leaves it
  }
  Table.MarkEdits();
  UndoAvailable = true;
}

void TChild::ShowSaveError(const QString& name, const TQor2& failed) {
  Services().Warning(QStringLiteral("Impossible d'enregistrer '") + name + QStringLiteral("' : ") +
                     FailureText(failed.ErrorCause, failed.ErrorMessage));
}

bool TChild::Enregistrer() {
  // What the user typed belongs in the file.
  EcritOnglet();
  if (!Modified) return true;
  if (FileName.isEmpty() || IsReadOnlyFile(FileName)) {
    if (!SaveAs()) return false;
    Modified = false;
    return true;
  }
  // A document saved as a spreadsheet or as XML stays in that format.
  if (!WriteTable(FileName)) return false;
  if (!FormPage->SaveLayout(FileName)) return false;
  Modified = false;
  return true;
}

bool TChild::SaveAs() {
  return TImportExport(*this).SaveAs();
}

bool TChild::WriteTable(const QString& name) {
  if (Table.SaveToFile(EnginePath(name))) return true;
  ShowSaveError(name, Table);
  return false;
}

void TChild::SetFileName(const QString& name) {
  FileName = name;
  setWindowTitle(QFileInfo(FileName).fileName());
  emit FileNameChanged(FileName);
}

bool TChild::SauveStru(const QString& path) {
  return TImportExport(*this).SauveStru(path);
}

bool TChild::SauveXml(const QString& path) {
  return TImportExport(*this).SauveXml(path);
}

// --- Import and export ---

void TChild::Importer() {
  TImportExport(*this).Importer();
}

bool TChild::ImporTxt(const QString& path) {
  return TImportExport(*this).ImporTxt(path);
}

bool TChild::ImporCsv(const QString& path) {
  return TImportExport(*this).ImporCsv(path);
}

bool TChild::ImporDbf(const QString& path) {
  return TImportExport(*this).ImporDbf(path);
}

void TChild::Exporter() {
  TImportExport(*this).Exporter();
}

bool TChild::ExportCsv(const QString& path) {
  return TImportExport(*this).ExportCsv(path);
}

bool TChild::ExportTxt(const QString& path) {
  return TImportExport(*this).ExportTxt(path);
}

bool TChild::ExportXml(const QString& path) {
  return TImportExport(*this).ExportXml(path);
}

// --- Navigation ---

void TChild::Precedent() {
  Navigate(false, false);
}

void TChild::Suivant() {
  Navigate(true, false);
}

void TChild::Premier() {
  Navigate(false, true);
}

void TChild::Dernier() {
  Navigate(true, true);
}

void TChild::Navigate(bool forward, bool toEnd) {
  EcritOnglet();
  if (GetOnglet() == 1) {
    const int row = StringGrid1->Row();
    const int last = StringGrid1->RowCount() - 1;
    if (forward ? row < last : row > 1)
      StringGrid1->SetRow(toEnd ? (forward ? last : 1) : (forward ? row + 1 : row - 1));
    Table.GoToRecord(RecNo());
    return;
  }
  if (!SelectionMode) {
    if (toEnd)
      forward ? Table.Last() : Table.First();
    else
      forward ? Table.Next() : Table.Prior();
  } else if (toEnd) {
    // Searching that way until nothing more matches leaves the outermost
    // selected record current.
    Table.BeginSearch(forward);
    while (Table.FindNext(FilterField, FilterOperator, FilterValue)) {
    }
    Table.EndSearch();
  } else {
    // Step once, then search on from there; when nothing matches the shown
    // record stays current.
    const int start = Table.RecNo();
    Table.BeginSearch(forward);
    Table.GoToRecord(forward ? start + 1 : start - 1);
    if (!Table.FindNext(FilterField, FilterOperator, FilterValue)) Table.GoToRecord(start);
    Table.EndSearch();
  }
  ReRead();
}

void TChild::ReRead() {
  if (GetOnglet() == 2) LitFiche();
  if (GetOnglet() == 3) LitMasque();
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
  int chosen = 0;
  {
    TEnreg dialog;
    dialog.Init(Table.RecNo());
    if (Services().RunDialog(dialog) == QDialog::Accepted) chosen = dialog.Result();
  }
  const bool valid = Table.GoToRecord(chosen);
  LitOnglet();
  if (GetOnglet() == 1 && valid) {
    const int row = RowShowing(chosen);
    if (row > 0) StringGrid1->SetRow(row);
    Table.GoToRecord(chosen);
  }
}

void TChild::AffTout() {
  EcritOnglet();
  SelectionMode = false;
  Table.First();
  LitOnglet();
}

void TChild::AffSel() {
  EcritOnglet();
  SelectionMode = true;
  // The column and form views show the first selected record, not record 1.
  if (Table.First() && Table.BeginSearch(true)) {
    Table.FindNext(FilterField, FilterOperator, FilterValue);
    Table.EndSearch();
  }
  LitOnglet();
}

void TChild::Filtre() {
  EcritOnglet();
  if (TQueryCommands::Filtre(Table, FilterField, FilterOperator, FilterValue)) AffSel();
}

void TChild::Requete() {
  EcritOnglet();
  TQueryCommands::Requete(Table, this);
}

void TChild::Interrogation() {
  EcritOnglet();
  TQueryCommands::Interrogation(Table, this);
}

void TChild::Compte() {
  EcritOnglet();
  TQueryCommands::Compte(Table);
}

void TChild::Calculer() {
  EcritOnglet();
  TQueryCommands::Calculer(Table);
}

void TChild::Largeur() {
  if (GetOnglet() != 1) return;
  EcritOnglet();
  const TTextWidths& widths = TTextWidths::For(StringGrid1->font());
  std::vector<std::string> texts;
  for (int c = 1; c < StringGrid1->ColCount(); ++c) {
    texts.clear();
    // What the grid draws of each value: at most its first characters.
    for (int r = 1; r < StringGrid1->RowCount(); ++r)
      texts.push_back(gridSource_->Trimmed(c, r).substr(0, TStringGridModel::kShownLength));
    // Texts whose characters add up are measured by their sum; the others only
    // when kerning (a few pixels at most per character) could make them the
    // widest.
    int64_t w = 0;
    for (const std::string& text : texts)
      if (widths.Additive(text)) w = std::max(w, widths.Estimate64(text));
    for (const std::string& text : texts)
      if (!widths.Additive(text) &&
          widths.Estimate64(text) + 64 * (2 * static_cast<int64_t>(text.size()) + 2) >= w)
        w = std::max(w, widths.Width64(text));
    // Whole pixels that hold the text, and the cell's margins around it.
    const int pixels = static_cast<int>((w + 63) >> 6);
    const int whole = pixels + StringGrid1->CellMargins();
    StringGrid1->SetColWidth(c, pixels >= 64 ? whole : std::max(pixels + 20, whole));
  }
  Remplit();
}

// --- Editing commands ---

void TChild::Ajouter() {
  // The selection is left, but the rows it shows stay: the new record comes
  // after them.
  SelectionMode = false;
  switch (GetOnglet()) {
    case 1: {
      EcritEnr(RecNo());
      Memorise();
      // The spare row of an empty view shows no record: the new one takes it.
      const bool spareRow = StringGrid1->RowCount() == 2 && RowRecNo(1) == 0;
      Table.Append();
      const int added = Table.RecordCount();
      if (!spareRow) StringGrid1->SetRowCount(StringGrid1->RowCount() + 1);
      // Moving to the new row writes back the row left, which may move the
      // cursor; the new row then shows the record actually appended.
      Dernier();
      gridSource_->ShowLast(StringGrid1->Row(), added);
      Table.GoToRecord(added);
      break;
    }
    case 2:
      EcritFiche();
      Table.Append();
      Memorise();
      LitFiche();
      break;
    case 3:
      EcritMasque();
      Table.Append();
      Memorise();
      LitMasque();
      break;
  }
}

void TChild::Supprimer() {
  if (!Services().Confirm(QStringLiteral("Supprimer l'enregistrement ?"))) return;
  Memorise();
  switch (GetOnglet()) {
    case 1:
      Table.DeleteRecord(RecNo());
      Remplit();
      break;
    case 2:
      Table.DeleteCurrent();
      LitFiche();
      break;
    case 3:
      Table.DeleteCurrent();
      LitMasque();
      break;
  }
  Modified = true;
}

void TChild::Copier() {
  EcritOnglet();
  // In the table view the record copied is the one of the row the user sees,
  // not whichever record the cursor last stopped on; a row without record
  // copies empty values.
  const bool shown = GetOnglet() != 1 || Table.GoToRecord(RecNo());
  CopyBuffer.Clear();
  for (int i = 1; i <= Table.FieldCount(); ++i)
    CopyBuffer.Add(shown ? Table.GetFieldValue(i) : std::string());
}

void TChild::Coller() {
  Memorise();
  const int view = GetOnglet();
  // The table view pastes into the row shown (none on a row without record);
  // the other views into the record they show.
  bool target = true;
  if (view == 1) target = Table.GoToRecord(RecNo());
  bool changed = false;
  if (target && Table.RecNo() >= 1 && Table.RecNo() <= Table.RecordCount()) {
    for (int k = 1; k <= CopyBuffer.Count() && k <= Table.FieldCount(); ++k) {
      const std::string& value = CopyBuffer.Get(k - 1);
      if (Table.GetFieldValue(k) == value) continue;
      if (Table.SetFieldValue(k, value)) changed = true;
    }
  }
  switch (view) {
    case 1:
      if (RecNo() >= 1) LitEnr(RecNo());
      break;
    case 2:
      LitFiche();
      break;
    case 3:
      LitMasque();
      break;
  }
  // A pasted record must not be lost on closing without the question.
  if (changed) Modified = true;
}

void TChild::Annuler() {
  if (!UndoAvailable) return;
  THourglass hourglass;
  Table.Assign(UndoTable);
  InitGrilles();
  LitOnglet();
  Modified = true;
}

void TChild::TriAscendant() {
  Trie(true);
}

void TChild::TriDescendant() {
  Trie(false);
}

void TChild::Trie(bool ascending) {
  THourglass hourglass;
  EcritOnglet();
  Memorise();
  const int view = GetOnglet();
  // No field under the cursor (the form view) names no field: nothing sorts.
  Table.SortByField(Table.GetFieldName(FieldUnderCursor()), ascending);
  if (view == 1) Remplit();
  if (view == 2) LitFiche();
  Modified = true;
}

void TChild::Doublons() {
  if (!Services().Confirm(QStringLiteral("Supprimer les doublons de la table ?"))) return;
  THourglass hourglass;
  EcritOnglet();
  Memorise();
  Table.RemoveDuplicates();
  InitGrilles();
  LitOnglet();
  Modified = true;
}

void TChild::Convertir() {
  if (!Services().Confirm(QStringLiteral("Convertir les caractères de la table ?"))) return;
  THourglass hourglass;
  EcritOnglet();
  Memorise();
  const int fields = Table.FieldCount();
  Table.First();
  while (!Table.Eof) {
    for (int i = 1; i <= fields; ++i) {
      const std::string& value = Table.GetFieldValue(i);
      std::string converted = ConvertOemText(value);
      // An unchanged record stays shared with the undo snapshot.
      if (converted != value) Table.SetFieldValue(i, converted);
    }
    Table.Next();
  }
  LitOnglet();
  Modified = true;
}

// --- Field and structure commands ---

int TChild::FieldUnderCursor() const {
  switch (GetOnglet()) {
    case 1:
      return StringGrid1->Col();
    case 2:
      return StringGrid2->Row() + 1;
  }
  return 0;
}

QStringList TChild::FieldNameList() const {
  QStringList names;
  for (int i = 1; i <= Table.FieldCount(); ++i) names << FromAnsi(Table.GetFieldName(i));
  return names;
}

QStringList TChild::FieldList(QChar separator) const {
  QStringList lines;
  for (int i = 1; i <= Table.FieldCount(); ++i)
    lines << FromAnsi(Table.GetFieldName(i)) + separator + FromAnsi(Table.GetFieldType(i));
  return lines;
}

void TChild::AjoutChamp() {
  EcritOnglet();
  Memorise();
  const int view = GetOnglet();
  if (view == 3) {
    Modified = true;
    return;
  }
  if (view != 1 && view != 2) return;
  const int number = view == 1 ? StringGrid1->ColCount() : StringGrid2->RowCount() + 1;
  const std::optional<QString> answer =
      Services().InputBox(QStringLiteral("Ajouter un champ"), QStringLiteral("Nom du champ"),
                          QStringLiteral("Champ") + QString::number(number));
  // Cancelled (no answer) or emptied: no field.
  if (!answer || answer->isEmpty()) return;
  std::string name = ToAnsi(*answer);
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  Table.AddField(name);
  InitGrilles();
  LitOnglet();
  Modified = true;
}

void TChild::SupChamp() {
  if (!Services().Confirm(QStringLiteral("Supprimer le champ courant ?"))) return;
  EcritOnglet();
  Memorise();
  const int view = GetOnglet();
  if (view == 1 || view == 2) {
    Table.DeleteField(Table.GetFieldName(FieldUnderCursor()));
    InitGrilles();
    LitOnglet();
  }
  Modified = true;
}

void TChild::Renommer() {
  EcritOnglet();
  const int k = FieldUnderCursor();
  QString name;
  QString type;
  {
    TRenum dialog;
    dialog.Init(FromAnsi(Table.GetFieldName(k)), FromAnsi(Table.GetFieldType(k)));
    if (Services().RunDialog(dialog) == QDialog::Accepted) name = dialog.Result(type);
  }
  if (name.isEmpty()) return;
  const std::string newName = ToAnsi(name);
  // Two fields of one name could no longer be told apart: values are found by
  // name, and neither a saved file nor the undo snapshot could keep both.
  const int other = Table.FieldIndex(newName);
  if (k >= 1 && other != 0 && other != k) return;
  Memorise();
  Table.SetFieldName(k, newName);
  Table.SetFieldType(k, ToAnsi(type));
  InitGrilles();
  LitOnglet();
  Modified = true;
}

void TChild::Proprietes() {
  bool duplicates;
  {
    THourglass hourglass;
    duplicates = Table.HasDuplicates();
  }
  TInfos dialog;
  dialog.Init(FileName, FieldList(QLatin1Char('\t')), duplicates, Table.RecordCount(),
              Table.FieldCount());
  Services().RunDialog(dialog);
}

void TChild::ModiStru() {
  // What was typed belongs to the table being rebuilt.
  EcritOnglet();
  std::vector<TModif::TEntry> entries;
  {
    TModif dialog;
    dialog.Init(FieldList(QLatin1Char('\t')));
    if (Services().RunDialog(dialog) == QDialog::Accepted) entries = dialog.Entries();
  }
  if (entries.empty()) return;

  THourglass hourglass;
  Memorise();
  std::vector<TFieldSource> structure;
  for (const TModif::TEntry& entry : entries)
    structure.push_back({ToAnsi(entry.name), ToAnsi(entry.type), entry.origin});
  Table.Restructure(structure);
  InitGrilles();
  LitOnglet();
  Modified = true;
}

// --- Find and replace ---

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

void TChild::SetSearchValue(const QString& text) {
  SearchValue = ToAnsi(text);
  SearchOperator = WholeWord ? "=" : "LIKE";
  // A prefix search: the values that begin with the text.
  if (SearchOperator == "LIKE") SearchValue += '*';
}

bool TChild::FindStep(bool fromFirst) {
  const int view = GetOnglet();
  if (view == 1) {
    EcritEnr(RecNo());
    // The rows are what the user sees, the selection's records in selection
    // mode: the search visits them in order. On the last row it starts there.
    const int rows = StringGrid1->RowCount();
    const int before = Table.RecNo();
    for (int row = fromFirst ? 1 : std::min(StringGrid1->Row() + 1, rows - 1); row < rows; ++row) {
      const int n = RowRecNo(row);
      if (n < 1 || !Table.GoToRecord(n) ||
          !Table.MatchText(SearchField, SearchOperator, SearchValue))
        continue;
      // The row change snapshots and writes back the row left, which may
      // move the cursor: the record found is made current again.
      StringGrid1->SetRow(row);
      Table.GoToRecord(n);
      return true;
    }
    // Nothing found: the record shown stays the current one.
    Table.GoToRecord(RecNo() >= 1 ? RecNo() : before);
    return false;
  }
  if (view != 2 && view != 3) return false;
  if (view == 2)
    EcritFiche();
  else
    EcritMasque();
  const int shown = Table.RecNo();
  const int start = fromFirst ? 1 : std::min(shown + 1, Table.RecordCount());
  int found = 0;
  if (start >= 1 && Table.BeginSearch(true)) {
    Table.GoToRecord(start);
    while (Table.FindNext(SearchField, SearchOperator, SearchValue)) {
      // In selection mode only the records the view can show.
      if (!SelectionMode || Table.MatchText(FilterField, FilterOperator, FilterValue)) {
        found = Table.RecNo();
        break;
      }
    }
    Table.EndSearch();
  }
  if (!found) {
    Table.GoToRecord(shown);
    return false;
  }
  Table.GoToRecord(found);
  ReRead();
  return true;
}

void TChild::Rechercher() {
  const QStringList names = FieldNameList();
  const int view = GetOnglet();
  if (view == 1 || view == 2) SearchField = Table.GetFieldName(FieldUnderCursor());
  QString field = FromAnsi(SearchField);
  bool wholeWord = WholeWord;
  QString text;
  {
    TFindDlg dialog;
    dialog.Init(FromAnsi(SearchValue), field, names, WholeWord);
    if (Services().RunDialog(dialog) == QDialog::Accepted) text = dialog.Result(field, wholeWord);
  }
  SearchField = ToAnsi(field);
  WholeWord = wholeWord;
  if (text.isEmpty()) return;
  SetSearchValue(text);
  Replacing = false;
  FindStep(true);
}

void TChild::Continuer() {
  if (Replacing) {
    Continuer2();
    return;
  }
  FindStep(false);
}

void TChild::Remplacer() {
  const QStringList names = FieldNameList();
  const int view = GetOnglet();
  if (view == 1 || view == 2) SearchField = Table.GetFieldName(FieldUnderCursor());
  QString replacement = FromAnsi(ReplaceValue);
  QString field = FromAnsi(SearchField);
  bool replaceAll = ReplaceAllOption;
  bool wholeWord = WholeWord;
  QString text;
  {
    TReplaceDlg dialog;
    dialog.Init(FromAnsi(SearchValue), replacement, names, ReplaceAllOption, WholeWord, field);
    if (Services().RunDialog(dialog) == QDialog::Accepted)
      text = dialog.Result(replacement, replaceAll, wholeWord, field);
  }
  ReplaceValue = ToAnsi(replacement);
  ReplaceAllOption = replaceAll;
  WholeWord = wholeWord;
  SearchField = ToAnsi(field);
  if (text.isEmpty()) return;
  SetSearchValue(text);
  Replacing = true;
  if (ReplaceAllOption) {
    // What was typed must not be lost under the replaced values.
    EcritOnglet();
    ReplaceAll();
  } else if (FindStep(true)) {
    Replace();
  }
}

void TChild::Continuer2() {
  if (FindStep(false)) Replace();
}

void TChild::Replace() {
  if (Services().ConfirmCancel(QStringLiteral("Remplacer ?")) != TAnswer::Yes) return;
  Table.SetValueByName(SearchField, ReplaceValue);
  switch (GetOnglet()) {
    case 1:
      LitEnr(RecNo());
      break;
    case 2:
      LitFiche();
      break;
    case 3:
      LitMasque();
      break;
  }
  Modified = true;
}

void TChild::ReplaceAll() {
  {
    THourglass hourglass;
    const int field = Table.FieldIndex(SearchField);
    Table.First();
    if (Table.BeginSearch(true)) {
      while (Table.FindNext(SearchField, SearchOperator, SearchValue))
        if (Table.GetFieldValue(field) != ReplaceValue) Table.SetFieldValue(field, ReplaceValue);
      Table.EndSearch();
    }
    LitOnglet();
  }
  Modified = true;
}

// --- Printing ---

void TChild::ImpListe() {
  if (TPrintout::AskPrinter(FileName))
    TPrintout::Tell(PrintGrid(*StringGrid1, FileName, FileName, StringGrid1->RowCount() - 1));
}

void TChild::ImpFiche() {
  if (TPrintout::AskPrinter(FileName))
    TPrintout::Tell(PrintGrid(*StringGrid2, FileName, FileName, StringGrid2->RowCount() - 1));
}

void TChild::ImpStru() {
  if (TPrintout::AskPrinter(FileName))
    TPrintout::Tell(TStructurePrintout(FileName, FieldList('\t')).Print());
}

void TChild::Apercu() {
  TPrintout::Tell(PreviewGrid(*StringGrid1, FileName, FileName, StringGrid1->RowCount() - 1));
}

void TChild::ImpEnv() {
  EcritOnglet();
  const TRecordFilter filter{FilterField, FilterOperator, FilterValue};
  TPrintout::Tell(PrintEnvelopes(Table, SelectionMode ? &filter : nullptr, Envelope, FileName));
}

// --- Closing and events ---

bool TChild::FormCloseQuery() {
  EcritOnglet();
  if (!Modified) return true;
  const QString question = QStringLiteral("Enregistrer changements dans '") +
                           QFileInfo(FileName).fileName() + QStringLiteral("'?");
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
}

bool TChild::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  const bool tableView = GetOnglet() == 1;
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

bool IsReadOnlyFile(const QString& fileName) {
  if (fileName.isEmpty()) return false;
  const QFileInfo info(fileName);
  if (!info.exists()) return false;
  // Without any write permission bit the file is read-only for everybody,
  // the super-user included.
  const QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  const bool readOnly = !(info.permissions() & writeBits) || !info.isWritable();
  if (readOnly) Services().Warning(QStringLiteral("Fichier en lecture seule"));
  return readOnly;
}
