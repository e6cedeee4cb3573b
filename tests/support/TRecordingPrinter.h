#pragma once
// TRecordingPrinter: a TPrinter that records what is drawn instead of printing it,
// for tests. The page is A4 at 600 dots per inch unless SetPage() says otherwise
// (landscape swaps width and height); no margins.
//
// Each job is kept with its title, orientation and pages; each page holds the
// drawn items in order. A text item keeps its string, font and the top-left corner
// of its line (baseline minus ascent), so TextOut(x, y, s) records (x, y). Lines
// and rectangles keep their coordinates after the painter's transform, and the
// brush a rectangle was filled with.

#include <QBrush>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <memory>
#include <vector>

#include "TPrinter.h"

struct TPrintItem {
  enum Kind { Text, Line, Rect, Image };
  Kind kind = Text;
  QString text;
  QFont font;
  QPointF pos;  // Text: top-left of the line; Image: top-left
  QPointF baseline;
  QLineF line;
  QRectF rect;   // Rect and Image
  QBrush brush;  // Rect: the painter's brush
};

struct TPrintJob {
  QString title;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  std::vector<std::vector<TPrintItem>> pages;
  bool finished = false;
  bool aborted = false;  // TPrinter::Abort(): thrown away
  // The texts of one page, in drawing order.
  QStringList Texts(int page) const;
};

class TRecordingPrinter : public TPrinter {
 public:
  TRecordingPrinter();
  ~TRecordingPrinter() override;

  // Portrait page size in device pixels and millimetres.
  void SetPage(int widthPx, int heightPx, int widthMM, int heightMM);
  // When false, BeginDoc() fails as a printer that cannot start a job.
  void SetAvailable(bool available) { available_ = available; }

  const std::vector<TPrintJob>& Jobs() const { return jobs_; }
  void ClearJobs() { jobs_.clear(); }

 protected:
  QPaintDevice& Device() override;
  void ApplySettings(const QString& title, QPageLayout::Orientation orientation) override;
  bool DeviceNewPage() override;
  void JobEnded() override;
  void JobAborted() override;

 private:
  class Engine;
  class RecordingDevice;
  friend class Engine;

  std::unique_ptr<RecordingDevice> device_;
  std::vector<TPrintJob> jobs_;
  bool available_ = true;
};
