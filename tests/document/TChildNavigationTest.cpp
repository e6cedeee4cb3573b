// Navigation in the three views and in selection mode, the keys that drive it,
// going to a record number, and fitting the column widths.

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTest>
#include <cmath>

#include "DocumentTest.h"
#include "TEnreg.h"
#include "TStringGridModel.h"

namespace {

class ChildNavigationTest : public DocumentTest {
 protected:
  // Records 2 and 4 of the clients are in Lyon.
  void FilterLyon() { child->Document().SetFilter({"VILLE", "=", "Lyon"}); }
  std::string Shown() const { return child->StringGrid2->CellAnsi(1, 0); }
  void AnswerAller(int number, bool ok = true) {
    services.AnswerDialog([this, number, ok](QDialog& d) {
      auto& dialog = static_cast<TEnreg&>(d);
      proposed = dialog.SpinEdit1->value();
      dialog.SpinEdit1->setValue(number);
      (ok ? dialog.OkButton : dialog.CancelButton)->click();
    });
  }
  int proposed = -1;
};

}  // namespace

TEST_F(ChildNavigationTest, TableViewMovesTheRowAndStopsAtTheEnds) {
  TChild& c = Open(WriteClients());
  c.Precedent();
  EXPECT_EQ(c.StringGrid1->Row(), 1);
  c.Suivant();
  EXPECT_EQ(c.StringGrid1->Row(), 2);
  EXPECT_EQ(c.Document().Table().RecNo(), 2);
  c.Dernier();
  EXPECT_EQ(c.StringGrid1->Row(), 5);
  EXPECT_EQ(c.Document().Table().RecNo(), 5);
  c.Suivant();
  EXPECT_EQ(c.StringGrid1->Row(), 5);
  EXPECT_EQ(c.Document().Table().RecNo(), 5);
  c.Premier();
  EXPECT_EQ(c.StringGrid1->Row(), 1);
  EXPECT_EQ(c.Document().Table().RecNo(), 1);
  EXPECT_FALSE(c.Document().Modified());
  // A move writes the row being left.
  TypeInCell(1, "Dupond");
  c.Suivant();
  EXPECT_EQ(Value(1, 1), "Dupond");
}

TEST_F(ChildNavigationTest, ColumnViewStepsThroughRecordsAndStopsAtTheEnds) {
  TChild& c = Open(WriteClients());
  c.Vue(TView::Column);
  EXPECT_EQ(Shown(), "Dupont");
  c.Precedent();
  EXPECT_EQ(Shown(), "Dupont");
  c.Suivant();
  EXPECT_EQ(Shown(), "Durand");
  c.Dernier();
  EXPECT_EQ(Shown(), "Roux");
  c.Suivant();
  EXPECT_EQ(Shown(), "Roux");
  EXPECT_EQ(c.Document().Table().RecNo(), 5);
  c.Premier();
  EXPECT_EQ(Shown(), "Dupont");
}

TEST_F(ChildNavigationTest, SelectionModeShowsAndVisitsOnlyMatchingRecords) {
  TChild& c = Open(WriteClients());
  FilterLyon();
  c.AffSel();
  ASSERT_EQ(c.StringGrid1->RowCount(), 3);
  EXPECT_EQ(Cell(0, 1), "2");
  EXPECT_EQ(Cell(0, 2), "4");
  EXPECT_EQ(Cell(1, 2), "Petit");
  EXPECT_EQ(c.Document().Table().RecNo(), 2);
  c.Dernier();
  EXPECT_EQ(c.Document().Table().RecNo(), 4);

  // The column view steps over the records that do not match, and stays on
  // the shown record at either end of the selection.
  c.Vue(TView::Column);
  EXPECT_EQ(Shown(), "Petit");
  c.Suivant();
  EXPECT_EQ(Shown(), "Petit");
  EXPECT_EQ(c.Document().Table().RecNo(), 4);
  c.Precedent();
  EXPECT_EQ(Shown(), "Durand");
  c.Precedent();
  EXPECT_EQ(Shown(), "Durand");
  EXPECT_EQ(c.Document().Table().RecNo(), 2);
  c.Dernier();
  EXPECT_EQ(Shown(), "Petit");
  c.Premier();
  EXPECT_EQ(Shown(), "Durand");

  c.AffTout();
  EXPECT_FALSE(c.Document().SelectionMode());
  EXPECT_EQ(Shown(), "Dupont");
  c.Vue(TView::Table);
  EXPECT_EQ(c.StringGrid1->RowCount(), 6);  // refilled: the selection has gone
}

