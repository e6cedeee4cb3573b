// The document window's views: filling them from the table, the "FLOAT"
// padding, and the rules that write what the user typed back into the table.

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QSignalSpy>

#include "DocumentTest.h"
#include "LargeMemory.h"
#include "TFaultyFileSystem.h"

namespace {

class ChildViewTest : public DocumentTest {};

// The padding as the simple loop makes it: one space at a time, measured.
QString PadByMeasuring(QString s, int colWidth) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(10);
  font.setBold(true);
  const QFontMetrics metrics(font);
  while (metrics.horizontalAdvance(s) < colWidth - 10) s.prepend(QLatin1Char(' '));
  return s;
}

// Every cell of the table view as a fill copying each shown record made it:
// the header, then per record its number and its display texts.
std::vector<QStringList> CopiedFill(TChild& c, const std::vector<int>& shown) {
  TQor2& t = c.Document().Table();
  std::vector<QStringList> rows(1, QStringList{"Enr"});
  for (int i = 1; i <= t.FieldCount(); ++i) rows[0] << QString::fromLatin1(t.GetFieldName(i));
  for (const int n : shown) {
    QStringList row{QString::number(n)};
    for (int i = 1; i <= t.FieldCount(); ++i) {
      std::string v = t.GetCell(i, n).str();
      auto blank = [](char ch) { return static_cast<unsigned char>(ch) <= 32; };
      while (!v.empty() && blank(v.back())) v.pop_back();
      while (!v.empty() && blank(v.front())) v.erase(0, 1);
      const QString text = QString::fromLatin1(v);
      row << (t.GetFieldType(i) == "FLOAT" ? PadByMeasuring(text, c.StringGrid1->ColWidth(i))
                                           : text);
    }
    rows.push_back(row);
  }
  if (shown.empty()) rows.push_back(QStringList(t.FieldCount() + 1, QString()));
  return rows;
}

std::vector<QStringList> GridTexts(TStringGrid& grid) {
  std::vector<QStringList> rows;
  for (int r = 0; r < grid.RowCount(); ++r) {
    rows.emplace_back();
    for (int col = 0; col < grid.ColCount(); ++col) rows.back() << grid.Cell(col, r);
  }
  return rows;
}

}  // namespace

TEST_F(ChildViewTest, OpeningFillsBothGridsAndLeavesTheFirstRecordCurrent) {
  TChild& c = Open(WriteClients());
  EXPECT_EQ(c.FileName(), Path("clients.qor"));
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_EQ(c.GetOnglet(), TView::Table);
  EXPECT_EQ(Cell(0, 0), "Enr");
  EXPECT_EQ(Cell(1, 0), "NOM");
  EXPECT_EQ(Cell(3, 0), "PRIX");
  ASSERT_EQ(c.StringGrid1->RowCount(), 6);
  ASSERT_EQ(c.StringGrid1->ColCount(), 4);
  EXPECT_EQ(c.StringGrid1->ColWidth(0), 48);
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(Cell(0, r), QString::number(r));
  EXPECT_EQ(Cell(1, 4), "Petit");
  EXPECT_EQ(c.StringGrid1->Row(), 1);
  EXPECT_EQ(c.RecNo(), 1);
  EXPECT_EQ(c.Document().Table().RecNo(), 1);
  // The column grid: one field per row, names in column 0.
  EXPECT_EQ(c.StringGrid2->Cell(0, 0), "NOM");
  EXPECT_EQ(c.StringGrid2->Cell(0, 2), "PRIX");
  EXPECT_EQ(c.StringGrid2->ColWidth(1), c.width() - 168);
}

