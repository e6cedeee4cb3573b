#include "TRecordingPrinter.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <climits>

// Receives the painter's primitives and appends them to the running job's page.
class TRecordingPrinter::Engine : public QPaintEngine {
 public:
  explicit Engine(TRecordingPrinter* owner) : QPaintEngine(AllFeatures), owner_(owner) {}

  bool begin(QPaintDevice* device) override {
    if (!owner_->available_) return false;
    device_ = device;
    transform_ = QTransform();
    brush_ = QBrush();
    TPrintJob job;
    job.title = owner_->Title();
    job.orientation = owner_->Orientation();
    job.pages.emplace_back();
    owner_->jobs_.push_back(std::move(job));
    return true;
  }
  bool end() override { return true; }
  Type type() const override { return User; }

  void updateState(const QPaintEngineState& state) override {
    if (state.state() & DirtyTransform) transform_ = state.transform();
    if (state.state() & DirtyBrush) brush_ = state.brush();
  }

  void drawTextItem(const QPointF& p, const QTextItem& textItem) override {
    TPrintItem item;
    item.kind = TPrintItem::Text;
    item.text = textItem.text();
    item.font = textItem.font();
    item.baseline = transform_.map(p);
    item.pos = item.baseline - QPointF(0, QFontMetrics(item.font, device_).ascent());
    Add(std::move(item));
  }

  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      TPrintItem item;
      item.kind = TPrintItem::Line;
      item.line = transform_.map(lines[i]);
      Add(std::move(item));
    }
  }

  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) {
      TPrintItem item;
      item.kind = TPrintItem::Rect;
      item.rect = transform_.mapRect(rects[i]);
      item.brush = brush_;
      Add(std::move(item));
    }
  }

  void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { AddImage(r); }
  void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    AddImage(r);
  }
  // Ellipses, polygons and paths are not used by the printouts; drawing them is harmless.
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  void drawPath(const QPainterPath&) override {}

 private:
  void AddImage(const QRectF& r) {
    TPrintItem item;
    item.kind = TPrintItem::Image;
    item.rect = transform_.mapRect(r);
    item.pos = item.rect.topLeft();
    Add(std::move(item));
  }
  void Add(TPrintItem&& item) {
    if (owner_->jobs_.empty()) return;
    owner_->jobs_.back().pages.back().push_back(std::move(item));
  }

  TRecordingPrinter* owner_;
  QPaintDevice* device_ = nullptr;
  QTransform transform_;
  QBrush brush_;
};

class TRecordingPrinter::RecordingDevice : public QPaintDevice {
 public:
  explicit RecordingDevice(TRecordingPrinter* owner) : engine_(owner) {}

  QPaintEngine* paintEngine() const override { return &engine_; }

  int widthPx = 4961, heightPx = 7016, widthMM = 210, heightMM = 297;
  bool landscape = false;

 protected:
  int metric(PaintDeviceMetric m) const override {
    const int w = landscape ? heightPx : widthPx;
    const int h = landscape ? widthPx : heightPx;
    const int wmm = landscape ? heightMM : widthMM;
    const int hmm = landscape ? widthMM : heightMM;
    switch (m) {
      case PdmWidth:
        return w;
      case PdmHeight:
        return h;
      case PdmWidthMM:
        return wmm;
      case PdmHeightMM:
        return hmm;
      case PdmNumColors:
        return INT_MAX;
      case PdmDepth:
        return 32;
      case PdmDpiX:
      case PdmPhysicalDpiX:
        return qRound(w * 25.4 / wmm);
      case PdmDpiY:
      case PdmPhysicalDpiY:
        return qRound(h * 25.4 / hmm);
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
      default:
        return 0;
    }
  }

 private:
  mutable Engine engine_;
};

QStringList TPrintJob::Texts(int page) const {
  QStringList texts;
  if (page < 0 || page >= static_cast<int>(pages.size())) return texts;
  for (const TPrintItem& item : pages[page])
    if (item.kind == TPrintItem::Text) texts << item.text;
  return texts;
}

TRecordingPrinter::TRecordingPrinter() : device_(std::make_unique<RecordingDevice>(this)) {}

TRecordingPrinter::~TRecordingPrinter() {
  // The painter must let go of the device before it is destroyed.
  EndDoc();
}

void TRecordingPrinter::SetPage(int widthPx, int heightPx, int widthMM, int heightMM) {
  device_->widthPx = widthPx;
  device_->heightPx = heightPx;
  device_->widthMM = widthMM;
  device_->heightMM = heightMM;
}

QPaintDevice& TRecordingPrinter::Device() {
  return *device_;
}

void TRecordingPrinter::ApplySettings(const QString&, QPageLayout::Orientation orientation) {
  device_->landscape = orientation == QPageLayout::Landscape;
}

bool TRecordingPrinter::DeviceNewPage() {
  if (jobs_.empty()) return false;
  jobs_.back().pages.emplace_back();
  return true;
}

void TRecordingPrinter::JobEnded() {
  if (!jobs_.empty()) jobs_.back().finished = true;
}

void TRecordingPrinter::JobAborted() {
  if (!jobs_.empty()) jobs_.back().aborted = true;
}
