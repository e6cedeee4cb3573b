// Printing lists, records and the structure: what lands on each page, where the
// page breaks fall, the fit of a wide grid, the preview, and the failures a user
// is told about.

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QPushButton>

#include "PrintGrid.h"
#include "PrintTest.h"
#include "TGridPrintout.h"
#include "TPreview.h"

namespace {

const QString kDate = QString::fromUtf8("Imprimé le 15/01/2002");

class ListPrintTest : public PrintTest {
 protected:
  // A table of n records: NOM "Nom<n>", VILLE a town.
  QString WriteNames(int n, const QString& name = "noms.qor") {
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= n; ++i)
      rows.push_back({"Nom" + std::to_string(i), i % 2 ? "Lyon" : "Nice"});
    return WriteTable(name, {{"NOM", "STRING"}, {"VILLE", "STRING"}}, rows);
  }

  // The rows of a page as "cell|cell|cell", after the heading and the date.
  static QStringList Rows(const TPrintJob& job, int page, int columns) {
    const QStringList texts = job.Texts(page);
    QStringList rows;
    for (int i = 2; i + columns <= texts.size(); i += columns)
      rows << texts.mid(i, columns).join('|');
    return rows;
  }
  // The y of every horizontal rule of a page, and the x of every vertical one.
  static std::vector<int> Rules(const TPrintJob& job, int page, bool horizontal) {
    std::vector<int> at;
    for (const TPrintItem* item : Items(job, page, TPrintItem::Line)) {
      const QLineF& l = item->line;
      if (horizontal && l.y1() == l.y2()) at.push_back(qRound(l.y1()));
      if (!horizontal && l.x1() == l.x2()) at.push_back(qRound(l.x1()));
    }
    return at;
  }
};

TEST_F(ListPrintTest, EveryPageHasTheHeadingsAndTheRowsFollowInOrderUntilThePageIsFull) {
  const QString path = WriteNames(100);
  TChild& c = Open(path);
  services.AnswerPrintDialog(true);
  c.ImpListe();
  const TPrintJob& job = OnlyJob();
  EXPECT_EQ(job.title, path);
  EXPECT_TRUE(job.finished);
  ASSERT_GE(job.pages.size(), 3u);
  const int m = Printer().PageWidth() / 25, t = Printer().PageHeight() / 25;
  const int r = Printer().PageWidth() - m, bottom = Printer().PageHeight() - t;
  const TPrintItem& band = *Items(job, 0, TPrintItem::Rect).at(0);
  const int h = qRound(band.rect.height());
  EXPECT_EQ(band.rect, QRectF(m, t + h, r - m, h));
  EXPECT_EQ(band.brush.color(), QColor(192, 192, 192));

  QStringList rows;
  for (int p = 0; p < static_cast<int>(job.pages.size()); ++p) {
    const QStringList page = Rows(job, p, 3);
    ASSERT_FALSE(page.isEmpty());
    EXPECT_EQ(job.Texts(p).mid(0, 2), QStringList({path, kDate})) << "page " << p;
    EXPECT_EQ(page[0], "Enr|NOM|VILLE");
    rows << page.mid(1);
    // The heading in bold at the margins; the date ends at the right edge.
    const auto texts = Items(job, p, TPrintItem::Text);
    EXPECT_EQ(texts[0]->pos, QPointF(m, t));
    EXPECT_TRUE(texts[0]->font.bold());
    EXPECT_EQ(texts[1]->pos.y(), t);
    EXPECT_GT(texts[1]->pos.x(), (m + r) / 2);
    // The band's top rule, then one under each row, h apart; the page ends on
    // the first rule that reaches page height - T.
    const std::vector<int> ys = Rules(job, p, true);
    ASSERT_EQ(ys.size(), static_cast<size_t>(page.size()) + 1);
    EXPECT_EQ(ys[0], t + h);
    for (size_t k = 1; k < ys.size(); ++k) EXPECT_EQ(ys[k], ys[k - 1] + h);
    for (size_t k = 0; k + 1 < ys.size(); ++k) EXPECT_LT(ys[k], bottom);
    if (p + 1 < static_cast<int>(job.pages.size())) {
      EXPECT_GE(ys.back(), bottom);
    }
    // The frame: rules at M, at each column start and at R, from the band down.
    const std::vector<int> xs = Rules(job, p, false);
    ASSERT_EQ(xs.size(), 4u);
    EXPECT_EQ(xs.front(), m);
    EXPECT_EQ(xs.back(), r);
    // Row 0 in bold in the band, the rows in the grid's regular font; each
    // text a millimetre from its column's rule, centred in its row.
    const int gap = qRound(Printer().PixelsPerMMX());
    EXPECT_TRUE(texts[2]->font.bold());
    EXPECT_EQ(texts[2]->pos.x(), m + gap);
    EXPECT_NEAR(texts[2]->pos.y(), t + h + h / 6.0, 1.5);
    EXPECT_FALSE(texts[5]->font.bold());
    EXPECT_EQ(texts[5]->pos.x(), m + gap);
    EXPECT_NEAR(texts[5]->pos.y(), t + 2 * h + h / 6.0, 1.5);
  }
  ASSERT_EQ(rows.size(), 100);
  for (int i = 1; i <= 100; ++i)
    EXPECT_EQ(rows[i - 1], QStringLiteral("%1|Nom%1|%2").arg(i).arg(i % 2 ? "Lyon" : "Nice"));
}