TEST_F(ChildViewTest, AFileThatCannotBeLoadedIsReportedInFrenchAndNotShown) {
  child = std::make_unique<TChild>();
  const QString missing = Path("absent.qor");
  EXPECT_FALSE(child->OpenFile(missing));
  ASSERT_EQ(services.Questions().size(), 1u);
  EXPECT_EQ(services.Questions()[0].kind, TQuestionKind::Warning);
  EXPECT_EQ(services.Questions()[0].text,
            "Impossible d'ouvrir '" + missing + "' : le fichier n'existe pas");
  EXPECT_TRUE(child->FileName().isEmpty());

  const QString whole = WriteClients();
  QFile file(whole);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  const auto write = [this](const char* name, const QByteArray& content) {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    return Path(name);
  };
  const QString cut = write("cut.qor", bytes.left(bytes.size() - 2));
  const QString bad = write("bad.qor", "XYZ garbage");
  QDir(dir.path()).mkdir("folder.qor");
  const struct {
    QString path;
    QString reason;
  } cases[] = {
      {cut, QString::fromUtf8("le fichier se termine trop tôt : il est incomplet ou abîmé")},
      {bad, "ce n'est pas une table Vek Base"},
      {Path("folder.qor"), "c'est un dossier, pas un fichier"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(child->OpenFile(c.path));
    EXPECT_EQ(services.Questions().back().text,
              "Impossible d'ouvrir '" + c.path + "' : " + c.reason);
  }
  // The disk fails in mid-file; the memory runs out.
  {
    TFaultyFileSystem fileSystem;
    fileSystem.Arm(TFaultyFileSystem::TFault::ReadError, 40);
    EXPECT_FALSE(child->OpenFile(whole));
  }
  EXPECT_EQ(services.Questions().back().text,
            "Impossible d'ouvrir '" + whole + "' : erreur de lecture du fichier");
  {
    TAllocationLimit noMemory(0);
    EXPECT_FALSE(child->OpenFile(whole));
  }
  EXPECT_EQ(services.Questions().back().text, "Mémoire insuffisante pour ouvrir '" + whole + "'");
  EXPECT_TRUE(child->FileName().isEmpty());
  EXPECT_EQ(child->Document().Table().FieldCount(), 0);
}

TEST_F(ChildViewTest, InitDefinesTheFieldsOfANewTable) {
  child = std::make_unique<TChild>();
  child->Init({"NOM STRING", "PRIX FLOAT", "QTE F", "NOTE"});
  EXPECT_EQ(child->Document().Table().FieldCount(), 4);
  EXPECT_EQ(child->Document().Table().GetFieldType(1), "STRING");
  EXPECT_EQ(child->Document().Table().GetFieldType(2), "FLOAT");
  EXPECT_EQ(child->Document().Table().GetFieldType(3), "FLOAT");
  EXPECT_EQ(child->Document().Table().GetFieldType(4), "STRING");
  EXPECT_EQ(Cell(2, 0), "PRIX");
  EXPECT_EQ(child->StringGrid2->Cell(0, 3), "NOTE");
  EXPECT_TRUE(child->FileName().isEmpty());
  EXPECT_FALSE(child->Document().Modified());

  // A refused (repeated) name does not hand its type on to the next field.
  TChild other;
  other.Init({"A STRING", "A FLOAT", "B STRING"});
  EXPECT_EQ(other.Document().Table().FieldCount(), 2);
  EXPECT_EQ(other.Document().Table().GetFieldType(2), "STRING");
}

TEST_F(ChildViewTest, AnEmptyTableShowsOneRowNamingNoRecord) {
  TChild& c = Open(WriteTable("empty.qor", {{"NOM", "STRING"}, {"AGE", "FLOAT"}}, {}));
  EXPECT_EQ(c.StringGrid1->RowCount(), 2);
  EXPECT_EQ(Cell(0, 1), "");
  EXPECT_EQ(c.RecNo(), 0);
  TypeInCell(1, "Perdu");
  c.StringGrid1->SetCol(2);
  c.EcritOnglet();
  EXPECT_EQ(c.Document().Table().RecordCount(), 0);
  EXPECT_FALSE(c.Document().Modified());
  c.Vue(TView::Column);
  EXPECT_EQ(c.StringGrid2->Cell(0, 1), "AGE");
  EXPECT_EQ(c.StringGrid2->Cell(1, 0), "");
}

TEST_F(ChildViewTest, FloatValuesArePaddedExactlyAsMeasuringOneSpaceAtATime) {
  TChild& c = Open(WriteTable("n.qor", {{"A", "FLOAT"}, {"T", "STRING"}},
                              {{"12.5", "  texte  "},
                               {"  -3,25e2 ", "x"},
                               {"", ""},
                               {"AVA T\xF4", ""},
                               {"999999999999", ""}}));
  EXPECT_EQ(Cell(2, 1), "texte");  // STRING: trimmed, not padded
  for (int width : {192, 60, 23, 5, 400}) {
    c.StringGrid1->SetColWidth(1, width);
    c.Remplit();
    for (const char* v : {"12.5", "-3,25e2", "", "AVA T\xF4", "999999999999"}) {
      const QString expected = PadByMeasuring(QString::fromLatin1(v), width);
      int row = 1;
      while (row < 6 && Cell(1, row).trimmed() != QString::fromLatin1(v)) ++row;
      ASSERT_LT(row, 6) << v;
      EXPECT_EQ(Cell(1, row), expected) << v << " in width " << width;
      c.Document().Table().GoToRecord(row);
      EXPECT_EQ(c.LitChamp(1), expected);
    }
  }
  // Writing the row back stores the value without the padding.
  c.StringGrid1->SetColWidth(1, 192);
  c.Remplit();
  EXPECT_TRUE(Cell(1, 1).startsWith("  "));
  TypeInCell(1, "       13.5");
  c.StringGrid1->SetRow(2);
  EXPECT_EQ(Value(1, 1), "13.5");
}

TEST_F(ChildViewTest, OnlyAPrintableKeyMakesTheRowBeWrittenBack) {
  TChild& c = Open(WriteClients());
  // Backspace and Enter are no edit: nothing is stored.
  c.StringGrid1->SetCell(1, 1, "Changé");
  c.StringGrid1KeyPress(QChar(8));
  c.StringGrid1KeyPress(QChar(13));
  EXPECT_FALSE(c.RowEdited);
  c.StringGrid1->SetRow(2);
  EXPECT_EQ(Value(1, 1), "Dupont");
  EXPECT_FALSE(c.Document().Modified());

  // One letter: the row is stored (trimmed) when the user moves to another row,
  // the snapshot taken just before holds the row as it was.
  TypeInCell(2, "  Lille ");
  EXPECT_TRUE(c.RowEdited);
  c.StringGrid1->SetRow(3);
  EXPECT_EQ(Value(2, 2), "Lille");
  EXPECT_TRUE(c.Document().Modified());
  EXPECT_TRUE(c.Document().UndoAvailable());
  EXPECT_EQ(c.Document().UndoTable().GetCell(2, 2), "Lyon");
  // Moving within a row writes nothing.
  c.StringGrid1->SetCell(1, 3, "Autre");
  c.StringGrid1KeyPress(QChar('e'));
  c.StringGrid1->SetCol(2);
  EXPECT_EQ(Value(1, 3), "Martin");
  // Reading the column view ends the edit.
  c.Vue(TView::Column);
  EXPECT_EQ(Value(1, 3), "Autre");
  EXPECT_FALSE(c.RowEdited);
}

TEST_F(ChildViewTest, CellsTheUserDidNotChangeKeepTheirStoredValue) {
  TChild& c = Open(
      WriteTable("b.qor", {{"A", "STRING"}, {"B", "STRING"}}, {{" entour\xE9 ", "b"}, {"x", "y"}}));
  EXPECT_EQ(Cell(1, 1), "entouré");
  TypeInCell(2, "nouveau");
  c.StringGrid1->SetRow(2);
  EXPECT_EQ(Value(1, 1), " entour\xE9 ");
  EXPECT_EQ(Value(2, 1), "nouveau");
  // Passing over other rows afterwards changes nothing and marks nothing.
  c.Document().SetModified(false);
  c.StringGrid1->SetRow(1);
  c.StringGrid1->SetRow(2);
  EXPECT_FALSE(c.Document().Modified());
}

TEST_F(ChildViewTest, ViewsSwitchAndWriteBackThePageTheyLeave) {
  TChild& c = Open(WriteClients());
  QSignalSpy views(&c, &TChild::ViewChanged);
  c.StringGrid1->SetRow(3);
  TypeInCell(1, "Martine");
  c.Vue(TView::Column);
  EXPECT_EQ(c.GetOnglet(), TView::Column);
  EXPECT_EQ(Value(1, 3), "Martine");  // TabSheet1Exit wrote the row
  EXPECT_EQ(c.Document().Table().RecNo(), 3);
  EXPECT_EQ(c.StringGrid2->Cell(1, 0), "Martine");
  EXPECT_EQ(c.StringGrid2->Cell(1, 2), "100");
  c.Vue(TView::Form);
  EXPECT_EQ(c.GetOnglet(), TView::Form);
  c.Vue(TView::None);
  EXPECT_EQ(c.GetOnglet(), TView::Form);
  c.Vue(TView::Table);
  EXPECT_EQ(c.GetOnglet(), TView::Table);
  EXPECT_EQ(c.StringGrid1->Row(), 3);  // not refilled
  ASSERT_EQ(views.count(), 3);
  EXPECT_EQ(views[0][0].value<TView>(), TView::Column);
  EXPECT_EQ(views[2][0].value<TView>(), TView::Table);
}

TEST_F(ChildViewTest, ChoosingTheViewShownKeepsWhatWasTypedInIt) {
  TChild& c = Open(WriteClients());
  c.Vue(TView::Column);
  c.StringGrid2->SetCell(1, 1, QStringLiteral("Grenoble"));
  c.StringGrid1KeyPress(QChar('e'));
  c.Vue(TView::Column);
  EXPECT_EQ(Value(2, 1), "Grenoble");
  EXPECT_EQ(c.StringGrid2->Cell(1, 1), "Grenoble");
  EXPECT_TRUE(c.Document().Modified());
  c.Document().SetModified(false);
}

TEST_F(ChildViewTest, TableViewNeverWritesRowsIntoRecordsTheyNoLongerShow) {
  TChild& c = Open(WriteClients());
  c.Vue(TView::Column);
  // A command of the column view deletes the first record and re-reads only
  // the column view.
  c.Document().Table().GoToRecord(1);
  c.Document().Table().DeleteCurrent();
  c.LitFiche();
  c.Vue(TView::Table);
  ASSERT_EQ(c.StringGrid1->RowCount(), 5);
  EXPECT_EQ(Cell(1, 1), "Durand");
  c.StringGrid1->SetRow(2);
  TypeInCell(2, "Cannes");
  c.StringGrid1->SetRow(1);
  EXPECT_EQ(Value(1, 2), "Martin");
  EXPECT_EQ(Value(2, 2), "Cannes");
  EXPECT_EQ(Value(1, 3), "Petit");

  // A row naming a record beyond the table goes nowhere.
  c.StringGrid1->SetCell(0, 4, "99");
  c.StringGrid1->SetRow(4);
  TypeInCell(1, "Fantôme");
  c.EcritEnr(c.RecNo());
  for (int r = 1; r <= 4; ++r) EXPECT_NE(Value(1, r), "Fant\xF4me");
}

TEST_F(ChildViewTest, SnapshotsMatchTheTableAtEveryRowChange) {
  TChild& c = Open(WriteClients());
  for (int step = 0; step < 8; ++step) {
    const int row = 1 + step % 4;
    c.StringGrid1->SetRow(row);
    TypeInCell(1 + step % 3, QString("v%1").arg(step));
    std::vector<std::vector<std::string>> before;
    for (int r = 1; r <= c.Document().Table().RecordCount(); ++r)
      before.push_back({Value(1, r), Value(2, r), Value(3, r)});
    c.StringGrid1->SetRow(row + 1);
    ASSERT_EQ(c.Document().UndoTable().RecordCount(), 5);
    for (int r = 1; r <= 5; ++r)
      for (int f = 1; f <= 3; ++f)
        EXPECT_EQ(c.Document().UndoTable().GetCell(f, r), before[r - 1][f - 1]);
  }
  // A new field: the snapshot takes the new structure too.
  c.Document().Table().AddField("PAYS");
  c.Memorise();
  EXPECT_EQ(c.Document().UndoTable().FieldCount(), 4);
  EXPECT_EQ(c.Document().UndoTable().GetCell(1, 1), Value(1, 1));
}

// The grid reads the table when it draws: it shows what a fill copying every
// cell showed, in every record and in selection mode, and a cell typed into
// keeps its text until the row is written back and the view read again.
TEST_F(ChildViewTest, TheGridShowsWhatACopiedFillShowedAndKeepsTypedCells) {
  TChild& c = Open(WriteTable("p.qor", {{"NOM", "STRING"}, {"PRIX", "FLOAT"}, {"VILLE", "STRING"}},
                              {{" Dupont ", " 12.5", "Paris"},
                               {"Durand", "7 ", " Lyon"},
                               {"Martin", "", "Nice"},
                               {"Petit\t", "-3,25", "Lyon"},
                               {"Roux", "1e3", "Brest"}}));
  EXPECT_EQ(GridTexts(*c.StringGrid1), CopiedFill(c, {1, 2, 3, 4, 5}));
  c.Document().SetFilter({"VILLE", "LIKE", "*Lyon"});
  c.AffSel();
  EXPECT_EQ(GridTexts(*c.StringGrid1), CopiedFill(c, {2, 4}));

  // Typed texts stay as typed, over a table that changes under them.
  c.StringGrid1->SetCurrentCell(2, 2);
  TypeInCell(2, "  9");
  c.Document().Table().GoToRecord(4);
  c.Document().Table().SetFieldValue(2, "8");
  EXPECT_EQ(Cell(2, 2), "  9");
  // Written back when the row is left: only the typed cell, trimmed; the
  // others keep their stored blanks.
  c.StringGrid1->SetRow(1);
  EXPECT_EQ(Value(2, 4), "9");
  EXPECT_EQ(Value(1, 4), "Petit\t");
  EXPECT_EQ(Value(3, 2), " Lyon");
  EXPECT_EQ(Cell(2, 2), "  9");
  c.Remplit();
  EXPECT_EQ(GridTexts(*c.StringGrid1), CopiedFill(c, {2, 4}));
  // A selection matching nothing shows its spare row, naming no record.
  c.Document().SetFilter({c.Document().Filter().Field, c.Document().Filter().Operator, "Rome"});
  c.AffSel();
  EXPECT_EQ(GridTexts(*c.StringGrid1), CopiedFill(c, {}));
}

// However many records the table holds, the fixed column shows each record's
// number whole, also the number of one more added record.
TEST_F(ChildViewTest, RecordNumbersShowWholeInTheFixedColumn) {
  std::vector<std::vector<std::string>> rows(1200, std::vector<std::string>{"x"});
  TChild& c = Open(WriteTable("long.qor", {{"NOM", "STRING"}}, rows));
  // A large font stands for a long table: four digits no longer fit 48 pixels.
  QFont large = c.StringGrid1->font();
  large.setPixelSize(40);
  c.StringGrid1->setFont(large);
  c.Remplit();
  const QFontMetricsF metrics(large);
  EXPECT_GE(c.StringGrid1->ColWidth(0),
            metrics.horizontalAdvance(QStringLiteral("1201")) + c.StringGrid1->CellMargins());
}
