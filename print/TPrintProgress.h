#pragma once
// TPrintProgress: the progress of a print job that lasts. Once the job has run
// for a second (Delay()), a small window "Impression" shows the job's name,
// "Page n sur N" (or "Page n" while the count is not known) and a bar, with
// "Annuler". The job runs on the user-interface thread: the window is modal to
// the whole program while it shows, and lets the events through at most every
// twentieth of a second, so that it repaints and hears its button without
// slowing the job. "Annuler", Escape and the close box all cancel.
//
// The printing code calls Page() at each page it starts; false means the user
// cancelled and the job must stop. The window goes with the object.

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;

class TPrintProgress : public QDialog {
 public:
  explicit TPrintProgress(const QString& jobName, QWidget* parent = nullptr);
  ~TPrintProgress() override;

  void SetPageCount(int pages) { pageCount_ = pages; }
  // The job starts page `page` (1-based). False once cancelled.
  bool Page(int page);
  bool Cancelled() const { return cancelled_; }

  // How long a job runs before the window shows, in milliseconds (tests set 0).
  static int Delay();
  static void SetDelay(int milliseconds);

  QLabel* Label1 = nullptr;              // the job's name
  QLabel* Label2 = nullptr;              // "Page n sur N"
  QProgressBar* ProgressBar1 = nullptr;  // the pages printed
  QPushButton* Button1 = nullptr;        // "Annuler"

 protected:
  void reject() override;

 private:
  void ShowPage(int page);

  QElapsedTimer started_;
  QElapsedTimer lastEvents_;
  int pageCount_ = 0;
  bool cancelled_ = false;
  bool cursorSet_ = false;
};