TEST_F(ListPrintTest, ALastRowThatFillsThePageIsFollowedByAPageOfHeadingsOnly) {
  // How many rows a page holds, from a first printout.
  TChild& first = Open(WriteNames(200));
  services.AnswerPrintDialog(true);
  first.ImpListe();
  const int perPage = static_cast<int>(Rows(OnlyJob(), 0, 3).size()) - 1;
  ASSERT_GT(perPage, 5);
  Printer().ClearJobs();

  TChild& c = Open(WriteNames(perPage, "plein.qor"));
  services.AnswerPrintDialog(true);
  c.ImpListe();
  const TPrintJob& job = OnlyJob();
  ASSERT_EQ(job.pages.size(), 2u);
  EXPECT_EQ(Rows(job, 0, 3).size(), perPage + 1);
  EXPECT_EQ(job.Texts(1), QStringList({Path("plein.qor"), kDate, "Enr", "NOM", "VILLE"}));
}

TEST_F(ListPrintTest, ATableWithoutRecordsPrintsOneEmptyRow) {
  TChild& c = Open(WriteTable("vide.qor", {{"NOM", "STRING"}}, {}));
  services.AnswerPrintDialog(true);
  c.ImpListe();
  const TPrintJob& job = OnlyJob();
  ASSERT_EQ(job.pages.size(), 1u);
  EXPECT_EQ(job.Texts(0), QStringList({Path("vide.qor"), kDate, "Enr", "NOM"}));
  // The band's top, under the heading row, under the empty row.
  EXPECT_EQ(Rules(job, 0, true).size(), 3u);
}

TEST_F(ListPrintTest, TheRecordPrintoutHasTheFirstFieldInTheBand) {
  TChild& c = Open(WriteClients());
  c.Suivant();
  c.Vue(TView::Column);
  c.Vue(TView::Table);  // the column view keeps the record it showed last
  services.AnswerPrintDialog(true);
  c.ImpFiche();
  const TPrintJob& job = OnlyJob();
  EXPECT_EQ(Rows(job, 0, 2), QStringList({"NOM|Durand", "VILLE|Lyon", "PRIX|7"}));
  const auto texts = Items(job, 0, TPrintItem::Text);
  EXPECT_TRUE(texts[3]->font.bold());   // "Durand", in the band
  EXPECT_FALSE(texts[5]->font.bold());  // "Lyon"
}

TEST_F(ListPrintTest, TheStructurePrintsAsTextLinesWithTabStops) {
  TChild& c = Open(WriteClients());
  services.AnswerPrintDialog(true);
  c.ImpStru();
  const TPrintJob& job = OnlyJob();
  EXPECT_EQ(job.title, Path("clients.qor"));
  EXPECT_EQ(job.Texts(0), QStringList({"Structure du fichier clients.qor", "NOM", "STRING", "VILLE",
                                       "STRING", "PRIX", "FLOAT"}));
  const auto texts = Items(job, 0, TPrintItem::Text);
  EXPECT_EQ(texts[0]->pos, QPointF(0, 0));
  EXPECT_EQ(texts[1]->pos.x(), 0);
  EXPECT_EQ(texts[2]->pos.y(), texts[1]->pos.y());
  EXPECT_GT(texts[1]->pos.y(), 0);
  // The types line up on one tab stop.
  EXPECT_GT(texts[2]->pos.x(), 0);
  EXPECT_EQ(texts[4]->pos.x(), texts[2]->pos.x());
  EXPECT_EQ(texts[6]->pos.x(), texts[2]->pos.x());

  // Without fields: the first line alone. Cancelling prints nothing.
  Printer().ClearJobs();
  TChild& empty = Open(WriteTable("rien.qor", {}, {}));
  services.AnswerPrintDialog(false);
  empty.ImpStru();
  EXPECT_TRUE(Printer().Jobs().empty());
  services.AnswerPrintDialog(true);
  empty.ImpStru();
  EXPECT_EQ(OnlyJob().Texts(0), QStringList({"Structure du fichier rien.qor"}));
}

