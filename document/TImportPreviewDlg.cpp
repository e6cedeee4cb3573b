#include "TImportPreviewDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "AnsiCodec.h"
#include "TDialogParts.h"
#include "TStringGrid.h"

namespace {

const struct {
  char separator;
  const char* label;
} kSeparators[] = {
    {';', "Point-virgule ( ; )"},
    {',', "Virgule ( , )"},
    {'\t', "Tabulation"},
    {'|', "Barre verticale ( | )"},
};

const struct {
  TTextEncoding encoding;
  const char* label;
} kEncodings[] = {
    {TTextEncoding::Utf8, "UTF-8"},
    {TTextEncoding::Utf16LE, "UTF-16 LE"},
    {TTextEncoding::Utf16BE, "UTF-16 BE"},
    {TTextEncoding::Windows1252, "Windows-1252"},
};

const QString kFound = QStringLiteral(" (détecté)");

// "1 valeur", "2 valeurs": the count and its noun, plural from 2.
QString Count(int64_t n, const char* one, const char* many) {
  return QString::number(n) + ' ' + QString::fromUtf8(n > 1 ? many : one);
}

// The item whose data is `value`, its label marked as found when `found`;
// the other items' labels as they are.
void Select(QComboBox* box, const QVariant& value, bool found) {
  const QSignalBlocker block(box);
  for (int i = 0; i < box->count(); ++i) {
    QString label = box->itemText(i);
    if (label.endsWith(kFound)) label.chop(kFound.size());
    const bool chosen = box->itemData(i) == value;
    box->setItemText(i, chosen && found ? label + kFound : label);
    if (chosen) box->setCurrentIndex(i);
  }
}

}  // namespace

TImportPreviewDlg::TImportPreviewDlg(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Importer"));

  FileLabel = new QLabel(this);
  SeparatorLabel = new QLabel(QStringLiteral("Séparateur"), this);
  SeparatorBox = new QComboBox(this);
  SeparatorBox->setObjectName(QStringLiteral("SeparatorBox"));
  for (const auto& s : kSeparators)
    SeparatorBox->addItem(QString::fromUtf8(s.label), QVariant(static_cast<int>(s.separator)));
  SeparatorLabel->setBuddy(SeparatorBox);
  SeparatorBox->setAccessibleName(SeparatorLabel->text());

  EncodingLabel = new QLabel(QStringLiteral("Encodage"), this);
  EncodingBox = new QComboBox(this);
  EncodingBox->setObjectName(QStringLiteral("EncodingBox"));
  for (const auto& e : kEncodings)
    EncodingBox->addItem(QString::fromUtf8(e.label), QVariant(static_cast<int>(e.encoding)));
  EncodingLabel->setBuddy(EncodingBox);
  EncodingBox->setAccessibleName(EncodingLabel->text());

  HeaderBox = new QCheckBox(QStringLiteral("La première ligne donne les noms des champs"), this);
  HeaderBox->setObjectName(QStringLiteral("HeaderBox"));
  HeaderBox->setAccessibleName(HeaderBox->text());

  Grid = new TStringGrid(this);
  Grid->setObjectName(QStringLiteral("Grid"));
  Grid->setAccessibleName(QStringLiteral("Aperçu des enregistrements importés"));
  Grid->SetFixedRows(1);
  Grid->SetFixedCols(1);
  Grid->setMinimumSize(640, 360);

  Notes = new QLabel(this);
  Notes->setWordWrap(true);
  QHBoxLayout* buttons = TDialogParts::OkCancelRow(this, Button1, Button2);
  Button2->setText(QStringLiteral("Importer"));
  Button1->setAccessibleName(Button1->text());
  Button2->setAccessibleName(Button2->text());

  auto* choices = new QGridLayout;
  choices->addWidget(SeparatorLabel, 0, 0);
  choices->addWidget(SeparatorBox, 1, 0);
  choices->addWidget(EncodingLabel, 0, 1);
  choices->addWidget(EncodingBox, 1, 1);
  choices->addWidget(HeaderBox, 1, 2);
  choices->setColumnStretch(3, 1);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addWidget(FileLabel);
  layout->addLayout(choices);
  layout->addWidget(Grid);
  layout->addWidget(Notes);
  layout->addLayout(buttons);

  connect(SeparatorBox, &QComboBox::currentIndexChanged, this,
          &TImportPreviewDlg::SeparatorBoxChange);
  connect(EncodingBox, &QComboBox::currentIndexChanged, this,
          &TImportPreviewDlg::EncodingBoxChange);
  connect(HeaderBox, &QCheckBox::clicked, this, &TImportPreviewDlg::HeaderBoxClick);
  connect(Button1, &QPushButton::clicked, this, &TImportPreviewDlg::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TImportPreviewDlg::Button2Click);
}

TStatus TImportPreviewDlg::Init(const QString& path, const std::vector<std::string>& fieldNames) {
  path_ = QFile::encodeName(path).toStdString();
  fieldNames_ = fieldNames;
  separatorChosen_ = encodingChosen_ = headerChosen_ = false;
  setResult(QDialog::Rejected);
  FileLabel->setText(QStringLiteral("Fichier : ") + QFileInfo(path).fileName());
  return Refresh();
}

