#pragma once
// IServices: everything that waits on a person or touches the machine goes through
// this one interface, so that every command can run headless in a test.
//
// The program installs TQtServices at start-up; tests install TFakeServices.
// Services() returns the installed object and aborts when none is installed:
// a window must never talk to the user behind the interface's back.
//
// Message boxes: Ask() shows one box and returns the button pressed. Boxes with
// only "OK" return TAnswer::Ok; Yes/No boxes return Yes or No; Yes/No/Cancel
// boxes also return Cancel (Escape or closing the box). An empty caption means
// the box's usual caption. Choose() shows a question with buttons of the
// caller's and returns the index of the one pressed; Escape or closing the
// box presses the last one, which must therefore be the one that changes
// nothing.
//
// File dialogs: filters are (label, pattern) pairs; filterIndex is 1-based, in
// the request (the entry selected when the dialog opens) as in the answer (the
// entry the user chose). A cancelled dialog gives no answer.
//
// RunDialog() runs one of our own modal dialogs and returns its result code
// (QDialog::Accepted or QDialog::Rejected, or what the dialog passed to done()).
// Before it shows, the dialog is widened where its caption needs it
// (FitCaption), so that no title bar cuts its caption.
//
// FileDialog() remembers the folder of each file chosen: LastFileFolder() is
// where a new table is proposed to be saved.

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QDialog;
class TPrinter;

enum class TQuestionKind {
  Message,      // plain box, the application's caption, "OK"
  Information,  // "OK"
  Warning,      // "OK"
  Error,        // the application's standard error box, "OK"
  YesNo,        // "Oui", "Non"
  YesNoCancel,  // "Oui", "Non", "Annuler"
  Input,        // recorded by fakes for InputBox(); never passed to Ask()
  Choice,       // buttons of the caller's (TQuestion::buttons): Choose(), never Ask()
};

enum class TAnswer { Ok, Yes, No, Cancel };

struct TQuestion {
  TQuestionKind kind = TQuestionKind::Message;
  QString caption;
  QString text;
  QString defaultText;  // input boxes only
  QStringList buttons;  // Choice only
};

struct TFileFilter {
  QString label;    // shown to the user, e.g. "Format csv (*.csv)"
  QString pattern;  // e.g. "*.csv"; several patterns separated by ";"
};

enum class TFileDialogKind { Open, Save, Picture };

struct TFileDialogRequest {
  TFileDialogKind kind = TFileDialogKind::Open;
  QString caption;    // empty: the dialog's usual caption
  QString directory;  // empty: the current directory
  QString fileName;   // proposed name; a name with wildcards is not proposed
  std::vector<TFileFilter> filters;
  int filterIndex = 1;
  QString defaultExt;  // without the dot; added to a typed name that has none
};

struct TFileChoice {
  QString path;
  int filterIndex = 1;
};

// A date and time in universal time, as the clock setter takes it. The fields are
// whatever the caller computed: nothing is normalised, and an impossible date or
// time (day 31 in April, hour -1) is refused by SetSystemTime.
struct TSystemTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, milliseconds = 0;
  bool IsValid() const;
  QDateTime ToDateTime() const;  // UTC; invalid when !IsValid()
};

class IServices {
 public:
  virtual ~IServices();

  virtual TAnswer Ask(const TQuestion& question) = 0;
  // A question (kind Choice) with the buttons of question.buttons; the index
  // of the button pressed.
  virtual int Choose(const TQuestion& question) = 0;
  // Returns the text confirmed with "OK", or nothing when cancelled.
  virtual std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                          const QString& defaultText) = 0;
  std::optional<TFileChoice> FileDialog(const TFileDialogRequest& request);
  // The folder of the last file chosen in a file dialog; empty before the first.
  QString LastFileFolder() const { return lastFileFolder_; }

  // Both dialogs act on Printer(); true when confirmed. When the printer is a
  // file, the print dialog proposes a PDF named after Printer().Title() (see
  // TQtPrinter); set the job's title before asking.
  virtual bool PrintDialog() = 0;
  virtual bool PrinterSetupDialog() = 0;
  virtual std::optional<QFont> FontDialog(const QFont& initial) = 0;
  virtual std::optional<QColor> ColorDialog(const QColor& initial) = 0;

  virtual TPrinter& Printer() = 0;

  // Local time.
  virtual QDateTime Now() = 0;
  // Sets the machine's clock; false when the time is invalid or the system refuses.
  virtual bool SetSystemTime(const TSystemTime& utc) = 0;

  int RunDialog(QDialog& dialog);

  // Shorthands for Ask().
  void Message(const QString& text);
  void Information(const QString& text, const QString& caption = QString());
  void Warning(const QString& text, const QString& caption = QString());
  void Error(const QString& text, const QString& caption = QString());
  // True only for "Oui".
  bool Confirm(const QString& text, const QString& caption = QString());
  TAnswer ConfirmCancel(const QString& text, const QString& caption = QString());
  // Shorthand for Choose().
  int ChooseButton(const QString& text, const QStringList& buttons,
                   const QString& caption = QString());

 protected:
  // What FileDialog() and RunDialog() leave to each implementation.
  virtual std::optional<TFileChoice> ShowFileDialog(const TFileDialogRequest& request) = 0;
  virtual int ShowDialog(QDialog& dialog) = 0;

 private:
  QString lastFileFolder_;
};

IServices& Services();
// Installs the services used from now on and returns the previous ones (may be null).
// The caller keeps ownership.
IServices* SetServices(IServices* services);
bool HasServices();