// A name that ends just before a tab stop is still followed by a blank.
TEST_F(ListPrintTest, TheStructureKeepsABlankBetweenNameAndType) {
  ASSERT_TRUE(Printer().BeginDoc());
  Printer().Canvas().setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  const QFontMetrics fm = Printer().Canvas().fontMetrics();
  Printer().Abort();
  Printer().ClearJobs();
  const int tab = 8 * fm.averageCharWidth();
  const int blank = fm.horizontalAdvance(' ');
  QString name;
  for (int wide = 0; wide < 12 && name.isEmpty(); ++wide)
    for (int narrow = 0; narrow < 30 && name.isEmpty(); ++narrow) {
      const QString candidate = QString(wide, 'M') + QString(narrow, 'I') + 'X';
      const int rest = fm.horizontalAdvance(candidate) % tab;
      if (rest > tab - blank) name = candidate;
    }
  ASSERT_FALSE(name.isEmpty());
  TChild& c = Open(WriteTable("serre.qor", {{name.toStdString(), "STRING"}}, {}));
  services.AnswerPrintDialog(true);
  c.ImpStru();
  const auto texts = Items(OnlyJob(), 0, TPrintItem::Text);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1]->text, name);
  EXPECT_EQ(texts[2]->text, "STRING");
  EXPECT_GE(texts[2]->pos.x(), texts[1]->pos.x() + fm.horizontalAdvance(name) + blank);
  EXPECT_EQ(texts[2]->pos.x(), ((fm.horizontalAdvance(name) + blank) / tab + 1) * tab);
}

// Every text of the list prints whole, inside its column, a millimetre or so
// from its rules: the columns take the width of their texts, and the font
// shrinks, not below 6 points, when they are wider than the page.
TEST_F(ListPrintTest, AWideListLosesNoCharacter) {
  std::vector<TTestField> fields = {{"NOM", "STRING"},      {"PRENOM", "STRING"},
                                    {"ADRESSE", "STRING"},  {"CODEPOSTAL", "STRING"},
                                    {"VILLE", "STRING"},    {"TELEPHONE", "STRING"},
                                    {"PORTABLE", "STRING"}, {"NAISSANCE", "STRING"},
                                    {"ENTREE", "STRING"},   {"MONTANT", "FLOAT"}};
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < 30; ++i)
    rows.push_back({"Delacroix", "Marie-Claire", "12 rue de la Paix", "75008", "Saint-Etienne",
                    "04 78 42 15 63", "06 12 34 56 78", "12/03/1998", "01/09/2001", "123456,75"});
  TChild& c = Open(WriteTable("large.qor", fields, rows));
  services.AnswerPrintDialog(true);
  c.ImpListe();
  const TPrintJob& job = OnlyJob();
  const int m = Printer().PageWidth() / 25, r = Printer().PageWidth() - m;
  const double mm = Printer().PixelsPerMMX();
  for (int p = 0; p < static_cast<int>(job.pages.size()); ++p) {
    const std::vector<int> xs = Rules(job, p, false);
    ASSERT_EQ(xs.size(), 12u);  // Enr, ten fields, and R
    EXPECT_EQ(xs.front(), m);
    EXPECT_EQ(xs.back(), r);
    const auto texts = Items(job, p, TPrintItem::Text);
    ASSERT_EQ((texts.size() - 2) % 11, 0u) << job.Texts(p).join('|').toStdString();
    for (size_t k = 2; k < texts.size(); ++k) {
      const TPrintItem& text = *texts[k];
      EXPECT_GE(text.font.pointSizeF(), 6.0);
      const size_t col = (k - 2) % 11;
      const double right = text.pos.x() + DeviceWidth(text.font, text.text);
      EXPECT_GE(text.pos.x() - xs[col], 0.8 * mm) << text.text.toStdString();
      EXPECT_GE(xs[col + 1] - right, 0.8 * mm) << text.text.toStdString();
    }
  }
  // The grid's font would not have held them: the printing font is smaller.
  EXPECT_LT(Items(job, 0, TPrintItem::Text)[2]->font.pointSizeF(),
            TGridPrintout::PrintingFont(*c.StringGrid1).pointSizeF());
  const QStringList first = Rows(job, 0, 11);
  EXPECT_EQ(first[0],
            "Enr|NOM|PRENOM|ADRESSE|CODEPOSTAL|VILLE|TELEPHONE|PORTABLE|NAISSANCE|"
            "ENTREE|MONTANT");
  EXPECT_EQ(first[1],
            "1|Delacroix|Marie-Claire|12 rue de la Paix|75008|Saint-Etienne|"
            "04 78 42 15 63|06 12 34 56 78|12/03/1998|01/09/2001|123456,75");
}

