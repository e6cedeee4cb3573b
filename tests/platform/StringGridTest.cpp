#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "TStringGrid.h"
#include "TStringGridModel.h"

namespace {

struct Move {
  int col, row, fromCol, fromRow;
};

class StringGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.resize(600, 400);
    grid.SetSize(3, 4);
    grid.SetSelectCellHandler([this](int col, int row) {
      moves.push_back({col, row, grid.Col(), grid.Row()});
      return allow;
    });
  }
  TStringGrid grid;
  std::vector<Move> moves;
  bool allow = true;
};

}  // namespace

TEST_F(StringGridTest, ModelPassesTheItemModelTesterThroughResizesAndUpdates) {
  QAbstractItemModelTester tester(grid.Model(),
                                  QAbstractItemModelTester::FailureReportingMode::Fatal);
  grid.SetCell(1, 1, QStringLiteral("a"));
  grid.SetColCount(6);
  grid.SetRowCount(50);
  grid.SetRowCount(2);
  grid.SetColCount(2);
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.BeginUpdate();
  grid.SetSize(4, 1000);
  for (int r = 0; r < 1000; ++r) grid.SetCell(3, r, QString::number(r));
  grid.EndUpdate();
  EXPECT_EQ(grid.Model()->rowCount(), 1000);
  EXPECT_EQ(grid.Model()->data(grid.Model()->index(999, 3)).toString(), "999");
}

TEST_F(StringGridTest, ResizingKeepsInnerCellsAndEmptiesNewOnes) {
  grid.SetCell(0, 0, QStringLiteral("Enr"));
  grid.SetCell(1, 0, QStringLiteral("NOM"));
  grid.SetCell(2, 3, QStringLiteral("x"));
  grid.SetCell(1, 2, QStringLiteral("Dupont"));
  grid.SetColCount(2);  // drops column 2
  grid.SetColCount(4);
  grid.SetRowCount(3);  // drops row 3
  grid.SetRowCount(5);
  EXPECT_EQ(grid.Cell(0, 0), "Enr");
  EXPECT_EQ(grid.Cell(1, 0), "NOM");
  EXPECT_EQ(grid.Cell(1, 2), "Dupont");
  EXPECT_EQ(grid.Cell(2, 3), "");
  EXPECT_EQ(grid.Cell(3, 4), "");
  // Outside the grid: reads are empty and writes ignored.
  grid.SetCell(9, 9, QStringLiteral("lost"));
  EXPECT_EQ(grid.Cell(9, 9), "");
  EXPECT_EQ(grid.Cell(-1, 0), "");
  // Counts never fall to the fixed row or column alone.
  grid.SetSize(0, 0);
  EXPECT_EQ(grid.ColCount(), 2);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cell(0, 0), "Enr");
}

TEST_F(StringGridTest, CellsHoldWindows1252BytesAndSurviveManyRewrites) {
  grid.SetCellAnsi(1, 1, std::string("No\xEBl \x80", 6));
  EXPECT_EQ(grid.Cell(1, 1), QString::fromUtf8("Noël €"));
  grid.SetCell(2, 1, QString::fromUtf8("ĉa été"));
  EXPECT_EQ(grid.CellAnsi(2, 1), std::string("?a \xE9t\xE9"));
  EXPECT_EQ(grid.Cell(2, 1), QString::fromUtf8("?a été"));
  grid.SetCellAnsi(1, 2, std::string("a\0b", 3));
  EXPECT_EQ(grid.CellAnsi(1, 2), std::string("a\0b", 3));

  // Enough overwrites to reclaim the dead bytes several times over.
  grid.SetSize(3, 200);
  const std::string big(5000, 'x');
  for (int round = 0; round < 3; ++round)
    for (int r = 1; r < 200; ++r) {
      grid.SetCellAnsi(1, r, big + std::to_string(r * round));
      grid.SetCellAnsi(2, r, std::to_string(r));
    }
  for (int r = 1; r < 200; ++r) {
    ASSERT_EQ(grid.CellAnsi(1, r), big + std::to_string(r * 2));
    ASSERT_EQ(grid.CellAnsi(2, r), std::to_string(r));
  }
  grid.SetCellAnsi(1, 5, "");
  EXPECT_EQ(grid.Cell(1, 5), "");
  EXPECT_EQ(grid.CellAnsi(2, 5), "5");
}

