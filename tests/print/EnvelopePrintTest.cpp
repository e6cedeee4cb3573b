// Envelopes: the dialog as a user fills it, one page per envelope with its lines
// at their millimetres on any resolution, the selection, the orientation put
// back, the preview, and a real PDF read back with poppler.

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "PrintTest.h"
#include "TFenv.h"
#include "TPreview.h"

namespace {

using TLines = TFenv::TLines;

class EnvelopePrintTest : public PrintTest {
 protected:
  QString WriteAddresses() {
    return WriteTable(
        "adresses.qor",
        {{"NOM", "STRING"}, {"PRENOM", "STRING"}, {"VILLE", "STRING"}, {"CP", "STRING"}},
        {{"Dupont", "Jean", "Paris", "75001"},
         {"Durand", "", "Lyon", "69002"},
         {"Martin", "Anne", "Lyon", "69003"}});
  }
  // Answers the envelope dialog: recipient lines (null: as proposed), then
  // "OK" or "Annuler".
  void AnswerEnvelopes(std::optional<TLines> recipients, bool ok = true) {
    services.AnswerDialog([recipients, ok](QDialog& dialog) {
      auto& fenv = dynamic_cast<TFenv&>(dialog);
      if (recipients)
        for (int k = 0; k < 4; ++k) fenv.Recipients[k]->setText((*recipients)[k]);
      (ok ? fenv.Button2 : fenv.Button1)->click();
    });
  }
  // Millimetres of a recorded position at `dpi`.
  static double Mm(double pixels, int dpi) { return pixels * 25.4 / dpi; }
  static const TLines kSender;
};

const TLines EnvelopePrintTest::kSender = {"Vek SA", "1 rue de la Paix", "75002 Paris", "France"};

TEST_F(EnvelopePrintTest, TheDialogProposesTheFirstFieldsAndInsertsDoubleClickedNames) {
  TFenv fenv;
  fenv.SetExp({QString(40, QChar('x')), "b", "", ""});
  fenv.Init({"NOM", "VILLE"});
  fenv.show();
  fenv.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&fenv));
  EXPECT_EQ(fenv.Recipients[0]->text(), "NOM");
  EXPECT_EQ(fenv.Recipients[1]->text(), "VILLE");
  EXPECT_EQ(fenv.Recipients[2]->text(), "");
  EXPECT_EQ(fenv.Recipients[3]->text(), "");
  // A sender line given longer than a line may be typed is kept whole.
  EXPECT_EQ(fenv.GetExp()[0], QString(40, QChar('x')));

  auto doubleClick = [&](int row) {
    fenv.ListBox1->setFocus();
    const QRect r = fenv.ListBox1->visualItemRect(fenv.ListBox1->item(row));
    QTest::mouseClick(fenv.ListBox1->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(fenv.ListBox1->viewport(), Qt::LeftButton, {}, r.center());
  };
  // Before any recipient line was left, a double click inserts nothing.
  doubleClick(0);
  EXPECT_EQ(fenv.Recipients[0]->text(), "NOM");
  // Into line 1 at its caret: after "NOM " comes "VILLE".
  fenv.Recipients[0]->setFocus();
  QTest::keyClick(fenv.Recipients[0], Qt::Key_End);
  QTest::keyClick(fenv.Recipients[0], Qt::Key_Space);
  doubleClick(1);
  EXPECT_EQ(fenv.Recipients[0]->text(), "NOM VILLE");
  // The selected text of line 2 stays selected when the line is left, and the
  // name replaces it.
  fenv.Recipients[1]->setFocus();
  fenv.Recipients[1]->selectAll();
  fenv.ListBox1->setFocus();
  EXPECT_EQ(fenv.Recipients[1]->selectedText(), "VILLE");
  doubleClick(0);
  EXPECT_EQ(fenv.Recipients[1]->text(), "NOM");

  // Every control can be told apart by a screen reader.
  for (QWidget* w : fenv.findChildren<QWidget*>()) {
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w) ||
        qobject_cast<QListWidget*>(w) || qobject_cast<QGroupBox*>(w)) {
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
  }
  EXPECT_EQ(fenv.Recipients[2]->accessibleName(), "Destinataire, ligne 3");
  fenv.Button1->click();
  EXPECT_FALSE(fenv.Result());
}