// Too wide even at 6 points: the columns share the page and a long text
// wraps onto further lines inside its row, at its blanks; nothing is lost.
TEST_F(ListPrintTest, TextsTooWideForThePageWrapInsideTheirRow) {
  TStringGrid grid;
  grid.resize(700, 300);
  grid.SetSize(4, 3);
  const QString longText = QStringLiteral(
      "Une note assez longue pour ne jamais tenir sur une ligne de la page imprimee, "
      "meme en six points, avec un mot interminable: anticonstitutionnellementXYZ");
  for (int col = 0; col < 4; ++col) {
    grid.SetCell(col, 0, QStringLiteral("Champ%1").arg(col));
    grid.SetCell(col, 1, QStringLiteral("%1 %2").arg(col).arg(longText));
    grid.SetCell(col, 2, QStringLiteral("court"));
  }
  Printer().SetPage(1000, 1414, 210, 297);  // a coarse printer: A4 at 121 dots per inch
  ASSERT_TRUE(PrintGrid(grid, QString(), QString(), 2));
  const TPrintJob& job = OnlyJob();
  ASSERT_EQ(job.pages.size(), 1u);
  const std::vector<int> xs = Rules(job, 0, false);
  ASSERT_EQ(xs.size(), 5u);
  const std::vector<int> ys = Rules(job, 0, true);
  ASSERT_EQ(ys.size(), 4u);  // band top, under row 0, under row 1, under row 2
  const int h = ys[1] - ys[0];
  EXPECT_GT(ys[2] - ys[1], 2 * h);  // row 1 holds several lines
  EXPECT_EQ(ys[3] - ys[2], h);      // row 2 one
  // The lines of each cell of row 1, in order, give back its text.
  std::vector<QStringList> cells(4);
  for (const TPrintItem* text : Items(job, 0, TPrintItem::Text)) {
    if (text->pos.y() <= ys[1] || text->pos.y() >= ys[2]) continue;
    EXPECT_DOUBLE_EQ(text->font.pointSizeF(), 6.0);
    const int col = static_cast<int>(
        std::upper_bound(xs.begin(), xs.end(), static_cast<int>(text->pos.x())) - xs.begin() - 1);
    ASSERT_GE(col, 0);
    ASSERT_LT(col, 4);
    EXPECT_LE(text->pos.x() + DeviceWidth(text->font, text->text), xs[col + 1]);
    cells[static_cast<size_t>(col)] << text->text;
  }
  for (int col = 0; col < 4; ++col) {
    EXPECT_GT(cells[static_cast<size_t>(col)].size(), 3);
    EXPECT_EQ(cells[static_cast<size_t>(col)].join(' ').remove(' '),
              QStringLiteral("%1 %2").arg(col).arg(longText).remove(' '));
  }
}

