// The SQL window as a user drives it from a document window: the statement's
// keywords, the result grid, unreadable statements, the statements of the
// session, and the files it reads and writes.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "QueryTest.h"
#include "TQor2Sql.h"
#include "TResultGrid.h"
#include "TSql.h"

namespace {

class SqlWindowTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    Open(WriteClients());
  }

  // Opens the SQL window from the document window and runs `script` in it.
  void InSql(std::function<void(TSql&)> script) {
    OnDialog<TSql>(script);
    child->Requete();
  }

  static void Run(TSql& sql, const QString& statement) {
    sql.Memo1->setPlainText(statement);
    sql.SpeedButton2->click();
  }

  static QStringList Row(const TSql& sql, int row) {
    QStringList cells;
    for (int c = 0; c < sql.StringGrid1->ColCount(); ++c) cells << sql.StringGrid1->Cell(c, row);
    return cells;
  }
};

TEST_F(SqlWindowTest, KeywordsAreUpperCasedAsWholeWordsOutsideQuotedText) {
  InSql([](TSql& sql) {
    Run(sql, "select NOM where VILLE = 'x' and PRIX > 3");
    EXPECT_EQ(sql.Memo1->toPlainText(), "SELECT NOM WHERE VILLE = 'x' AND PRIX > 3");
    // Names and quoted text that merely hold a keyword stay as typed.
    Run(sql,
        "sElEcT distinct NOM, Color, Distinction wHeRe VILLE = 'for sale' or(Ordre>3 and "
        "VILLE<'select')Or NOM~='it''s or'");
    EXPECT_EQ(sql.Memo1->toPlainText(),
              "SELECT DISTINCT NOM, Color, Distinction WHERE VILLE = 'for sale' OR(Ordre>3 AND "
              "VILLE<'select')OR NOM~='it''s or'");
    EXPECT_EQ(sql.StatusLine->text(), "");
  });
}

TEST_F(SqlWindowTest, ResultShowsTheRecordsThatSatisfyTheConditionAndNothingElse) {
  InSql([this](TSql& sql) {
    // Before the first run: only the record number column.
    EXPECT_EQ(Row(sql, 0), QStringList({"Enr", ""}));
    Run(sql, "SELECT NOM, PRIX WHERE VILLE = 'Lyon'");
    EXPECT_EQ(Row(sql, 0), QStringList({"Enr", "NOM", "PRIX"}));
    EXPECT_EQ(Row(sql, 1), QStringList({"1", "Durand", "7"}));
    EXPECT_EQ(Row(sql, 2), QStringList({"2", "Petit", "3,25"}));
    EXPECT_EQ(sql.StringGrid1->RowCount(), 3);
    // No record satisfies it: the header and one empty row, not the others.
    Run(sql, "SELECT NOM WHERE VILLE = 'Rome'");
    EXPECT_EQ(sql.StringGrid1->RowCount(), 2);
    EXPECT_EQ(Row(sql, 0), QStringList({"Enr", "NOM"}));
    EXPECT_EQ(Row(sql, 1), QStringList({"", ""}));
    // Numbers unquoted, DISTINCT, the cursor of the document left alone.
    child->Document().Table().GoToRecord(2);
    Run(sql, "SELECT DISTINCT VILLE WHERE PRIX < 10");
    EXPECT_EQ(sql.StringGrid1->RowCount(), 3);
    EXPECT_EQ(Row(sql, 2), QStringList({"2", "Brest"}));
    EXPECT_EQ(child->Document().Table().RecNo(), 2);
  });
}

