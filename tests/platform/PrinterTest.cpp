#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "TPrinterSetup.h"
#include "TQtPrinter.h"
#include "TRecordingPrinter.h"

TEST(PrinterTest, RecordsJobsPagesTextsAndShapes) {
  TRecordingPrinter printer;
  printer.SetTitle(QStringLiteral("/data/clients.qor"));
  ASSERT_TRUE(printer.BeginDoc());
  printer.Canvas().setFont(QFont(QStringLiteral("Arial"), 10));
  printer.TextOut(100, 200, QStringLiteral("Enr"));
  printer.Canvas().fillRect(QRect(10, 20, 300, 40), QColor(192, 192, 192));
  printer.Canvas().drawLine(10, 20, 310, 20);
  EXPECT_EQ(printer.PageNumber(), 1);
  printer.NewPage();
  printer.TextOut(0, 0, QString::fromUtf8("Imprimé le 20/10/1998"));
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());

  ASSERT_EQ(printer.Jobs().size(), 1u);
  const TPrintJob& job = printer.Jobs()[0];
  EXPECT_TRUE(job.finished);
  EXPECT_EQ(job.title, "/data/clients.qor");
  ASSERT_EQ(job.pages.size(), 2u);
  ASSERT_EQ(job.pages[0].size(), 3u);
  const TPrintItem& text = job.pages[0][0];
  EXPECT_EQ(text.kind, TPrintItem::Text);
  EXPECT_EQ(text.text, "Enr");
  EXPECT_EQ(text.pos, QPointF(100, 200));
  EXPECT_EQ(text.font.family(), "Arial");
  EXPECT_EQ(job.pages[0][1].kind, TPrintItem::Rect);
  EXPECT_EQ(job.pages[0][1].rect, QRectF(10, 20, 300, 40));
  EXPECT_EQ(job.pages[0][1].brush.color(), QColor(192, 192, 192));
  EXPECT_EQ(job.pages[0][2].line, QLineF(10, 20, 310, 20));
  EXPECT_EQ(job.Texts(1), QStringList({QString::fromUtf8("Imprimé le 20/10/1998")}));
}

TEST(PrinterTest, OrientationSwapsThePageAndIsKeptPerJob) {
  TRecordingPrinter printer;
  EXPECT_EQ(printer.PageWidthMM(), 210);
  EXPECT_EQ(printer.PageHeightMM(), 297);
  const int width = printer.PageWidth();
  const int height = printer.PageHeight();
  EXPECT_GT(height, width);
  printer.SetOrientation(QPageLayout::Landscape);
  EXPECT_EQ(printer.PageWidth(), height);
  EXPECT_EQ(printer.PageHeightMM(), 210);
  ASSERT_TRUE(printer.BeginDoc());
  printer.EndDoc();
  printer.SetOrientation(QPageLayout::Portrait);
  ASSERT_TRUE(printer.BeginDoc());
  printer.EndDoc();
  ASSERT_EQ(printer.Jobs().size(), 2u);
  EXPECT_EQ(printer.Jobs()[0].orientation, QPageLayout::Landscape);
  EXPECT_EQ(printer.Jobs()[1].orientation, QPageLayout::Portrait);
  EXPECT_EQ(printer.PageWidth(), width);
}

TEST(PrinterTest, TextChannelExpandsTabsAndBreaksPages) {
  TRecordingPrinter printer;
  printer.SetPage(1000, 1000, 100, 100);
  ASSERT_TRUE(printer.BeginDoc());
  printer.Canvas().setFont(QFont(QStringLiteral("Arial"), 10));
  const QFontMetrics fm = printer.Canvas().fontMetrics();
  const int tab = 8 * fm.averageCharWidth();
  const int perPage = 1000 / fm.lineSpacing();
  printer.WriteLine(QStringLiteral("Structure du fichier clients.qor"));
  printer.WriteLine(QStringLiteral("NOM\tSTRING"));
  printer.WriteLine(QStringLiteral("\tFLOAT"));
  for (int i = 3; i < perPage + 1; ++i) printer.WriteLine(QStringLiteral("x"));
  printer.EndDoc();

  const TPrintJob& job = printer.Jobs()[0];
  ASSERT_EQ(job.pages.size(), 2u);
  ASSERT_EQ(static_cast<int>(job.pages[0].size()), perPage + 1);  // the tab line draws two texts
  EXPECT_EQ(job.pages[0][0].pos, QPointF(0, 0));
  EXPECT_EQ(job.pages[0][1].text, "NOM");
  EXPECT_EQ(job.pages[0][2].text, "STRING");
  EXPECT_EQ(job.pages[0][2].pos, QPointF(tab, fm.lineSpacing()));
  EXPECT_EQ(job.pages[0][3].pos, QPointF(tab, 2 * fm.lineSpacing()));
  ASSERT_EQ(job.pages[1].size(), 1u);
  EXPECT_EQ(job.pages[1][0].pos, QPointF(0, 0));
}

