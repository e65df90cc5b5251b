// Printing a Varo199V3 document of 200 channels: Print to PDF from the File
// menu of a started program, read back with pdftotext in both languages;
// the print preview of the same report.

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>

#include "Varo199Fixture.h"
#include "model199/ChannelTable.h"
#include "radio/PrintLayout.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/PrintRenderer.h"

using namespace varo;

namespace {

// Every row of the table programmed: row r (1-200) on 400 + r / 8 MHz, its
// name "CH<r>"; power and lock alternate.
void FillAllRows(shell::CMSFlexGrid& grid, bool chinese) {
  const char* words[2][4] = {{"None", "D023N", "Middle", "Lock"}, {"无", "D023N", "中", "锁定"}};
  for (long row = 1; row <= 200; ++row) {
    const std::string mhz = std::to_string(400 + row / 8) + "." +
                            std::to_string(100000 + (row % 8) * 1250).substr(1);
    grid.SetTextMatrix(row, model199::kColRx, mhz);
    grid.SetTextMatrix(row, model199::kColTx, mhz);
    for (long col = model199::kColDec; col <= model199::kColLock; ++col)
      grid.SetTextMatrix(row, col, words[chinese][col - model199::kColDec]);
    grid.SetTextMatrix(row, model199::kColName, "CH" + std::to_string(row));
  }
}

}  // namespace

class PrintTest199 : public QObject {
  Q_OBJECT

 private slots:
  void pdfOfTwoHundredChannels_data();
  void pdfOfTwoHundredChannels();
};

void PrintTest199::pdfOfTwoHundredChannels_data() {
  QTest::addColumn<QString>("language");
  // Labels and values: options page, first channel block, last channel block.
  QTest::addColumn<QStringList>("options");
  QTest::addColumn<QStringList>("first");
  QTest::addColumn<QStringList>("last");
  QTest::newRow("English") << "English"
                           << QStringList{"Time Out Timer:", "1", "Keypad Lock:", "Manual",
                                          "Mode:", "Frequency", "Battery Saver:", "0.4"}
                           << QStringList{"Channel 0:", "Receive Frequency:", "400.01250",
                                          "Power:", "Middle", "Channel Lock:", "Lock",
                                          "Channel Name:", "CH1"}
                           << QStringList{"Channel 199:", "Transceive Frequency:", "425.00000",
                                          "QT/DQT Encode:", "D023N", "Channel Name:", "CH200"};
  QTest::newRow("Chinese") << "Chinese"
                           << QStringList{"超时定时器:", "1", "键盘锁定:", "手动", "模式:",
                                          "频率", "电池省电:", "0.4"}
                           << QStringList{"信道0:", "接收频率:", "400.01250", "功率:", "中",
                                          "信道锁定:", "锁定", "信道名字:", "CH1"}
                           << QStringList{"信道199:", "发射频率:", "425.00000", "QT/DQT编码:",
                                          "D023N", "信道名字:", "CH200"};
}

// The page plan of 200 programmed rows: the options page and 29 channel
// pages of seven blocks (the last one four: channels 196-199), each label
// with its value on one line, the footer on every page. The preview shows as
// many pages.
void PrintTest199::pdfOfTwoHundredChannels() {
  QFETCH(QString, language);
  QFETCH(QStringList, options);
  QFETCH(QStringList, first);
  QFETCH(QStringList, last);
  const bool chinese = language == QLatin1String("Chinese");
  test::Session199 s(language.toStdString());
  QVERIFY(s.app);
  FillAllRows(*s.Grid(), chinese);
  const radio::EstimatedFontMetrics metrics;
  const radio::PrintLayout plan(model199::Table199(), *s.app->Model().report, *s.Grid(), s.Image(),
                                {4800, 6600, 600, 600}, metrics, chinese, "");
  QCOMPARE(plan.PageCount(), 30);

  const QString pdf = QString::fromStdString(s.folder.Path("report.pdf"));
  test::WhenModal([pdf](QWidget* w) { test::AcceptFileDialog(w, pdf); });
  s.Frame()->Action(shell::ID_FILE_PRINT_PDF)->trigger();
  const QStringList pages = test::PdfPages(pdf);
  QCOMPARE(pages.size(), 30);

  for (qsizetype i = 0; i + 1 < options.size(); i += 2)
    QVERIFY2(test::OnOneLine(pages[0], options[i], options[i + 1]), qPrintable(options[i]));
  QVERIFY(pages[1].contains(first[0]));
  for (qsizetype i = 1; i + 1 < first.size(); i += 2)
    QVERIFY2(test::OnOneLine(pages[1], first[i], first[i + 1]), qPrintable(first[i]));
  QVERIFY(pages[29].contains(last[0]));
  for (qsizetype i = 1; i + 1 < last.size(); i += 2)
    QVERIFY2(test::OnOneLine(pages[29], last[i], last[i + 1]), qPrintable(last[i]));
  // Channels 196-199 on the last page, and no block twice.
  QCOMPARE(pages[29].count(first[1]), 4);
  const QString owner = chinese ? QStringLiteral("Varo 无线电有限公司")
                                : QStringLiteral("Varo Radio Co., Ltd.");
  for (int p = 1; p <= 30; ++p)
    QVERIFY(test::OnOneLine(pages[p - 1], owner, QStringLiteral("Page %1 of 30").arg(p)));

  QPrinter printer(QPrinter::HighResolution);
  const shell::PrintRenderer renderer = s.View()->Renderer();
  std::unique_ptr<QPrintPreviewDialog> preview(renderer.MakePreview(printer, nullptr));
  preview->resize(1500, 640);
  preview->show();
  auto* shown = preview->findChild<QPrintPreviewWidget*>();
  QTRY_COMPARE(shown->pageCount(), 30);
  // The first pages side by side: the options and two channel pages.
  shown->setViewMode(QPrintPreviewWidget::AllPagesView);
  shown->setZoomFactor(0.42);
  QTest::qWait(50);
  for (QScrollBar* bar : shown->findChildren<QScrollBar*>()) bar->setValue(bar->minimum());
  QTest::qWait(50);
  test::MaybeScreenshot(preview.get(),
                        chinese ? "varo199-print-preview-zh.png" : "varo199-print-preview-en.png");
}

QTEST_MAIN(PrintTest199)
#include "PrintTest199.moc"
