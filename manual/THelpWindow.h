#pragma once
// THelpWindow: the window of the user's manual. The manual is a folder of HTML
// pages installed with the program (ManualFolder); its first page, index.html,
// is the table of contents: its list items <li><a href="PAGE.html">Title</a>
// are the pages of the manual, in order, and fill the list at the left. The
// search field narrows that list to the pages holding every typed word (letter
// case and accents aside); opening a found page marks the first word in it.
//
// One window per top-level window (Open): it is a child window of the window
// F1 was pressed in, so that a modal dialog does not block its own help, and it
// goes with it. A page that is missing shows a French message instead of
// leaving the previous page; the window never writes anything. It is a
// dialog that never blocks anything (not modal): Escape closes it.

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;
class QUrl;

class THelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // The folder of the pages: the one installed beside the program
  // (BIN/../share/vekbase/manuel), else the installed prefix's, else the one of
  // the build tree. Empty when none holds index.html.
  static QString ManualFolder();

  // The manual's window of `from`'s top-level window (made on first use),
  // shown, raised and at `page`. `from` may be null: a window of its own.
  static THelpWindow* Open(const QString& page, QWidget* from);

  // Shows `page`, a file name of the folder with an optional "#anchor". False,
  // with a message in the page's place, when the file is not there.
  bool ShowPage(const QString& page);
  // The file name of the page shown, with its anchor when it was opened at one.
  QString CurrentPage() const;

  // The pages of the table of contents, in its order (file names), and titles.
  QStringList Pages() const { return pages_; }
  QStringList Titles() const { return titles_; }
  // Narrows the list to the pages holding every word of `words`; an empty text
  // lists them all again. Returns the file names listed.
  QStringList Search(const QString& words);

  QTextBrowser* Browser() const { return browser_; }
  QLineEdit* SearchField() const { return search_; }
  QListWidget* Contents() const { return contents_; }

 private:
  void ReadContents();
  void OpenItem(int row);
  void PageShown(const QUrl& url);           // the browser's source, before source() says it
  QString PlainTextOf(const QString& page);  // cached, folded for the search

  QString folder_;
  QStringList pages_;
  QStringList titles_;
  QStringList plain_;  // folded text of each page, read on the first search
  QStringList words_;  // the last search's words, folded

  QToolButton* home_;
  QToolButton* back_;
  QToolButton* forward_;
  QLineEdit* search_;
  QLabel* found_;
  QListWidget* contents_;
  QTextBrowser* browser_;
};
