#include "TBlocnotes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QToolButton>
#include <QVBoxLayout>

#include "AnsiCodec.h"
#include "IServices.h"
#include "THourglass.h"
#include "TPictures.h"
#include "TPrinter.h"
#include "TUtilityParts.h"

namespace {

const char kFileName[] = "VekBase.nte";

QString Reason(const QFileDevice& file) {
  switch (file.error()) {
    case QFileDevice::PermissionsError:
      return QStringLiteral("accès refusé");
    case QFileDevice::ReadError:
      return QStringLiteral("erreur de lecture");
    case QFileDevice::WriteError:
      return QStringLiteral("erreur d'écriture");
    case QFileDevice::OpenError:
      return QStringLiteral("ouverture impossible");
    default:
      return QStringLiteral("erreur d'entrée-sortie");
  }
}

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

bool TBlocnotes::Charge(const QString& fileName) {
  QFile file(fileName);
  if (!file.exists()) return true;
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    Services().Warning(QStringLiteral("Impossible d'ouvrir '") + fileName + QStringLiteral("' : ") +
                       Reason(file));
    return false;
  }
  bytes.replace("\r\n", "\n");
  bytes.replace('\r', '\n');
  if (bytes.endsWith('\n')) bytes.chop(1);
  Memo1->setPlainText(FromAnsi(bytes.constData(), static_cast<size_t>(bytes.size())));
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
  QSaveFile file(fileName);
  const bool written = file.open(QIODevice::WriteOnly) &&
                       file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                           static_cast<qint64>(bytes.size()) &&
                       file.commit();
  if (!written) {
    ShowSaveError(fileName, Reason(file));
    return false;
  }
  Memo1->document()->setModified(false);
  return true;
}

void TBlocnotes::Imprimer() {
  THourglass hourglass;
  TPrinter& printer = Services().Printer();
  printer.SetTitle(QStringLiteral("Bloc-notes"));
  if (!printer.BeginDoc()) {
    Services().Warning(QStringLiteral("Impossible d'imprimer : l'imprimante ne répond pas."));
    return;
  }
  printer.Canvas().setFont(Memo1->font());
  for (const QString& line : Lines()) printer.WriteLine(line);
  printer.EndDoc();
}
