#include "TBlocnotes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "AnsiCodec.h"
#include "French.h"
#include "IServices.h"
#include "ReadWholeFile.h"
#include "TAtomicFile.h"
#include "TPictures.h"
#include "TTextPrintout.h"
#include "TUtilityParts.h"

namespace {

const char kFileName[] = "VekBase.nte";

void ShowSaveError(const QString& fileName, const QString& reason) {
  Services().Warning(QStringLiteral("Impossible d'enregistrer '") + fileName +
                     QStringLiteral("' : ") + reason);
}

}  // namespace

TBlocnotes::TBlocnotes(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Bloc-notes"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  SpeedButton9 = new QToolButton(this);
  SpeedButton9->setObjectName(QStringLiteral("SpeedButton9"));
  SpeedButton9->setIcon(TPictures::ToolButton(TToolPicture::Print));
  SpeedButton9->setAutoRaise(true);
  SpeedButton9->setToolTip(QStringLiteral("Imprimer"));
  SpeedButton9->setAccessibleName(QStringLiteral("Imprimer"));
  connect(SpeedButton9, &QToolButton::clicked, this, &TBlocnotes::Imprimer);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setAccessibleName(QStringLiteral("Bloc-notes"));
  Memo1->setTabChangesFocus(false);
  Memo1->setMinimumSize(420, 260);

  Button1 = TUtilityParts::Button(this, QStringLiteral("Fermer"), QStringLiteral("Button1"));
  Button1->setAutoDefault(false);  // Enter belongs to the text
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

  auto* tools = new QHBoxLayout;
  tools->addWidget(SpeedButton9);
  tools->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(Memo1, 1);
  layout->addLayout(bottom);
  Memo1->setFocus();
}

QString TBlocnotes::FileIn(const QString& startDir) {
  return QDir(startDir).filePath(QLatin1String(kFileName));
}

void TBlocnotes::Run(const QString& startDir, QWidget* parent) {
  const QString fileName = FileIn(startDir);
  TBlocnotes notepad(parent);
  notepad.Charge(fileName);
  for (;;) {
    Services().RunDialog(notepad);
    if (notepad.Sauve(fileName)) return;
    // The text exists nowhere else: closing now would lose it, so the user
    // chooses, and "Non" brings the notepad back to copy it or try again.
    if (Services().Confirm(QStringLiteral("Le bloc-notes n'a pas été enregistré. Fermer quand même "
                                          "et perdre les modifications ?")))
      return;
  }
}

QStringList TBlocnotes::Lines() const {
  const QString text = Memo1->toPlainText();
  if (text.isEmpty()) return {};
  return text.split(QLatin1Char('\n'));
}

TStatus TBlocnotes::LoadText(IFileSystem& fileSystem, const QString& fileName, QString& text) {
  std::string bytes;
  const TStatus status =
      ReadWholeFile(fileSystem, QFile::encodeName(fileName).toStdString(), bytes);
  if (!status) return status;
  // CR LF, LF and CR all end a line; the last line end adds no line.
  std::string lines;
  lines.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    lines += bytes[i] == '\r' ? '\n' : bytes[i];
  }
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  text = FromAnsi(lines);
  return TStatus();
}

bool TBlocnotes::Charge(const QString& fileName) {
  fileName_ = fileName;
  QString text;
  const TStatus status = LoadText(FileSystem(), fileName, text);
  if (status.Cause() == TFailure::NotFound) return true;  // no notepad yet
  if (!status) {
    Services().Warning(QStringLiteral("Impossible d'ouvrir '") + fileName + QStringLiteral("' : ") +
                       FailureText(status));
    return false;
  }
  Memo1->setPlainText(text);
  Memo1->document()->setModified(false);
  return true;
}

bool TBlocnotes::Sauve(const QString& fileName) {
  if (!Memo1->document()->isModified()) return true;
  // A notepad file made read-only stays as it is, for the super-user too.
  const QFileInfo target(fileName);
  const QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  if (target.exists() && (!(target.permissions() & writeBits) || !target.isWritable())) {
    ShowSaveError(fileName, QStringLiteral("fichier en lecture seule"));
    return false;
  }
  std::string bytes;
  for (const QString& line : Lines()) bytes += ToAnsi(line) + "\r\n";
  TFailure failure = TFailure::None;
  const int result =
      WriteFileAtomically(QFile::encodeName(fileName).toStdString(), bytes, &failure);
  if (result != 0) {
    ShowSaveError(fileName, FailureText(failure, AtomicWriteMessage(result)));
    return false;
  }
  Memo1->document()->setModified(false);
  return true;
}

void TBlocnotes::Imprimer() {
  // Named after the notes' file, a PDF is proposed beside it (VekBase.pdf).
  const QString title = fileName_.isEmpty() ? QStringLiteral("Bloc-notes") : fileName_;
  if (!TPrintout::MayPrintWithoutAsking(title)) return;
  TPrintout::Tell(TTextPrintout(title, Lines(), Memo1->font()).Print());
}
