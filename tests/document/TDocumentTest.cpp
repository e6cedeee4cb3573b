// The document of one open table, without a window: loading, what the
// selection lets the cursor visit, the field-name rules, find and replace,
// undo, the character conversion and the form layout kept beside the table.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TDocument.h"
#include "TestFiles.h"

namespace {

using Values = std::vector<std::string>;

class TDocumentTest : public ::testing::Test {
 protected:
  // Five records: NOM, VILLE.
  std::string WriteClients() {
    TQor2 t;
    t.AddField("NOM");
    t.AddField("VILLE");
    const Values rows[] = {{"Martin", "Paris"},
                           {"Dupont", "Lyon"},
                           {"Durand", "Nice"},
                           {"Martin", "Lyon"},
                           {"Dupuis", "Brest"}};
    for (const Values& row : rows) {
      t.Append();
      t.SetFieldValue(1, row[0]);
      t.SetFieldValue(2, row[1]);
    }
    const std::string path = dir.File("clients.qor");
    EXPECT_TRUE(t.SaveToFile(path));
    return path;
  }
  TDocument& Open() {
    EXPECT_TRUE(doc.Load(WriteClients()));
    return doc;
  }
  Values Column(int field) const {
    Values values;
    for (int n = 1; n <= doc.Table().RecordCount(); ++n)
      values.push_back(doc.Table().GetCell(field, n).str());
    return values;
  }
  int Current() const { return doc.Table().RecNo(); }

