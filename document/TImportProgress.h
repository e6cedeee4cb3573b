#pragma once
// TImportProgress: progress and cancel of an import, which runs on the
// user-interface thread. For its first delayMs milliseconds Step only answers
// true. From then on each Step shows "Importe... NN % - Échap pour annuler"
// through the status function and lets the window system run (painting,
// timers), while every user input is dropped, so that no other command starts
// and no window closes under the import; only the Escape key counts: it
// cancels, and Step answers false from then on.
//
// The destructor stops dropping input and, when it showed a status text,
// clears it.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class TImportProgress : public QObject {
 public:
  using TStatusFn = std::function<void(const QString& text)>;

  explicit TImportProgress(TStatusFn status, int delayMs = 500);
  ~TImportProgress() override;
  TImportProgress(const TImportProgress&) = delete;
  TImportProgress& operator=(const TImportProgress&) = delete;

  // done of total (any unit); false once the user has cancelled.
  bool Step(int64_t done, int64_t total);
  bool Cancelled() const { return cancelled_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TStatusFn status_;
  int delayMs_;
  QElapsedTimer clock_;
  bool showing_ = false;
  bool cancelled_ = false;
  int percent_ = -1;
};
