#include "TFakeServices.h"

#include <QDialog>

namespace {

QString KindName(TQuestionKind kind) {
  switch (kind) {
    case TQuestionKind::Message:
      return QStringLiteral("Message");
    case TQuestionKind::Information:
      return QStringLiteral("Information");
    case TQuestionKind::Warning:
      return QStringLiteral("Warning");
    case TQuestionKind::Error:
      return QStringLiteral("Error");
    case TQuestionKind::YesNo:
      return QStringLiteral("YesNo");
    case TQuestionKind::YesNoCancel:
      return QStringLiteral("YesNoCancel");
    case TQuestionKind::Input:
      return QStringLiteral("Input");
    case TQuestionKind::Choice:
      return QStringLiteral("Choice");
  }
  return QString();
}

QString AnswerName(TAnswer answer) {
  switch (answer) {
    case TAnswer::Ok:
      return QStringLiteral("Ok");
    case TAnswer::Yes:
      return QStringLiteral("Yes");
    case TAnswer::No:
      return QStringLiteral("No");
    case TAnswer::Cancel:
      return QStringLiteral("Cancel");
  }
  return QString();
}

template <typename T>
bool Take(std::deque<T>& queue, T& out) {
  if (queue.empty()) return false;
  out = std::move(queue.front());
  queue.pop_front();
  return true;
}

}  // namespace

TFakeServices::TFakeServices() : now_(QDate(2002, 1, 15), QTime(10, 30, 0)) {}

TFakeServices::~TFakeServices() {
  if (HasServices() && &Services() == this) SetServices(nullptr);
}

void TFakeServices::Problem(const QString& what) {
  problems_ << what;
  log_ << QStringLiteral("PROBLEM ") + what;
}

int TFakeServices::PendingAnswers() const {
  return static_cast<int>(questionAnswers_.size() + choiceAnswers_.size() + inputAnswers_.size() +
                          fileAnswers_.size() + printAnswers_.size() + setupAnswers_.size() +
                          fontAnswers_.size() + colorAnswers_.size() + dialogScripts_.size());
}

void TFakeServices::AnswerFile(const QString& path, int filterIndex) {
  fileAnswers_.push_back(TFileChoice{path, filterIndex});
}

TAnswer TFakeServices::Ask(const TQuestion& question) {
  if (probe_) probe_(question);
  questions_.push_back(question);
  const QString line =
      QStringLiteral("%1 [%2] %3").arg(KindName(question.kind), question.caption, question.text);
  const bool yesNo = question.kind == TQuestionKind::YesNo;
  const bool yesNoCancel = question.kind == TQuestionKind::YesNoCancel;
  if (!yesNo && !yesNoCancel) {
    log_ << line;
    return TAnswer::Ok;
  }
  TAnswer answer = TAnswer::No;
  const TAnswer refusal = yesNoCancel ? TAnswer::Cancel : TAnswer::No;
  if (!Take(questionAnswers_, answer)) {
    Problem(QStringLiteral("unanswered question: ") + question.text);
    answer = refusal;
  } else if (answer == TAnswer::Ok || (yesNo && answer == TAnswer::Cancel)) {
    Problem(QStringLiteral("answer %1 does not fit: %2").arg(AnswerName(answer), question.text));
    answer = refusal;
  }
  log_ << line + QStringLiteral(" -> ") + AnswerName(answer);
  return answer;
}

int TFakeServices::Choose(const TQuestion& asked) {
  TQuestion question = asked;
  question.kind = TQuestionKind::Choice;
  if (probe_) probe_(question);
  questions_.push_back(question);
  const int last = static_cast<int>(question.buttons.size()) - 1;
  int index = last;
  std::variant<int, QString> answer;
  if (!Take(choiceAnswers_, answer)) {
    Problem(QStringLiteral("unanswered question: ") + question.text);
  } else {
    const int chosen = std::holds_alternative<int>(answer)
                           ? std::get<int>(answer)
                           : static_cast<int>(question.buttons.indexOf(std::get<QString>(answer)));
    if (chosen < 0 || chosen > last)
      Problem(QStringLiteral("no such button: ") + question.text);
    else
      index = chosen;
  }
  log_ << QStringLiteral("Choice [%1] %2 {%3} -> %4")
              .arg(question.caption, question.text, question.buttons.join(QLatin1Char('|')),
                   index >= 0 ? question.buttons[index] : QString());
  return index;
}