  TempDir dir;
  TDocument doc;
};

TEST_F(TDocumentTest, AFileThatCannotBeLoadedLeavesTheDocumentAsItWas) {
  TDocument& d = Open();
  EXPECT_EQ(d.FileName(), dir.File("clients.qor"));
  EXPECT_EQ(Current(), 1);
  EXPECT_FALSE(d.Modified());
  d.Table().GoToRecord(3);
  d.SetModified(true);
  const TStatus status = d.Load(dir.File("absent.qor"));
  EXPECT_FALSE(status);
  EXPECT_EQ(status.Cause(), TFailure::NotFound);
  EXPECT_EQ(d.FileName(), dir.File("clients.qor"));
  EXPECT_EQ(d.Table().RecordCount(), 5);
  EXPECT_EQ(Current(), 3);
  EXPECT_TRUE(d.Modified());
}

TEST_F(TDocumentTest, ReadOnlyFilesAreThoseThatCannotBeWritten) {
  EXPECT_FALSE(IsReadOnlyFile(""));
  EXPECT_FALSE(IsReadOnlyFile(dir.File("absent.qor")));
  const std::string path = WriteClients();
  EXPECT_FALSE(IsReadOnlyFile(path));
  // Read-only even for the super-user the tests run as.
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(IsReadOnlyFile(path));
}

TEST_F(TDocumentTest, TheSelectionIsAllTheCursorVisitsAndStopsAtItsEnds) {
  TDocument& d = Open();
  d.SetFilter({"VILLE", "=", "Lyon"});
  d.ShowSelection();
  EXPECT_TRUE(d.SelectionMode());
  EXPECT_EQ(Current(), 2);
  d.Step(true);
  EXPECT_EQ(Current(), 4);
  d.Step(true);  // no later selected record: the record shown stays
  EXPECT_EQ(Current(), 4);
  EXPECT_TRUE(d.CurrentShown());
  d.ToEnd(false);
  EXPECT_EQ(Current(), 2);
  d.Step(false);
  EXPECT_EQ(Current(), 2);
  d.ToEnd(true);
  EXPECT_EQ(Current(), 4);

  d.ShowAll();
  EXPECT_FALSE(d.SelectionMode());
  EXPECT_EQ(Current(), 1);
  d.Step(true);
  EXPECT_EQ(Current(), 2);
  d.ToEnd(true);
  EXPECT_EQ(Current(), 5);

  // A filter never defined selects nothing.
  TDocument other;
  ASSERT_TRUE(other.Load(dir.File("clients.qor")));
  other.ShowSelection();
  EXPECT_FALSE(other.CurrentShown());
}

TEST_F(TDocumentTest, FieldNamesAreUpperCasedAndNeverTwice) {
  TDocument& d = Open();
  EXPECT_TRUE(d.AddField("pays2"));
  EXPECT_EQ(d.Table().GetFieldName(3), "PAYS2");
  EXPECT_TRUE(d.Modified());
  EXPECT_FALSE(d.AddField("Ville"));
  EXPECT_EQ(d.Table().FieldCount(), 3);

  // A rename to another field's name changes nothing and takes no snapshot.
  EXPECT_FALSE(d.RenameField(1, "VILLE", "FLOAT"));
  EXPECT_FALSE(d.UndoAvailable());
  EXPECT_EQ(d.FieldList(' '), Values({"NOM STRING", "VILLE STRING", "PAYS2 STRING"}));
  // Its own name with another type, or a new name, is a rename: values stay.
  EXPECT_TRUE(d.RenameField(1, "NOM", "FLOAT"));
  EXPECT_TRUE(d.RenameField(1, "CLIENT", "STRING"));
  EXPECT_EQ(Column(1)[1], "Dupont");
  ASSERT_TRUE(d.Annuler());
  EXPECT_EQ(d.FieldList(' ')[0], "NOM FLOAT");
}

TEST_F(TDocumentTest, FindKeepsToTheSelectionAndReplaceAllDoesNot) {
  TDocument& d = Open();
  d.Find().Search.Field = "NOM";
  d.StartFind("dup", true);
  EXPECT_EQ(d.Find().Search, (TCondition{"NOM", "LIKE", "dup*"}));
  EXPECT_TRUE(d.Find().Replacing);
  EXPECT_EQ(d.FindFrom(1), 2);
  EXPECT_EQ(d.FindFrom(3), 5);
  EXPECT_EQ(Current(), 5);

  d.SetFilter({"VILLE", "=", "Lyon"});
  d.ShowSelection();
  EXPECT_EQ(d.FindFrom(3), 0);  // Dupuis lives in Brest
  EXPECT_EQ(Current(), 2);      // the record shown stays current

  d.Find().ReplaceValue = "X";
  d.ReplaceAll();
  EXPECT_EQ(Column(1), Values({"Martin", "X", "Durand", "Martin", "X"}));
  EXPECT_TRUE(d.Modified());

  d.Find().WholeWord = true;
  d.StartFind("Martin", false);
  EXPECT_EQ(d.Find().Search, (TCondition{"NOM", "=", "Martin"}));
  EXPECT_FALSE(d.Find().Replacing);
  EXPECT_TRUE(d.MatchesSearch(4));
  EXPECT_FALSE(d.MatchesSearch(2));
}

TEST_F(TDocumentTest, UndoBringsBackTheLastSnapshotAsOftenAsAsked) {
  TDocument& d = Open();
  EXPECT_FALSE(d.Annuler());
  EXPECT_FALSE(d.Modified());
  // Typed values are stored trimmed, and only when they differ.
  d.Memorise();
  d.Table().GoToRecord(1);
  EXPECT_FALSE(d.StoreTyped(1, " Martin "));
  EXPECT_FALSE(d.Modified());
  EXPECT_TRUE(d.StoreTyped(1, " Un "));
  d.Memorise();
  d.Table().GoToRecord(2);
  EXPECT_TRUE(d.StoreTyped(1, "Deux"));
  EXPECT_TRUE(d.Modified());
  ASSERT_TRUE(d.Annuler());
  ASSERT_TRUE(d.Annuler());
  EXPECT_EQ(Column(1), Values({"Un", "Dupont", "Durand", "Martin", "Dupuis"}));

  // Copy and paste go through a snapshot too.
  d.CopyRecord(3);
  EXPECT_TRUE(d.Paste(1));
  EXPECT_EQ(Column(2)[0], "Nice");
  d.Annuler();
  EXPECT_EQ(Column(2)[0], "Paris");
  EXPECT_FALSE(d.Paste(0));  // no record 0: nothing pasted
  EXPECT_EQ(Column(2), Values({"Paris", "Lyon", "Nice", "Lyon", "Brest"}));
}

TEST_F(TDocumentTest, ConvertTurnsDosLettersInEveryRecordAlsoInSelectionMode) {
  TDocument& d = Open();
  d.Table().GoToRecord(4);
  d.Table().SetFieldValue(1, "\x20\x82\x0D\x0A\x74\x0D\x0A");
  d.SetFilter({"VILLE", "=", "Paris"});
  d.ShowSelection();
  d.Convertir();
  EXPECT_EQ(Column(1)[3], "\xE9\x74");
  EXPECT_TRUE(d.Modified());
  d.Annuler();
  EXPECT_EQ(Column(1)[3], "\x20\x82\x0D\x0A\x74\x0D\x0A");
}

TEST_F(TDocumentTest, TheLayoutIsWrittenBesideTheTableOnlyOnceDesigned) {
  TDocument& d = Open();
  const std::string table = d.FileName();
  const std::string layout = dir.File("clients.ecr");
  EXPECT_EQ(TDocument::LayoutFileName(table), layout);
  EXPECT_TRUE(d.LoadLayout(table));  // none: an empty layout
  EXPECT_TRUE(d.Layout().empty());

  d.SetLayout({"TEdit 007D00320A0NOM"}, false);
  EXPECT_TRUE(d.WriteLayout(table));
  EXPECT_FALSE(std::filesystem::exists(layout));  // made by default: not the user's to keep
  d.SetLayout({"TEdit 007D00320A0NOM", "TLabel 00050032Nom\t"}, true);
  EXPECT_TRUE(d.WriteLayout(table));
  EXPECT_EQ(ReadBytes(layout), "TEdit 007D00320A0NOM\r\nTLabel 00050032Nom\t\r\n");

  TDocument other;
  ASSERT_TRUE(other.LoadLayout(table));
  EXPECT_EQ(other.Layout(), d.Layout());
  EXPECT_FALSE(other.LayoutDesigned());
}

}  // namespace
