// The statistics window driven as a user drives it, headless: what it opens
// on, what the table and the chart show after each choice, the selection and
// the range, and everything that leaves the window (files, clipboard,
// printer), through the scripted services.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#include "ForeignTable.h"
#include "French.h"
#include "TAtomicFile.h"
#include "TFakeServices.h"
#include "TFaultyFileSystem.h"
#include "TPreview.h"
#include "TQor2.h"
#include "TStatistiques.h"
#include "TStatsChartView.h"
#include "TStatsModel.h"

// Texts in failure messages, readable.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

class StatsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    SetServices(&services);
    ASSERT_TRUE(dir.isValid());
    t.TableName = "clients";
    for (const char* f : {"NOM", "VILLE", "PRIX", "AGE"}) t.AddField(f);
    t.SetFieldType(3, "FLOAT");
    t.SetFieldType(4, "FLOAT");
    const char* rows[][4] = {{"Dupont", "Paris", "12 000,25", "34"}, {"Durand", "Lyon", "7", "9"},
                             {"Martin", "Paris", "450,25", "18"},    {"Petit", "Lyon", "abc", "5"},
                             {"Roux", "Brest", "-3", "70"},          {"Blanc", "Paris", "", "4.5"}};
    for (auto& r : rows) {
      t.Append();
      for (int i = 0; i < 4; ++i) t.SetFieldValue(i + 1, r[i]);
    }
  }
  void TearDown() override {
    EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
    EXPECT_EQ(services.PendingAnswers(), 0);
  }

  // Opens the window and waits for its first results.
  TStatistiques& Open(const std::string& currentField, const TCondition* selection = nullptr) {
    window = std::make_unique<TStatistiques>();
    window->Init(t, selection, currentField);
    Wait();
    return *window;
  }
  void Wait() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Busy(); }, 20000));
  }

  QStringList Headers() const {
    QStringList h;
    for (int c = 0; c < window->Model->columnCount(); ++c)
      h << window->Model->headerData(c, Qt::Horizontal).toString();
    return h;
  }
  QStringList Row(int row) const {
    QStringList r;
    for (int c = 0; c < window->Model->columnCount(); ++c)
      r << window->Model->index(row, c).data().toString();
    return r;
  }
  QStringList Column0() const {
    QStringList r;
    for (int row = 0; row < window->Model->rowCount(); ++row)
      r << window->Model->index(row, 0).data().toString();
    return r;
  }
  QStringList Bars() const {
    QStringList labels;
    for (const TChartBar& b : window->Chart->Model().bars)
      labels << QString::fromLatin1(b.label.c_str());
    return labels;
  }
  std::vector<double> Values() const {
    std::vector<double> v;
    for (const TChartBar& b : window->Chart->Model().bars) v.push_back(b.value);
    return v;
  }
  void ClickHeader(int section) {
    window->show();  // a header takes clicks once laid out
    QHeaderView* header = window->Results->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(section) + 4, header->height() / 2));
    Wait();
  }
  QStringList Questions() const {
    QStringList texts;
    for (const TQuestion& q : services.Questions()) texts << q.text;
    return texts;
  }

  TFakeServices services;
  QTemporaryDir dir;
  TQor2 t;
  std::unique_ptr<TStatistiques> window;
};

