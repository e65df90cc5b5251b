// Printing a Varo16 report: PDF output without a printer, read back with
// pdftotext, page ranges and copies, and the print preview.

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "model16/ChannelTable.h"
#include "model16/MemoryGrid.h"
#include "model16/PrintLayout.h"
#include "shell/PrintRenderer.h"
#include "support/TempDir.h"

using namespace varo;

namespace {

const std::string kOwner = "Varo Radio Co., Ltd.";

// A new document's image with eight programmed channels in the table.
struct Report {
  explicit Report(bool chinese) : chinese(chinese) {
    const char* words[] = {"None", "None", "High", "Yes", "Off", "Wide"};
    const char* zh[] = {"无", "无", "高", "是", "关", "宽"};
    for (long row = 1; row <= 8; ++row) {
      grid.SetTextMatrix(row, model16::kColRx, "4" + std::to_string(50 + row) + ".01250");
      grid.SetTextMatrix(row, model16::kColTx, "4" + std::to_string(60 + row) + ".02500");
      for (long col = model16::kColDec; col < model16::kTableCols; ++col)
        grid.SetTextMatrix(row, col, (chinese ? zh : words)[col - model16::kColDec]);
    }
    grid.SetTextMatrix(8, model16::kColWN, chinese ? "窄" : "Narrow");
  }
  shell::ReportMaker Maker() const { return shell::Varo16Report(grid, image, chinese, kOwner); }

  bool chinese;
  model16::MemoryGrid grid{model16::kTableRows, model16::kTableCols};
  model16::MemoryImage image = model16::MemoryImage::NewDocument();
};

// The text of each page of a PDF, laid out as printed. Compatibility forms
// are folded: the extraction gives the "ff" ligature of the serif face and
// the radical forms of some CJK glyphs.
QStringList PdfPages(const QString& path) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  QStringList pages = QString::fromUtf8(p.readAllStandardOutput())
                          .normalized(QString::NormalizationForm_KC)
                          .split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// True when `page` has a line holding `left` and, further on, `right`.
bool OnOneLine(const QString& page, const QString& left, const QString& right) {
  const QRegularExpression line(QRegularExpression::escape(left) + QStringLiteral("[^\\n]*") +
                                QRegularExpression::escape(right));
  return line.match(page).hasMatch();
}

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void pdfHoldsEveryPageOfTheReport_data();
  void pdfHoldsEveryPageOfTheReport();
  void pageRangeAndCopies();
  void previewShowsThePages_data();
  void previewShowsThePages();
};

void PrintTest::pdfHoldsEveryPageOfTheReport_data() {
  QTest::addColumn<bool>("chinese");
  // Spot checks on the three pages: label and value on one printed line.
  QTest::addColumn<QStringList>("page1");
  QTest::addColumn<QStringList>("page3");
  QTest::newRow("English") << false
                           << QStringList{"Time Out Timer:", "60s", "TOT Pre-Alert:", "8",
                                          "Voice Annunciation:", "Chinese", "Call Tone:", "Off",
                                          "Varo Radio Co., Ltd.", "Page 1 of 3"}
                           << QStringList{"Receive Frequency:", "458.01250",
                                          "Transceive Frequency:", "468.02500", "W/N:", "Narrow",
                                          "Varo Radio Co., Ltd.", "Page 3 of 3"};
  QTest::newRow("Chinese") << true
                           << QStringList{"超时定时器:", "60s", "语音报号:", "中文",
                                          "呼叫铃音:", "关", "提示音:", "开",
                                          "Varo Radio Co., Ltd.", "Page 1 of 3"}
                           << QStringList{"接收频率:", "458.01250", "发射频率:", "468.02500",
                                          "宽/窄:", "窄", "Varo Radio Co., Ltd.", "Page 3 of 3"};
}

