#pragma once
// TTableChoiceDlg: which sheet of a workbook, or which table of a database,
// to open or to import, when the file holds more than one. Init lists the
// names (UTF-8, in the file's order) under a label that names the file, the
// first one chosen; "OK", Enter or a double click on a name confirms and
// closes, "Annuler" or Escape closes without an answer. Built in code so that
// a test can choose a name and press its buttons without exec().
//
// Ask does the whole question: it lists the file's sheets or tables
// (ListForeignTables) and shows the dialog only when there are several.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "TStatus.h"

class QLabel;
class QListWidget;
class QPushButton;

class TTableChoiceDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TTableChoiceDlg(QWidget* parent = nullptr);

  // `sheets`: the names are a workbook's sheets, else a database's tables.
  void Init(const QString& fileName, const std::vector<std::string>& names, bool sheets);
  // The name chosen (UTF-8) when confirmed, nothing otherwise.
  std::optional<std::string> Result() const;

  // The sheet or table of `path` to read: "" (the first) when it holds one
  // or none (or is no workbook or database), the name the user chose when it
  // holds several. Nothing when the
  // user cancelled, or when the file's sheets or tables cannot be listed:
  // `status` then says why.
  static std::optional<std::string> Ask(const QString& path, TStatus& status);

  void Button1Click();  // "Annuler"
  void Button2Click();  // "OK"

  QLabel* Label1 = nullptr;         // "Feuilles du classeur « x.xlsx » :"
  QListWidget* ListBox1 = nullptr;  // the names
  QPushButton* Button1 = nullptr;   // "Annuler"
  QPushButton* Button2 = nullptr;   // "OK"

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<std::string> names_;
};
