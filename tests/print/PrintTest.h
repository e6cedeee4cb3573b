#pragma once
// Fixture of the printing tests: the document window fixture with its scripted
// services and recording printer, plus scripted services whose printer is the
// machine's writing real PDF files, and the poppler tools that read them back.

#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "DocumentTest.h"
#include "PrintQString.h"
#include "TQtPrinter.h"
#include "TRecordingPrinter.h"

// The scripted services with a PDF printer. A confirmed print dialog takes the
// file it proposes, as a user pressing "Imprimer" in Qt's dialog does.
class TPdfServices : public TFakeServices {
 public:
  TPdfServices() { pdf.QtPrinter().setOutputFormat(QPrinter::PdfFormat); }
  TPrinter& Printer() override { return pdf; }
  bool PrintDialog() override {
    const bool ok = TFakeServices::PrintDialog();
    if (ok) pdf.ProposeFileName();
    return ok;
  }
  TQtPrinter pdf;
};

// A recording printer whose device fails when page `failingPage` should start.
class TFailingPrinter : public TRecordingPrinter {
 public:
  int failingPage = 2;

 protected:
  bool DeviceNewPage() override {
    if (PageNumber() + 1 >= failingPage) return false;
    return TRecordingPrinter::DeviceNewPage();
  }
  QString DeviceError() override { return QStringLiteral("plus de papier"); }
};

class PrintTest : public DocumentTest {
 protected:
  TRecordingPrinter& Printer() { return services.RecordingPrinter(); }
  const TPrintJob& OnlyJob() {
    EXPECT_EQ(Printer().Jobs().size(), 1u);
    static const TPrintJob none;
    return Printer().Jobs().empty() ? none : Printer().Jobs().back();
  }

  // The text of every item of a page, in drawing order.
  static std::vector<const TPrintItem*> Items(const TPrintJob& job, int page,
                                              TPrintItem::Kind kind) {
    std::vector<const TPrintItem*> items;
    for (const TPrintItem& item : job.pages[page])
      if (item.kind == kind) items.push_back(&item);
    return items;
  }

  // The width of a text on the recording printer's page, in its pixels.
  double DeviceWidth(const QFont& font, const QString& text) {
    const double dpi = Printer().PageWidth() * 25.4 / Printer().PageWidthMM();
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(qRound(dpi) / 0.0254));
    device.setDotsPerMeterY(qRound(qRound(dpi) / 0.0254));
    return QFontMetricsF(font, &device).horizontalAdvance(text);
  }

  // Output of a poppler tool on a file.
  static QString Poppler(const QString& tool, const QStringList& arguments) {
    QProcess p;
    p.start(tool, arguments);
    EXPECT_TRUE(p.waitForFinished(30000)) << tool.toStdString() << " did not run";
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
  }
  static QStringList PdfPages(const QString& pdf) {
    QStringList pages = Poppler("pdftotext", {"-layout", pdf, "-"}).split(QChar('\f'));
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
    return pages;
  }
  struct TWord {
    QString text;
    double xMin, yMin;  // millimetres from the page's top left
    int page;
  };
  static std::vector<TWord> PdfWords(const QString& pdf) {
    const QString html = Poppler("pdftotext", {"-bbox", pdf, "-"});
    std::vector<TWord> words;
    int page = -1;
    static const QRegularExpression tag(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    for (auto it = tag.globalMatch(html); it.hasNext();) {
      const auto m = it.next();
      if (m.captured(0).startsWith("<page")) {
        ++page;
        continue;
      }
      const double mm = 25.4 / 72;
      words.push_back(
          {m.captured(3), m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm, page});
    }
    return words;
  }
};