void PrintTest::pdfHoldsEveryPageOfTheReport() {
  QFETCH(bool, chinese);
  QFETCH(QStringList, page1);
  QFETCH(QStringList, page3);
  Report report(chinese);
  test::TempDir dir;
  const QString pdf = QString::fromStdString(dir.File("report.pdf"));
  const shell::PrintRenderer renderer(report.Maker());
  QVERIFY(renderer.PrintToPdf(pdf));

  const QStringList pages = PdfPages(pdf);
  QCOMPARE(pages.size(), 3);
  for (int i = 0; i + 1 < page1.size(); i += 2)
    QVERIFY2(OnOneLine(pages[0], page1[i], page1[i + 1]), qPrintable(page1[i]));
  for (int i = 0; i + 1 < page3.size(); i += 2)
    QVERIFY2(OnOneLine(pages[2], page3[i], page3[i + 1]), qPrintable(page3[i]));

  // Every text the layout places is on its page, and channels 1-7 are on
  // page 2 only, channel 8 on page 3 only.
  const model16::EstimatedFontMetrics metrics;
  const model16::PrintLayout layout(report.grid, report.image, {4800, 6600, 600, 600}, metrics,
                                    chinese, kOwner);
  for (int p = 1; p <= 3; ++p) {
    for (const model16::DrawItem& item : layout.Page(p).items) {
      if (item.kind != model16::DrawItem::Kind::kText) continue;
      const QString text = QString::fromStdString(item.text);
      QVERIFY2(pages[p - 1].contains(text), qPrintable(QStringLiteral("page %1: %2").arg(p).arg(text)));
    }
  }
  const QString channel = chinese ? QStringLiteral("信道%1:") : QStringLiteral("Channel %1:");
  for (int ch = 1; ch <= 8; ++ch) {
    QCOMPARE(pages[1].contains(channel.arg(ch)), ch <= 7);
    QCOMPARE(pages[2].contains(channel.arg(ch)), ch == 8);
  }
}

void PrintTest::pageRangeAndCopies() {
  Report report(false);
  const shell::PrintRenderer renderer(report.Maker());
  struct Job {
    int from;
    int to;
    int copies;
    QStringList footers;  // of the pages in the file, in order
  };
  for (const Job& job : {Job{0, 0, 1, {"Page 1 of 3", "Page 2 of 3", "Page 3 of 3"}},
                         Job{2, 3, 1, {"Page 2 of 3", "Page 3 of 3"}},
                         Job{3, 3, 2, {"Page 3 of 3", "Page 3 of 3"}},
                         Job{2, 9, 1, {"Page 2 of 3", "Page 3 of 3"}}}) {
    test::TempDir dir;
    const QString pdf = QString::fromStdString(dir.File("job.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setCopyCount(job.copies);
    if (job.from) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setFromTo(job.from, job.to);
    }
    QCOMPARE(renderer.Render(printer), int(job.footers.size()));
    const QStringList pages = PdfPages(pdf);
    QCOMPARE(pages.size(), job.footers.size());
    for (int i = 0; i < pages.size(); ++i) QVERIFY(pages[i].contains(job.footers[i]));
  }
}

void PrintTest::previewShowsThePages_data() {
  QTest::addColumn<bool>("chinese");
  QTest::newRow("English") << false;
  QTest::newRow("Chinese") << true;
}

void PrintTest::previewShowsThePages() {
  QFETCH(bool, chinese);
  Report report(chinese);
  const shell::PrintRenderer renderer(report.Maker());
  QPrinter printer(QPrinter::HighResolution);
  std::unique_ptr<QPrintPreviewDialog> preview(renderer.MakePreview(printer, nullptr));
  preview->resize(1500, 640);
  preview->show();
  QVERIFY(QTest::qWaitForWindowExposed(preview.get()));
  auto* pages = preview->findChild<QPrintPreviewWidget*>();
  QVERIFY(pages);
  QTRY_COMPARE(pages->pageCount(), 3);
  pages->setViewMode(QPrintPreviewWidget::AllPagesView);
  pages->fitInView();

  const QByteArray dir = qgetenv("VARO_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    QTest::qWait(50);
    preview->grab().save(QString::fromLocal8Bit(dir) +
                         QStringLiteral("/varo16-print-preview-%1.png").arg(chinese ? "zh" : "en"));
  }
}

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
