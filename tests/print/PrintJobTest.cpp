// Print jobs as a whole: a PDF file is written whole or not at all, no command
// writes a PDF the user did not name, and a long job shows its progress and
// can be cancelled without leaving anything behind.

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "PrintTest.h"
#include "TBlocnotes.h"
#include "TFaultyFileSystem.h"
#include "TPrintProgress.h"

namespace {

class PrintJobTest : public PrintTest {
 protected:
  void TearDown() override {
    TPrintProgress::SetDelay(1000);
    PrintTest::TearDown();
  }

  // A table of n records: NOM "Nom<n>", VILLE a town.
  QString WriteNames(int n) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= n; ++i) rows.push_back({"Nom" + std::to_string(i), "Lyon"});
    return WriteTable("noms.qor", {{"NOM", "STRING"}, {"VILLE", "STRING"}}, rows);
  }

  void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

  // While the next job runs: once its progress window shows, what it says,
  // then "Annuler" pressed on it.
  void CancelWhenProgressShows() {
    TPrintProgress::SetDelay(0);
    auto* poll = new QTimer(qApp);
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, poll, [this, poll] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* progress = dynamic_cast<TPrintProgress*>(w);
        if (!progress || !progress->isVisible()) continue;
        progressTitle = progress->windowTitle();
        progressText = progress->Label2->text();
        modal = progress->isModal();
        progress->Button1->click();
        poll->deleteLater();
        return;
      }
    });
    poll->start();
  }

  QString progressTitle, progressText;
  bool modal = false;
};

// A PDF is a save like the others: a full disk leaves the previous file as it
// was, no temporary file, and says why.
TEST_F(PrintJobTest, APdfFileIsWrittenWholeOrNotAtAll) {
  TPdfServices pdf;
  SetServices(&pdf);
  TChild& c = Open(WriteNames(200));
  WriteBytes(Path("noms.pdf"), "ancien");
  {
    TFaultyFileSystem disk;
    disk.Arm(TFaultyFileSystem::TFault::DiskFull, 5000);
    pdf.AnswerPrintDialog(true);
    c.ImpListe();
    EXPECT_EQ(pdf.Log().last(), "Warning [] Impression impossible : le disque est plein");
    EXPECT_EQ(disk.Temporaries(),
              std::vector<std::string>{QFile::encodeName(Path(".noms.pdf.tmp")).toStdString()});
  }
  EXPECT_EQ(ReadFile(Path("noms.pdf")), "ancien");
  EXPECT_EQ(Files(), QStringList({"noms.pdf", "noms.qor"}));

  pdf.AnswerPrintDialog(true);
  c.ImpListe();
  EXPECT_TRUE(ReadFile(Path("noms.pdf")).startsWith("%PDF-"));
  EXPECT_EQ(PdfPages(Path("noms.pdf")).size(), pdf.pdf.PageNumber());
  EXPECT_EQ(Files(), QStringList({"noms.pdf", "noms.qor"}));
  EXPECT_TRUE(pdf.Problems().isEmpty());
  SetServices(&services);
}

// The notepad prints without a print dialog - but a PDF file it asks for
// first, proposed beside the notes, never over the last one printed.
TEST_F(PrintJobTest, NoCommandWritesAPdfTheUserDidNotName) {
  TPdfServices pdf;
  SetServices(&pdf);
  WriteBytes(Path("liste.pdf"), "46 pages");
  pdf.pdf.QtPrinter().setOutputFileName(Path("liste.pdf"));  // the last job's file
  WriteBytes(TBlocnotes::FileIn(dir.path()), "Appeler Durand\r\n");
  TBlocnotes notes;
  ASSERT_TRUE(notes.Charge(TBlocnotes::FileIn(dir.path())));
  pdf.AnswerPrintDialog(false);
  notes.SpeedButton9->click();
  EXPECT_EQ(pdf.PrintDialogs(), 1);
  EXPECT_EQ(Files(), QStringList({"liste.pdf", "VekBase.nte"}));

  pdf.AnswerPrintDialog(true);
  notes.SpeedButton9->click();
  EXPECT_EQ(ReadFile(Path("liste.pdf")), "46 pages");
  EXPECT_EQ(PdfPages(Path("VekBase.pdf")).value(0).trimmed(), "Appeler Durand");
  EXPECT_TRUE(pdf.Problems().isEmpty());
  SetServices(&services);
}

// A job that lasts shows "Page n sur N" with "Annuler"; cancelling stops it,
// prints nothing and writes no file, without a message.
TEST_F(PrintJobTest, ALongJobShowsItsProgressAndCanBeCancelled) {
  TChild& c = Open(WriteNames(400));
  services.AnswerPrintDialog(true);
  c.ImpListe();
  const int pages = static_cast<int>(OnlyJob().pages.size());
  ASSERT_GE(pages, 4);
  Printer().ClearJobs();

  CancelWhenProgressShows();
  services.AnswerPrintDialog(true);
  c.ImpListe();
  EXPECT_EQ(progressTitle, "Impression");
  EXPECT_EQ(progressText, QStringLiteral("Page 2 sur %1").arg(pages));
  EXPECT_TRUE(modal);
  const TPrintJob& job = OnlyJob();
  EXPECT_TRUE(job.aborted);
  EXPECT_FALSE(job.finished);
  EXPECT_EQ(job.pages.size(), 2u);
  EXPECT_TRUE(services.Questions().empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // To a PDF file: the file printed before stays as it was.
  TPdfServices pdf;
  SetServices(&pdf);
  WriteBytes(Path("noms.pdf"), "ancien");
  CancelWhenProgressShows();
  pdf.AnswerPrintDialog(true);
  c.ImpListe();
  EXPECT_EQ(progressText, QStringLiteral("Page 2 sur %1").arg(pages));
  EXPECT_EQ(ReadFile(Path("noms.pdf")), "ancien");
  EXPECT_EQ(Files(), QStringList({"noms.pdf", "noms.qor"}));
  EXPECT_EQ(pdf.Log().filter("Warning").size(), 0);
  EXPECT_TRUE(pdf.Problems().isEmpty());
  SetServices(&services);
}

}  // namespace