TEST_F(EnvelopePrintTest, EachRecordGetsAPageWithItsLinesAtTheirMillimetres) {
  TChild& c = Open(WriteAddresses());
  // 600 and 300 dots per inch: the same millimetres on both.
  for (const int dpi : {600, 300}) {
    Printer().ClearJobs();
    Printer().SetPage(qRound(210 * dpi / 25.4), qRound(297 * dpi / 25.4), 210, 297);
    c.SetEnv({"Vek SA", "1 rue de la Paix", "75002 Paris", ""}, 10, 0);
    services.AnswerDialog([](QDialog& dialog) {
      auto& fenv = dynamic_cast<TFenv&>(dialog);
      EXPECT_EQ(fenv.Recipients[0]->text(), "NOM");
      EXPECT_EQ(fenv.Senders[0]->text(), "Vek SA");
      fenv.Recipients[0]->setText("M. PRENOM NOM");
      fenv.Recipients[1]->setText("CP VILLE");
      fenv.Recipients[2]->setText("NOM PRENOM VILLE");
      fenv.Recipients[3]->setText("");
      fenv.Senders[3]->setText("France");
      fenv.Button2->click();
    });
    c.ImpEnv();
    EXPECT_EQ(c.GetEnv(), kSender);
    const TPrintJob& job = OnlyJob();
    EXPECT_EQ(job.title, Path("adresses.qor"));
    ASSERT_EQ(job.pages.size(), 3u);  // no blank page after the last envelope
    // A word that names no field prints nothing; an empty value in the middle
    // leaves its two blanks.
    EXPECT_EQ(job.Texts(0), QStringList({"Vek SA", "Jean Dupont", "1 rue de la Paix", "75001 Paris",
                                         "75002 Paris", "Dupont Jean Paris", "France"}));
    EXPECT_EQ(job.Texts(1).mid(1, 1), QStringList({"Durand"}));
    EXPECT_EQ(job.Texts(1)[5], "Durand  Lyon");
    const auto texts = Items(job, 0, TPrintItem::Text);
    EXPECT_EQ(texts[0]->font.family(), "Arial");
    EXPECT_EQ(texts[0]->font.pointSize(), 10);
    // Offset 10: sender line 1 at 5 mm, 18 mm; recipient line 1 at 110 mm, 63 mm.
    const double pixel = Mm(1, dpi);
    EXPECT_NEAR(Mm(texts[0]->pos.x(), dpi), 5, pixel / 2) << dpi;
    EXPECT_NEAR(Mm(texts[0]->pos.y(), dpi), 18, pixel / 2) << dpi;
    EXPECT_NEAR(Mm(texts[1]->pos.x(), dpi), 110, pixel / 2) << dpi;
    EXPECT_NEAR(Mm(texts[1]->pos.y(), dpi), 63, pixel / 2) << dpi;
    EXPECT_NEAR(Mm(texts[6]->pos.y(), dpi), 10 + 20 + 3, pixel / 2) << dpi;  // sender line 4
    EXPECT_NEAR(Mm(texts[5]->pos.y(), dpi), 10 + 60 + 3, pixel / 2) << dpi;  // recipient line 3
  }
}

TEST_F(EnvelopePrintTest, InSelectionModeOnlyTheSelectionGetsEnvelopesAndTheRecordStays) {
  TChild& c = Open(WriteAddresses());
  c.Document().SetFilter({"VILLE", "=", "Lyon"});
  c.AffSel();
  c.Vue(TView::Column);
  c.Suivant();
  const int current = c.Document().Table().RecNo();
  AnswerEnvelopes(std::nullopt);
  c.ImpEnv();
  const TPrintJob& job = OnlyJob();
  ASSERT_EQ(job.pages.size(), 2u);
  EXPECT_EQ(job.Texts(0)[0], "Durand");
  EXPECT_EQ(job.Texts(1)[0], "Martin");
  EXPECT_EQ(c.Document().Table().RecNo(), current);
  EXPECT_EQ(c.StringGrid2->Cell(1, 0), "Martin");

  // A selection without records: no job at all.
  Printer().ClearJobs();
  c.Document().SetFilter({c.Document().Filter().Field, c.Document().Filter().Operator, "Brest"});
  AnswerEnvelopes(std::nullopt);
  c.ImpEnv();
  EXPECT_TRUE(Printer().Jobs().empty());
}

