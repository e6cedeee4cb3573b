#include "TStatistiques.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "AnsiCodec.h"
#include "FileNames.h"
#include "French.h"
#include "IServices.h"
#include "TChartFile.h"
#include "TChartPrintout.h"
#include "TDocument.h"
#include "TQor2.h"
#include "TResultFile.h"
#include "TStatsChartView.h"
#include "TStatsModel.h"

namespace {

// Progress shows when the work has taken this long.
const int kProgressDelayMs = 500;

// A control named after the label beside it.
QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  buddy->setAccessibleName(QString(text).remove(QLatin1Char('&')));
  return label;
}

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
  return button;
}

QString Grouped(int64_t n) {
  return FromAnsi(TDecimal::IntegerText(n, ' '));
}

}  // namespace

TStatistiques::TStatistiques(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Statistiques"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  resize(1120, 680);

  GroupField = new QComboBox(this);
  GroupField->setObjectName(QStringLiteral("GroupField"));
  NumberField = new QComboBox(this);
  NumberField->setObjectName(QStringLiteral("NumberField"));
  Measure = new QComboBox(this);
  Measure->setObjectName(QStringLiteral("Measure"));
  Measure->addItems({QStringLiteral("Nombre"), QStringLiteral("Somme"), QStringLiteral("Moyenne")});
  Bins = new QSpinBox(this);
  Bins->setObjectName(QStringLiteral("Bins"));
  Bins->setRange(1, kMaxHistogramBins);
  auto* choices = new QGridLayout;
  choices->addWidget(Caption(QStringLiteral("&Regrouper par"), GroupField, this), 0, 0);
  choices->addWidget(GroupField, 0, 1);
  choices->addWidget(Caption(QStringLiteral("Champ &numérique"), NumberField, this), 0, 2);
  choices->addWidget(NumberField, 0, 3);
  choices->addWidget(Caption(QStringLiteral("&Mesure"), Measure, this), 0, 4);
  choices->addWidget(Measure, 0, 5);
  choices->addWidget(Caption(QStringLiteral("&Classes"), Bins, this), 0, 6);
  choices->addWidget(Bins, 0, 7);
  choices->setColumnStretch(1, 2);
  choices->setColumnStretch(3, 2);
  choices->setColumnStretch(5, 1);

  Range = new QGroupBox(QStringLiteral("Portée"), this);
  Range->setObjectName(QStringLiteral("Range"));
  Range->setAccessibleName(QStringLiteral("Portée"));
  From = new QSpinBox(Range);
  From->setObjectName(QStringLiteral("From"));
  To = new QSpinBox(Range);
  To->setObjectName(QStringLiteral("To"));
  auto* range = new QHBoxLayout(Range);
  range->addWidget(Caption(QStringLiteral("&De"), From, Range));
  range->addWidget(From);
  range->addWidget(Caption(QStringLiteral("&A"), To, Range));
  range->addWidget(To);
  SelectionOnly = new QCheckBox(QStringLiteral("&Sélection seulement"), this);
  SelectionOnly->setObjectName(QStringLiteral("SelectionOnly"));
  auto* subset = new QHBoxLayout;
  subset->addWidget(Range);
  subset->addWidget(SelectionOnly);
  subset->addStretch(1);

  Model = new TStatsModel(this);
  Model->OnSort([this](TStatsColumn column, bool ascending) { SortRequested(column, ascending); });
  Results = new QTableView(this);
  Results->setObjectName(QStringLiteral("Results"));
  Results->setAccessibleName(QStringLiteral("Résultats"));
  Results->setModel(Model);
  Results->verticalHeader()->hide();
  Results->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Results->verticalHeader()->setDefaultSectionSize(Results->fontMetrics().height() + 6);
  Results->setWordWrap(false);
  Results->setSelectionBehavior(QAbstractItemView::SelectRows);
  Results->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Results->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
  Results->setSortingEnabled(true);
  NonNumeric = new QLabel(this);
  NonNumeric->setObjectName(QStringLiteral("NonNumeric"));
  Chart = new TStatsChartView(this);
  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(Results, 1);
  leftLayout->addWidget(NonNumeric);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(left);
  splitter->addWidget(Chart);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({600, 480});

  Progress = new QProgressBar(this);
  Progress->setObjectName(QStringLiteral("Progress"));
  Progress->setAccessibleName(QStringLiteral("Progression"));
  Progress->setRange(0, 100);
  Progress->hide();
  StatusText = new QLabel(this);
  StatusText->setObjectName(QStringLiteral("StatusText"));
  auto* status = new QHBoxLayout;
  status->addWidget(Progress);
  status->addWidget(StatusText, 1);

  ExportButton = Button(QStringLiteral("&Exporter..."), "ExportButton", this);
  CopyButton = Button(QStringLiteral("Co&pier"), "CopyButton", this);
  SaveChartButton = Button(QStringLiteral("Enregistrer le &graphique..."), "SaveChartButton", this);
  PreviewButton = Button(QStringLiteral("Aperç&u..."), "PreviewButton", this);
  PrintButton = Button(QStringLiteral("&Imprimer..."), "PrintButton", this);
  CloseButton = Button(QStringLiteral("Fermer"), "CloseButton", this);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {ExportButton, CopyButton, SaveChartButton, PreviewButton, PrintButton})
    buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(CloseButton);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(subset);
  layout->addWidget(splitter, 1);
  layout->addLayout(status);
  layout->addLayout(buttons);

  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(100);
  connect(progressTimer_, &QTimer::timeout, this, &TStatistiques::UpdateProgress);

  auto changed = [this] {
    if (!filling_) Recompute();
  };
  connect(GroupField, &QComboBox::currentIndexChanged, this, [this, changed] {
    // Other groups: in their own order again.
    job_.column = TStatsColumn::Group;
    job_.ascending = true;
    binsChosen_ = false;
    changed();
  });
  connect(NumberField, &QComboBox::currentIndexChanged, this, [this, changed] {
    binsChosen_ = false;
    changed();
  });
  connect(Measure, &QComboBox::currentIndexChanged, this, changed);
  connect(Bins, &QSpinBox::valueChanged, this, [this, changed] {
    if (filling_) return;
    binsChosen_ = true;
    changed();
  });
  connect(From, &QSpinBox::valueChanged, this, changed);
  connect(To, &QSpinBox::valueChanged, this, changed);
  connect(SelectionOnly, &QCheckBox::toggled, this, changed);
  connect(ExportButton, &QPushButton::clicked, this, &TStatistiques::ExportClick);
  connect(CopyButton, &QPushButton::clicked, this, &TStatistiques::CopyClick);
  connect(SaveChartButton, &QPushButton::clicked, this, &TStatistiques::SaveChartClick);
  connect(PreviewButton, &QPushButton::clicked, this, &TStatistiques::PreviewClick);
  connect(PrintButton, &QPushButton::clicked, this, &TStatistiques::PrintClick);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
  UpdateControls();
}