TEST(PrinterTest, UnavailablePrinterStartsNoJob) {
  TRecordingPrinter printer;
  printer.SetAvailable(false);
  EXPECT_FALSE(printer.BeginDoc());
  EXPECT_FALSE(printer.Printing());
  printer.NewPage();
  printer.EndDoc();
  EXPECT_TRUE(printer.Jobs().empty());
}

TEST(PrinterTest, QtPrinterPrintsToAPdfFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("out.pdf"));
  TQtPrinter printer;
  printer.QtPrinter().setOutputFormat(QPrinter::PdfFormat);
  printer.QtPrinter().setOutputFileName(path);
  printer.SetTitle(QStringLiteral("Structure"));
  const int portraitWidth = printer.PageWidth();
  printer.SetOrientation(QPageLayout::Landscape);
  const QSize page(printer.PageWidth(), printer.PageHeight());
  EXPECT_GT(page.width(), portraitWidth);
  ASSERT_TRUE(printer.BeginDoc());
  // The page measures the same during the job as before it.
  EXPECT_EQ(QSize(printer.PageWidth(), printer.PageHeight()), page);
  printer.WriteLine(QStringLiteral("NOM\tSTRING"));
  printer.NewPage();
  EXPECT_FALSE(QFile::exists(path));  // only once the job has ended
  EXPECT_TRUE(printer.EndDoc());
  QFile pdf(path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");
  pdf.close();

  // An aborted job leaves the file as it was, and nothing beside it.
  ASSERT_TRUE(printer.BeginDoc());
  printer.WriteLine(QStringLiteral("PRIX\tFLOAT"));
  printer.Abort();
  EXPECT_FALSE(printer.Printing());
  EXPECT_FALSE(printer.Failed());
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});
}

// "Configurer l'imprimante": the PDF file or any of the machine's printers,
// and the orientation.
TEST(PrinterTest, PrinterSetUpChoosesAmongThePrinters) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  TPrinterSetup setup;
  EXPECT_EQ(setup.windowTitle(), QString::fromUtf8("Configuration de l'impression"));
  setup.Init(printer, {"Bureau", "Atelier"});
  ASSERT_EQ(setup.ComboBox1->count(), 3);
  EXPECT_EQ(setup.ComboBox1->currentText(), "Fichier PDF");
  EXPECT_EQ(setup.ComboBox1->itemText(2), "Atelier");
  EXPECT_TRUE(setup.RadioButton1->isChecked());
  EXPECT_FALSE(setup.PageSetupButton->isVisible());
  setup.show();
  setup.ComboBox1->setCurrentIndex(2);
  setup.RadioButton2->click();
  setup.Button1->click();  // "Annuler"
  EXPECT_FALSE(setup.Result().has_value());

  setup.show();
  setup.Button2->click();
  ASSERT_TRUE(setup.Result().has_value());
  EXPECT_EQ(setup.Result()->printerName, "Atelier");
  EXPECT_EQ(setup.Result()->orientation, QPageLayout::Landscape);

  // The PDF file chosen for a printer that printed on paper.
  QPrinter paper(QPrinter::HighResolution);
  paper.setOutputFormat(QPrinter::NativeFormat);
  setup.Init(paper, {"Bureau"});
  setup.show();
  setup.ComboBox1->setCurrentIndex(0);
  setup.Button2->click();
  TPrinterSetup::Apply(*setup.Result(), paper);
  EXPECT_EQ(paper.outputFormat(), QPrinter::PdfFormat);
}

// Qt's print dialog would make its proposal from the job title as if it were a
// bare name; the file printer proposes the table's name with ".pdf" beside it.
TEST(PrinterTest, ThePrintDialogProposesThePdfBesideTheTable) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TQtPrinter printer;
  printer.QtPrinter().setOutputFormat(QPrinter::PdfFormat);
  printer.QtPrinter().setOutputFileName(dir.filePath(QStringLiteral("avant.pdf")));
  printer.SetTitle(dir.filePath(QStringLiteral("clients.table.qor")));
  const QString expected = dir.filePath(QStringLiteral("clients.table.pdf"));
  printer.ProposeFileName();
  QPrintDialog dialog(&printer.QtPrinter());
  printer.ProposeFileName(dialog);
  EXPECT_EQ(printer.QtPrinter().outputFileName(), expected);
  auto* entry = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text(), expected);
  // A job without a path (the query windows' lists) proposes nothing new.
  EXPECT_EQ(TQtPrinter::PdfFileName(QString()), QString());
  EXPECT_EQ(TQtPrinter::PdfFileName(QStringLiteral("Noname1")), QString());
}