std::optional<QString> TFakeServices::InputBox(const QString& caption, const QString& prompt,
                                               const QString& defaultText) {
  questions_.push_back({TQuestionKind::Input, caption, prompt, defaultText, {}});
  std::optional<QString> answer;
  if (!Take(inputAnswers_, answer)) Problem(QStringLiteral("unanswered input box: ") + prompt);
  log_ << QStringLiteral("Input [%1] %2 (%3) -> %4")
              .arg(caption, prompt, defaultText,
                   answer ? QStringLiteral("\"") + *answer + QStringLiteral("\"")
                          : QStringLiteral("cancelled"));
  return answer;
}

std::optional<TFileChoice> TFakeServices::ShowFileDialog(const TFileDialogRequest& request) {
  fileDialogs_.push_back(request);
  std::optional<TFileChoice> answer;
  if (!Take(fileAnswers_, answer)) Problem(QStringLiteral("unanswered file dialog"));
  static const char* const kinds[] = {"Open", "Save", "Picture"};
  log_ << QStringLiteral("FileDialog %1 [%2] -> %3")
              .arg(QLatin1String(kinds[static_cast<int>(request.kind)]), request.caption,
                   answer
                       ? answer->path + QStringLiteral(" #") + QString::number(answer->filterIndex)
                       : QStringLiteral("cancelled"));
  return answer;
}

bool TFakeServices::PrintDialog() {
  ++printDialogs_;
  bool ok = false;
  if (!Take(printAnswers_, ok)) Problem(QStringLiteral("unanswered print dialog"));
  log_ << QStringLiteral("PrintDialog -> ") +
              (ok ? QStringLiteral("OK") : QStringLiteral("cancelled"));
  return ok;
}

bool TFakeServices::PrinterSetupDialog() {
  ++printerSetups_;
  bool ok = false;
  if (!Take(setupAnswers_, ok)) Problem(QStringLiteral("unanswered printer set-up dialog"));
  log_ << QStringLiteral("PrinterSetupDialog -> ") +
              (ok ? QStringLiteral("OK") : QStringLiteral("cancelled"));
  return ok;
}

std::optional<QFont> TFakeServices::FontDialog(const QFont& initial) {
  std::optional<QFont> answer;
  if (!Take(fontAnswers_, answer)) Problem(QStringLiteral("unanswered font dialog"));
  log_ << QStringLiteral("FontDialog %1 -> %2")
              .arg(initial.family(), answer ? answer->family() : QStringLiteral("cancelled"));
  return answer;
}

std::optional<QColor> TFakeServices::ColorDialog(const QColor& initial) {
  std::optional<QColor> answer;
  if (!Take(colorAnswers_, answer)) Problem(QStringLiteral("unanswered colour dialog"));
  log_ << QStringLiteral("ColorDialog %1 -> %2")
              .arg(initial.name(), answer ? answer->name() : QStringLiteral("cancelled"));
  return answer;
}

bool TFakeServices::SetSystemTime(const TSystemTime& utc) {
  timesSet_.push_back(utc);
  const bool ok = clockSettable_ && utc.IsValid();
  log_ << QStringLiteral("SetSystemTime %1-%2-%3 %4:%5:%6.%7 -> %8")
              .arg(utc.year)
              .arg(utc.month)
              .arg(utc.day)
              .arg(utc.hour)
              .arg(utc.minute)
              .arg(utc.second)
              .arg(utc.milliseconds)
              .arg(ok ? QStringLiteral("set") : QStringLiteral("refused"));
  return ok;
}

int TFakeServices::ShowDialog(QDialog& dialog) {
  const QString title = dialog.windowTitle();
  dialogTitles_ << title;
  TDialogScript script;
  if (!Take(dialogScripts_, script)) {
    Problem(QStringLiteral("unscripted dialog: ") + title);
    log_ << QStringLiteral("Dialog [%1] -> rejected").arg(title);
    return QDialog::Rejected;
  }
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  script(dialog);
  if (dialog.isVisible()) {
    Problem(QStringLiteral("dialog left open: ") + title);
    dialog.reject();
  }
  const int result = dialog.result();
  log_ << QStringLiteral("Dialog [%1] -> %2").arg(title).arg(result);
  return result;
}
