#include "THelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char kHome[] = "index.html";

bool HoldsManual(const QString& folder) {
  return !folder.isEmpty() && QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(kHome));
}

// Lower case without accents, so that "ecran" finds "Écran".
QString Folded(const QString& text) {
  QString out;
  const QString decomposed = text.normalized(QString::NormalizationForm_D);
  out.reserve(decomposed.size());
  for (const QChar c : decomposed)
    if (c.category() != QChar::Mark_NonSpacing) out.append(c.toLower());
  return out;
}

QString ReadUtf8(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

QToolButton* ToolButton(const QString& text, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setAccessibleName(text);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return button;
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
  setModal(false);
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Manuel de Vek Base"));
  setAttribute(Qt::WA_DeleteOnClose);
  folder_ = ManualFolder();

  home_ = ToolButton(QStringLiteral("Sommaire"), this);
  back_ = ToolButton(QStringLiteral("Précédent"), this);
  forward_ = ToolButton(QStringLiteral("Suivant"), this);
  home_->setToolTip(QStringLiteral("Revenir au sommaire du manuel"));
  back_->setToolTip(QStringLiteral("Revenir à la page vue avant"));
  forward_->setToolTip(QStringLiteral("Retourner à la page quittée"));
  back_->setEnabled(false);
  forward_->setEnabled(false);

  auto* searchLabel = new QLabel(QStringLiteral("&Rechercher :"), this);
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("SearchField"));
  search_->setAccessibleName(QStringLiteral("Rechercher dans le manuel"));
  search_->setPlaceholderText(QStringLiteral("mots à chercher"));
  search_->setClearButtonEnabled(true);
  searchLabel->setBuddy(search_);
  found_ = new QLabel(this);
  found_->setObjectName(QStringLiteral("FoundLabel"));
  contents_ = new QListWidget(this);
  contents_->setObjectName(QStringLiteral("Contents"));
  contents_->setAccessibleName(QStringLiteral("Sommaire du manuel"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("Browser"));
  browser_->setAccessibleName(QStringLiteral("Page du manuel"));
  browser_->setOpenExternalLinks(false);
  browser_->setSearchPaths({folder_});

  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(searchLabel);
  leftLayout->addWidget(search_);
  leftLayout->addWidget(found_);
  leftLayout->addWidget(contents_, 1);
  auto* splitter = new QSplitter(this);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(left);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 760});

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(home_);
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(splitter, 1);
  resize(1000, 680);

  connect(home_, &QToolButton::clicked, this, [this] { ShowPage(QLatin1String(kHome)); });
  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, &THelpWindow::PageShown);
  connect(search_, &QLineEdit::textChanged, this, &THelpWindow::Search);
  connect(search_, &QLineEdit::returnPressed, this, [this] {
    if (contents_->count() > 0) OpenItem(0);
  });
  connect(contents_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { OpenItem(contents_->row(item)); });
  connect(contents_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { OpenItem(contents_->row(item)); });

  ReadContents();
  Search(QString());
  ShowPage(QLatin1String(kHome));
}

QString THelpWindow::ManualFolder() {
  const QStringList candidates = {
      QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vekbase/manuel"),
      QStringLiteral(VEK_MANUAL_INSTALLED),
      QStringLiteral(VEK_MANUAL_BUILT),
  };
  for (const QString& folder : candidates)
    if (HoldsManual(folder)) return QDir(folder).canonicalPath();
  return QString();
}

THelpWindow* THelpWindow::Open(const QString& page, QWidget* from) {
  QWidget* owner = from ? from->window() : nullptr;
  // A menu or a list that pops up goes when it closes: the help goes to the
  // window it belongs to.
  while (owner && owner->windowType() == Qt::Popup)
    owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
  // F1 in the manual's window opens its page there.
  THelpWindow* window = qobject_cast<THelpWindow*>(owner);
  if (!window && owner)
    window = owner->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) window = new THelpWindow(owner);
  window->ShowPage(page);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

void THelpWindow::ReadContents() {
  pages_.clear();
  titles_.clear();
  const QString index = ReadUtf8(folder_ + QLatin1Char('/') + QLatin1String(kHome));
  // The contents are the links of index.html's list items, in order.
  static const QRegularExpression item(
      QStringLiteral("<li>\\s*<a href=\"([^\"#]+\\.html)\">([^<]+)</a>"));
  pages_ << QLatin1String(kHome);
  titles_ << QStringLiteral("Sommaire");
  for (auto it = item.globalMatch(index); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (pages_.contains(m.captured(1))) continue;
    pages_ << m.captured(1);
    QTextDocument title;
    title.setHtml(m.captured(2));  // the entities of the title
    titles_ << title.toPlainText().trimmed();
  }
}

