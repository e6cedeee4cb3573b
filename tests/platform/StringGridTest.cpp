#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "AnsiCodec.h"
#include "TGridSource.h"
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

// The view draws the first 1,000 characters of a long value; the cell keeps
// it all, and the editor edits it all.
TEST_F(StringGridTest, ALongValueIsDrawnInPartAndEditedWhole) {
  grid.SetEditable(true);
  QString value;
  while (value.size() < 40000) value += QStringLiteral("Une longue note. ");
  grid.SetCell(1, 1, value);
  const QModelIndex index = grid.Model()->index(1, 1);
  EXPECT_EQ(index.data(Qt::DisplayRole).toString(), value.left(1000));
  EXPECT_EQ(index.data(Qt::EditRole).toString(), value);

  grid.show();
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_F2);
  QLineEdit* editor = grid.findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), value);
  editor->end(false);
  QTest::keyClick(editor, Qt::Key_Z);
  EXPECT_EQ(grid.Cell(1, 1), value + "z");
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

// Storage: whatever is written, in whatever order, through resizes and updates,
// reads back byte for byte; the model is checked against a plain mirror.
class StringGridStorageTest : public ::testing::Test {
 protected:
  void Resize(int cols, int rows) {
    model.SetSize(cols, rows);
    std::vector<std::vector<std::string>> next(rows, std::vector<std::string>(cols));
    for (int r = 0; r < std::min<int>(rows, mirror.size()); ++r)
      for (int c = 0; c < std::min<int>(cols, mirror[r].size()); ++c) next[r][c] = mirror[r][c];
    mirror.swap(next);
  }
  void Set(int col, int row, const std::string& text) {
    model.SetCellAnsi(col, row, text);
    mirror[row][col] = text;
  }
  void ExpectSame() {
    ASSERT_EQ(model.RowCount(), static_cast<int>(mirror.size()));
    for (int r = 0; r < model.RowCount(); ++r)
      for (int c = 0; c < model.ColCount(); ++c) {
        ASSERT_EQ(model.CellAnsi(c, r), mirror[r][c]) << "cell " << c << "," << r;
        ASSERT_EQ(model.Cell(c, r), FromAnsi(mirror[r][c])) << "cell " << c << "," << r;
      }
  }
  TStringGridModel model;
  std::vector<std::vector<std::string>> mirror;
};

TEST_F(StringGridStorageTest, TextsOfEveryShapeSurviveRewritesAndRegrouping) {
  // Lengths and runs of leading spaces around every boundary of the encoding.
  std::vector<std::string> shapes = {"", " ", "x", "  1,5", std::string("\0a", 2)};
  for (size_t n : {126, 127, 128, 254, 255, 256, 70000}) {
    shapes.push_back(std::string(n, 'a' + n % 26));
    if (n < 70000) shapes.push_back(" " + std::string(n, 'b'));
  }
  for (size_t lead : {1, 254, 255, 256, 300}) {
    shapes.push_back(std::string(lead, ' '));
    shapes.push_back(std::string(lead, ' ') + "3,25");
    shapes.push_back(std::string(lead, ' ') + std::string(200, '\xE9') + " ");
  }
  Resize(37, 30);  // three blocks to a row, the last one short
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  for (int round = 0; round < 6; ++round) {
    const bool bracket = round % 2 == 1;
    if (bracket) model.BeginUpdate();
    for (int i = 0; i < 3000; ++i) {
      const int c = static_cast<int>(next(model.ColCount()));
      const int r = static_cast<int>(next(model.RowCount()));
      Set(c, r, shapes[next(static_cast<uint32_t>(shapes.size()))]);
    }
    if (bracket) model.EndUpdate();
    ASSERT_NO_FATAL_FAILURE(ExpectSame()) << "round " << round;
    switch (round) {
      case 0:
        Resize(40, 25);
        break;  // rows dropped, a block gains cells
      case 1:
        Resize(15, 40);
        break;  // one block to a row
      case 2:
        Resize(33, 10);
        break;
      case 3:
        Resize(33, 35);
        break;
      case 4:
        Resize(2, 3);
        break;
    }
    ASSERT_NO_FATAL_FAILURE(ExpectSame()) << "after resize " << round;
  }
}

