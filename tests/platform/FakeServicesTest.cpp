#include <gtest/gtest.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TFakeServices.h"

namespace {

// A dialog of the kind the windows build: a name box and OK / Annuler buttons.
class NameDialog : public QDialog {
 public:
  NameDialog() {
    setWindowTitle(QStringLiteral("Renommer champ"));
    auto* layout = new QVBoxLayout(this);
    edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Edit1"));
    ok = new QPushButton(QStringLiteral("OK"), this);
    cancel = new QPushButton(QStringLiteral("Annuler"), this);
    layout->addWidget(edit);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  }
  QLineEdit* edit;
  QPushButton* ok;
  QPushButton* cancel;
};

class FakeServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { SetServices(&fake); }
  TFakeServices fake;
};

}  // namespace

TEST_F(FakeServicesTest, RecordsQuestionsAndAnswersThemInOrder) {
  fake.AnswerQuestion(TAnswer::Yes);
  fake.AnswerQuestion(TAnswer::Cancel);
  Services().Warning(QStringLiteral("Fichier en lecture seule"));
  EXPECT_TRUE(Services().Confirm(QString::fromUtf8("Ce fichier existe déjà. Le remplacer ?")));
  EXPECT_EQ(Services().ConfirmCancel(QStringLiteral("Enregistrer changements dans 'a.qor'?")),
            TAnswer::Cancel);

  ASSERT_EQ(fake.Questions().size(), 3u);
  EXPECT_EQ(fake.Questions()[0].kind, TQuestionKind::Warning);
  EXPECT_EQ(fake.Questions()[0].text, "Fichier en lecture seule");
  EXPECT_EQ(fake.Questions()[1].kind, TQuestionKind::YesNo);
  EXPECT_EQ(fake.Questions()[2].kind, TQuestionKind::YesNoCancel);
  EXPECT_EQ(fake.Questions()[2].text, "Enregistrer changements dans 'a.qor'?");
  EXPECT_TRUE(fake.Problems().isEmpty());
  EXPECT_EQ(fake.PendingAnswers(), 0);
}

TEST_F(FakeServicesTest, UnansweredOrUnfitAnswersCancelAndAreReported) {
  EXPECT_FALSE(Services().Confirm(QStringLiteral("Supprimer ?")));
  EXPECT_EQ(Services().ConfirmCancel(QStringLiteral("Remplacer ?")), TAnswer::Cancel);
  fake.AnswerQuestion(TAnswer::Cancel);  // a Yes/No box has no Cancel button
  EXPECT_FALSE(Services().Confirm(QStringLiteral("Supprimer ?")));
  EXPECT_FALSE(Services().InputBox("Ajouter un champ", "Nom du champ", "Champ3").has_value());
  EXPECT_FALSE(Services().FileDialog({}).has_value());
  EXPECT_FALSE(Services().PrintDialog());
  NameDialog dialog;
  EXPECT_EQ(Services().RunDialog(dialog), QDialog::Rejected);
  EXPECT_EQ(fake.Problems().size(), 7);
}

TEST_F(FakeServicesTest, InputBoxAndFileDialogAnswerFromTheirQueues) {
  fake.AnswerInput(QStringLiteral("nom"));
  fake.AnswerInput(std::nullopt);
  EXPECT_EQ(Services().InputBox("Ajouter un champ", "Nom du champ", "Champ3"), QString("nom"));
  EXPECT_FALSE(Services().InputBox("Ajouter un champ", "Nom du champ", "Champ3").has_value());
  ASSERT_EQ(fake.Questions().size(), 2u);
  EXPECT_EQ(fake.Questions()[0].kind, TQuestionKind::Input);
  EXPECT_EQ(fake.Questions()[0].caption, "Ajouter un champ");
  EXPECT_EQ(fake.Questions()[0].text, "Nom du champ");
  EXPECT_EQ(fake.Questions()[0].defaultText, "Champ3");

  fake.AnswerFile(QStringLiteral("/tmp/x/clients.csv"), 3);
  fake.CancelFile();
  TFileDialogRequest request;
  request.kind = TFileDialogKind::Save;
  request.defaultExt = QStringLiteral("qor");
  request.filters = {{"Format Vek Base (*.qor)", "*.qor"}, {"Format csv (*.csv)", "*.csv"}};
  const auto choice = Services().FileDialog(request);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->path, "/tmp/x/clients.csv");
  EXPECT_EQ(choice->filterIndex, 3);
  EXPECT_FALSE(Services().FileDialog(request).has_value());
  ASSERT_EQ(fake.FileDialogs().size(), 2u);
  EXPECT_EQ(fake.FileDialogs()[0].kind, TFileDialogKind::Save);
  EXPECT_EQ(fake.FileDialogs()[0].filters[1].label, "Format csv (*.csv)");
  EXPECT_TRUE(fake.Problems().isEmpty());
}

TEST_F(FakeServicesTest, RunDialogLetsTheScriptFillAndPressButtons) {
  fake.AnswerDialog([](QDialog& d) {
    auto& dialog = static_cast<NameDialog&>(d);
    EXPECT_TRUE(dialog.isVisible());
    dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("PRIX"));
    dialog.ok->click();
  });
  fake.AnswerDialog([](QDialog& d) { static_cast<NameDialog&>(d).cancel->click(); });
  fake.AnswerDialog([](QDialog&) {});  // forgets to close it

  NameDialog first;
  EXPECT_EQ(Services().RunDialog(first), QDialog::Accepted);
  EXPECT_EQ(first.edit->text(), "PRIX");
  EXPECT_FALSE(first.isVisible());
  NameDialog second;
  EXPECT_EQ(Services().RunDialog(second), QDialog::Rejected);
  EXPECT_TRUE(fake.Problems().isEmpty());
  NameDialog third;
  EXPECT_EQ(Services().RunDialog(third), QDialog::Rejected);
  EXPECT_FALSE(third.isVisible());
  EXPECT_EQ(fake.Problems().size(), 1);
  EXPECT_EQ(fake.DialogTitles(),
            QStringList({"Renommer champ", "Renommer champ", "Renommer champ"}));
}

TEST_F(FakeServicesTest, ClockStandsStillAndSettingItIsOnlyRecorded) {
  const QDateTime t(QDate(2002, 10, 20), QTime(10, 15, 0));
  fake.SetNow(t);
  EXPECT_EQ(Services().Now(), t);
  EXPECT_TRUE(Services().SetSystemTime({2002, 10, 20, 11, 15, 0, 0}));
  EXPECT_FALSE(Services().SetSystemTime({2002, 4, 31, 11, 15, 0, 0}));  // no 31 April
  EXPECT_FALSE(Services().SetSystemTime({2002, 10, 20, -1, 15, 0, 0}));
  fake.SetClockSettable(false);
  EXPECT_FALSE(Services().SetSystemTime({2002, 10, 20, 11, 15, 0, 0}));
  ASSERT_EQ(fake.SystemTimesSet().size(), 4u);
  EXPECT_EQ(fake.SystemTimesSet()[2].hour, -1);
  EXPECT_EQ(Services().Now(), t);
  EXPECT_EQ(TSystemTime({2002, 10, 20, 11, 15, 0, 0}).ToDateTime(),
            QDateTime(QDate(2002, 10, 20), QTime(11, 15), Qt::UTC));
}

TEST(ServicesTest, FakeUninstallsItselfWhenDestroyed) {
  {
    TFakeServices fake;
    SetServices(&fake);
    EXPECT_TRUE(HasServices());
    EXPECT_EQ(&Services(), &fake);
  }
  EXPECT_FALSE(HasServices());
}
