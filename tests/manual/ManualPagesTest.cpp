// Every page of the manual, opened through its window as a user opens it: it is
// there, each link leads to a page (and an anchor) that exists, each picture is
// there and can be drawn. Then the window itself: search, a missing page, the
// names a screen reader reads.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include "THelpWindow.h"

namespace {

QString Folder() {
  return THelpWindow::ManualFolder();
}

QString ReadPage(const QString& name) {
  QFile file(Folder() + QLatin1Char('/') + name);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The pages of the table of contents, read once for the parameters.
std::vector<std::string> ContentsPages() {
  std::vector<std::string> pages;
  THelpWindow window;
  for (const QString& page : window.Pages()) pages.push_back(page.toStdString());
  return pages;
}

class ManualPageTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ManualPageTest, OpensWithEveryLinkAndPictureThere) {
  const QString page = QString::fromStdString(GetParam());
  THelpWindow window;
  ASSERT_TRUE(window.ShowPage(page));
  EXPECT_EQ(window.CurrentPage(), page);
  QTextDocument* document = window.Browser()->document();
  EXPECT_FALSE(window.Browser()->documentTitle().isEmpty()) << "page sans titre";
  EXPECT_GT(document->toPlainText().size(), 200) << "page presque vide";
  // The page's source is the one read: UTF-8, with no leftover of a template.
  const QString source = ReadPage(page);
  EXPECT_TRUE(source.contains(QLatin1String("charset=\"utf-8\"")));
  EXPECT_FALSE(source.contains(QChar::ReplacementCharacter));
  // Its style sheet, which the browser would leave out without a word.
  static const QRegularExpression sheet(
      QStringLiteral("<link rel=\"stylesheet\"[^>]* href=\"([^\"]+)\""));
  for (auto it = sheet.globalMatch(source); it.hasNext();) {
    const QString css = it.next().captured(1);
    EXPECT_TRUE(QFileInfo::exists(Folder() + QLatin1Char('/') + css)) << qPrintable(css);
  }

  const QUrl base = window.Browser()->source();
  int links = 0;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (format.isAnchor() && !format.anchorHref().isEmpty()) {
        const QUrl target = base.resolved(QUrl(format.anchorHref()));
        ASSERT_TRUE(target.isLocalFile())
            << "lien hors du manuel : " << qPrintable(format.anchorHref());
        const QString file = QFileInfo(target.toLocalFile()).fileName();
        ASSERT_TRUE(QFileInfo::exists(target.toLocalFile()))
            << "lien vers une page absente : " << qPrintable(format.anchorHref());
        if (target.hasFragment()) {
          const QString targetSource = ReadPage(file);
          EXPECT_TRUE(targetSource.contains(QStringLiteral("id=\"%1\"").arg(target.fragment())))
              << "ancre absente : " << qPrintable(format.anchorHref());
        }
        ++links;
      }
      if (format.isImageFormat()) {
        const QString name = format.toImageFormat().name();
        const QString path = base.resolved(QUrl(name)).toLocalFile();
        EXPECT_FALSE(QImage(path).isNull()) << "image absente ou illisible : " << qPrintable(name);
      }
    }
  }
  // Every page leads somewhere else in the manual.
  EXPECT_GT(links, 0);
}

INSTANTIATE_TEST_SUITE_P(Pages, ManualPageTest, ::testing::ValuesIn(ContentsPages()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name;
                           for (char c : info.param)
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           return name;
                         });

TEST(ManualTest, EveryPageOfTheFolderIsInTheContents) {
  ASSERT_FALSE(Folder().isEmpty());
  THelpWindow window;
  EXPECT_GE(window.Pages().size(), 15);
  const QStringList files = QDir(Folder()).entryList({QStringLiteral("*.html")}, QDir::Files);
  for (const QString& file : files) EXPECT_TRUE(window.Pages().contains(file)) << qPrintable(file);
  // The titles of the list are the pages' own.
  for (int i = 1; i < window.Pages().size(); ++i) {
    window.ShowPage(window.Pages()[i]);
    EXPECT_EQ(window.Titles()[i], window.Browser()->documentTitle())
        << qPrintable(window.Pages()[i]);
  }
}

TEST(ManualTest, SearchListsThePagesHoldingEveryWordAccentsAndCaseAside) {
  THelpWindow window;
  const int all = window.Contents()->count();
  EXPECT_EQ(all, window.Pages().size());

  window.SearchField()->setText(QStringLiteral("ENVELOPPES expediteur"));
  const QStringList found = window.Search(window.SearchField()->text());
  EXPECT_TRUE(found.contains(QStringLiteral("impression.html")));
  EXPECT_LT(found.size(), all);
  EXPECT_EQ(window.Contents()->count(), found.size());

  // Enter opens the first page found, the word marked in it.
  QMetaObject::invokeMethod(window.SearchField(), "returnPressed");
  EXPECT_EQ(window.CurrentPage(), found.first());
  EXPECT_EQ(window.Browser()->textCursor().selectedText().toLower(), QStringLiteral("enveloppes"));

  window.SearchField()->setText(QStringLiteral("xyzzy"));
  EXPECT_EQ(window.Contents()->count(), 0);
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("FoundLabel"))->text(),
            QStringLiteral("Aucune page ne contient ces mots."));
  window.SearchField()->clear();
  EXPECT_EQ(window.Contents()->count(), all);
}

TEST(ManualTest, AMissingPageSaysSoInFrench) {
  THelpWindow window;
  ASSERT_TRUE(window.ShowPage(QStringLiteral("index.html")));
  EXPECT_FALSE(window.ShowPage(QStringLiteral("absente.html")));
  EXPECT_TRUE(window.Browser()->toPlainText().startsWith(QStringLiteral("Page introuvable")));
  EXPECT_TRUE(window.Browser()->toPlainText().contains(QStringLiteral("« absente.html »")));
}

TEST(ManualTest, ContentsAndButtonsLeadThroughThePages) {
  THelpWindow window;
  window.show();
  auto button = [&window](const char* text) {
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
      if (b->text() == QString::fromUtf8(text)) return b;
    return static_cast<QAbstractButton*>(nullptr);
  };
  ASSERT_NE(button("Précédent"), nullptr);
  EXPECT_FALSE(button("Précédent")->isEnabled());
  window.Contents()->setCurrentRow(2);
  emit window.Contents()->itemActivated(window.Contents()->item(2));
  EXPECT_EQ(window.CurrentPage(), window.Pages()[2]);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Manuel de Vek Base - ") + window.Titles()[2]);
  ASSERT_TRUE(button("Précédent")->isEnabled());
  button("Précédent")->click();
  EXPECT_EQ(window.CurrentPage(), QStringLiteral("index.html"));
  button("Suivant")->click();
  EXPECT_EQ(window.CurrentPage(), window.Pages()[2]);
  button("Sommaire")->click();
  EXPECT_EQ(window.CurrentPage(), QStringLiteral("index.html"));
  EXPECT_EQ(window.Contents()->currentRow(), 0);
  // The list marks the page shown, however it was reached.
  window.ShowPage(window.Pages()[4] + QStringLiteral("#x"));
  EXPECT_EQ(window.Contents()->currentRow(), 4);
  button("Précédent")->click();
  EXPECT_EQ(window.Contents()->currentRow(), 0);
}

TEST(ManualTest, EveryControlHasAnAccessibleName) {
  THelpWindow window;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&window) || w->focusPolicy() == Qt::NoFocus) continue;
    if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
        qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTextBrowser*>(w)) {
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
    }
  }
}

}  // namespace
