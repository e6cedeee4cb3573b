// The editing commands of the document window in its views: adding, deleting,
// copying and pasting records, undo and the snapshots it brings back, sorting,
// removing duplicates and converting DOS letters, with their questions.

#include "DocumentTest.h"

namespace {

class ChildEditingTest : public DocumentTest {
 protected:
  std::string Shown(int row) const { return child->StringGrid2->CellAnsi(1, row); }
  std::vector<std::string> Column(int field) const {
    std::vector<std::string> values;
    for (int n = 1; n <= child->Document().Table().RecordCount(); ++n)
      values.push_back(Value(field, n));
    return values;
  }
  QString LastQuestion() const {
    return services.Questions().empty() ? QString() : services.Questions().back().text;
  }
  using Values = std::vector<std::string>;
};

TEST_F(ChildEditingTest, AddInTheTableViewShowsANumberedEmptyRowThatUndoKeeps) {
  TChild& c = Open(WriteClients());
  c.Ajouter();
  EXPECT_EQ(c.Document().Table().RecordCount(), 6);
  EXPECT_EQ(c.StringGrid1->RowCount(), 7);
  EXPECT_EQ(c.StringGrid1->Row(), 6);
  EXPECT_EQ(Cell(0, 6), "6");
  EXPECT_EQ(Cell(1, 6), "");
  EXPECT_EQ(c.Document().Table().RecNo(), 6);
  EXPECT_FALSE(c.Document().Modified());
  // The move to the new row took the last snapshot, which holds the new record.
  c.Annuler();
  EXPECT_EQ(c.Document().Table().RecordCount(), 6);
  EXPECT_TRUE(c.Document().Modified());
}

TEST_F(ChildEditingTest, AddAfterTypingNumbersTheNewRowWithTheNewRecord) {
  TChild& c = Open(WriteClients());
  TypeInCell(1, "Dupond");
  c.Ajouter();
  EXPECT_EQ(Value(1, 1), "Dupond");
  EXPECT_EQ(Cell(0, 6), "6");
  // What is typed in the new row goes into the new record, not the one left.
  TypeInCell(1, "Neuf");
  c.Premier();
  EXPECT_EQ(Value(1, 6), "Neuf");
  EXPECT_EQ(Value(1, 1), "Dupond");
}

TEST_F(ChildEditingTest, AddInTheColumnViewSnapshotsAfterAppending) {
  TChild& c = Open(WriteClients());
  c.Vue(TView::Column);
  c.Ajouter();
  EXPECT_EQ(c.Document().Table().RecordCount(), 6);
  EXPECT_EQ(c.Document().Table().RecNo(), 6);
  EXPECT_EQ(Shown(0), "");
  c.Annuler();
  EXPECT_EQ(c.Document().Table().RecordCount(), 6);
}

TEST_F(ChildEditingTest, AddLeavesTheSelectionAndUsesTheSpareRowOfAnEmptyView) {
  TChild& c = Open(WriteClients());
  c.Document().SetFilter({"VILLE", "=", "Lyon"});
  c.AffSel();
  c.Ajouter();
  EXPECT_FALSE(c.Document().SelectionMode());
  EXPECT_EQ(Cell(0, 1), "2");
  EXPECT_EQ(Cell(0, 2), "4");
  EXPECT_EQ(Cell(0, 3), "6");
  EXPECT_EQ(c.StringGrid1->Row(), 3);

  TChild& e = Open(WriteTable("vide.qor", {{"NOM", "STRING"}}, {}));
  e.Ajouter();
  EXPECT_EQ(e.StringGrid1->RowCount(), 2);
  EXPECT_EQ(Cell(0, 1), "1");
  EXPECT_EQ(e.Document().Table().RecordCount(), 1);
}

TEST_F(ChildEditingTest, DeleteAsksAndNoLeavesEverything) {
  TChild& c = Open(WriteClients());
  c.StringGrid1->SetRow(2);
  const bool undoBefore = c.Document().UndoAvailable();
  const int undoRecords = c.Document().UndoTable().RecordCount();
  services.AnswerQuestion(TAnswer::No);
  c.Supprimer();
  EXPECT_EQ(LastQuestion(), "Supprimer l'enregistrement ?");
  EXPECT_EQ(services.Questions().back().kind, TQuestionKind::YesNo);
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_EQ(c.Document().UndoAvailable(), undoBefore);
  EXPECT_EQ(c.Document().UndoTable().RecordCount(), undoRecords);
}

TEST_F(ChildEditingTest, DeleteInTheTableViewRefillsAndUndoDependsOnTheRow) {
  TChild& c = Open(WriteClients());
  // From row 1 the refill does not move: undo brings record 1 back.
  services.AnswerQuestion(TAnswer::Yes);
  c.Supprimer();
  EXPECT_EQ(c.Document().Table().RecordCount(), 4);
  EXPECT_EQ(Cell(1, 1), "Durand");
  EXPECT_TRUE(c.Document().Modified());
  c.Annuler();
  EXPECT_EQ(Column(1), Values({"Dupont", "Durand", "Martin", "Petit", "Roux"}));

  // From another row the refill's move to row 1 snapshots the table as it
  // is after the deletion: undo keeps the record deleted.
  c.StringGrid1->SetRow(2);
  services.AnswerQuestion(TAnswer::Yes);
  c.Supprimer();
  EXPECT_EQ(c.StringGrid1->RowCount(), 5);
  EXPECT_EQ(Cell(0, 2), "2");
  EXPECT_EQ(Cell(1, 2), "Martin");
  c.Annuler();
  EXPECT_EQ(Column(1), Values({"Dupont", "Martin", "Petit", "Roux"}));
  c.Dernier();
  services.AnswerQuestion(TAnswer::Yes);
  c.Supprimer();
  c.Annuler();
  EXPECT_EQ(Column(1), Values({"Dupont", "Martin", "Petit"}));
}

TEST_F(ChildEditingTest, DeleteInTheColumnViewShowsTheRecordThatFollowed) {
  TChild& c = Open(WriteClients());
  c.Vue(TView::Column);
  c.Suivant();
  services.AnswerQuestion(TAnswer::Yes);
  c.Supprimer();
  EXPECT_EQ(Shown(0), "Martin");
  EXPECT_EQ(c.Document().Table().RecordCount(), 4);
  c.Annuler();  // taken before the deletion
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_EQ(Value(1, 2), "Durand");
}

TEST_F(ChildEditingTest, CopyAndPasteInTheTableView) {
  TChild& c = Open(WriteClients());
  c.Copier();
  c.StringGrid1->SetRow(3);
  c.Coller();
  EXPECT_EQ(Value(1, 3), "Dupont");
  EXPECT_EQ(Value(2, 3), "Paris");
  EXPECT_EQ(Value(3, 3), "12.5");
  EXPECT_EQ(Cell(1, 3), "Dupont");
  EXPECT_EQ(Cell(2, 3), "Paris");
  // Pasted values are a change to save.
  EXPECT_TRUE(c.Document().Modified());
  c.Annuler();
  EXPECT_EQ(Value(1, 3), "Martin");

  // The record copied is the one of the row selected, moved to without typing.
  c.StringGrid1->SetRow(4);
  c.Copier();
  EXPECT_EQ(c.Document().CopyBuffer().Get(0), "Petit");
  EXPECT_EQ(c.Document().CopyBuffer().Get(2), "3,25");
}

TEST_F(ChildEditingTest, PasteGoesIntoTheRecordTheViewShows) {
  TChild& c = Open(WriteClients());
  c.Vue(TView::Column);
  c.Copier();
  c.Suivant();
  c.Suivant();
  c.Coller();
  EXPECT_EQ(Value(1, 3), "Dupont");
  EXPECT_EQ(Value(1, 1), "Dupont");
  EXPECT_EQ(Shown(0), "Dupont");
  EXPECT_EQ(c.Document().Table().RecNo(), 3);
}

TEST_F(ChildEditingTest, UndoTwiceGivesTheSameTableAndNothingWithoutASnapshot) {
  TChild& c = Open(WriteClients());
  c.Annuler();
  EXPECT_FALSE(c.Document().Modified());
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  services.AnswerQuestion(TAnswer::Yes);
  c.Supprimer();
  c.Annuler();
  c.Annuler();
  EXPECT_EQ(Column(1), Values({"Dupont", "Durand", "Martin", "Petit", "Roux"}));
}

TEST_F(ChildEditingTest, SortsByTheFieldUnderTheCursorAsNumbersOrText) {
  TChild& c = Open(WriteTable("t.qor", {{"TEXTE", "STRING"}, {"NOMBRE", "FLOAT"}},
                              {{"10", "10"}, {"9", "9"}, {"100", "100"}}));
  c.StringGrid1->SetCol(2);
  c.TriAscendant();
  EXPECT_EQ(Column(2), Values({"9", "10", "100"}));
  EXPECT_TRUE(c.Document().Modified());
  EXPECT_EQ(Cell(0, 1), "1");
  EXPECT_EQ(Cell(1, 1), "9");
  c.StringGrid1->SetCol(1);
  c.TriAscendant();
  EXPECT_EQ(Column(1), Values({"10", "100", "9"}));
  c.TriDescendant();
  EXPECT_EQ(Column(1), Values({"9", "100", "10"}));
  // The snapshot was taken before the sort.
  c.Annuler();
  EXPECT_EQ(Column(1), Values({"10", "100", "9"}));

  c.Vue(TView::Column);
  c.StringGrid2->SetRow(1);  // NOMBRE
  c.TriDescendant();
  EXPECT_EQ(Column(2), Values({"100", "10", "9"}));
  EXPECT_EQ(Shown(1), c.Document().Table().GetFieldValue(2));

  // The form view has no field under the cursor: nothing moves.
  c.Vue(TView::Form);
  c.Document().SetModified(false);
  c.TriAscendant();
  EXPECT_EQ(Column(2), Values({"100", "10", "9"}));
  EXPECT_TRUE(c.Document().Modified());
}

TEST_F(ChildEditingTest, DuplicatesAreRemovedAfterTheQuestion) {
  TChild& c = Open(WriteTable("d.qor", {{"L", "STRING"}}, {{"A"}, {"B"}, {"A"}, {"A"}, {"B"}}));
  services.AnswerQuestion(TAnswer::No);
  c.Doublons();
  EXPECT_EQ(LastQuestion(), "Supprimer les doublons de la table ?");
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
  EXPECT_FALSE(c.Document().Modified());
  services.AnswerQuestion(TAnswer::Yes);
  c.Doublons();
  EXPECT_EQ(Column(1), Values({"A", "B"}));
  EXPECT_EQ(c.StringGrid1->RowCount(), 3);
  EXPECT_TRUE(c.Document().Modified());
  c.Annuler();
  EXPECT_EQ(c.Document().Table().RecordCount(), 5);
}

TEST_F(ChildEditingTest, ConvertTurnsDosLettersInEveryRecordAlsoInSelectionMode) {
  TChild& c = Open(WriteTable("o.qor", {{"T", "STRING"}, {"V", "STRING"}},
                              {{"\x20\x82\x0D\x0A\x74\x0D\x0A", "x"}, {"\x8A\x93", "y"}}));
  c.Document().SetFilter({"V", "=", "x"});
  c.AffSel();
  services.AnswerQuestion(TAnswer::No);
  c.Convertir();
  EXPECT_EQ(LastQuestion(), QString::fromUtf8("Convertir les caractères de la table ?"));
  EXPECT_EQ(Value(1, 2), "\x8A\x93");
  services.AnswerQuestion(TAnswer::Yes);
  c.Convertir();
  EXPECT_EQ(Value(1, 1), "\xE9\x74");
  EXPECT_EQ(Value(1, 2), "\xE8\xF4");
  EXPECT_EQ(Cell(1, 1), QString::fromUtf8("ét"));
  EXPECT_TRUE(c.Document().Modified());
  c.Annuler();
  EXPECT_EQ(Value(1, 2), "\x8A\x93");
}

TEST_F(ChildEditingTest, CommandsWriteTypedValuesBackFirst) {
  TChild& c = Open(WriteClients());
  c.StringGrid1->SetRow(2);
  TypeInCell(1, "Aaron");
  c.StringGrid1->SetCol(1);
  c.TriAscendant();
  EXPECT_EQ(Value(1, 1), "Aaron");
  EXPECT_EQ(Cell(1, 1), "Aaron");
}

}  // namespace

// Each row change takes the snapshot of the records written since the last one:
// undo gives back the table as it was before the last row's change, all earlier
// rows kept, also on a second round after an undo.
TEST_F(ChildEditingTest, UndoAfterEditingRowByRowGivesBackOnlyTheLastRow) {
  TChild& c = Open(WriteClients());
  const std::string second = Value(1, 2);
  for (int round = 0; round < 2; ++round) {
    c.StringGrid1->SetRow(1);
    TypeInCell(1, "Un");
    c.StringGrid1->SetRow(2);
    TypeInCell(1, "Deux");
    c.StringGrid1->SetRow(3);
    EXPECT_EQ(Value(1, 2), "Deux");
    c.Annuler();
    EXPECT_EQ(Value(1, 1), "Un");
    EXPECT_EQ(Value(1, 2), second);
  }
}
