// The field dialogs as a user drives them: the name box's character filter, the
// rename dialog's upper-casing, the list behaviour of the structure and new-table
// dialogs, and the labels of the properties dialog.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "TEnreg.h"
#include "TFakeServices.h"
#include "TInfos.h"
#include "TInputBox.h"
#include "TModif.h"
#include "TNameEdit.h"
#include "TNouveau.h"
#include "TRenum.h"

namespace {

class FieldDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetServices(&services); }
  void TearDown() override {
    EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
  }

  // Types as the keyboard does, one key event per character (also for letters
  // that have no key of their own on the test's keyboard).
  static void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
      const int key = c.unicode() < 128 ? QChar(c).toUpper().unicode() : Qt::Key_unknown;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
      QApplication::sendEvent(box, &press);
      QApplication::sendEvent(box, &release);
    }
  }
  static void Enter(QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }
  static void ClickEntry(QTreeWidget* list, int index) {
    const QRect r = list->visualItemRect(list->topLevelItem(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  }
  static QStringList Entries(QTreeWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      lines << list->topLevelItem(i)->text(0) + '|' + list->topLevelItem(i)->text(1);
    return lines;
  }

  TFakeServices services;
};

TEST_F(FieldDialogsTest, NameBoxesKeepOnlyLettersAndDigits) {
  TRenum renum;
  TModif modif;
  TNouveau nouveau;
  for (QLineEdit* box : {static_cast<QLineEdit*>(renum.Edit1), static_cast<QLineEdit*>(modif.Edit1),
                         static_cast<QLineEdit*>(nouveau.Edit1)}) {
    Type(box, QString::fromUtf8("ab é_-,.;'\"*?Zç9"));
    EXPECT_EQ(box->text(), "abZ9");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "abZ");
    // Around the filter: pasting a name with a blank in it.
    QApplication::clipboard()->setText(QStringLiteral("x y"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box->text(), "abZ");
    // Cursor keys still edit.
    QTest::keyClick(box, Qt::Key_Home);
    Type(box, QStringLiteral("x"));
    EXPECT_EQ(box->text(), "xabZ");
  }
}

TEST_F(FieldDialogsTest, EnterInANameBoxConfirmsNothing) {
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TRenum&>(d);
    Type(dialog.Edit1, QStringLiteral("nom"));
    Enter(dialog.Edit1);
    EXPECT_TRUE(dialog.isVisible());
    dialog.Button1Click();
  });
  TRenum renum;
  renum.Init(QStringLiteral("A"), QStringLiteral("STRING"));
  EXPECT_EQ(Services().RunDialog(renum), QDialog::Rejected);

  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TModif&>(d);
    Type(dialog.Edit1, QStringLiteral("nom"));
    Enter(dialog.Edit1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ListView1->topLevelItemCount(), 0);
    dialog.Button2->click();
  });
  TNouveau nouveau;
  EXPECT_EQ(Services().RunDialog(nouveau), QDialog::Accepted);
  // Confirmed with no field: the same as cancelled for the caller.
  EXPECT_EQ(nouveau.Result(), QStringList());
}

