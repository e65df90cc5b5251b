// Printing the report of both programmers from a started program: Print to
// PDF from the File menu, read back with pdftotext; page ranges and copies;
// the other print commands of the File menu; the print preview.

#include <QAction>
#include <QFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>

#include "model16/ChannelTable.h"
#include "model199/ChannelTable.h"
#include "qt/support/BothPrograms.h"
#include "radio/PrintLayout.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/ChannelView.h"
#include "shell/CommandIds.h"
#include "shell/PrintRenderer.h"

using namespace varo;
using test::SessionBase;

namespace {

// Varo16: eight programmed channels. Varo199V3: every row programmed, row r
// (1-200) on 400 + r / 8 MHz, named "CH<r>".
void Fill(shell::CMSFlexGrid& grid, bool is16, bool chinese) {
  if (is16) {
    const char* words[2][6] = {{"None", "None", "High", "Yes", "Off", "Wide"},
                               {"无", "无", "高", "是", "关", "宽"}};
    for (long row = 1; row <= 8; ++row) {
      grid.SetTextMatrix(row, model16::kColRx, std::to_string(450 + row) + ".01250");
      grid.SetTextMatrix(row, model16::kColTx, std::to_string(460 + row) + ".02500");
      for (long col = model16::kColDec; col < model16::kTableCols; ++col)
        grid.SetTextMatrix(row, col, words[chinese][col - model16::kColDec]);
    }
    return;
  }
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

// Runs File > Print to PDF into `pdf`, `act` answering what opens after the
// file dialog.
void PrintToPdf(SessionBase& s, const QString& pdf, const std::function<void()>& act = {}) {
  test::WhenModal([pdf, act](QWidget* w) {
    if (act) act();
    test::AcceptFileDialog(w, pdf);
  });
  s.Frame()->Action(shell::ID_FILE_PRINT_PDF)->trigger();
}

// Answers the message boxes as they come: Yes to replacing a file, then OK
// to the next one, noting their texts in `seen`.
void AnswerUntilDone(QStringList* seen) {
  test::WhenModal([seen](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    const QString text = box ? box->text() : QString();
    *seen << text;
    const bool replace = text.contains(QStringLiteral("replace"));
    if (replace) AnswerUntilDone(seen);
    test::Press(w, replace ? QStringLiteral("Yes") : QStringLiteral("OK"));
  });
}

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void pdfAndPreviewFollowThePagePlan_data();
  void pdfAndPreviewFollowThePagePlan();
  void pageRangeAndCopies();
  void fileMenuPrintCommands();
};

void PrintTest::pdfAndPreviewFollowThePagePlan_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("language");
  QTest::addColumn<int>("pages");
  QTest::addColumn<int>("lastBlocks");  // channel blocks on the last page
  QTest::addColumn<double>("zoom");     // of the preview's picture, 0 = as it opens
  // Page, label and value on one printed line of it.
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("Varo16 English")
      << "16" << "English" << 3 << 1 << 0.0
      << QStringList{"1", "Time Out Timer:", "60s", "1", "Voice Annunciation:", "Chinese",
                     "1", "Call Tone:", "Off", "3", "Receive Frequency:", "458.01250",
                     "3", "Transceive Frequency:", "468.02500", "3", "Channel Lock:", "Off"};
  QTest::newRow("Varo16 Chinese")
      << "16" << "Chinese" << 3 << 1 << 0.0
      << QStringList{"1", "超时定时器:", "60s", "1", "语音报号:", "中文", "1", "呼叫铃音:", "关",
                     "3", "接收频率:", "458.01250", "3", "发射频率:", "468.02500",
                     "3", "信道锁定:", "关"};
  // The options page and 29 channel pages of seven blocks, the last one
  // four: channels 196-199.
  QTest::newRow("Varo199V3 English")
      << "199" << "English" << 30 << 4 << 0.42
      << QStringList{"1", "Time Out Timer:", "1", "1", "Keypad Lock:", "Manual",
                     "1", "Mode:", "Frequency", "1", "Battery Saver:", "0.4",
                     "2", "Channel 0:", "", "2", "Receive Frequency:", "400.01250",
                     "2", "Power:", "Middle", "2", "Channel Lock:", "Lock",
                     "2", "Channel Name:", "CH1", "30", "Channel 199:", "",
                     "30", "Transceive Frequency:", "425.00000", "30", "QT/DQT Encode:", "D023N",
                     "30", "Channel Name:", "CH200"};
  QTest::newRow("Varo199V3 Chinese")
      << "199" << "Chinese" << 30 << 4 << 0.42
      << QStringList{"1", "超时定时器:", "1", "1", "键盘锁定:", "手动", "1", "模式:", "频率",
                     "1", "电池省电:", "0.4", "2", "信道0:", "", "2", "接收频率:", "400.01250",
                     "2", "功率:", "中", "2", "信道锁定:", "锁定", "2", "信道名字:", "CH1",
                     "30", "信道199:", "", "30", "发射频率:", "425.00000",
                     "30", "QT/DQT编码:", "D023N", "30", "信道名字:", "CH200"};
}