TEST_F(StatsWindow, OpensOnTheCurrentTextFieldWithTheFirstNumberField) {
  TStatistiques& w = Open("VILLE");
  EXPECT_EQ(w.windowTitle(), "Statistiques - clients");
  EXPECT_EQ(w.GroupField->currentText(), "VILLE");
  EXPECT_EQ(w.NumberField->currentText(), "PRIX");
  EXPECT_EQ(w.Measure->currentText(), "Nombre");
  EXPECT_TRUE(w.Measure->isEnabled());
  EXPECT_FALSE(w.Bins->isEnabled());
  EXPECT_EQ(Headers(),
            QStringList({"VILLE", "Nombre", "Somme", "Moyenne", "Minimum", "Maximum", "Part (%)"}));
  ASSERT_EQ(w.Model->rowCount(), 3);
  EXPECT_EQ(Row(0), QStringList({"Brest", "1", "-3,00", "-3,00", "-3,00", "-3,00", "16,67"}));
  EXPECT_EQ(Row(1), QStringList({"Lyon", "2", "7,00", "7,00", "7,00", "7,00", "33,33"}));
  EXPECT_EQ(Row(2),
            QStringList({"Paris", "3", "12 450,50", "6 225,25", "450,25", "12 000,25", "50,00"}));
  EXPECT_EQ(w.NonNumeric->text(), QString::fromUtf8("1 valeur non numérique ignorée"));
  EXPECT_EQ(Bars(), QStringList({"Brest", "Lyon", "Paris"}));
  EXPECT_EQ(Values(), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(w.Chart->accessibleDescription(),
            "Nombre d'enregistrements par VILLE : 3 barres ; plus grand groupe : Paris (3).");
  EXPECT_EQ(w.Chart->chart()->title(), "Nombre d'enregistrements par VILLE");
  QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(w.Chart);
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->role(), QAccessible::Chart);
  EXPECT_EQ(chart->text(QAccessible::Name), "Graphique");
  EXPECT_EQ(chart->text(QAccessible::Description), w.Chart->accessibleDescription());

  // Standing in a number field: its histogram, in classes by Sturges' rule
  // (four numbers: three classes).
  Open("PRIX");
  EXPECT_EQ(window->GroupField->currentText(), "(aucun)");
  EXPECT_EQ(window->NumberField->currentText(), "PRIX");
  EXPECT_FALSE(window->Measure->isEnabled());
  EXPECT_TRUE(window->Bins->isEnabled());
  EXPECT_EQ(window->Bins->value(), 3);
  EXPECT_EQ(Headers(),
            QStringList({"Nombre", "Somme", "Moyenne", "Minimum", "Maximum", "Part (%)"}));
  EXPECT_EQ(Row(0), QStringList({"6", "12 454,50", "3 113,63", "-3,00", "12 000,25", "100,00"}));
  EXPECT_EQ(Bars(), QStringList({"[-3 ; 3 998[", "[3 998 ; 7 999[", "[7 999 ; 12 000]"}));
  EXPECT_EQ(window->Chart->accessibleDescription(),
            QString::fromUtf8("Répartition de PRIX : 3 classes ; classe la plus fournie : "
                              "[-3 ; 3 998[ (3 valeurs)."));

  // Standing nowhere: the first number field.
  Open("");
  EXPECT_EQ(window->GroupField->currentText(), "(aucun)");
  EXPECT_EQ(window->NumberField->currentText(), "PRIX");
}

// Thirty groups and "Autres" in a chart as narrow as the window leaves it:
// every bar keeps its label, the first and the last ("Autres") too.
TEST_F(StatsWindow, ANarrowChartShowsEveryLabel) {
  TStatsChart model;
  QStringList labels;
  for (int i = 1; i <= kMaxChartBars + 1; ++i) {
    TChartBar bar;
    bar.label = i <= kMaxChartBars ? "Groupe " + std::to_string(i) : "Autres";
    bar.value = i;
    model.bars.push_back(bar);
    labels << QString::fromStdString(bar.label);
  }
  model.others = true;
  TStatsChartView view;
  view.resize(420, 420);
  view.show();
  view.Show(model, {"Nombre par Groupe", "Groupe", "Nombre", ""});
  QStringList shown;
  auto visibleLabels = [&] {
    shown.clear();
    for (QGraphicsItem* item : view.scene()->items())
      if (auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item))
        if (text->isVisible() && labels.contains(text->toPlainText())) shown << text->toPlainText();
    return shown.size();
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return visibleLabels() == labels.size(); }, 2000))
      << shown.join(", ").toStdString();
}