QString THelpWindow::PlainTextOf(const QString& page) {
  if (plain_.size() != pages_.size()) {
    plain_.clear();
    for (const QString& p : pages_) {
      QTextDocument document;
      document.setHtml(ReadUtf8(folder_ + QLatin1Char('/') + p));
      plain_ << Folded(document.toPlainText());
    }
  }
  return plain_.value(pages_.indexOf(page));
}

QStringList THelpWindow::Search(const QString& words) {
  words_ = Folded(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  QStringList listed;
  contents_->clear();
  for (int i = 0; i < pages_.size(); ++i) {
    bool holds = true;
    if (!words_.isEmpty()) {
      const QString text = PlainTextOf(pages_[i]);
      for (const QString& word : words_) holds = holds && text.contains(word);
    }
    if (!holds) continue;
    auto* item = new QListWidgetItem(titles_[i], contents_);
    item->setData(Qt::UserRole, pages_[i]);
    listed << pages_[i];
  }
  if (words_.isEmpty())
    found_->clear();
  else if (listed.isEmpty())
    found_->setText(QStringLiteral("Aucune page ne contient ces mots."));
  else if (listed.size() == 1)
    found_->setText(QStringLiteral("1 page trouvée"));
  else
    found_->setText(QStringLiteral("%1 pages trouvées").arg(listed.size()));
  found_->setVisible(!words_.isEmpty());
  return listed;
}

void THelpWindow::OpenItem(int row) {
  QListWidgetItem* item = contents_->item(row);
  if (!item) return;
  // A double click is a click and an activation: one step in the history.
  const QString page = item->data(Qt::UserRole).toString();
  if (CurrentPage() != page) ShowPage(page);
  // Marks the first searched word where it first stands in the page.
  if (!words_.isEmpty()) {
    browser_->moveCursor(QTextCursor::Start);
    const QString plain = Folded(browser_->toPlainText());
    const int at = plain.indexOf(words_.first());
    if (at >= 0) {
      QTextCursor cursor(browser_->document());
      cursor.setPosition(at);
      cursor.setPosition(at + words_.first().size(), QTextCursor::KeepAnchor);
      browser_->setTextCursor(cursor);
      browser_->ensureCursorVisible();
    }
  }
}

bool THelpWindow::ShowPage(const QString& page) {
  const QString file = page.section(QLatin1Char('#'), 0, 0);
  const QString path = folder_.isEmpty() ? QString() : folder_ + QLatin1Char('/') + file;
  if (path.isEmpty() || !QFileInfo::exists(path)) {
    browser_->setHtml(
        QStringLiteral("<h1>Page introuvable</h1><p>La page « %1 » du manuel n'a pas été "
                       "trouvée%2. Le manuel est installé avec le programme ; réinstallez "
                       "Vek Base pour le retrouver.</p>")
            .arg(file.toHtmlEscaped(),
                 folder_.isEmpty() ? QString()
                                   : QStringLiteral(" dans %1").arg(folder_.toHtmlEscaped())));
    return false;
  }
  QUrl url = QUrl::fromLocalFile(path);
  if (page.contains(QLatin1Char('#'))) url.setFragment(page.section(QLatin1Char('#'), 1));
  browser_->setSource(url);
  return true;
}

QString THelpWindow::CurrentPage() const {
  const QUrl url = browser_->source();
  if (url.isEmpty()) return QString();
  const QString name = QFileInfo(url.toLocalFile()).fileName();
  return url.hasFragment() ? name + QLatin1Char('#') + url.fragment() : name;
}

void THelpWindow::PageShown(const QUrl& url) {
  const QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? QStringLiteral("Manuel de Vek Base")
                                 : QStringLiteral("Manuel de Vek Base - ") + title);
  // The page shown stays marked in the list.
  const QString name = QFileInfo(url.toLocalFile()).fileName();
  for (int i = 0; i < contents_->count(); ++i)
    if (contents_->item(i)->data(Qt::UserRole).toString() == name) {
      const QSignalBlocker blocker(contents_);
      contents_->setCurrentRow(i);
    }
}