TEST_F(ChildNavigationTest, SelectionWithoutAFilterShowsNoRecord) {
  TChild& c = Open(WriteClients());
  c.AffSel();
  EXPECT_EQ(c.StringGrid1->RowCount(), 2);
  EXPECT_EQ(Cell(0, 1), "");
  EXPECT_EQ(Cell(1, 1), "");
  EXPECT_EQ(c.RecNo(), 0);
}

TEST_F(ChildNavigationTest, PageKeysStepInTheColumnViewAndCtrlHomeEndEverywhere) {
  TChild& c = Open(WriteClients());
  EXPECT_FALSE(c.FormKeyDown(Qt::Key_PageDown, Qt::NoModifier));
  EXPECT_FALSE(c.FormKeyDown(Qt::Key_PageUp, Qt::NoModifier));
  EXPECT_EQ(c.StringGrid1->Row(), 1);
  EXPECT_TRUE(c.FormKeyDown(Qt::Key_End, Qt::ControlModifier));
  EXPECT_EQ(c.StringGrid1->Row(), 5);
  EXPECT_FALSE(c.FormKeyDown(Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier));
  EXPECT_FALSE(c.FormKeyDown(Qt::Key_Home, Qt::NoModifier));
  EXPECT_EQ(c.StringGrid1->Row(), 5);
  EXPECT_TRUE(c.FormKeyDown(Qt::Key_Home, Qt::ControlModifier));
  EXPECT_EQ(c.StringGrid1->Row(), 1);

  // Through the grids themselves, as the user presses the keys.
  c.show();
  c.Vue(TView::Column);
  QTest::keyClick(c.StringGrid2, Qt::Key_PageDown);
  EXPECT_EQ(Shown(), "Durand");
  QTest::keyClick(c.StringGrid2, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Shown(), "Roux");
  QTest::keyClick(c.StringGrid2, Qt::Key_PageUp);
  EXPECT_EQ(Shown(), "Petit");
  c.Vue(TView::Table);
  QTest::keyClick(c.StringGrid1, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(c.StringGrid1->Row(), 5);
}

TEST_F(ChildNavigationTest, TypingInTheGridMarksTheRowAndMovingStoresIt) {
  TChild& c = Open(WriteClients());
  c.show();
  c.activateWindow();
  c.StringGrid1->setFocus();
  c.StringGrid1->SetCurrentCell(2, 3);
  QTest::keyClicks(c.StringGrid1, "Z");
  EXPECT_TRUE(c.RowEdited);
  EXPECT_EQ(Cell(2, 3), "Z");
  QWidget* editor = QApplication::focusWidget();
  QTest::keyClick(editor ? editor : c.StringGrid1, Qt::Key_Up);
  EXPECT_EQ(c.StringGrid1->Row(), 2);
  EXPECT_EQ(Value(2, 3), "Z");
  EXPECT_TRUE(c.Document().Modified());
}

// Text pasted into a cell (Ctrl+V or the editor's menu) is typing like any
// other: the row is written back when it is left.
TEST_F(ChildNavigationTest, TextPastedIntoACellIsStoredWhenTheRowIsLeft) {
  TChild& c = Open(WriteClients());
  c.show();
  c.activateWindow();
  c.StringGrid1->setFocus();
  c.StringGrid1->SetCurrentCell(2, 3);
  c.StringGrid1->edit(c.StringGrid1->currentIndex());  // the editor open, nothing typed
  auto* editor = c.StringGrid1->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  QApplication::clipboard()->setText(QStringLiteral("Collé"));
  editor->selectAll();
  editor->paste();
  QTest::keyClick(editor, Qt::Key_Up);
  EXPECT_EQ(c.StringGrid1->Row(), 2);
  EXPECT_EQ(Value(2, 3), "Coll\xe9");
  EXPECT_TRUE(c.Document().Modified());
}

TEST_F(ChildNavigationTest, AllerGoesToAValidNumberAndOtherwiseMovesNothing) {
  const QString path = WriteTable("dix.qor", {{"N", "STRING"}},
                                  {{"un"},
                                   {"deux"},
                                   {"trois"},
                                   {"quatre"},
                                   {"cinq"},
                                   {"six"},
                                   {"sept"},
                                   {"huit"},
                                   {"neuf"},
                                   {"dix"}});
  TChild& c = Open(path);
  c.Suivant();
  AnswerAller(3);
  c.Aller();
  EXPECT_EQ(proposed, 2);
  EXPECT_EQ(services.DialogTitles().back(), "Aller à un enregistrement");
  EXPECT_EQ(c.StringGrid1->Row(), 3);
  EXPECT_EQ(c.Document().Table().RecNo(), 3);
  for (int bad : {0, 11, -1}) {
    AnswerAller(bad);
    c.Aller();
    EXPECT_EQ(c.StringGrid1->Row(), 1) << bad;  // the refill ends on row 1
  }
  AnswerAller(7, false);
  c.Aller();
  EXPECT_EQ(c.StringGrid1->Row(), 1);

  c.Vue(TView::Column);
  AnswerAller(3);
  c.Aller();
  EXPECT_EQ(Shown(), "trois");
  AnswerAller(11);
  c.Aller();
  EXPECT_EQ(Shown(), "trois");
  EXPECT_EQ(c.Document().Table().RecNo(), 3);
}

// After the command no value is drawn cut: Qt cuts a cell's text (with "...")
// when its width passes the cell's, less the grid line and the style's margin
// on either side. "FLOAT" values keep their padding within that room.
TEST_F(ChildNavigationTest, LargeurShowsEveryValueWhole) {
  TChild& c =
      Open(WriteTable("w.qor", {{"A", "STRING"}, {"B", "STRING"}, {"P", "FLOAT"}, {"Q", "FLOAT"}},
                      {{"AVATAR Wavy", "i", "12345678,125", "7"},
                       {"court", "ii", "3", "1000000"},
                       {"\xC9gar\xE9 \x85 fin", "", "-0.5", "1"},
                       {std::string(3000, 'W'), "", "", ""}}));
  c.Largeur();
  TStringGrid& grid = *c.StringGrid1;
  const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
  const QFontMetricsF metrics(grid.font());
  for (int col = 1; col <= 4; ++col)
    for (int row = 1; row < grid.RowCount(); ++row) {
      const QString shown = grid.Model()->index(row, col).data().toString();
      EXPECT_LE(metrics.horizontalAdvance(shown),
                grid.ColWidth(col) - (grid.showGrid() ? 1 : 0) - 2 * margin)
          << col << "," << row << ": " << shown.left(20).toStdString();
    }
  // Short texts get the 20 pixels more; the long one is measured as it is
  // drawn, by its first 1,000 characters.
  const int ii = std::ceil(metrics.horizontalAdvance("ii"));
  EXPECT_EQ(grid.ColWidth(2), ii + 20);
  EXPECT_LT(grid.ColWidth(1), metrics.horizontalAdvance(QString(1001, 'W')));
  EXPECT_EQ(grid.ColWidth(0), 48);
  // Numbers stay right-aligned by their padding.
  EXPECT_TRUE(Cell(4, 1).startsWith("   ")) << Cell(4, 1).toStdString();
  EXPECT_EQ(Cell(3, 2).trimmed(), "3");
  // The other views leave the widths alone.
  c.Vue(TView::Column);
  grid.SetColWidth(1, 300);
  c.Largeur();
  EXPECT_EQ(grid.ColWidth(1), 300);
}