TStatistiques::~TStatistiques() = default;

void TStatistiques::Init(const TQor2& table, const TCondition* selection,
                         const std::string& currentField) {
  table_ = &table;
  worker_ = std::make_unique<TStatsWorker>(table, [this](const TStatsOutput& o) { Shown(o); });
  filling_ = true;
  setWindowTitle(table.TableName.empty()
                     ? QStringLiteral("Statistiques")
                     : QStringLiteral("Statistiques - ") + FromAnsi(table.TableName));

  GroupField->clear();
  NumberField->clear();
  GroupField->addItem(QStringLiteral("(aucun)"));
  NumberField->addItem(QStringLiteral("(aucun)"));
  int firstFloat = 0;
  for (int i = 1; i <= table.FieldCount(); ++i) {
    GroupField->addItem(FromAnsi(table.GetFieldName(i)));
    if (table.GetFieldType(i) == "FLOAT") {
      NumberField->addItem(FromAnsi(table.GetFieldName(i)));
      if (!firstFloat) firstFloat = NumberField->count() - 1;
    }
  }
  const int current = table.FieldIndex(currentField);
  const bool currentIsFloat = current > 0 && table.GetFieldType(current) == "FLOAT";
  GroupField->setCurrentIndex(current > 0 && !currentIsFloat ? current : 0);
  NumberField->setCurrentIndex(currentIsFloat
                                   ? NumberField->findText(FromAnsi(currentField), Qt::MatchExactly)
                                   : firstFloat);
  Measure->setCurrentIndex(0);

  const int records = table.RecordCount();
  From->setRange(1, std::max(records, 1));
  To->setRange(1, std::max(records, 1));
  From->setValue(1);
  To->setValue(std::max(records, 1));

  hasSelection_ = selection != nullptr;
  if (selection) selection_ = *selection;
  SelectionOnly->setEnabled(hasSelection_);
  SelectionOnly->setChecked(hasSelection_);
  const QString caption = QStringLiteral("&Sélection seulement");
  SelectionOnly->setText(hasSelection_ ? caption + QStringLiteral(" (") +
                                             FromAnsi(selection_.Field + ' ' + selection_.Operator +
                                                      ' ' + selection_.Value)
                                                 .replace(QLatin1Char('&'), QStringLiteral("&&")) +
                                             QLatin1Char(')')
                                       : caption);
  SelectionOnly->setAccessibleName(SelectionOnly->text().remove(QLatin1Char('&')));
  filling_ = false;
  Recompute();
}