TEST_F(StatsWindow, TheChartFollowsTheTableSortAndTheMeasure) {
  TStatistiques& w = Open("VILLE");
  QAbstractItemModelTester tester(w.Model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  // A first click on "Nombre" puts the largest first; the chart follows.
  ClickHeader(1);
  EXPECT_EQ(w.Results->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_EQ(Column0(), QStringList({"Paris", "Lyon", "Brest"}));
  EXPECT_EQ(Bars(), QStringList({"Paris", "Lyon", "Brest"}));
  ClickHeader(1);
  EXPECT_EQ(Column0(), QStringList({"Brest", "Lyon", "Paris"}));

  // The sum: same order, the chart's bars are the sums.
  w.Measure->setCurrentIndex(1);
  Wait();
  EXPECT_EQ(Column0(), QStringList({"Brest", "Lyon", "Paris"}));
  EXPECT_EQ(Values(), (std::vector<double>{-3, 7, 12450.5}));
  EXPECT_EQ(w.Chart->accessibleDescription(),
            "Somme de PRIX par VILLE : 3 barres ; plus grand groupe : Paris (12 450,50).");

  // Sorted by mean, then the numeric field dropped: that column goes, and
  // the groups are back in their own order, counted.
  ClickHeader(3);
  EXPECT_EQ(Column0(), QStringList({"Paris", "Lyon", "Brest"}));
  w.NumberField->setCurrentIndex(0);
  Wait();
  EXPECT_EQ(Headers(), QStringList({"VILLE", "Nombre", "Part (%)"}));
  EXPECT_EQ(Column0(), QStringList({"Brest", "Lyon", "Paris"}));
  EXPECT_FALSE(w.Measure->isEnabled());
  EXPECT_EQ(Values(), (std::vector<double>{1, 2, 3}));
  EXPECT_TRUE(w.NonNumeric->text().isEmpty());

  // Grouped by a number field: numeric order.
  w.GroupField->setCurrentText("AGE");
  Wait();
  EXPECT_EQ(Column0(), QStringList({"4.5", "5", "9", "18", "34", "70"}));
}

TEST_F(StatsWindow, SelectionAndRangeChooseTheRecords) {
  const TCondition paris{"VILLE", "=", "Paris"};
  TStatistiques& w = Open("VILLE", &paris);
  EXPECT_TRUE(w.SelectionOnly->isEnabled());
  EXPECT_TRUE(w.SelectionOnly->isChecked());
  EXPECT_EQ(w.SelectionOnly->accessibleName(),
            QString::fromUtf8("Sélection seulement (VILLE = Paris)"));
  EXPECT_EQ(Column0(), QStringList({"Paris"}));
  EXPECT_EQ(Row(0).last(), "100,00");

  w.SelectionOnly->setChecked(false);
  Wait();
  EXPECT_EQ(Column0(), QStringList({"Brest", "Lyon", "Paris"}));
  EXPECT_EQ(w.From->value(), 1);
  EXPECT_EQ(w.To->value(), 6);
  w.From->setValue(2);
  w.To->setValue(4);
  Wait();
  EXPECT_EQ(Column0(), QStringList({"Lyon", "Paris"}));
  EXPECT_EQ(Row(0), QStringList({"Lyon", "2", "7,00", "7,00", "7,00", "7,00", "66,67"}));
  EXPECT_EQ(w.NonNumeric->text(), QString::fromUtf8("1 valeur non numérique ignorée"));

  // A wildcard selection, as the document's filter has it.
  const TCondition d{"NOM", "LIKE", "d*"};
  Open("VILLE", &d);
  EXPECT_EQ(Column0(), QStringList({"Lyon", "Paris"}));
  // No selection in the document: nothing to check.
  Open("VILLE");
  EXPECT_FALSE(window->SelectionOnly->isEnabled());
  EXPECT_FALSE(window->SelectionOnly->isChecked());
}

TEST_F(StatsWindow, ResultsAreExportedAndCopied) {
  TStatistiques& w = Open("VILLE");
  ClickHeader(1);  // largest first: the file keeps the table's order
  const QString csv = dir.filePath("villes.csv");
  services.AnswerFile(dir.filePath("villes"), 1);  // "Résultat en csv (*.csv)"
  w.ExportButton->click();
  QFile f(csv);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(),
            "VILLE;Nombre;Somme;Moyenne;Minimum;Maximum;Part (%)\r\n"
            "Paris;3;12450,50;6225,25;450,25;12000,25;50,00\r\n"
            "Lyon;2;7,00;7,00;7,00;7,00;33,33\r\n"
            "Brest;1;-3,00;-3,00;-3,00;-3,00;16,67\r\n");
  f.close();
  TQor2 back;
  ASSERT_TRUE(back.LoadCsvFile(QFile::encodeName(csv).toStdString()));
  EXPECT_EQ(back.RecordCount(), 3);
  EXPECT_EQ(TextToFloat(back.GetCell(3, 1)), 12450.5L);

  // The workbook: one sheet, the header, the numbers as numbers.
  services.AnswerFile(dir.filePath("villes.csv"), 2);  // "Classeur Excel (*.xlsx)"
  w.ExportButton->click();
  TQor2 sheet;
  TForeignReport report;
  ASSERT_TRUE(ReadForeignTable(QFile::encodeName(dir.filePath("villes.xlsx")).toStdString(), sheet,
                               report));
  EXPECT_EQ(sheet.FieldCount(), 7);
  EXPECT_EQ(sheet.GetFieldName(7), "Part (%)");
  EXPECT_EQ(sheet.GetFieldType(3), "FLOAT");
  ASSERT_EQ(sheet.RecordCount(), 3);
  EXPECT_EQ(sheet.GetCell(1, 1), "Paris");
  EXPECT_EQ(TextToFloat(sheet.GetCell(3, 1)), 12450.5L);
  EXPECT_EQ(sheet.GetCell(1, 3), "Brest");
  EXPECT_EQ(TextToFloat(sheet.GetCell(4, 3)), -3.0L);

  // An existing file is kept when the user says no to replacing it (the
  // result files' own question).
  ClickHeader(1);
  services.AnswerFile(csv, 1);
  services.AnswerQuestion(TAnswer::No);
  w.ExportButton->click();
  EXPECT_EQ(services.Questions().back().kind, TQuestionKind::YesNo);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(
      f.readAll().startsWith("VILLE;Nombre;Somme;Moyenne;Minimum;Maximum;Part (%)\r\nParis;"));
  f.close();
  ClickHeader(1);

  // The clipboard: tab-separated, numbers as a spreadsheet reads them.
  w.CopyButton->click();
  EXPECT_EQ(QApplication::clipboard()->text(),
            "VILLE\tNombre\tSomme\tMoyenne\tMinimum\tMaximum\tPart (%)\n"
            "Paris\t3\t12450,50\t6225,25\t450,25\t12000,25\t50,00\n"
            "Lyon\t2\t7,00\t7,00\t7,00\t7,00\t33,33\n"
            "Brest\t1\t-3,00\t-3,00\t-3,00\t-3,00\t16,67\n");
}

TEST_F(StatsWindow, TheChartIsSavedAsPngSvgOrPdf) {
  TStatistiques& w = Open("VILLE");
  services.AnswerFile(dir.filePath("graphique"), 1);
  w.SaveChartButton->click();
  EXPECT_EQ(services.FileDialogs().back().filters.size(), 3u);
  QImage png(dir.filePath("graphique.png"));
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), TStatsChartView::PictureSize() * 2);
  EXPECT_NE(png.pixel(png.width() / 2, png.height() / 2), png.pixel(2, 2));  // something drawn

  services.AnswerFile(dir.filePath("graphique.old"), 2);
  w.SaveChartButton->click();
  QFile svg(dir.filePath("graphique.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(svg.readAll());
  EXPECT_TRUE(text.contains("<svg"));
  EXPECT_TRUE(text.contains("Nombre d'enregistrements par VILLE"));
  EXPECT_TRUE(text.contains(">Paris<"));

  services.AnswerFile(dir.filePath("graphique"), 3);
  w.SaveChartButton->click();
  QFile pdf(dir.filePath("graphique.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));

  // Replacing asks first; a failed write leaves the previous file whole.
  QFile previous(dir.filePath("graphique.png"));
  ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
  const QByteArray before = previous.readAll();
  previous.close();
  services.AnswerFile(dir.filePath("graphique.png"), 1);
  services.AnswerQuestion(TAnswer::No);
  w.SaveChartButton->click();
  EXPECT_EQ(Questions().last(), QString::fromUtf8("Ce fichier existe déjà. Le remplacer ?"));
  {
    TFaultyFileSystem faulty;
    faulty.Arm(TFaultyFileSystem::TFault::WriteError, 1000);
    services.AnswerFile(dir.filePath("graphique.png"), 1);
    services.AnswerQuestion(TAnswer::Yes);
    w.SaveChartButton->click();
  }
  EXPECT_EQ(Questions().last(), QStringLiteral("Impossible d'enregistrer '") +
                                    dir.filePath("graphique.png") + QStringLiteral("' : ") +
                                    FailureText(WriteFailure(EIO), ""));
  ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
  EXPECT_EQ(previous.readAll(), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(StatsWindow, TheChartPrintsAndPreviewsOnOneLandscapePage) {
  services.SetNow(QDateTime(QDate(2026, 2, 1), QTime(10, 0)));
  TStatistiques& w = Open("VILLE");
  services.AnswerPrintDialog(false);
  w.PrintButton->click();
  EXPECT_TRUE(services.RecordingPrinter().Jobs().empty());

  services.AnswerPrintDialog(true);
  w.PrintButton->click();
  ASSERT_EQ(services.RecordingPrinter().Jobs().size(), 1u);
  const TPrintJob& job = services.RecordingPrinter().Jobs()[0];
  EXPECT_EQ(job.title, "Statistiques - clients");
  EXPECT_EQ(job.orientation, QPageLayout::Landscape);
  ASSERT_EQ(job.pages.size(), 1u);
  const QStringList texts = job.Texts(0);
  EXPECT_EQ(texts.mid(0, 2),
            QStringList({"Statistiques - clients", QString::fromUtf8("Imprimé le 01/02/2026")}));
  EXPECT_TRUE(texts.contains(QString::fromUtf8("1 valeur non numérique ignorée")));
  EXPECT_TRUE(texts.contains("Nombre d'enregistrements par VILLE"));
  EXPECT_TRUE(texts.contains("Paris"));
  EXPECT_EQ(services.RecordingPrinter().Orientation(), QPageLayout::Portrait);

  services.AnswerDialog([](QDialog& dialog) {
    auto& preview = dynamic_cast<TPreview&>(dialog);
    EXPECT_EQ(preview.PageCount(), 1);
    preview.CloseButton->click();
  });
  w.PreviewButton->click();
  EXPECT_EQ(services.RecordingPrinter().Jobs().size(), 1u);
}

TEST_F(StatsWindow, HistogramClassesCanBeChanged) {
  TStatistiques& w = Open("PRIX");
  w.Bins->setValue(2);
  Wait();
  EXPECT_EQ(Bars(), QStringList({"[-3 ; 5 999[", "[5 999 ; 12 000]"}));
  EXPECT_EQ(Values(), (std::vector<double>{3, 1}));
  // Another field starts again from Sturges' rule: six numbers, four classes.
  w.NumberField->setCurrentText("AGE");
  Wait();
  EXPECT_EQ(w.Bins->value(), 4);
  EXPECT_EQ(w.Chart->Model().bars.size(), 4u);
}

TEST_F(StatsWindow, ANewChoiceReplacesTheWorkUnderWay) {
  for (int i = 0; i < 200000; ++i) {
    t.Append();
    t.SetFieldValue(1, "N" + std::to_string(i % 1000));
    t.SetFieldValue(2, i % 2 ? "Lyon" : "Paris");
  }
  window = std::make_unique<TStatistiques>();
  window->Init(t, nullptr, "VILLE");
  window->GroupField->setCurrentText("NOM");
  window->Measure->setCurrentIndex(1);
  Wait();
  EXPECT_EQ(Headers().first(), "NOM");
  EXPECT_EQ(window->Model->rowCount(), 1006);  // N0 .. N999 and the six first names
  EXPECT_EQ(window->Chart->Model().bars.size(), 31u);
  EXPECT_EQ(window->Chart->Model().bars.back().label, "Autres");
  EXPECT_TRUE(window->Progress->isHidden());
}

TEST_F(StatsWindow, AnEmptyTableShowsNothingToExport) {
  TQor2 empty;
  empty.AddField("VILLE");
  window = std::make_unique<TStatistiques>();
  window->Init(empty, nullptr, "VILLE");
  Wait();
  EXPECT_EQ(window->Model->rowCount(), 0);
  EXPECT_FALSE(window->ExportButton->isEnabled());
  EXPECT_FALSE(window->SaveChartButton->isEnabled());
  EXPECT_EQ(window->Chart->accessibleDescription(),
            QString::fromUtf8("Nombre d'enregistrements par VILLE : aucune donnée."));
}

TEST_F(StatsWindow, RunsModalAndEveryControlIsNamed) {
  services.AnswerDialog([](QDialog& dialog) {
    auto& w = dynamic_cast<TStatistiques&>(dialog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Busy(); }, 20000));
    EXPECT_EQ(w.Model->rowCount(), 3);
    for (QWidget* c : w.findChildren<QWidget*>()) {
      if (c->focusPolicy() == Qt::NoFocus && !qobject_cast<QProgressBar*>(c) &&
          !qobject_cast<TStatsChartView*>(c))
        continue;
      auto* area = qobject_cast<QAbstractScrollArea*>(c->parentWidget());
      if (area && area->viewport() == c) continue;  // the area speaks for it
      if (!c->isVisibleTo(&w) || c->parentWidget()->inherits("QAbstractSpinBox") ||
          c->parentWidget()->inherits("QComboBox") || c->inherits("QSplitterHandle"))
        continue;
      EXPECT_FALSE(c->accessibleName().isEmpty())
          << c->metaObject()->className() << " " << c->objectName().toStdString();
    }
    w.CloseButton->click();
  });
  TStatistiques::Run(t, nullptr, "VILLE");
  EXPECT_EQ(services.DialogTitles(), QStringList({"Statistiques - clients"}));
}

}  // namespace