TEST_F(SqlWindowTest, PrintsTheResultGridWithNoTitleAfterThePrintDialog) {
  services.AnswerPrintDialog(false);
  services.AnswerPrintDialog(true);
  InSql([](TSql& sql) {
    Run(sql, "SELECT NOM WHERE VILLE = 'Lyon'");
    sql.SpeedButton11->click();  // cancelled: nothing printed
    sql.SpeedButton11->click();
  });
  const auto& jobs = services.RecordingPrinter().Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].title, "");
  const QStringList texts = jobs[0].Texts(0);
  ASSERT_FALSE(texts.isEmpty());
  EXPECT_TRUE(texts[0].startsWith(QString::fromUtf8("Imprimé le "))) << texts[0].toStdString();
  EXPECT_EQ(texts.mid(1), QStringList({"Enr", "NOM", "1", "Durand", "2", "Petit"}));
}

TEST_F(SqlWindowTest, UnreadableStatementSaysWhyInsteadOfKeepingTheOldResult) {
  InSql([](TSql& sql) {
    Run(sql, "SELECT NOM WHERE VILLE = 'Lyon'");
    Run(sql, "SELEC * WHERE VILLE = 'Lyon'");
    EXPECT_EQ(sql.StatusLine->text(), "Requête illisible : elle doit commencer par SELECT.");
    EXPECT_EQ(Row(sql, 0), QStringList({"Enr", ""}));
    EXPECT_EQ(Row(sql, 1), QStringList({"", ""}));
    Run(sql, "SELECT NOM = 'x' WHERE VILLE = 'Lyon'");
    EXPECT_EQ(sql.StatusLine->text(),
              "Requête illisible : SELECT [DISTINCT] champs WHERE condition attendu.");
    EXPECT_EQ(sql.StringGrid1->RowCount(), 2);
    Run(sql, "SELECT NOM WHERE VILLE = 'Lyon'");
    EXPECT_EQ(sql.StatusLine->text(), "");
    EXPECT_EQ(sql.StringGrid1->RowCount(), 3);
  });
}

TEST_F(SqlWindowTest, StatementOnSeveralLinesRunsAsOne) {
  child->Document().Table().GoToRecord(3);
  child->Document().Table().SetFieldValue(1, "Mar\r\ntin");
  InSql([](TSql& sql) {
    Run(sql, "select NOM,\tPRIX\nwhere VILLE = 'Lyon'\n  and PRIX > 5");
    EXPECT_EQ(sql.StatusLine->text(), "");
    EXPECT_EQ(sql.Memo1->toPlainText(), "SELECT NOM,\tPRIX\nWHERE VILLE = 'Lyon'\n  AND PRIX > 5");
    EXPECT_EQ(Row(sql, 0), QStringList({"Enr", "NOM", "PRIX"}));
    EXPECT_EQ(Row(sql, 1), QStringList({"1", "Durand", "7"}));
    EXPECT_EQ(sql.StringGrid1->RowCount(), 2);
    // Inside quotes a line break is the value's own.
    Run(sql, "SELECT PRIX WHERE NOM = 'Mar\ntin'");
    EXPECT_EQ(Row(sql, 1), QStringList({"1", "100"}));
  });
}

TEST_F(SqlWindowTest, TheLastTenStatementsOfTheSessionAreOffered) {
  InSql([](TSql& sql) {
    for (int i = 1; i <= 11; ++i) Run(sql, QStringLiteral("SELECT NOM WHERE PRIX > %1").arg(i));
    Run(sql, "SELECT NOM WHERE PRIX > 4");  // again: moves up, not twice
  });
  InSql([](TSql& sql) {
    ASSERT_EQ(sql.HistoryBox->count(), 10);
    EXPECT_EQ(sql.HistoryBox->itemText(0), "SELECT NOM WHERE PRIX > 4");
    EXPECT_EQ(sql.HistoryBox->itemText(1), "SELECT NOM WHERE PRIX > 11");
    EXPECT_EQ(sql.HistoryBox->itemText(9), "SELECT NOM WHERE PRIX > 2");
    EXPECT_EQ(sql.Memo1->toPlainText(), "");
    sql.HistoryBox->setCurrentIndex(1);
    emit sql.HistoryBox->activated(1);
    EXPECT_EQ(sql.Memo1->toPlainText(), "SELECT NOM WHERE PRIX > 11");
  });
}

