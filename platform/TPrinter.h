#pragma once
// TPrinter: the printer as the program draws on it.
//
// A job runs from BeginDoc() to EndDoc(). Title and orientation are read when a
// job starts; changing them during a job has no effect on it. While a job runs,
// Canvas() paints on the current page in device pixels, origin at the top left of
// the printable area; outside a job Canvas() must not be used. The page metrics
// can be asked at any time and follow the orientation set.
//
// TextOut() places text by its top-left corner. WriteLine() is the plain text
// channel: lines go one under the other from the top left of the page in the
// canvas font, a tab moves to the next multiple of eight average character widths,
// and a line that does not fit starts a new page. Painting through the canvas does
// not move the text channel's position; NewPage() resets it.
//
// A job fails when the device refuses to start it, cannot start a new page or
// reports an error at its end; BeginDoc(), NewPage() and EndDoc() then return
// false and ErrorText() gives the reason in French, for the user. After a
// failed NewPage() the job is dead: drawing on goes nowhere, and EndDoc() still
// ends it and returns false.
//
// Subclasses supply the device: TQtPrinter the real printer, TRecordingPrinter a
// recording for tests.

#include <QPageLayout>
#include <QPainter>
#include <QString>

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

  // False when the device cannot start a job; nothing is printed then.
  bool BeginDoc();
  bool NewPage();
  // True when the whole job went to the device.
  bool EndDoc();
  bool Printing() const { return printing_; }
  bool Failed() const { return failed_; }
  // True when jobs go to a file, which the print dialog names, not to a printer.
  virtual bool PrintsToFile() { return false; }
  QString ErrorText() const { return error_; }
  int PageNumber() const { return pageNumber_; }  // 1-based, during a job

  QPainter& Canvas() { return painter_; }
  void TextOut(int x, int y, const QString& text);
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);

  void WriteLine(const QString& line);

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
  virtual bool DeviceNewPage() = 0;
  // Called after the painter has ended the job.
  virtual void JobEnded() {}
  // After JobEnded(): false when the device reports that the job failed.
  virtual bool DeviceSucceeded() { return true; }
  // Why the device failed, in French ("l'imprimante a refusé le travail").
  virtual QString DeviceError();

 private:
  QFontMetrics Metrics();
  void Fail();

  QString title_;
  QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
  QPainter painter_;
  bool printing_ = false;
  bool failed_ = false;
  QString error_;
  int pageNumber_ = 0;
  int textY_ = 0;
};
