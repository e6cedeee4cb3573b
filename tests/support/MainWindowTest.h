#pragma once
// Fixture of the main window tests: scripted services, a temporary start folder,
// the main window made in it, and the ways a test reaches its commands. The
// teardown fails on a question nobody answered and on an answer nobody asked
// for, as the document fixture does.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "TChild.h"
#include "TFakeServices.h"
#include "TMainForm.h"
#include "TNameEdit.h"
#include "TNouveau.h"
#include "TQor2.h"

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetServices(&services);
    form = std::make_unique<TMainForm>(dir.path());
  }
  void TearDown() override {
    // Destroying the window asks nothing: what a test left modified is dropped.
    for (TChild* child : form->Children()) child->Document().SetModified(false);
    form.reset();
    EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
    EXPECT_EQ(services.PendingAnswers(), 0);
    SetServices(nullptr);
  }

  QString Path(const QString& name) const { return dir.filePath(name); }

  // A menu item or tool-bar button by its object name ("FileSaveItem").
  QAction* Action(const char* name) const {
    QAction* action = form->findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  QMenu* Menu(const char* name) const { return form->findChild<QMenu*>(QLatin1String(name)); }
  bool Enabled(const char* name) const { return Action(name)->isEnabled(); }
  bool Checked(const char* name) const { return Action(name)->isChecked(); }

  // The captions of the document windows, in the order they were opened.
  QStringList Captions() const {
    QStringList captions;
    for (TChild* child : form->Children()) captions << child->windowTitle();
    return captions;
  }

  // A small table file of three clients: NOM, VILLE.
  QString WriteTable(const QString& name) {
    TQor2 table;
    table.AddField("NOM");
    table.AddField("VILLE");
    const char* rows[][2] = {{"Martin", "Lyon"},
                             {"Dupont", "Nice"},
                             {"L\xE9on",
                              "Orl\xE9"
                              "ans"}};
    for (const auto& row : rows) {
      table.Append();
      table.SetFieldValue(1, row[0]);
      table.SetFieldValue(2, row[1]);
    }
    const QString path = Path(name);
    EXPECT_TRUE(table.SaveToFile(QFile::encodeName(path).toStdString()));
    return path;
  }

  // Scripts the "Nouvelle table" dialog: each entry "NAME TYPE" is added, then
  // the dialog is confirmed.
  void AnswerNewTable(const QStringList& fields) {
    services.AnswerDialog([fields](QDialog& d) {
      auto& dialog = static_cast<TNouveau&>(d);
      for (const QString& field : fields) {
        const QStringList parts = field.split(' ');
        dialog.Edit1->setText(parts[0]);
        dialog.ComboBox1->setCurrentText(parts[1]);
        dialog.SpeedButton1Click();
      }
      dialog.Button2->click();
    });
  }

  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  static void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QTemporaryDir dir;
  TFakeServices services;
  std::unique_ptr<TMainForm> form;
};