TEST_F(SqlWindowTest, SaveReplacesOnlyTheFileNamesOwnExtension) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("my.files"));
  const QString folder = Path("my.files/");
  TQor2Sql reference(child->Document().Table());
  reference.Execute("SELECT NOM WHERE VILLE = 'Lyon'");
  InSql([&](TSql& sql) {
    Run(sql, "SELECT NOM WHERE VILLE = 'Lyon'");
    services.AnswerFile(folder + "result.old", 3);
    sql.SaveBtn->click();
    services.AnswerFile(folder + "out", 1);
    sql.SaveBtn->click();
    services.AnswerFile(folder + "result", 4);
    sql.SaveBtn->click();
    services.AnswerFile(folder + "result", 5);
    sql.SaveBtn->click();
    // An existing file is kept when the user says No.
    services.AnswerFile(folder + "result.txt", 3);
    services.AnswerQuestion(TAnswer::No);
    sql.SaveBtn->click();
  });
  EXPECT_EQ(ReadFile(folder + "result.csv"),
            QByteArray::fromStdString(reference.Selected().CsvText()));
  EXPECT_EQ(ReadFile(folder + "out.sql"), "SELECT NOM WHERE VILLE = 'Lyon'\r\n");
  EXPECT_TRUE(QFile::exists(folder + "result.xls"));
  EXPECT_TRUE(ReadFile(folder + "result.xlsx").startsWith("PK"));  // a workbook is a zip archive
  EXPECT_EQ(QDir(folder).entryList(QDir::Files),
            QStringList({"out.sql", "result.csv", "result.xls", "result.xlsx"}));
  const TFileDialogRequest& request = services.FileDialogs().front();
  ASSERT_EQ(request.filters.size(), 5u);
  EXPECT_EQ(request.filters[4].label, "Classeur Excel (*.xlsx)");
  EXPECT_EQ(request.filters[1].label, "Résultat en texte+tab (*.txt)");
  EXPECT_EQ(request.filters[3].label, "Résultat en xls");
  EXPECT_EQ(Messages(), QStringList({"Ce fichier existe déjà. Le remplacer ?"}));
}

TEST_F(SqlWindowTest, FailedSaveIsReportedAndLeavesThePreviousFile) {
  const QString target = Path("result.txt");
  {
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("previous");
  }
  QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  InSql([&](TSql& sql) {
    Run(sql, "SELECT * WHERE PRIX > 0");
    services.AnswerFile(target, 2);
    services.AnswerQuestion(TAnswer::Yes);
    sql.SaveBtn->click();
  });
  ASSERT_EQ(services.Questions().size(), 2u);
  EXPECT_TRUE(
      services.Questions()[1].text.startsWith("Impossible d'enregistrer '" + target + "' : "))
      << services.Questions()[1].text.toStdString();
  EXPECT_EQ(ReadFile(target), "previous");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"clients.qor", "result.txt"}));
}

TEST_F(SqlWindowTest, OpenReplacesTheStatementByTheFilesLines) {
  const QString path = Path("q.sql");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "SELECT * WHERE VILLE = 'Orl\xE9"
        "ans'\r\nsecond line\r\n");
  }
  InSql([&](TSql& sql) {
    sql.Memo1->setPlainText("old");
    services.AnswerFile(path);
    sql.OpenBtn->click();
    EXPECT_EQ(sql.Memo1->toPlainText(),
              QString::fromUtf8("SELECT * WHERE VILLE = 'Orléans'\nsecond line"));
    services.AnswerFile(Path("missing.sql"));
    sql.OpenBtn->click();
    EXPECT_EQ(sql.Memo1->toPlainText(),
              QString::fromUtf8("SELECT * WHERE VILLE = 'Orléans'\nsecond line"));
    sql.SpeedButton1->click();
    EXPECT_EQ(sql.Memo1->toPlainText(), "");
  });
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Warning);
}

}  // namespace