// A job the printer refuses, or one that fails part-way, is reported with the
// reason, never taken for printed.
TEST_F(ListPrintTest, ARefusedOrBrokenJobIsReportedWithItsReason) {
  TChild& c = Open(WriteNames(100));
  Printer().SetAvailable(false);
  services.AnswerPrintDialog(true);
  c.ImpListe();
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Warning);
  EXPECT_EQ(services.Questions()[0].text,
            QString::fromUtf8("Impression impossible : l'imprimante a refusé le travail"));

  struct TFailingServices : TFakeServices {
    TPrinter& Printer() override { return failing; }
    TFailingPrinter failing;
  } broken;
  SetServices(&broken);
  broken.AnswerPrintDialog(true);
  c.ImpListe();
  EXPECT_EQ(broken.Log().last(), "Warning [] Impression impossible : plus de papier");
  ASSERT_EQ(broken.failing.Jobs().size(), 1u);
  EXPECT_EQ(broken.failing.Jobs()[0].pages.size(), 1u);  // nothing drawn after the failure

  // A PDF file in a folder that does not exist.
  TPdfServices pdf;
  SetServices(&pdf);
  const QString missing = Path("absent/liste.pdf");
  pdf.pdf.QtPrinter().setOutputFileName(missing);
  EXPECT_EQ(TPrintout::Message(PrintGrid(*c.StringGrid1, QString(), QString(), 3)),
            "Impression impossible : le dossier '" + Path("absent") + "' n'existe pas");
  EXPECT_FALSE(QFile::exists(missing));
  EXPECT_TRUE(broken.Problems().isEmpty() && pdf.Problems().isEmpty());
  SetServices(&services);
}

TEST_F(ListPrintTest, AListPrintedToAPdfFileReadsBackWithItsHeadingsOnEveryPage) {
  TPdfServices pdf;
  SetServices(&pdf);
  const QString path = WriteNames(150);
  TChild& c = Open(path);
  pdf.AnswerPrintDialog(true);
  c.ImpListe();
  // The dialog proposed the table's name with ".pdf", beside the table.
  const QString file = Path("noms.pdf");
  ASSERT_TRUE(QFile::exists(file));
  const QStringList pages = PdfPages(file);
  ASSERT_GE(pages.size(), 3);
  QStringList numbers;
  static const QRegularExpression row(R"(^\s*(\d+)\s+Nom(\d+)\s+(Lyon|Nice)\s*$)");
  for (const QString& page : pages) {
    const QStringList lines = page.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].trimmed().startsWith(path)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].trimmed().endsWith(kDate)) << lines[0].toStdString();
    EXPECT_EQ(lines[1].simplified(), "Enr NOM VILLE");
    for (const QString& line : lines.mid(2)) {
      const auto m = row.match(line);
      ASSERT_TRUE(m.hasMatch()) << line.toStdString();
      EXPECT_EQ(m.captured(1), m.captured(2));
      numbers << m.captured(1);
    }
  }
  ASSERT_EQ(numbers.size(), 150);
  for (int i = 0; i < 150; ++i) EXPECT_EQ(numbers[i], QString::number(i + 1));
  EXPECT_TRUE(pdf.Problems().isEmpty());
  SetServices(&services);
}

// The preview shows the pages the printer gets, from the same drawing, and
// prints them on request.
TEST_F(ListPrintTest, ThePreviewShowsThePagesThatPrintAndPrintsThem) {
  const QString path = WriteNames(120);
  TChild& c = Open(path);
  // The pages of the list on a printer like the preview's.
  QTemporaryDir out;
  TQtPrinter reference;
  reference.QtPrinter().setOutputFormat(QPrinter::PdfFormat);
  reference.QtPrinter().setOutputFileName(out.filePath("reference.pdf"));
  TGridPrintout printout(*c.StringGrid1, path, path, c.StringGrid1->RowCount() - 1);
  ASSERT_TRUE(printout.RunJob(reference));
  const int pages = reference.PageNumber();
  ASSERT_GE(pages, 3);

  services.AnswerDialog([&](QDialog& dialog) {
    auto& preview = dynamic_cast<TPreview&>(dialog);
    EXPECT_EQ(preview.windowTitle(), QString::fromUtf8("Aperçu avant impression"));
    EXPECT_EQ(preview.PageCount(), pages);
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 1 sur %1").arg(pages));
    preview.LastButton->click();
    EXPECT_EQ(preview.CurrentPage(), pages);
    preview.PriorButton->click();
    EXPECT_EQ(preview.PageLabel->text(),
              QStringLiteral("Page %1 sur %2").arg(pages - 1).arg(pages));
    // Every button named, and as wide as its caption.
    for (QPushButton* w : preview.findChildren<QPushButton*>()) {
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
      EXPECT_GE(w->width(), w->sizeHint().width()) << w->text().toStdString();
    }
    EXPECT_FALSE(preview.Preview->accessibleName().isEmpty());
    preview.PrintButton->click();
  });
  services.AnswerPrintDialog(true);
  c.Apercu();
  const TPrintJob& job = OnlyJob();
  EXPECT_EQ(job.title, path);
  EXPECT_EQ(job.Texts(0).mid(0, 2), QStringList({path, kDate}));
}

}  // namespace
