// The import's preview as a user drives it: what it shows of a file under the
// table's fields, its choices following the user's changes, and what it
// answers on "Importer" and "Annuler".

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "TFakeServices.h"
#include "TImportPreviewDlg.h"
#include "TStringGrid.h"

namespace {

class ImportPreviewDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { SetServices(&services); }
  void TearDown() override {
    EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
  }
  // The grid's rows below its header, cells joined by "|".
  static QStringList Rows(const TStringGrid& g) {
    QStringList rows;
    for (int r = 1; r < g.RowCount(); ++r) {
      QStringList cells;
      for (int c = 1; c < g.ColCount(); ++c) cells << g.Cell(c, r);
      rows << cells.join('|');
    }
    return rows;
  }

  TFakeServices services;
  QTemporaryDir dir;
};

TEST_F(ImportPreviewDlgTest, ShowsTheRecordsUnderTheFieldsAndFollowsEachChoice) {
  QByteArray text = "\xEF\xBB\xBFVille,Nom\r\n";
  for (int i = 1; i <= 25; ++i)
    text +=
        "Orl\xC3\xA9"
        "ans," +
        QByteArray::number(i) + ";x\r\n";
  const QString path = Write("clients.csv", text);
  TImportPreviewDlg dlg;
  ASSERT_TRUE(dlg.Init(path, {"Nom", "Ville"}).ok());
  EXPECT_EQ(dlg.FileLabel->text(), "Fichier : clients.csv");
  EXPECT_EQ(dlg.Grid->Cell(1, 0), "Nom");
  EXPECT_EQ(dlg.Grid->Cell(2, 0), "Ville");
  QStringList rows = Rows(*dlg.Grid);
  ASSERT_EQ(rows.size(), TImportPreviewDlg::kRecords);
  EXPECT_EQ(rows[0], QString::fromUtf8("1;x|Orléans"));  // by the header's names
  EXPECT_EQ(dlg.SeparatorBox->currentText(), QString::fromUtf8("Virgule ( , ) (détecté)"));
  EXPECT_EQ(dlg.EncodingBox->currentText(), QString::fromUtf8("UTF-8 (détecté)"));
  EXPECT_TRUE(dlg.HeaderBox->isChecked());
  EXPECT_EQ(dlg.Notes->text(), QString::fromUtf8("Les valeurs iront aux champs que nomme la "
                                                 "première ligne."));

  // Semicolons: "Ville,Nom" is then no header, but a record; values by position.
  dlg.SeparatorBox->setCurrentIndex(0);
  EXPECT_EQ(dlg.SeparatorBox->currentText(), QString::fromUtf8("Point-virgule ( ; )"));
  EXPECT_FALSE(dlg.HeaderBox->isChecked());  // found again for the new separator
  rows = Rows(*dlg.Grid);
  EXPECT_EQ(rows[0], "Ville,Nom|");
  EXPECT_EQ(rows[1], QString::fromUtf8("Orléans,1|x"));
  EXPECT_EQ(rows.size(), TImportPreviewDlg::kRecords);

  // Windows-1252 shows the UTF-8 bytes as they are; the first line becomes a record.
  dlg.EncodingBox->setCurrentIndex(3);
  QTest::mouseClick(dlg.HeaderBox, Qt::LeftButton);
  EXPECT_TRUE(dlg.HeaderBox->isChecked());
  QTest::mouseClick(dlg.HeaderBox, Qt::LeftButton);
  EXPECT_EQ(Rows(*dlg.Grid)[0], QString::fromUtf8("ï»¿Ville,Nom|"));

  QTest::mouseClick(dlg.Button2, Qt::LeftButton);
  ASSERT_TRUE(dlg.Result());
  const TTextOptions options = *dlg.Result();
  EXPECT_EQ(options.separator, ';');
  EXPECT_EQ(options.encoding, TTextEncoding::Windows1252);
  EXPECT_EQ(options.header, TTextHeader::No);
}

TEST_F(ImportPreviewDlgTest, UntouchedChoicesStayToBeFoundAndAnnulerAnswersNothing) {
  const QString path =
      Write("t.txt", "Produit\tPrix\tPays\r\nTh\xE9\t4,5\tInde\r\nCaf\xE9\t3\t\r\n\"ouvert\t1\r\n");
  TImportPreviewDlg dlg;
  ASSERT_TRUE(dlg.Init(path, {"A", "B"}).ok());
  EXPECT_EQ(Rows(*dlg.Grid), (QStringList{QString::fromUtf8("Thé|4,5"), QString::fromUtf8("Café|3"),
                                          "ouvert\t1\r\n|"}));
  EXPECT_EQ(dlg.EncodingBox->currentText(), QString::fromUtf8("Windows-1252 (détecté)"));
  EXPECT_EQ(dlg.Notes->text(),
            QString::fromUtf8("Les valeurs iront aux champs dans l'ordre des colonnes. 1 valeur "
                              "sans champ ne sera pas importée dans ces lignes. Le guillemet "
                              "ouvert ligne 4 n'est jamais fermé : toute la fin du fichier fait "
                              "partie de la valeur."));
  QTest::mouseClick(dlg.Button2, Qt::LeftButton);
  ASSERT_TRUE(dlg.Result());
  const TTextOptions options = *dlg.Result();
  EXPECT_EQ(options.separator, 0);
  EXPECT_EQ(options.encoding, TTextEncoding::Auto);
  EXPECT_EQ(options.header, TTextHeader::Auto);

  TImportPreviewDlg cancelled;
  ASSERT_TRUE(cancelled.Init(path, {"A"}).ok());
  QTest::mouseClick(cancelled.Button1, Qt::LeftButton);
  EXPECT_FALSE(cancelled.Result());
}

TEST_F(ImportPreviewDlgTest, RefusesWhatIsNoTextAndNamesEveryControl) {
  TImportPreviewDlg dlg;
  const TStatus s = dlg.Init(Write("image.csv", QByteArray("GIF89a\0\0\0", 9)), {"A"});
  EXPECT_EQ(s.Cause(), TFailure::NotText);
  EXPECT_FALSE(dlg.Button2->isEnabled());
  dlg.show();
  // The dialog's own controls (the grid's inner parts are the grid's).
  for (QWidget* w : dlg.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<TStringGrid*>(w);
    if (control && w->isVisible()) {
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
  }
}

}  // namespace