void TStatistiques::Run(const TQor2& table, const TCondition* selection,
                        const std::string& currentField, QWidget* owner) {
  TStatistiques window(owner);
  window.Init(table, selection, currentField);
  Services().RunDialog(window);
}

void TStatistiques::Run(const TDocument& doc, int currentField, QWidget* owner) {
  const TQor2& table = doc.Table();
  const bool named = currentField >= 1 && currentField <= table.FieldCount();
  TStatistiques window(owner);
  window.Init(table, doc.SelectionMode() ? &doc.Filter() : nullptr,
              named ? table.GetFieldName(currentField) : std::string());
  // The user knows the table by its file's name, as the document window shows it.
  if (!doc.FileName().empty())
    window.setWindowTitle(QStringLiteral("Statistiques - ") +
                          QFileInfo(FromEnginePath(doc.FileName())).fileName());
  Services().RunDialog(window);
}

bool TStatistiques::Busy() const {
  return worker_ && worker_->Busy();
}

QString TStatistiques::FieldChosen(const QComboBox* box) const {
  return box->currentIndex() > 0 ? box->currentText() : QString();
}

void TStatistiques::Recompute() {
  if (!table_) return;
  TStatsJob job;
  job.request.groupField = ToAnsi(FieldChosen(GroupField));
  job.request.numberField = ToAnsi(FieldChosen(NumberField));
  job.request.from = From->value();
  job.request.to = table_->RecordCount() ? To->value() : 0;
  job.request.useFilter = hasSelection_ && SelectionOnly->isChecked();
  job.request.filter = selection_;
  const bool grouped = !job.request.groupField.empty();
  const bool numeric = !job.request.numberField.empty();
  job.histogram = !grouped && numeric;
  job.request.keepValues = job.histogram;
  job.bins = binsChosen_ ? Bins->value() : 0;
  if (!numeric || job.histogram) {
    // Counts are all there is to measure: the box says so.
    filling_ = true;
    Measure->setCurrentIndex(0);
    filling_ = false;
  }
  job.measure = static_cast<TStatsMeasure>(Measure->currentIndex());
  // A sort on a column the new results lack goes back to the groups' order.
  const bool kept = job_.column == TStatsColumn::Count || job_.column == TStatsColumn::Share ||
                    (job_.column == TStatsColumn::Group ? grouped : numeric);
  if (!kept) {
    job_.column = grouped ? TStatsColumn::Group : TStatsColumn::Count;
    job_.ascending = true;
  }
  job.column = job_.column;
  job.ascending = job_.ascending;
  job_ = job;
  worker_->Start(job);
  if (!progressTimer_->isActive()) {
    busyFor_.start();
    progressTimer_->start();
  }
  UpdateControls();
}

void TStatistiques::SortRequested(TStatsColumn column, bool ascending) {
  if (filling_ || (column == job_.column && ascending == job_.ascending)) return;
  job_.column = column;
  job_.ascending = ascending;
  Recompute();
}