TEST_F(StringGridTest, FixedCellsAreHeadersNeitherSelectableNorEditable) {
  grid.SetEditable(true);
  grid.SetCell(1, 0, QStringLiteral("NOM"));
  grid.SetCell(0, 2, QStringLiteral("2"));
  TStringGridModel* m = grid.Model();
  EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "NOM");
  EXPECT_EQ(m->headerData(2, Qt::Vertical).toString(), "2");
  EXPECT_FALSE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
  EXPECT_FALSE(m->flags(m->index(2, 0)) & Qt::ItemIsSelectable);
  EXPECT_TRUE(m->flags(m->index(1, 1)) & Qt::ItemIsEditable);
  EXPECT_TRUE(grid.isRowHidden(0));
  EXPECT_TRUE(grid.isColumnHidden(0));
  grid.SetFixedRows(0);  // the column view: a fixed column only
  EXPECT_FALSE(grid.isRowHidden(0));
  EXPECT_TRUE(grid.horizontalHeader()->isHidden());
  EXPECT_TRUE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
  EXPECT_EQ(grid.Row(), 1);  // a move the program did not ask for: no handler
  EXPECT_TRUE(moves.empty());
  EXPECT_TRUE(grid.SetRow(0));
}

TEST_F(StringGridTest, HandlerIsAskedBeforeTheMoveAndCanRefuseIt) {
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_TRUE(grid.SetRow(3));
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].row, 3);
  EXPECT_EQ(moves[0].fromRow, 1);  // the row being left is still current
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.currentIndex().row(), 3);

  EXPECT_TRUE(grid.SetRow(3));  // no move, no question
  EXPECT_EQ(moves.size(), 1u);

  allow = false;
  EXPECT_FALSE(grid.SetCurrentCell(2, 2));
  EXPECT_EQ(moves.size(), 2u);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.currentIndex(), grid.Model()->index(3, 1));

  // Fixed cells and cells outside the grid are refused without asking.
  allow = true;
  EXPECT_FALSE(grid.SetRow(0));
  EXPECT_FALSE(grid.SetRow(4));
  EXPECT_FALSE(grid.SetCol(0));
  EXPECT_EQ(moves.size(), 2u);
}

TEST_F(StringGridTest, UserNavigationGoesThroughTheHandler) {
  grid.show();
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_Down);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].row, 2);
  EXPECT_EQ(grid.Row(), 2);
  allow = false;
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.currentIndex().row(), 2);
  allow = true;
  QTest::keyClick(&grid, Qt::Key_Up);
  QTest::keyClick(&grid, Qt::Key_Up);  // stops at the first data row
  EXPECT_EQ(grid.Row(), 1);
}

TEST_F(StringGridTest, ShrinkingMovesTheCurrentCellWithoutTheHandler) {
  ASSERT_TRUE(grid.SetCurrentCell(2, 3));
  moves.clear();
  grid.SetSize(2, 2);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.currentIndex(), grid.Model()->index(1, 1));
  grid.BeginUpdate();
  grid.SetSize(3, 10);
  EXPECT_TRUE(grid.SetRow(7));
  grid.EndUpdate();
  EXPECT_EQ(grid.Row(), 7);
  EXPECT_EQ(grid.currentIndex(), grid.Model()->index(7, 1));
  EXPECT_EQ(moves.size(), 1u);
}