TEST_F(FieldDialogsTest, RenameUpperCasesTheNameAndKeepsTheTypeAsTyped) {
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TRenum&>(d);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Renommer champ"));
    EXPECT_EQ(dialog.Edit1->text(), "NOM");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "STRING");
    dialog.Edit1->clear();
    Type(dialog.Edit1, QStringLiteral("ville2"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(dialog.Edit1, &out);
    EXPECT_EQ(dialog.Edit1->text(), "VILLE2");
    dialog.ComboBox1->lineEdit()->clear();
    Type(dialog.ComboBox1->lineEdit(), QStringLiteral("float x"));
    Enter(dialog.ComboBox1);  // stands for "OK"
  });
  TRenum renum;
  renum.Init(QStringLiteral("NOM"), QStringLiteral("STRING"));
  EXPECT_EQ(Services().RunDialog(renum), QDialog::Accepted);
  ASSERT_TRUE(renum.Result());
  EXPECT_EQ(renum.Result()->name, "VILLE2");
  EXPECT_EQ(renum.Result()->type, "float x");

  // Confirmed while the name box still had the focus: upper-cased all the same.
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TRenum&>(d);
    QTest::keyClick(dialog.Edit1, Qt::Key_End);
    Type(dialog.Edit1, QStringLiteral("b"));
    dialog.Button2->click();
  });
  TRenum second;
  second.Init(QStringLiteral("a"), QString());
  EXPECT_EQ(Services().RunDialog(second), QDialog::Accepted);
  ASSERT_TRUE(second.Result());
  EXPECT_EQ(second.Result()->name, "AB");
  EXPECT_EQ(second.Result()->type, "");

  services.AnswerDialog([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
  TRenum cancelled;
  cancelled.Init(QStringLiteral("NOM"), QStringLiteral("FLOAT"));
  EXPECT_EQ(Services().RunDialog(cancelled), QDialog::Rejected);
  EXPECT_FALSE(cancelled.Result());
}

TEST_F(FieldDialogsTest, StructureListAddsReplacesAndDeletesEntries) {
  TModif modif;
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TModif&>(d);
    EXPECT_EQ(dialog.windowTitle(), "Modifier structure");
    EXPECT_EQ(Entries(dialog.ListView1),
              QStringList({"NOM|STRING", "PRIX|FLOAT", "VILLE|STRING", "CP|STRING"}));

    // A blank name adds nothing and leaves the focus in the name box.
    dialog.SpeedButton1->click();
    EXPECT_EQ(dialog.ListView1->topLevelItemCount(), 4);

    // Clicking an entry fills the boxes; the small "OK" then renames it.
    ClickEntry(dialog.ListView1, 0);
    EXPECT_EQ(dialog.Edit1->text(), "NOM");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "STRING");
    dialog.Edit1->clear();
    Type(dialog.Edit1, QStringLiteral("Nom2"));
    dialog.ComboBox1->setCurrentText(QStringLiteral("FLOAT"));
    Enter(dialog.ComboBox1);
    EXPECT_TRUE(dialog.ListView1->selectedItems().isEmpty());
    EXPECT_EQ(dialog.Edit1->text(), "");

    // Nothing selected: the small "OK" appends; the type box keeps its text.
    Type(dialog.Edit1, QStringLiteral("PAYS"));
    dialog.SpeedButton1->click();
    EXPECT_EQ(dialog.ComboBox1->currentText(), "FLOAT");

    // "Supprimer" and the Delete key remove the selected entry only.
    dialog.Button3->click();  // nothing selected
    EXPECT_EQ(dialog.ListView1->topLevelItemCount(), 5);
    ClickEntry(dialog.ListView1, 1);
    dialog.Button3->click();
    EXPECT_TRUE(dialog.ListView1->selectedItems().isEmpty());
    ClickEntry(dialog.ListView1, 1);  // now VILLE
    QTest::keyClick(dialog.ListView1, Qt::Key_Delete);
    EXPECT_EQ(Entries(dialog.ListView1), QStringList({"Nom2|FLOAT", "CP|STRING", "PAYS|FLOAT"}));
    dialog.Button2->click();
  });
  modif.Init({"NOM\tSTRING", "PRIX\tFLOAT", "VILLE\tSTRING", "CP\tSTRING"});
  EXPECT_EQ(Services().RunDialog(modif), QDialog::Accepted);
  EXPECT_EQ(modif.Result(), QStringList({"Nom2 FLOAT", "CP STRING", "PAYS FLOAT"}));
  // The renamed entry still names the field it came from; the new one none.
  const std::vector<TModif::TEntry> entries = modif.Entries().value();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].origin, 1);
  EXPECT_EQ(entries[0].name, "Nom2");
  EXPECT_EQ(entries[1].origin, 4);
  EXPECT_EQ(entries[2].origin, 0);
  EXPECT_EQ(entries[2].type, "FLOAT");
}

TEST_F(FieldDialogsTest, StructureDialogCancelledGivesNothing) {
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TModif&>(d);
    Type(dialog.Edit1, QStringLiteral("X"));
    dialog.SpeedButton1->click();
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  services.AnswerDialog([](QDialog& d) { static_cast<TModif&>(d).Button1->click(); });
  TModif escaped, cancelled;
  escaped.Init({"NOM\tSTRING"});
  cancelled.Init({"NOM\tSTRING"});
  EXPECT_EQ(Services().RunDialog(escaped), QDialog::Rejected);
  EXPECT_EQ(Services().RunDialog(cancelled), QDialog::Rejected);
  EXPECT_FALSE(escaped.Result());
  EXPECT_FALSE(escaped.Entries());
  EXPECT_FALSE(cancelled.Result());
}

