#pragma once
// Fixture of the document window tests: scripted services, a temporary folder,
// table files written through the engine, and a window opened on one of them.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "TChild.h"
#include "TFakeServices.h"
#include "TQor2.h"
#include "TStringGrid.h"

struct TTestField {
  std::string name;
  std::string type;  // "STRING" or "FLOAT"
};

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetServices(&services);
    ASSERT_TRUE(dir.isValid());
  }
  void TearDown() override {
    child.reset();
    EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
    EXPECT_EQ(services.PendingAnswers(), 0);
  }

  QString Path(const QString& name) const { return dir.filePath(name); }

  // Writes a table file; rows hold the values in field order.
  QString WriteTable(const QString& name, const std::vector<TTestField>& fields,
                     const std::vector<std::vector<std::string>>& rows) {
    TQor2 t;
    for (const TTestField& f : fields) {
      t.AddField(f.name);
      t.SetFieldType(t.FieldCount(), f.type);
    }
    for (const auto& row : rows) {
      t.Append();
      for (size_t i = 0; i < row.size(); ++i) t.SetFieldValue(static_cast<int>(i) + 1, row[i]);
    }
    const QString path = Path(name);
    EXPECT_TRUE(t.SaveToFile(QFile::encodeName(path).toStdString()));
    return path;
  }

  // Five records: NOM, VILLE, PRIX (FLOAT).
  QString WriteClients() {
    return WriteTable("clients.qor", {{"NOM", "STRING"}, {"VILLE", "STRING"}, {"PRIX", "FLOAT"}},
                      {{"Dupont", "Paris", "12.5"},
                       {"Durand", "Lyon", "7"},
                       {"Martin", "Nice", "100"},
                       {"Petit", "Lyon", "3,25"},
                       {"Roux", "Brest", "0"}});
  }

  // Opens a file as the main window does: new window, table view, open, view 1.
  TChild& Open(const QString& path) {
    child = std::make_unique<TChild>();
    child->resize(700, 400);
    child->Vue(TView::Table);
    EXPECT_TRUE(child->OpenFile(path));
    child->Vue(TView::Table);
    return *child;
  }

  // What the user does when typing in the current cell of the table view: the
  // grid writes every keystroke into the cell and reports the character.
  void TypeInCell(int col, const QString& text) {
    TStringGrid* grid = child->StringGrid1;
    grid->SetCell(col, grid->Row(), text);
    child->StringGrid1KeyPress(text.isEmpty() ? QChar('x') : text.back());
  }

  std::string Value(int field, int recNo) const {
    return child->Document().Table().GetCell(field, recNo).str();
  }
  QString Cell(int col, int row) const { return child->StringGrid1->Cell(col, row); }

  static QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  TFakeServices services;
  QTemporaryDir dir;
  std::unique_ptr<TChild> child;
};
