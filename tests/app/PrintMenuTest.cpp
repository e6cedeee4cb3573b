// The "Imprimer" submenu, the print button, the printer set-up and the preview
// as the main window runs them: each reaches the active table, shows
// "Imprime..." while it prints, and the envelope command takes the settings of
// "VekBase.ini" and gives the sender lines back.

#include <QLineEdit>
#include <QPushButton>

#include "MainWindowTest.h"
#include "TFenv.h"
#include "TPreview.h"

namespace {

class PrintMenuTest : public MainWindowTest {
 protected:
  TRecordingPrinter& Printer() { return services.RecordingPrinter(); }
  QStringList Titles() {
    QStringList titles;
    for (const TPrintJob& job : Printer().Jobs()) titles << job.Texts(0).value(0);
    return titles;
  }
};

TEST_F(PrintMenuTest, EachPrintCommandPrintsWhatTheActiveTableShows) {
  const QString path = WriteTable("clients.qor");
  ASSERT_TRUE(form->OpenTable(path));
  for (int i = 0; i < 3; ++i) services.AnswerPrintDialog(true);
  Action("Liste1")->trigger();
  Action("PrintButton")->trigger();
  Action("Structure1")->trigger();
  Action("Colonne1")->trigger();
  services.AnswerPrintDialog(true);
  Action("Fiche1")->trigger();
  ASSERT_EQ(Printer().Jobs().size(), 4u);
  EXPECT_EQ(Titles(), QStringList({path, path, "Structure du fichier clients.qor", path}));
  EXPECT_EQ(Printer().Jobs()[3].Texts(0).mid(2, 2), QStringList({"NOM", "Martin"}));

  Action("Tabulaire1")->trigger();
  services.AnswerDialog([](QDialog& dialog) {
    auto& preview = dynamic_cast<TPreview&>(dialog);
    EXPECT_EQ(preview.PageCount(), 1);
    preview.CloseButton->click();
  });
  Action("Apercu1")->trigger();
  services.AnswerPrinterSetup(true);
  Action("Configurerlimprimante1")->trigger();
  EXPECT_EQ(services.PrinterSetups(), 1);
  EXPECT_EQ(Printer().Jobs().size(), 4u);
}

TEST_F(PrintMenuTest, ImprimeShowsWhileAJobRunsAndAFailureIsReported) {
  ASSERT_TRUE(form->OpenTable(WriteTable("clients.qor")));
  Printer().SetAvailable(false);
  QString during;
  services.WhileAsking([&](const TQuestion&) { during = form->StatusText(); });
  services.AnswerPrintDialog(true);
  Action("Liste1")->trigger();
  EXPECT_EQ(during, "Imprime...");
  EXPECT_EQ(form->StatusText(), "");
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].text,
            QString::fromUtf8("Impression impossible : l'imprimante a refusé le travail"));
}

TEST_F(PrintMenuTest, EnvelopesUseTheSettingsFileAndKeepTheSenderLinesAsEdited) {
  WriteFile(Path("VekBase.ini"), "Vek SA\r\n1 rue de la Paix\r\n75002 Paris\r\n\r\n10\r\n1\r\n");
  form->show();
  ASSERT_TRUE(form->OpenTable(WriteTable("clients.qor")));
  services.AnswerDialog([](QDialog& dialog) {
    auto& fenv = dynamic_cast<TFenv&>(dialog);
    EXPECT_EQ(fenv.Senders[2]->text(), "75002 Paris");
    EXPECT_EQ(fenv.Senders[3]->text(), "");
    fenv.Senders[3]->setText("France");
    fenv.Button2->click();
  });
  Action("Enveloppes1")->trigger();
  EXPECT_EQ(form->Envelope.SenderLines[3], "France");
  EXPECT_EQ(form->Envelope.EnvelopeOffset, 10);
  ASSERT_EQ(Printer().Jobs().size(), 1u);
  const TPrintJob& job = Printer().Jobs()[0];
  EXPECT_EQ(job.orientation, QPageLayout::Landscape);
  EXPECT_EQ(job.pages.size(), 3u);
  // Offset 10: the first sender line 18 mm from the top of the page.
  const TPrintItem& first = job.pages[0][0];
  EXPECT_EQ(first.text, "Vek SA");
  const double dpi = Printer().PageWidth() * 25.4 / Printer().PageWidthMM();
  EXPECT_NEAR(first.pos.y() * 25.4 / dpi, 18, 0.05);
  EXPECT_EQ(Printer().Orientation(), QPageLayout::Portrait);
  ASSERT_TRUE(form->close());
  EXPECT_EQ(ReadFile(Path("VekBase.ini")),
            QByteArray("Vek SA\r\n1 rue de la Paix\r\n75002 Paris\r\nFrance\r\n10\r\n1\r\n"));
}

}  // namespace
