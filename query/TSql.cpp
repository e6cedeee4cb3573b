#include "TSql.h"

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "AnsiCodec.h"
#include "IServices.h"
#include "THourglass.h"
#include "TQor2Sql.h"
#include "TQueryToolBar.h"
#include "TResultFile.h"
#include "TResultGrid.h"

namespace {

const int kHistorySize = 10;

QStringList& SessionHistory() {
  static QStringList history;
  return history;
}

// Where a word of the statement ends, as the SQL engine reads it.
bool IsDelimiter(QChar c) {
  return c.unicode() <= 32 || c == QLatin1Char(',') || c == QLatin1Char('(') ||
         c == QLatin1Char(')') || c == QLatin1Char('<') || c == QLatin1Char('=') ||
         c == QLatin1Char('>') || c == QLatin1Char('~');
}

// `word` equals `lower` with a to z in any case; no other letter folds.
bool IsKeyword(QStringView word, const char* lower) {
  const qsizetype n = static_cast<qsizetype>(qstrlen(lower));
  if (word.size() != n) return false;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = word[i].unicode();
    const char16_t folded = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    if (folded != static_cast<unsigned char>(lower[i])) return false;
  }
  return true;
}

// A statement that does not even begin with SELECT, or that the engine stops
// reading before its condition.
QString UnreadableMessage(const QString& statement) {
  return QStringLiteral("Requête illisible : ") +
         QString::fromUtf8(FailureReason(TQor2Sql::Unreadable(ToAnsi(statement)))) +
         QLatin1Char('.');
}

}  // namespace

