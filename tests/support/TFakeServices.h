#pragma once
// TFakeServices: IServices for tests. Nothing waits on a person, nothing reaches
// the machine.
//
// Every question, input box, file dialog, print or printer set-up dialog, font and
// colour dialog and run of our own dialogs is recorded in order (Log(), and typed
// records). Answers come from queues filled by the test beforehand, one per kind.
// Boxes with only "OK" need no answer. A question with buttons of its own
// (Choose) is answered by a button's index or caption; one it does not have is
// a problem, and the last button is pressed, as Escape would. When a queue is empty, or an answer
// does not fit the box (Cancel to a Yes/No box), the call is cancelled - No, Cancel, no text, no
// file, not confirmed, dialog rejected - and a line is added to Problems(), which a test can check
// is empty.
//
// RunDialog() shows the dialog without a modal loop, calls the next scripted
// callback, which fills it and presses its buttons (or calls accept()/reject()),
// then returns its result; a dialog the callback left open is rejected, and that
// is a problem too. The printer is a TRecordingPrinter. The clock stands still at
// the time set by SetNow(); SetSystemTime() is recorded and never changes it.
//
// Install it with SetServices(&fake); the destructor uninstalls it.

#include <QStringList>
#include <deque>
#include <functional>
#include <variant>

#include "IServices.h"
#include "TRecordingPrinter.h"

class TFakeServices : public IServices {
 public:
  using TDialogScript = std::function<void(QDialog& dialog)>;

  TFakeServices();
  ~TFakeServices() override;

  // Answers, consumed in order.
  void AnswerQuestion(TAnswer answer) { questionAnswers_.push_back(answer); }
  // The button pressed in the next Choose(): its index, or its caption.
  void AnswerChoice(int index) { choiceAnswers_.push_back(index); }
  void AnswerChoice(const QString& caption) { choiceAnswers_.push_back(caption); }
  void AnswerInput(std::optional<QString> text) { inputAnswers_.push_back(std::move(text)); }
  void AnswerFile(const QString& path, int filterIndex = 1);
  void CancelFile() { fileAnswers_.push_back(std::nullopt); }
  void AnswerPrintDialog(bool ok) { printAnswers_.push_back(ok); }
  void AnswerPrinterSetup(bool ok) { setupAnswers_.push_back(ok); }
  void AnswerFont(std::optional<QFont> font) { fontAnswers_.push_back(std::move(font)); }
  void AnswerColor(std::optional<QColor> color) { colorAnswers_.push_back(std::move(color)); }
  void AnswerDialog(TDialogScript script) { dialogScripts_.push_back(std::move(script)); }

  // Called with each question of Ask(), before it is answered: a test can look
  // at the windows while the box is up (a status text, a cursor).
  void WhileAsking(std::function<void(const TQuestion&)> probe) { probe_ = std::move(probe); }

  void SetNow(const QDateTime& now) { now_ = now; }
  // Whether SetSystemTime() succeeds for a valid time (default true).
  void SetClockSettable(bool settable) { clockSettable_ = settable; }

  // Records. Input boxes appear in Questions() with kind Input.
  const std::vector<TQuestion>& Questions() const { return questions_; }
  const std::vector<TFileDialogRequest>& FileDialogs() const { return fileDialogs_; }
  const QStringList& DialogTitles() const { return dialogTitles_; }
  const std::vector<TSystemTime>& SystemTimesSet() const { return timesSet_; }
  int PrintDialogs() const { return printDialogs_; }
  int PrinterSetups() const { return printerSetups_; }
  const QStringList& Log() const { return log_; }
  const QStringList& Problems() const { return problems_; }
  // Answers queued and never asked for.
  int PendingAnswers() const;
  TRecordingPrinter& RecordingPrinter() { return printer_; }

  TAnswer Ask(const TQuestion& question) override;
  int Choose(const TQuestion& question) override;
  std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                  const QString& defaultText) override;
  bool PrintDialog() override;
  bool PrinterSetupDialog() override;
  std::optional<QFont> FontDialog(const QFont& initial) override;
  std::optional<QColor> ColorDialog(const QColor& initial) override;
  TPrinter& Printer() override { return printer_; }
  QDateTime Now() override { return now_; }
  bool SetSystemTime(const TSystemTime& utc) override;

 protected:
  std::optional<TFileChoice> ShowFileDialog(const TFileDialogRequest& request) override;
  int ShowDialog(QDialog& dialog) override;

 private:
  void Problem(const QString& what);

  std::deque<TAnswer> questionAnswers_;
  std::deque<std::variant<int, QString>> choiceAnswers_;
  std::deque<std::optional<QString>> inputAnswers_;
  std::deque<std::optional<TFileChoice>> fileAnswers_;
  std::deque<bool> printAnswers_;
  std::deque<bool> setupAnswers_;
  std::deque<std::optional<QFont>> fontAnswers_;
  std::deque<std::optional<QColor>> colorAnswers_;
  std::deque<TDialogScript> dialogScripts_;
  std::function<void(const TQuestion&)> probe_;

  std::vector<TQuestion> questions_;
  std::vector<TFileDialogRequest> fileDialogs_;
  QStringList dialogTitles_;
  std::vector<TSystemTime> timesSet_;
  int printDialogs_ = 0;
  int printerSetups_ = 0;
  QStringList log_;
  QStringList problems_;

  QDateTime now_;
  bool clockSettable_ = true;
  TRecordingPrinter printer_;
};