TTextOptions TImportPreviewDlg::Choices() const {
  TTextOptions o;
  if (separatorChosen_) o.separator = static_cast<char>(SeparatorBox->currentData().toInt());
  if (encodingChosen_) o.encoding = static_cast<TTextEncoding>(EncodingBox->currentData().toInt());
  if (headerChosen_) o.header = HeaderBox->isChecked() ? TTextHeader::Yes : TTextHeader::No;
  return o;
}

std::optional<TTextOptions> TImportPreviewDlg::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  return Choices();
}

TStatus TImportPreviewDlg::Refresh() {
  const TStatus s = PreviewTextImport(path_, Choices(), fieldNames_, kRecords, preview_);
  ShowChoices();
  FillGrid();
  Notes->setText(s.ok() ? NotesText()
                        : QStringLiteral("Impossible de lire le fichier : ") +
                              QString::fromUtf8(FailureReason(s.Cause())));
  Button2->setEnabled(s.ok());
  return s;
}

void TImportPreviewDlg::ShowChoices() {
  const TTextDialect& d = preview_.report.dialect;
  Select(SeparatorBox, QVariant(static_cast<int>(d.separator)), d.separatorDetected);
  // A start without accents reads alike in all: it is shown as UTF-8.
  const TTextEncoding shown = d.encoding == TTextEncoding::Ascii ? TTextEncoding::Utf8 : d.encoding;
  Select(EncodingBox, QVariant(static_cast<int>(shown)), d.encodingDetected);
  const QSignalBlocker block(HeaderBox);
  HeaderBox->setChecked(d.header);
}

void TImportPreviewDlg::FillGrid() {
  const int fields = static_cast<int>(fieldNames_.size());
  const int rows = static_cast<int>(preview_.records.size());
  Grid->BeginUpdate();
  Grid->SetSize(fields + 1, rows + 1);
  for (int f = 0; f < fields; ++f) Grid->SetCellAnsi(f + 1, 0, fieldNames_[static_cast<size_t>(f)]);
  for (int r = 0; r < rows; ++r) {
    Grid->SetCell(0, r + 1, QString::number(r + 1));
    const std::vector<std::string>& record = preview_.records[static_cast<size_t>(r)];
    for (int f = 0; f < fields; ++f)
      Grid->SetCellAnsi(f + 1, r + 1, record[static_cast<size_t>(f)]);
  }
  // Rows left from a longer preview are emptied.
  if (rows == 0)
    for (int f = 0; f <= fields; ++f) Grid->SetCell(f, 1, QString());
  Grid->EndUpdate();
  // The first columns as wide as their texts, within bounds (only the start of
  // a long text is measured).
  constexpr int kFitted = 100, kWidest = 240, kMeasured = 60;
  for (int c = 1; c <= std::min(fields, kFitted); ++c) {
    int width = Grid->DefaultColWidth();
    for (int r = 0; r <= rows; ++r)
      width =
          std::max(width, Grid->TextWidth(Grid->Cell(c, r).left(kMeasured)) + Grid->CellMargins());
    Grid->SetColWidth(c, std::min(width, kWidest));
  }
}

QString TImportPreviewDlg::NotesText() const {
  const TTextReport& r = preview_.report;
  QStringList notes;
  if (r.records == 0)
    notes << QStringLiteral("Le fichier ne contient aucun enregistrement à importer.");
  else if (r.byName)
    notes << QStringLiteral("Les valeurs iront aux champs que nomme la première ligne.");
  else
    notes << QStringLiteral("Les valeurs iront aux champs dans l'ordre des colonnes.");
  if (r.droppedValues > 0)
    notes << Count(r.droppedValues, "valeur", "valeurs") +
                 QString::fromUtf8(r.droppedValues > 1
                                       ? " sans champ ne seront pas importées dans ces lignes."
                                       : " sans champ ne sera pas importée dans ces lignes.");
  if (r.dialect.replaced > 0)
    notes << Count(r.dialect.replaced, "caractère", "caractères") +
                 QString::fromUtf8(r.dialect.replaced > 1 ? " sans équivalent deviennent « ? »."
                                                          : " sans équivalent devient « ? ».");
  if (r.dialect.openQuoteLine > 0)
    notes << QStringLiteral(
                 "Le guillemet ouvert ligne %1 n'est jamais fermé : toute la fin du "
                 "fichier fait partie de la valeur.")
                 .arg(r.dialect.openQuoteLine);
  return notes.join(' ');
}

void TImportPreviewDlg::SeparatorBoxChange() {
  separatorChosen_ = true;
  Refresh();
}

void TImportPreviewDlg::EncodingBoxChange() {
  encodingChosen_ = true;
  Refresh();
}

void TImportPreviewDlg::HeaderBoxClick() {
  headerChosen_ = true;
  Refresh();
}

void TImportPreviewDlg::Button1Click() {
  reject();
}

void TImportPreviewDlg::Button2Click() {
  accept();
}