TEST_F(StringGridTest, TypingWritesEachKeystrokeAndReportsKeys) {
  grid.SetEditable(true);
  grid.SetCell(1, 1, QStringLiteral("old"));
  QString typed;
  std::vector<int> keys;
  grid.SetKeyPressHandler([&](QChar c) { typed += c; });
  grid.SetKeyDownHandler([&](int key, Qt::KeyboardModifiers) {
    keys.push_back(key);
    return key == Qt::Key_PageDown;  // consumed: the grid must not page
  });
  grid.show();
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_A);  // opens the editor, which replaces the text
  QLineEdit* editor = grid.findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, QStringLiteral("bc"));
  QTest::keyClick(editor, Qt::Key_Backspace);
  // No commit yet: the cell already holds what the editor shows.
  EXPECT_EQ(grid.Cell(1, 1), "ab");
  EXPECT_EQ(typed, QStringLiteral("abc\b"));
  EXPECT_EQ(keys.size(), 4u);

  QTest::keyClick(editor, Qt::Key_PageDown);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(keys.back(), Qt::Key_PageDown);
  EXPECT_EQ(typed, QStringLiteral("abc\b"));
}

TEST_F(StringGridTest, TypingInsideTheTextKeepsTheCursorWhereItIs) {
  grid.SetEditable(true);
  grid.SetCell(1, 1, QStringLiteral("Dupont"));
  grid.show();
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_F2);
  QLineEdit* editor = grid.findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setCursorPosition(1);
  QTest::keyClicks(editor, QStringLiteral("xy"));
  EXPECT_EQ(editor->text(), "Dxyupont");
  EXPECT_EQ(grid.Cell(1, 1), "Dxyupont");
  EXPECT_EQ(editor->cursorPosition(), 3);
}

TEST_F(StringGridTest, ReadOnlyGridOpensNoEditor) {
  grid.show();
  grid.setFocus();
  QString typed;
  grid.SetKeyPressHandler([&](QChar c) { typed += c; });
  QTest::keyClick(&grid, Qt::Key_X);
  EXPECT_EQ(typed, "x");
  EXPECT_EQ(grid.findChild<QLineEdit*>(), nullptr);
  EXPECT_EQ(grid.Cell(1, 1), "");
}

TEST_F(StringGridTest, ColumnWidthsSurviveResetsAndFollowTheUser) {
  grid.SetDefaultColWidth(192);
  EXPECT_EQ(grid.ColWidth(2), 192);
  grid.SetColWidth(0, 48);
  grid.SetColWidth(2, 60);
  EXPECT_EQ(grid.verticalHeader()->width(), 48);
  EXPECT_EQ(grid.horizontalHeader()->sectionSize(2), 60);
  grid.BeginUpdate();
  grid.SetSize(4, 100);
  grid.EndUpdate();
  EXPECT_EQ(grid.ColWidth(0), 48);
  EXPECT_EQ(grid.ColWidth(2), 60);
  EXPECT_EQ(grid.ColWidth(3), 192);
  EXPECT_EQ(grid.horizontalHeader()->sectionSize(2), 60);
  EXPECT_EQ(grid.verticalHeader()->width(), 48);
  grid.horizontalHeader()->resizeSection(1, 77);  // as a drag by the user
  EXPECT_EQ(grid.ColWidth(1), 77);
  grid.SetRowHeight(20);
  EXPECT_EQ(grid.verticalHeader()->sectionSize(5), 20);
}

TEST_F(StringGridTest, MeasuresTextInItsFontOrAnother) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  grid.setFont(font);
  const QString text = QStringLiteral("12.5");
  EXPECT_EQ(grid.TextWidth(text), QFontMetrics(font).horizontalAdvance(text));
  EXPECT_GT(grid.TextWidth(QStringLiteral("  ") + text), grid.TextWidth(text));
  QFont bold(QStringLiteral("Arial"));
  bold.setPixelSize(26);
  bold.setBold(true);
  EXPECT_GT(TStringGrid::TextWidth(bold, text), grid.TextWidth(text));
  EXPECT_EQ(grid.TextWidth(QString()), 0);
  EXPECT_GT(grid.TextHeight(text), 0);
}
