#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <stdexcept>

#include "French.h"
#include "THourglass.h"

TEST(FrenchTest, FormatsDatesTimesAndNumbersTheFrenchWay) {
  EXPECT_EQ(FormatDate(QDate(1998, 10, 20)), "20/10/1998");
  EXPECT_EQ(FormatDate(QDate(2002, 1, 5)), "05/01/2002");
  EXPECT_EQ(FormatTime(QTime(8, 3, 0)), "08:03:00");
  EXPECT_EQ(FormatTime(QTime(18, 23, 59)), "18:23:59");
  EXPECT_EQ(FormatFloat(12.5), "12,5");
  EXPECT_EQ(FormatFloat(-0.25), "-0,25");
  EXPECT_EQ(FormatFloat(1234567.0), "1234567");  // no thousands separator
  EXPECT_EQ(FormatFloat(1.0 / 3.0, 4), "0,3333");
  EXPECT_EQ(FrenchLocale().decimalPoint(), ",");
  // The totals of "Calculer": "#.00", rounded on fifteen digits.
  EXPECT_EQ(FormatTwoDecimals(42.5), "42,50");
  EXPECT_EQ(FormatTwoDecimals(0.5), ",50");
  EXPECT_EQ(FormatTwoDecimals(-0.5), "-,50");
  EXPECT_EQ(FormatTwoDecimals(-0.004), ",00");
  EXPECT_EQ(FormatTwoDecimals(2.675), "2,68");
  EXPECT_EQ(FormatTwoDecimals(-1234567.125), "-1234567,13");
}

TEST(FrenchTest, NamesMonthsAndDaysInFrench) {
  EXPECT_EQ(MonthName(1), "janvier");
  EXPECT_EQ(MonthName(8), QString::fromUtf8("août"));
  EXPECT_EQ(MonthName(12), QString::fromUtf8("décembre"));
  EXPECT_EQ(DayName(1), "lundi");
  EXPECT_EQ(DayName(7), "dimanche");
  EXPECT_EQ(MonthName(0), "");
  EXPECT_EQ(MonthName(13), "");
  EXPECT_EQ(DayName(8), "");
}

// A failure reads as one French sentence: what could not be done and why, or,
// when memory ran out, that memory was lacking for it.
TEST(FrenchTest, AFailureIsOneSentence) {
  EXPECT_EQ(FailureMessage("ouvrir 'clients.qor'", TStatus(TFailure::NotFound, "clients.qor")),
            "Impossible d'ouvrir 'clients.qor' : le fichier n'existe pas");
  EXPECT_EQ(FailureMessage("trier la table", TStatus(TFailure::ReadError)),
            "Impossible de trier la table : erreur de lecture du fichier");
  EXPECT_EQ(
      FailureMessage(QString::fromUtf8("importer 'données.csv'"), TStatus(TFailure::OutOfMemory)),
      QString::fromUtf8("Mémoire insuffisante pour importer 'données.csv'"));
  EXPECT_EQ(FailureMessage("enregistrer 'x'", TStatus(TFailure::Other, "le serveur refuse")),
            "Impossible d'enregistrer 'x' : le serveur refuse");
  // The engine's own words stay out of what the user reads.
  EXPECT_EQ(FailureText(TStatus(TFailure::NotATable, "1-File's Signature must be QOR")),
            "ce n'est pas une table Vek Base");
}

// Qt's own dialogs - the file dialog drawn by Qt, the print, page set-up,
// colour and font dialogs - speak French once the translations are loaded;
// without them the program says so and goes on.
TEST(FrenchTest, QtsOwnDialogsSpeakFrench) {
  QTemporaryDir empty;
  EXPECT_FALSE(InstallFrenchTranslations(*QCoreApplication::instance(), empty.path()));
  EXPECT_TRUE(MissingTranslationsMessage(empty.path()).contains(empty.path()));
  ASSERT_TRUE(InstallFrenchTranslations(*QCoreApplication::instance()))
      << MissingTranslationsMessage().toStdString();

  QFileDialog files;
  files.setOption(QFileDialog::DontUseNativeDialog);
  files.setAcceptMode(QFileDialog::AcceptSave);
  EXPECT_EQ(files.labelText(QFileDialog::FileName), "&Nom de fichier :");
  EXPECT_EQ(files.labelText(QFileDialog::FileType), "Fichiers de type :");
  EXPECT_EQ(files.labelText(QFileDialog::Accept), "&Enregistrer");
  EXPECT_EQ(files.labelText(QFileDialog::Reject), "Annuler");
  EXPECT_EQ(QFileIconProvider().type(QFileInfo(QDir::tempPath())), "Dossier");
  QPrinter printer;
  QPrintDialog print(&printer);
  EXPECT_EQ(print.windowTitle(), "Imprimer");
  QPageSetupDialog setup(&printer);
  EXPECT_EQ(setup.windowTitle(), "Mise en page");
  // The print dialog's "Propriétés" opens Qt's printer properties dialog,
  // whose texts Qt's French file lacks.
  QString properties;
  QStringList tabs;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    properties = dialog->windowTitle();
    for (QTabWidget* tab : dialog->findChildren<QTabWidget*>())
      for (int i = 0; i < tab->count(); ++i) tabs << tab->tabText(i);
    dialog->close();
  });
  auto* button = print.findChild<QAbstractButton*>(QStringLiteral("properties"));
  ASSERT_NE(button, nullptr);
  button->click();
  EXPECT_EQ(properties, QString::fromUtf8("Propriétés de l'imprimante"));
  EXPECT_TRUE(tabs.contains(QString::fromUtf8("Avancé"))) << tabs.join('|').toStdString();
  EXPECT_FALSE(tabs.contains("Advanced"));
  QColorDialog color;
  EXPECT_EQ(color.windowTitle(), QString::fromUtf8("Sélectionner une couleur"));
  QFontDialog font;
  EXPECT_EQ(font.windowTitle(), "Choisir une police");
}

TEST(HourglassTest, ShowsTheWaitCursorForItsLifeAndNests) {
  ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
  {
    THourglass outer;
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    { THourglass inner; }
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  try {
    THourglass guard;
    throw std::runtime_error("read error");
  } catch (const std::exception&) {
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