TSql::TSql(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Requête  SQL"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  resize(640, 440);

  Panel1 = new TQueryToolBar(this);
  SpeedButton1 =
      Panel1->AddButton("SpeedButton1", TToolPicture::New, QStringLiteral("Nouvelle requête"));
  OpenBtn = Panel1->AddButton("OpenBtn", TToolPicture::Open, QStringLiteral("Ouvrir requête"));
  SaveBtn = Panel1->AddButton("SaveBtn", TToolPicture::Save, QStringLiteral("Enregistrer"));
  SpeedButton11 =
      Panel1->AddButton("SpeedButton11", TToolPicture::Print, QStringLiteral("Imprimer"));
  Panel1->AddSeparator();
  SpeedButton2 =
      Panel1->AddButton("SpeedButton2", TToolPicture::RunQuery, QStringLiteral("Exécuter requête"));
  Button1 = Panel1->AddClose();

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setAccessibleName(QStringLiteral("Requête"));
  Memo1->setFixedHeight(64);
  Memo1->setTabChangesFocus(true);
  HistoryBox = new QComboBox(this);
  HistoryBox->setObjectName(QStringLiteral("HistoryBox"));
  HistoryBox->setAccessibleName(QStringLiteral("Requêtes précédentes"));
  HistoryBox->setToolTip(QStringLiteral("Requêtes précédentes"));
  HistoryBox->setPlaceholderText(QStringLiteral("Requêtes précédentes"));
  HistoryBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  HistoryBox->setMinimumContentsLength(18);
  StringGrid1 = new TResultGrid(this);
  StatusLine = new QLabel(this);
  StatusLine->setObjectName(QStringLiteral("StatusLine"));
  StatusLine->setContentsMargins(4, 2, 4, 2);

  auto* statementRow = new QHBoxLayout;
  statementRow->addWidget(Memo1, 1);
  statementRow->addWidget(HistoryBox, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(Panel1);
  layout->addLayout(statementRow);
  layout->addWidget(StringGrid1, 1);
  layout->addWidget(StatusLine);

  connect(Button1, &QPushButton::clicked, this, &TSql::Button1Click);
  connect(SpeedButton1, &QToolButton::clicked, this, &TSql::SpeedButton1Click);
  connect(OpenBtn, &QToolButton::clicked, this, &TSql::OpenBtnClick);
  connect(SaveBtn, &QToolButton::clicked, this, &TSql::SaveBtnClick);
  connect(SpeedButton2, &QToolButton::clicked, this, &TSql::SpeedButton2Click);
  connect(SpeedButton11, &QToolButton::clicked, this, &TSql::SpeedButton11Click);
  connect(HistoryBox, &QComboBox::activated, this, &TSql::HistoryChosen);
  FillHistory();
  Memo1->setFocus();
}

TSql::~TSql() {
  // The result grid reads the tables below: it goes before them.
  delete StringGrid1;
}

void TSql::Init(TQor2& table) {
  source_ = &table;
  query_ = std::make_unique<TQor2Sql>(table);
  resultTable_ = &placeholder_;
  Remplit();
}

void TSql::Remplit() {
  StringGrid1->Remplit(*resultTable_);
}

void TSql::Button1Click() {
  reject();
}

void TSql::SpeedButton1Click() {
  Memo1->clear();
}

void TSql::OpenBtnClick() {
  TFileDialogRequest request;
  request.kind = TFileDialogKind::Open;
  const std::optional<TFileChoice> choice = Services().FileDialog(request);
  if (!choice) return;
  QFile file(choice->path);
  if (!file.open(QIODevice::ReadOnly)) {
    Services().Warning(QStringLiteral("Impossible d'ouvrir '") + choice->path +
                       QStringLiteral("' : le fichier ne peut pas être lu"));
    return;
  }
  const QByteArray bytes = file.readAll();
  QStringList lines;
  for (QByteArray line : bytes.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    lines << FromAnsi(line.constData(), static_cast<size_t>(line.size()));
  }
  // A last line end opens no further line.
  if (bytes.endsWith('\n')) lines.removeLast();
  Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TSql::SaveBtnClick() {
  if (!source_) return;
  TResultFile::Save({TResultFile::kStatement, TResultFile::kTxt, TResultFile::kCsv,
                     TResultFile::kXls, TResultFile::kXlsx},
                    *resultTable_, Memo1->toPlainText());
}

void TSql::SpeedButton2Click() {
  if (!query_) return;
  const QString text = Memo1->toPlainText();
  const QString statement = UpperKeywords(text);
  if (statement != text) Memo1->setPlainText(statement);
  Remember(statement);
  bool ok;
  {
    THourglass hourglass;
    const int current = source_->RecNo();
    ok = query_->Execute(ToAnsi(OneLine(statement))).ok();
    // The document shows the record it stood on; so must its cursor.
    source_->GoToRecord(current);
  }
  // The records that satisfy the condition, none included: the rejected ones
  // are never shown as if they were the answer.
  resultTable_ = ok ? &query_->Selected() : &placeholder_;
  StatusLine->setText(ok ? QString() : UnreadableMessage(statement));
  Remplit();
}

void TSql::SpeedButton11Click() {
  StringGrid1->Imprimer();
}

void TSql::HistoryChosen(int index) {
  const QString statement = HistoryBox->itemData(index).toString();
  if (!statement.isEmpty()) Memo1->setPlainText(statement);
  Memo1->setFocus();
}

QString TSql::UpperKeywords(const QString& text) {
  static const char* const kKeywords[] = {"select", "where", "distinct", "or", "and"};
  QString out = text;
  const qsizetype n = out.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = out[i];
    if (IsDelimiter(c)) {
      ++i;
    } else if (c == QLatin1Char('\'')) {
      // Quoted text, to its closing quote; a doubled quote stays inside.
      for (++i; i < n; ++i) {
        if (out[i] != QLatin1Char('\'')) continue;
        if (i + 1 < n && out[i + 1] == QLatin1Char('\'')) {
          ++i;
          continue;
        }
        ++i;
        break;
      }
    } else {
      const qsizetype start = i;
      while (i < n && !IsDelimiter(out[i])) ++i;
      const QStringView word = QStringView(out).mid(start, i - start);
      for (const char* keyword : kKeywords)
        if (IsKeyword(word, keyword))
          out.replace(start, i - start, QString::fromLatin1(keyword).toUpper());
    }
  }
  return out;
}

QString TSql::OneLine(const QString& text) {
  QString out;
  out.reserve(text.size());
  bool quoted = false;  // a doubled quote leaves and enters again: it stays inside
  for (const QChar c : text) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (c == QLatin1Char('\n'))
      out += quoted ? QStringLiteral("\r\n") : QStringLiteral(" ");
    else if (c == QLatin1Char('\t') && !quoted)
      out += QLatin1Char(' ');
    else
      out += c;
  }
  return out;
}

QStringList TSql::History() {
  return SessionHistory();
}

void TSql::Remember(const QString& statement) {
  if (statement.trimmed().isEmpty()) return;
  QStringList& history = SessionHistory();
  history.removeAll(statement);
  history.prepend(statement);
  while (history.size() > kHistorySize) history.removeLast();
  FillHistory();
}

void TSql::FillHistory() {
  HistoryBox->clear();
  for (const QString& statement : SessionHistory()) {
    QString shown = statement;
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    HistoryBox->addItem(shown, statement);
  }
  HistoryBox->setCurrentIndex(-1);
}