TEST_F(StringGridStorageTest, EmptyTextFromANullPointerClearsACell) {
  Resize(3, 3);
  const std::string_view none(nullptr, 0);
  model.SetCellAnsi(1, 1, none);  // already empty
  Set(1, 1, "Dupont");
  Set(2, 1, "   12");
  model.SetCellAnsi(1, 1, none);
  model.SetCellAnsi(2, 1, none);
  model.SetCell(0, 2, QString());
  mirror[1][1] = mirror[1][2] = "";
  ExpectSame();
}

TEST_F(StringGridStorageTest, TableSizedFillsReadBackAndShrinkingGivesTheRoomBack) {
  // A table-sized fill of right-aligned numbers and names, as a table view did.
  const int rows = 20000, cols = 11;
  auto fill = [&](int salt) {
    model.BeginUpdate();
    Resize(cols, rows);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        const std::string value = std::to_string((r * 7 + c * 13 + salt) % 100000);
        Set(c, r, c % 2 ? std::string(12 - value.size(), ' ') + value : "Nom " + value);
      }
    model.EndUpdate();
  };
  fill(0);
  for (int salt = 1; salt < 4; ++salt) fill(salt * 31);
  ExpectSame();
  // Rewrites outside an update, every cell longer than before.
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) Set(c, r, mirror[r][c] + "xyz");
  ExpectSame();
  // Shrunk to a few cells, it gives the room back.
  Resize(2, 3);
  EXPECT_LE(model.HeldBytes(), 64u * 1024);
  ExpectSame();
}

namespace {

// Texts "col:row", a long one in row 7; counts the cells it is asked for.
class CountingSource : public TGridSource {
 public:
  void Text(int col, int row, size_t limit, std::string& out) const override {
    ++reads;
    out =
        row == 7 ? std::string(5000, 'x') : std::to_string(col) + ":" + std::to_string(row) + mark;
    if (out.size() > limit) out.resize(limit);
  }
  mutable int reads = 0;
  std::string mark;
};

}  // namespace

// A million rows over a source: the grid reads only the cells it draws or is
// asked for, and holds nothing but the texts set on it.
TEST(StringGridSourceTest, CellsNobodySetShowTheSourceWithoutACopy) {
  TStringGrid grid;
  grid.resize(600, 400);
  CountingSource source;
  grid.SetSize(4, 1000000);
  grid.SetSource(&source);
  grid.show();
  grid.grab();
  EXPECT_LT(source.reads, 10000);
  EXPECT_LE(grid.Model()->HeldBytes(), 4096u);
  EXPECT_EQ(grid.CellAnsi(2, 999999), "2:999999");
  const QModelIndex longCell = grid.Model()->index(7, 1);
  EXPECT_EQ(longCell.data(Qt::DisplayRole).toString(), QString(1000, 'x'));
  EXPECT_EQ(longCell.data(Qt::EditRole).toString(), QString(5000, 'x'));

  // A text set on a cell covers the source's; the source's own text is not kept.
  grid.SetCell(0, 0, QStringLiteral("Enr"));
  grid.SetCell(1, 2, QStringLiteral("haut"));
  grid.SetCellAnsi(1, 5, "saisi");
  grid.SetCellAnsi(2, 5, "2:5");
  EXPECT_TRUE(grid.HasOwnText(1, 5));
  EXPECT_FALSE(grid.HasOwnText(2, 5));
  // The source changes: the cells without a text of their own follow it.
  source.mark = "'";
  EXPECT_EQ(grid.CellAnsi(1, 5), "saisi");
  EXPECT_EQ(grid.CellAnsi(2, 5), "2:5'");

  // A refill from row 3 down gives those rows back to the source, drawn anew.
  QSignalSpy changed(grid.Model(), &QAbstractItemModel::dataChanged);
  grid.ForgetRows(3);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(grid.CellAnsi(1, 5), "1:5'");
  EXPECT_FALSE(grid.HasOwnText(1, 5));
  EXPECT_EQ(grid.Cell(1, 2), "haut");
  EXPECT_EQ(grid.Cell(0, 0), "Enr");
  // Without the source only the texts set remain; shrinking drops those outside.
  grid.SetSource(nullptr);
  EXPECT_EQ(grid.Cell(2, 5), "");
  grid.SetSize(2, 2);
  grid.SetSize(4, 5);
  EXPECT_EQ(grid.Cell(1, 2), "");
  EXPECT_EQ(grid.Cell(0, 0), "Enr");
}