TEST_F(EnvelopePrintTest, CancelledOrWithoutFirstLineNothingPrintsButTheSenderIsKept) {
  TChild& c = Open(WriteAddresses());
  c.SetEnv(kSender, 0, 0);
  services.AnswerDialog([](QDialog& dialog) {
    auto& fenv = dynamic_cast<TFenv&>(dialog);
    fenv.Senders[0]->setText("Vek SARL");
    fenv.Button1->click();
  });
  c.ImpEnv();
  EXPECT_EQ(c.GetEnv()[0], "Vek SARL");
  AnswerEnvelopes(TLines{"", "NOM", "", ""});
  c.ImpEnv();
  EXPECT_TRUE(Printer().Jobs().empty());
}

TEST_F(EnvelopePrintTest, ThePrinterGetsItsOwnOrientationBackAfterTheJob) {
  TChild& c = Open(WriteAddresses());
  Printer().SetOrientation(QPageLayout::Landscape);
  c.SetEnv(kSender, 0, 0);
  AnswerEnvelopes(std::nullopt);
  c.ImpEnv();
  EXPECT_EQ(OnlyJob().orientation, QPageLayout::Portrait);
  EXPECT_EQ(Printer().Orientation(), QPageLayout::Landscape);

  Printer().ClearJobs();
  Printer().SetOrientation(QPageLayout::Portrait);
  c.SetEnv(kSender, 0, 1);
  AnswerEnvelopes(std::nullopt);
  c.ImpEnv();
  EXPECT_EQ(OnlyJob().orientation, QPageLayout::Landscape);
  EXPECT_EQ(Printer().Orientation(), QPageLayout::Portrait);
}

TEST_F(EnvelopePrintTest, TheDialogPreviewsTheEnvelopesWithoutPrinting) {
  TChild& c = Open(WriteAddresses());
  c.SetEnv(kSender, 0, 1);
  services.AnswerDialog([](QDialog& dialog) {
    auto& fenv = dynamic_cast<TFenv&>(dialog);
    fenv.PreviewButton->click();
    fenv.Button1->click();
  });
  services.AnswerDialog([](QDialog& dialog) {
    auto& preview = dynamic_cast<TPreview&>(dialog);
    EXPECT_EQ(preview.PageCount(), 3);
    EXPECT_EQ(preview.PrintButton, nullptr);
    preview.CloseButton->click();
  });
  c.ImpEnv();
  EXPECT_TRUE(Printer().Jobs().empty());
  EXPECT_EQ(services.DialogTitles(),
            QStringList({"Enveloppes", QString::fromUtf8("Aperçu avant impression")}));
}

TEST_F(EnvelopePrintTest, EnvelopesInAPdfFileSitAtTheirMillimetres) {
  TPdfServices pdf;
  SetServices(&pdf);
  TChild& c = Open(WriteAddresses());
  c.SetEnv(kSender, 10, 0);
  pdf.AnswerDialog([](QDialog& dialog) { dynamic_cast<TFenv&>(dialog).Button2->click(); });
  pdf.AnswerPrintDialog(true);  // a file printer asks for its file
  c.ImpEnv();
  const QString file = Path("adresses.pdf");
  ASSERT_TRUE(QFile::exists(file));
  const QPointF origin =
      pdf.pdf.QtPrinter().pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
  const std::vector<TWord> words = PdfWords(file);
  int pages = 0, senders = 0, recipients = 0;
  for (const TWord& w : words) {
    pages = std::max(pages, w.page + 1);
    if (w.text == "Vek") {  // sender line 1
      ++senders;
      EXPECT_NEAR(w.xMin - origin.x(), 5, 0.3);
      EXPECT_NEAR(w.yMin - origin.y(), 18, 0.3);
    }
    if (w.text == "Dupont" || w.text == "Durand" || w.text == "Martin") {  // recipient line 1
      ++recipients;
      EXPECT_NEAR(w.xMin - origin.x(), 110, 0.3);
      EXPECT_NEAR(w.yMin - origin.y(), 63, 0.3);
    }
  }
  EXPECT_EQ(pages, 3);
  EXPECT_EQ(senders, 3);
  EXPECT_EQ(recipients, 3);
  EXPECT_TRUE(pdf.Problems().isEmpty()) << pdf.Problems().join('\n').toStdString();
  SetServices(&services);
}

}  // namespace
