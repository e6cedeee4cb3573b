#include "IServices.h"

#include <QDialog>
#include <QFileInfo>
#include <QtGlobal>

#include "CaptionWidth.h"

namespace {
IServices* installed = nullptr;
}

IServices::~IServices() {
  if (installed == this) installed = nullptr;
}

IServices& Services() {
  if (!installed) qFatal("No IServices installed");
  return *installed;
}

IServices* SetServices(IServices* services) {
  IServices* previous = installed;
  installed = services;
  return previous;
}

bool HasServices() {
  return installed != nullptr;
}

bool TSystemTime::IsValid() const {
  return ToDateTime().isValid();
}

QDateTime TSystemTime::ToDateTime() const {
  QDate date(year, month, day);
  QTime time(hour, minute, second, milliseconds);
  if (!date.isValid() || !time.isValid()) return QDateTime();
  return QDateTime(date, time, Qt::UTC);
}

void IServices::Message(const QString& text) {
  Ask({TQuestionKind::Message, QString(), text, {}, {}});
}

void IServices::Information(const QString& text, const QString& caption) {
  Ask({TQuestionKind::Information, caption, text, {}, {}});
}

void IServices::Warning(const QString& text, const QString& caption) {
  Ask({TQuestionKind::Warning, caption, text, {}, {}});
}

void IServices::Error(const QString& text, const QString& caption) {
  Ask({TQuestionKind::Error, caption, text, {}, {}});
}

bool IServices::Confirm(const QString& text, const QString& caption) {
  return Ask({TQuestionKind::YesNo, caption, text, {}, {}}) == TAnswer::Yes;
}

TAnswer IServices::ConfirmCancel(const QString& text, const QString& caption) {
  return Ask({TQuestionKind::YesNoCancel, caption, text, {}, {}});
}

int IServices::ChooseButton(const QString& text, const QStringList& buttons,
                            const QString& caption) {
  return Choose({TQuestionKind::Choice, caption, text, {}, buttons});
}

std::optional<TFileChoice> IServices::FileDialog(const TFileDialogRequest& request) {
  std::optional<TFileChoice> choice = ShowFileDialog(request);
  if (choice) lastFileFolder_ = QFileInfo(choice->path).absolutePath();
  return choice;
}

int IServices::RunDialog(QDialog& dialog) {
  FitCaption(dialog);
  return ShowDialog(dialog);
}