void TStatistiques::Shown(const TStatsOutput& output) {
  progressTimer_->stop();
  Progress->hide();
  StatusText->clear();
  unsetCursor();
  if (!output.status) {
    Services().Warning(QStringLiteral("Calcul impossible : ") + FailureText(output.status));
    UpdateControls();
    return;
  }
  filling_ = true;
  Model->Set(output.result, output.order);
  const int section = Model->Section(job_.column);
  Results->horizontalHeader()->setSortIndicator(
      std::max(section, 0), job_.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
  Results->resizeColumnsToContents();
  if (job_.histogram) Bins->setValue(output.bins);
  filling_ = false;

  const int64_t n = output.result->nonNumeric;
  NonNumeric->setText(n == 0   ? QString()
                      : n == 1 ? QStringLiteral("1 valeur non numérique ignorée")
                               : Grouped(n) + QStringLiteral(" valeurs non numériques ignorées"));
  NonNumeric->setAccessibleName(NonNumeric->text());
  Chart->Show(output.chart, ChartTexts(output));
  UpdateControls();
}

TChartTexts TStatistiques::ChartTexts(const TStatsOutput& output) const {
  const TStatsResult& r = *output.result;
  const TStatsChart& chart = output.chart;
  const QString group = FromAnsi(r.groupField), field = FromAnsi(r.numberField);
  TChartTexts t;
  if (chart.histogram) {
    t.title = QStringLiteral("Répartition de ") + field;
    t.categoryAxis = field;
    t.valueAxis = QStringLiteral("Nombre de valeurs");
  } else {
    switch (job_.measure) {
      case TStatsMeasure::Count:
        t.valueAxis = QStringLiteral("Nombre d'enregistrements");
        break;
      case TStatsMeasure::Sum:
        t.valueAxis = QStringLiteral("Somme de ") + field;
        break;
      case TStatsMeasure::Mean:
        t.valueAxis = QStringLiteral("Moyenne de ") + field;
        break;
    }
    t.categoryAxis = group;
    t.title = r.grouped ? t.valueAxis + QStringLiteral(" par ") + group : t.valueAxis;
  }

  const int bars = static_cast<int>(chart.bars.size());
  if (bars == 0) {
    t.description = t.title + QStringLiteral(" : aucune donnée.");
  } else if (chart.histogram) {
    const TChartBar& fullest = chart.bars[static_cast<size_t>(chart.largestBar)];
    t.description = t.title +
                    QStringLiteral(" : %1 classe%2 ; classe la plus fournie : ")
                        .arg(bars)
                        .arg(bars > 1 ? QStringLiteral("s") : QString()) +
                    FromAnsi(fullest.label) + QStringLiteral(" (") +
                    Grouped(static_cast<int64_t>(fullest.value)) + QStringLiteral(" valeurs).");
  } else {
    t.description = t.title + QStringLiteral(" : %1 barre%2").arg(bars).arg(bars > 1 ? "s" : "");
    if (chart.others)
      t.description +=
          QStringLiteral(" dont « Autres » (%1 groupes)").arg(Grouped(chart.bars.back().groups));
    if (chart.largestGroup >= 0) {
      const TStatsGroup& g = r.groups[static_cast<size_t>(chart.largestGroup)];
      const TStatsColumn column = job_.measure == TStatsMeasure::Sum    ? TStatsColumn::Sum
                                  : job_.measure == TStatsMeasure::Mean ? TStatsColumn::Mean
                                                                        : TStatsColumn::Count;
      t.description +=
          (r.grouped ? QStringLiteral(" ; plus grand groupe : ") + FromAnsi(StatsLabel(g))
                     : QStringLiteral(" ; valeur")) +
          QStringLiteral(" (") + FromAnsi(StatsCell(r, g, column, ' ')) + QLatin1Char(')');
    }
    t.description += QLatin1Char('.');
  }
  return t;
}

void TStatistiques::UpdateProgress() {
  if (!Busy()) return;
  if (busyFor_.elapsed() < kProgressDelayMs) return;
  const int percent = worker_->Percent();
  Progress->setValue(percent);
  Progress->show();
  StatusText->setText(QStringLiteral("Calcul en cours... %1 %").arg(percent));
  setCursor(Qt::BusyCursor);
}

void TStatistiques::UpdateControls() {
  const bool numeric = NumberField->currentIndex() > 0;
  const bool histogram = numeric && GroupField->currentIndex() <= 0;
  Measure->setEnabled(numeric && !histogram);
  Bins->setEnabled(histogram);
  const bool results = Model->rowCount() > 0;
  ExportButton->setEnabled(results);
  CopyButton->setEnabled(results);
  const bool chart = !Chart->Model().bars.empty();
  SaveChartButton->setEnabled(chart);
  PreviewButton->setEnabled(chart);
  PrintButton->setEnabled(chart);
}

void TStatistiques::ExportClick() {
  TQor2 table;
  StatsTable(*Model->Result(), Model->Order(), table);
  TResultFile::Save({TResultFile::kCsv, TResultFile::kXlsx, TResultFile::kTxt, TResultFile::kXls},
                    table, QString());
}

void TStatistiques::CopyClick() {
  QApplication::clipboard()->setText(Model->TabText());
  StatusText->setText(QStringLiteral("Résultats copiés dans le presse-papiers"));
}

void TStatistiques::SaveChartClick() {
  TChartFile::Save(*Chart);
}

void TStatistiques::PreviewClick() {
  TChartPrintout(*Chart, windowTitle(), NonNumeric->text()).Preview(true);
}

void TStatistiques::PrintClick() {
  TChartPrintout printout(*Chart, windowTitle(), NonNumeric->text());
  if (TPrintout::AskPrinter(windowTitle())) printout.Print();
}