// The table as typed, not saved, printed to PDF through the File menu: the
// page count and every text the page plan places on its page, labels with
// their values on one line, no channel block twice, the owner of the
// interface language (from the program INI) with the page number in every
// footer. The preview shows as many pages.
void PrintTest::pdfAndPreviewFollowThePagePlan() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  QFETCH(int, pages);
  QFETCH(int, lastBlocks);
  QFETCH(double, zoom);
  QFETCH(QStringList, lines);
  const bool chinese = language == QLatin1String("Chinese");
  const QString owner = chinese ? QStringLiteral("Varo 无线电有限公司")
                                : QStringLiteral("Varo Radio Co., Ltd.");
  const QString other = chinese ? QStringLiteral("Varo Radio Co., Ltd.")
                                : QStringLiteral("Varo 无线电有限公司");
  test::Run(program, language.toStdString(), [&](SessionBase& s, long) {
    Fill(*s.Grid(), program == QLatin1String("16"), chinese);
    const QString pdf = QString::fromStdString(s.Folder().Path("report.pdf"));
    PrintToPdf(s, pdf);
    const QStringList printed = test::PdfPages(pdf);
    QCOMPARE(printed.size(), pages);
    QVERIFY(!QFile::exists(pdf + ".part"));

    const radio::RadioModel& model = s.ChannelView()->Model();
    const radio::EstimatedFontMetrics metrics;
    const radio::PrintLayout plan(*model.table, *model.report, *s.Grid(), s.Image(),
                                  {4800, 6600, 600, 600}, metrics, chinese, owner.toStdString());
    QCOMPARE(plan.PageCount(), pages);
    for (int p = 1; p <= pages; ++p) {
      for (const radio::DrawItem& item : plan.Page(p).items)
        QVERIFY2(printed[p - 1].contains(QString::fromStdString(item.text)), item.text.c_str());
      QVERIFY(test::OnOneLine(printed[p - 1], owner, QStringLiteral("Page %1 of %2").arg(p).arg(pages)));
      QVERIFY(!printed[p - 1].contains(other));
    }
    for (qsizetype i = 0; i + 2 < lines.size(); i += 3)
      QVERIFY2(test::OnOneLine(printed[lines[i].toInt() - 1], lines[i + 1], lines[i + 2]),
               qPrintable(lines[i + 1]));
    QCOMPARE(printed.last().count(chinese ? QStringLiteral("接收频率:") : "Receive Frequency:"),
             lastBlocks);

    QPrinter printer(QPrinter::HighResolution);
    const shell::PrintRenderer renderer = s.ChannelView()->Renderer();
    std::unique_ptr<QPrintPreviewDialog> preview(renderer.MakePreview(printer, nullptr));
    preview->resize(1500, 640);
    preview->show();
    auto* shown = preview->findChild<QPrintPreviewWidget*>();
    QTRY_COMPARE(shown->pageCount(), pages);
    // The first pages side by side.
    shown->setViewMode(QPrintPreviewWidget::AllPagesView);
    if (zoom > 0) shown->setZoomFactor(zoom);
    QTest::qWait(50);
    for (QScrollBar* bar : shown->findChildren<QScrollBar*>()) bar->setValue(bar->minimum());
    QTest::qWait(50);
    test::MaybeScreenshot(preview.get(), QStringLiteral("varo%1-print-preview-%2.png")
                                             .arg(program, chinese ? "zh" : "en"));
  });
}

