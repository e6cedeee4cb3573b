#pragma once
// TPrinter: the printer as the program draws on it.
//
// A job runs from BeginDoc() to EndDoc(), or to Abort(). Title and orientation
// are read when a job starts; changing them during a job has no effect on it.
// While a job runs, Canvas() paints on the current page in device pixels,
// origin at the top left of the printable area; outside a job Canvas() must not
// be used. The page metrics can be asked at any time and follow the
// orientation set.
//
// TextOut() places text by its top-left corner. WriteLine() is the plain text
// channel: lines go one under the other from the top left of the page in the
// canvas font, a tab moves to the next multiple of eight average character
// widths that leaves at least a blank's width after the text before it, and a
// line that does not fit starts a new page. Painting through the canvas does
// not move the text channel's position; NewPage() resets it.
//
// A job fails when the device refuses to start it, cannot start a new page or
// reports an error at its end; BeginDoc() and EndDoc() then give the failure
// (Status(): a cause, or TFailure::Other with the reason in French, UTF-8),
// NewPage() returns false, and ErrorText() words it for the user. After a
// failed NewPage() the job is dead: drawing on goes nowhere, and EndDoc()
// still ends it and reports the failure.
//
// Abort() ends the running job and throws it away: nothing of it reaches the
// printer, and a file being printed is not written (a file printed before
// stays as it was). An aborted job is no failure.
//
// Subclasses supply the device: TQtPrinter the real printer, TRecordingPrinter a
// recording for tests.

#include <QPageLayout>
#include <QPainter>
#include <QString>

#include "TStatus.h"

class QPrinter;

class TPrinter {
 public:
  TPrinter() = default;
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;
  virtual ~TPrinter();

  void SetTitle(const QString& title) { title_ = title; }
  QString Title() const { return title_; }
  void SetOrientation(QPageLayout::Orientation orientation);
  QPageLayout::Orientation Orientation() const { return orientation_; }

  // Nothing is printed when the device cannot start a job.
  TStatus BeginDoc();
  bool NewPage();
  // Ok when the whole job went to the device.
  TStatus EndDoc();
  void Abort();
  bool Printing() const { return printing_; }
  bool Failed() const { return !status_.ok(); }
  const TStatus& Status() const { return status_; }
  // True when jobs go to a file, which the print dialog names, not to a printer.
  virtual bool PrintsToFile() { return false; }
  QString ErrorText() const;
  int PageNumber() const { return pageNumber_; }  // 1-based, during a job

  // Gives a print preview's own printer this printer's paper, orientation and
  // resolution, so that the preview shows the pages as they will print. A
  // printer with no such settings leaves the preview's defaults.
  virtual void CopySettingsTo(QPrinter& preview);

  QPainter& Canvas() { return painter_; }
  void TextOut(int x, int y, const QString& text);
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);

  void WriteLine(const QString& line);
  // Whether the next WriteLine() fits on the current page; when it does not,
  // WriteLine() starts a new page first.
  bool NextLineFits();
  // How many lines of the text channel a page holds in the canvas font (at
  // least one); a job must be running.
  int LinesPerPage();

  int PageWidth();
  int PageHeight();
  int PageWidthMM();
  int PageHeightMM();
  // Device pixels per millimetre, from the resolution: exact, where the
  // millimetre sizes above are rounded.
  double PixelsPerMMX();
  double PixelsPerMMY();

 protected:
  virtual QPaintDevice& Device() = 0;
  // Called before a job starts and whenever the orientation changes.
  virtual void ApplySettings(const QString& title, QPageLayout::Orientation orientation) = 0;
  // Called once the settings are applied, before painting starts on Device():
  // a device that writes a file opens it here. A failure stops the job.
  virtual TStatus DeviceBeginJob() { return TStatus(); }
  virtual bool DeviceNewPage() = 0;
  // Called after the painter has ended the job.
  virtual void JobEnded() {}
  // After JobEnded(): the failure the device reports, if any.
  virtual TStatus DeviceEndJob() { return TStatus(); }
  // Called before the painter ends an aborted job, then JobAborted() after.
  virtual void DeviceAbort() {}
  virtual void JobAborted() {}
  // Why the device failed, in French ("l'imprimante a refusé le travail"),
  // when it gave no status of its own.
  virtual QString DeviceError();

 private:
  QFontMetrics Metrics();
  void Fail(TStatus status = TStatus());

  QString title_;
  QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
  QPainter painter_;
  bool printing_ = false;
  TStatus status_;
  int pageNumber_ = 0;
  int textY_ = 0;
};
