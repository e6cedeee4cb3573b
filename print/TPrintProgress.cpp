#include "TPrintProgress.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "TDialogParts.h"

namespace {

int delay = 1000;
const int kEventsEvery = 50;  // milliseconds

}  // namespace

int TPrintProgress::Delay() {
  return delay;
}

void TPrintProgress::SetDelay(int milliseconds) {
  delay = milliseconds;
}

TPrintProgress::TPrintProgress(const QString& jobName, QWidget* parent)
    : QDialog(parent ? parent : QApplication::activeWindow()) {
  TDialogParts::SetTitle(this, QStringLiteral("Impression"));
  setWindowModality(Qt::ApplicationModal);
  // A table's path names the job by its file.
  const QString name = QFileInfo(jobName).isAbsolute() ? QFileInfo(jobName).fileName() : jobName;
  Label1 = new QLabel(name.isEmpty() ? QStringLiteral("Impression en cours")
                                     : QStringLiteral("Impression de ") + name,
                      this);
  Label1->setTextFormat(Qt::PlainText);
  Label2 = new QLabel(this);
  Label2->setObjectName(QStringLiteral("Label2"));
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setAccessibleName(QStringLiteral("Pages imprimées"));
  ProgressBar1->setMinimumWidth(280);
  Button1 = new QPushButton(QStringLiteral("Annuler"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAccessibleName(Button1->text());
  connect(Button1, &QPushButton::clicked, this, &TPrintProgress::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addWidget(ProgressBar1);
  layout->addLayout(buttons);
  started_.start();
}

TPrintProgress::~TPrintProgress() {
  if (cursorSet_) QApplication::restoreOverrideCursor();
}

bool TPrintProgress::Page(int page) {
  if (cancelled_) return false;
  if (!isVisible() && started_.elapsed() >= delay) {
    ShowPage(page);
    show();
    // The hourglass would hide that "Annuler" can be clicked.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    cursorSet_ = true;
    QApplication::processEvents();
    lastEvents_.start();
  } else if (isVisible() && lastEvents_.elapsed() >= kEventsEvery) {
    ShowPage(page);
    QApplication::processEvents();
    lastEvents_.start();
  }
  return !cancelled_;
}

void TPrintProgress::ShowPage(int page) {
  const QString text = pageCount_ > 0 ? QStringLiteral("Page %1 sur %2").arg(page).arg(pageCount_)
                                      : QStringLiteral("Page %1").arg(page);
  Label2->setText(text);
  Label2->setAccessibleName(text);
  ProgressBar1->setRange(0, pageCount_ > 0 ? pageCount_ : 0);
  if (pageCount_ > 0) ProgressBar1->setValue(page - 1);
}

void TPrintProgress::reject() {
  cancelled_ = true;
  QDialog::reject();
}