TEST_F(FieldDialogsTest, NewTableDialogReplacesASelectedEntry) {
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TNouveau&>(d);
    EXPECT_EQ(dialog.windowTitle(), "Nouvelle table");
    EXPECT_EQ(dialog.ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.ComboBox1->currentText(), "STRING");
    Type(dialog.Edit1, QStringLiteral("NOM"));
    Enter(dialog.ComboBox1);
    ClickEntry(dialog.ListView1, 0);
    dialog.ComboBox1->setCurrentText(QStringLiteral("FLOAT"));
    dialog.SpeedButton1->click();
    // Entries keep the case typed, unlike the rename dialog.
    Type(dialog.Edit1, QStringLiteral("ville"));
    dialog.ComboBox1->setCurrentIndex(0);
    dialog.SpeedButton1->click();
    dialog.Button2->click();
  });
  TNouveau nouveau;
  EXPECT_EQ(Services().RunDialog(nouveau), QDialog::Accepted);
  EXPECT_EQ(nouveau.Result(), QStringList({"NOM FLOAT", "ville STRING"}));
}

TEST_F(FieldDialogsTest, PropertiesShowCountsSizeAndDuplicates) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("t.qor"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(3 * 1024 - 1, 'x'));
  }
  TInfos saved;
  saved.Init(path, {"NOM\tSTRING", "PRIX\tFLOAT"}, true, 5, 2);
  EXPECT_EQ(saved.windowTitle(), QString::fromUtf8("Propriétés de la table"));
  EXPECT_EQ(saved.FileLabel->text(), path);
  EXPECT_EQ(saved.Label1->text(), "Nbr champs : 2");
  EXPECT_EQ(saved.Label2->text(), "Nbr lignes : 5");
  EXPECT_EQ(saved.Label3->text(), "Taille : 2 Ko");  // rounded down
  EXPECT_EQ(saved.Label4->text(), "Il y a des doublons");
  ASSERT_EQ(saved.ListView1->topLevelItemCount(), 2);
  EXPECT_EQ(saved.ListView1->topLevelItem(1)->text(0), "PRIX");
  EXPECT_EQ(saved.ListView1->topLevelItem(1)->text(1), "FLOAT");
  EXPECT_EQ(saved.ListView1->headerItem()->text(0), "Nom");
  EXPECT_EQ(saved.ListView1->headerItem()->text(1), "Type");

  TInfos never;
  never.Init(QString(), {"NOM\tSTRING"}, false, 1, 1);
  EXPECT_EQ(never.Label3->text(), "Taille : 0 Ko");
  EXPECT_EQ(never.Label4->text(), "Pas de doublons");
  EXPECT_EQ(never.Label2->text(), "Nbr lignes : 1");
  TInfos gone;
  gone.Init(dir.filePath(QStringLiteral("gone.qor")), {}, false, 0, 0);
  EXPECT_EQ(gone.Label3->text(), "Taille : 0 Ko");

  services.AnswerDialog([](QDialog& d) { static_cast<TInfos&>(d).Button1->click(); });
  EXPECT_EQ(Services().RunDialog(saved), QDialog::Accepted);
}

}  // namespace

// A dialog is at least as wide as its caption in the title bar's bold font,
// with room for the window's icon and three buttons, squares about as wide as
// the bar is high; the input box has plain buttons.
TEST_F(FieldDialogsTest, DialogsShowTheirCaptionWhole) {
  QFont bold = QApplication::font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  auto check = [&](QDialog& d) {
    EXPECT_GE(d.width(),
              metrics.horizontalAdvance(d.windowTitle()) + 4 * (metrics.height() + 4) + 16)
        << d.windowTitle().toStdString();
    for (QPushButton* button : d.findChildren<QPushButton*>())
      EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
  };
  TEnreg aller;
  aller.Init(1);
  services.AnswerDialog([&](QDialog& d) {
    check(d);
    aller.CancelButton->click();
  });
  Services().RunDialog(aller);

  TInputBox box;
  box.Init("Ajouter un champ", "Nom du champ", "Champ4");
  services.AnswerDialog([&](QDialog& d) {
    check(d);
    EXPECT_EQ(box.PromptLabel->text(), "Nom du champ");
    EXPECT_EQ(box.AnswerEdit->selectedText(), "Champ4");
    QTest::keyClicks(box.AnswerEdit, "ville");
    QTest::keyClick(box.AnswerEdit, Qt::Key_Return);  // the default button
  });
  Services().RunDialog(box);
  EXPECT_EQ(box.Result(), "ville");
  box.Init("Ajouter un champ", "Nom du champ", "Champ4");
  services.AnswerDialog([&](QDialog&) { box.CancelButton->click(); });
  Services().RunDialog(box);
  EXPECT_EQ(box.Result(), std::nullopt);
}
