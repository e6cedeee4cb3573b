// The find and replace dialogs: the criteria they propose, what "OK", Enter and
// "Annuler" give back.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "TFakeServices.h"
#include "TFindDlg.h"
#include "TReplaceDlg.h"

namespace {

class FindDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetServices(&services); }
  void TearDown() override {
    EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
  }
  TFakeServices services;
};

const QStringList kFields = {"NOM", "VILLE", "PRIX"};

TEST_F(FindDialogsTest, FindProposesTheLastTextWithoutItsStar) {
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TFindDlg&>(d);
    EXPECT_EQ(dialog.windowTitle(), "Rechercher");
    EXPECT_EQ(dialog.Edit1->text(), "dup");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "VILLE");
    EXPECT_EQ(dialog.ComboBox1->count(), 3);
    EXPECT_FALSE(dialog.CheckBox1->isChecked());
    EXPECT_EQ(dialog.CheckBox1->text(), "Mot entier");
    dialog.Edit1->clear();
    QTest::keyClicks(dialog.Edit1, QStringLiteral("Lyon *"));
    dialog.ComboBox1->setCurrentText(QStringLiteral("AUTRE"));  // typed, not in the list
    dialog.CheckBox1->setChecked(true);
    QTest::keyClick(dialog.Edit1, Qt::Key_Return);  // stands for "OK"
  });
  TFindDlg dialog;
  dialog.Init(QStringLiteral("dup*"), QStringLiteral("VILLE"), kFields, false);
  EXPECT_EQ(Services().RunDialog(dialog), QDialog::Accepted);
  ASSERT_TRUE(dialog.Result());
  EXPECT_EQ(dialog.Result()->text, "Lyon *");
  EXPECT_EQ(dialog.Result()->field, "AUTRE");
  EXPECT_TRUE(dialog.Result()->wholeWord);
}

TEST_F(FindDialogsTest, CancelledDialogsLeaveTheCriteria) {
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TFindDlg&>(d);
    EXPECT_EQ(dialog.Edit1->text(), "a*");  // a user's star before the command's
    dialog.ComboBox1->setCurrentText(QStringLiteral("PRIX"));
    dialog.CheckBox1->setChecked(false);
    dialog.Button1->click();
  });
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TReplaceDlg&>(d);
    dialog.Edit2->setText(QStringLiteral("changed"));
    dialog.CheckBox2->setChecked(true);
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  TFindDlg find;
  find.Init(QStringLiteral("a**"), QStringLiteral("NOM"), kFields, true);
  TReplaceDlg replace;
  replace.Init(QStringLiteral("a"), QStringLiteral("b"), kFields, false, false,
               QStringLiteral("NOM"));
  EXPECT_EQ(Services().RunDialog(find), QDialog::Rejected);
  EXPECT_EQ(Services().RunDialog(replace), QDialog::Rejected);
  EXPECT_FALSE(find.Result());
  EXPECT_FALSE(replace.Result());
}

TEST_F(FindDialogsTest, ReplaceGivesEveryAnswerOnOk) {
  services.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<TReplaceDlg&>(d);
    EXPECT_EQ(dialog.windowTitle(), "Remplacer");
    EXPECT_EQ(dialog.Edit1->text(), "dup");
    EXPECT_EQ(dialog.Edit2->text(), "X");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "NOM");
    EXPECT_TRUE(dialog.CheckBox1->isChecked());
    EXPECT_FALSE(dialog.CheckBox2->isChecked());
    EXPECT_EQ(dialog.CheckBox2->text(), "Remplacer tout");
    dialog.Edit2->clear();
    QTest::keyClicks(dialog.Edit2, QStringLiteral("Y"));
    dialog.CheckBox1->setChecked(false);
    dialog.CheckBox2->setChecked(true);
    dialog.ComboBox1->setCurrentIndex(1);
    QTest::keyClick(dialog.Edit2, Qt::Key_Enter);  // Enter in the second box too
  });
  TReplaceDlg dialog;
  dialog.Init(QStringLiteral("dup*"), QStringLiteral("X"), kFields, false, true,
              QStringLiteral("NOM"));
  EXPECT_EQ(Services().RunDialog(dialog), QDialog::Accepted);
  ASSERT_TRUE(dialog.Result());
  const TReplaceDlg::TAnswer answer = *dialog.Result();
  EXPECT_EQ(answer.text, "dup");
  EXPECT_EQ(answer.replacement, "Y");
  EXPECT_TRUE(answer.replaceAll);
  EXPECT_FALSE(answer.wholeWord);
  EXPECT_EQ(answer.field, "VILLE");
}

}  // namespace