void PrintTest::pageRangeAndCopies() {
  test::Session s;
  QVERIFY(s.app);
  Fill(*s.Grid(), true, false);
  const shell::PrintRenderer renderer = s.View()->Renderer();
  // From, to, copies; the pages the file then holds.
  const std::tuple<int, int, int, std::vector<int>> jobs[] = {
      {2, 3, 1, {2, 3}}, {3, 3, 2, {3, 3}}, {2, 9, 1, {2, 3}}};
  for (const auto& [from, to, copies, printed] : jobs) {
    const QString pdf = QString::fromStdString(s.folder.Path("job.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setCopyCount(copies);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(from, to);
    QCOMPARE(renderer.Render(printer), int(printed.size()));
    const QStringList pages = test::PdfPages(pdf);
    QCOMPARE(pages.size(), qsizetype(printed.size()));
    for (std::size_t i = 0; i < printed.size(); ++i)
      QVERIFY(pages[int(i)].contains(QStringLiteral("Page %1 of 3").arg(printed[i])));
  }
}

// Print to PDF into a folder that does not exist, or onto a read-only file
// once Yes allowed replacing it: the message, and the old file as it was.
// Print offers pages 1-3; Print Preview shows three pages; Print Setup opens
// the print dialog in setup mode.
void PrintTest::fileMenuPrintCommands() {
  test::Session s;
  QVERIFY(s.app);
  Fill(*s.Grid(), true, false);
  const QString nowhere = QString::fromStdString(s.folder.Path("missing/report.pdf"));
  const QString locked = QString::fromStdString(s.folder.dir().Write("locked.pdf", "old"));
  const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
  QVERIFY(QFile::setPermissions(locked, readOnly));
  for (const QString& target : {nowhere, locked}) {
    QStringList seen;
    PrintToPdf(s, target, [&seen] { AnswerUntilDone(&seen); });
    QCOMPARE(seen.value(seen.size() - 1),
             QStringLiteral("The PDF file could not be written; please check the folder and "
                            "the file name."));
    QVERIFY(!QFile::exists(target + ".part"));
  }
  QVERIFY(!QFile::exists(nowhere));
  QFile old(locked);
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("old"));
  QCOMPARE(old.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), readOnly);

  const std::pair<int, QString> dialogs[] = {{shell::ID_FILE_PRINT, "pages 1-3"},
                                             {shell::ID_FILE_PRINT_PREVIEW, "3 pages"},
                                             {shell::ID_FILE_PRINT_SETUP, "Print Setup"}};
  for (const auto& [command, expected] : dialogs) {
    QString seen;
    test::WhenModal([&seen](QWidget* w) {
      auto* print = qobject_cast<QPrintDialog*>(w);
      if (auto* preview = w->findChild<QPrintPreviewWidget*>()) {
        QTRY_COMPARE(preview->pageCount(), 3);
        seen = QStringLiteral("%1 pages").arg(preview->pageCount());
      } else if (print && print->objectName() != QLatin1String("printSetup")) {
        seen = QStringLiteral("pages %1-%2").arg(print->minPage()).arg(print->maxPage());
      } else if (print) {
        seen = w->windowTitle();
      }
      QMetaObject::invokeMethod(w, "reject");
    });
    s.Frame()->Action(command)->trigger();
    QCOMPARE(seen, expected);
  }
}

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
