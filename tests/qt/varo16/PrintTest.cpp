// Printing a Varo16 report: PDF output without a printer, read back with
// pdftotext; page ranges and copies; the print preview; the File menu's print
// commands of a started program.

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTest>

#include "Varo16Fixture.h"
#include "model16/ChannelTable.h"
#include "radio/MemoryGrid.h"
#include "model16/Model16.h"
#include "model16/Report.h"
#include "radio/PrintLayout.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/PrintRenderer.h"

using namespace varo;
using radio::GridControl;

namespace {

// Eight programmed channels typed into a table.
void FillEightChannels(GridControl& grid, bool chinese) {
  const char* words[2][6] = {{"None", "None", "High", "Yes", "Off", "Wide"},
                             {"无", "无", "高", "是", "关", "宽"}};
  for (long row = 1; row <= 8; ++row) {
    grid.SetTextMatrix(row, model16::kColRx, std::to_string(450 + row) + ".01250");
    grid.SetTextMatrix(row, model16::kColTx, std::to_string(460 + row) + ".02500");
    for (long col = model16::kColDec; col < model16::kTableCols; ++col)
      grid.SetTextMatrix(row, col, words[chinese][col - model16::kColDec]);
  }
}

// A new document's image with eight programmed channels in the table.
struct Report {
  explicit Report(bool inChinese) : chinese(inChinese) { FillEightChannels(grid, chinese); }
  shell::ReportMaker Maker() const {
    return shell::RadioReport(model16::Model16(), grid, image, chinese, owner);
  }

  bool chinese;
  std::string owner = "Varo Radio Co., Ltd.";
  radio::MemoryGrid grid{model16::kTableRows, model16::kTableCols};
  model16::MemoryImage image = model16::NewImage();
};

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
  void pdfHoldsTheReport_data();
  void pdfHoldsTheReport();
  void pageRangeAndCopies();
  void previewShowsThePages_data() { pdfHoldsTheReport_data(); }
  void previewShowsThePages();
  void fileMenuPrintCommands();
  void ownerOfTheInterfaceLanguage();
};

void PrintTest::pdfHoldsTheReport_data() {
  QTest::addColumn<bool>("chinese");
  QTest::newRow("English") << false;
  QTest::newRow("Chinese") << true;
}

void PrintTest::pdfHoldsTheReport() {
  QFETCH(bool, chinese);
  Report report(chinese);
  test::TempDir dir;
  const QString pdf = QString::fromStdString(dir.File("report.pdf"));
  QVERIFY(shell::PrintRenderer(report.Maker()).PrintToPdf(pdf));
  const QStringList pages = test::PdfPages(pdf);
  QCOMPARE(pages.size(), 3);

  // Labels with their values on one printed line.
  const auto tr = [chinese](const char* en, const char* zh) { return chinese ? zh : en; };
  QVERIFY(test::OnOneLine(pages[0], tr("Time Out Timer:", "超时定时器:"), "60s"));
  QVERIFY(test::OnOneLine(pages[0], tr("Voice Annunciation:", "语音报号:"), tr("Chinese", "中文")));
  QVERIFY(test::OnOneLine(pages[0], tr("Call Tone:", "呼叫铃音:"), tr("Off", "关")));
  QVERIFY(test::OnOneLine(pages[2], tr("Receive Frequency:", "接收频率:"), "458.01250"));
  QVERIFY(test::OnOneLine(pages[2], tr("Transceive Frequency:", "发射频率:"), "468.02500"));
  QVERIFY(test::OnOneLine(pages[2], tr("Channel Lock:", "信道锁定:"), tr("Off", "关")));
  for (int p = 1; p <= 3; ++p)
    QVERIFY(test::OnOneLine(pages[p - 1], "Varo Radio Co., Ltd.", QStringLiteral("Page %1 of 3").arg(p)));

  // Every text the layout places is on its page.
  const radio::EstimatedFontMetrics metrics;
  const radio::PrintLayout layout(model16::Table16(), model16::Report16(), report.grid,
                                  report.image, {4800, 6600, 600, 600}, metrics, chinese,
                                  report.owner);
  for (int p = 1; p <= 3; ++p)
    for (const radio::DrawItem& item : layout.Page(p).items)
      QVERIFY2(pages[p - 1].contains(QString::fromStdString(item.text)), item.text.c_str());
}

void PrintTest::pageRangeAndCopies() {
  Report report(false);
  const shell::PrintRenderer renderer(report.Maker());
  // From, to, copies; the pages the file then holds.
  const std::tuple<int, int, int, std::vector<int>> jobs[] = {
      {2, 3, 1, {2, 3}}, {3, 3, 2, {3, 3}}, {2, 9, 1, {2, 3}}};
  for (const auto& [from, to, copies, printed] : jobs) {
    test::TempDir dir;
    const QString pdf = QString::fromStdString(dir.File("job.pdf"));
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

// Pictures of the preview for the documentation, when VARO_SCREENSHOT_DIR is set.
void PrintTest::previewShowsThePages() {
  QFETCH(bool, chinese);
  if (qEnvironmentVariableIsEmpty("VARO_SCREENSHOT_DIR")) QSKIP("VARO_SCREENSHOT_DIR not set");
  Report report(chinese);
  const shell::PrintRenderer renderer(report.Maker());  // the preview draws through it
  QPrinter printer(QPrinter::HighResolution);
  std::unique_ptr<QPrintPreviewDialog> preview(renderer.MakePreview(printer, nullptr));
  preview->resize(1500, 640);
  preview->show();
  auto* pages = preview->findChild<QPrintPreviewWidget*>();
  QTRY_COMPARE(pages->pageCount(), 3);
  pages->setViewMode(QPrintPreviewWidget::AllPagesView);
  QTest::qWait(50);
  test::MaybeScreenshot(preview.get(),
                        chinese ? "varo16-print-preview-zh.png" : "varo16-print-preview-en.png");
}

// The File menu of a started program, on eight channels typed into its table
// and not saved: Print to PDF writes the three pages, or, into a folder that
// does not exist, shows its message and leaves no file; Print offers pages
// 1-3; Print Preview shows three pages; Print Setup opens the print dialog
// in setup mode.
void PrintTest::fileMenuPrintCommands() {
  test::Session s;
  QVERIFY(s.app);
  shell::CMainFrame* frame = s.Frame();
  FillEightChannels(*s.Grid(), false);
  const auto choose = [frame](int command, const std::function<void(QWidget*)>& act) {
    test::WhenModal(act);
    frame->Action(command)->trigger();
  };

  const QString pdf = QString::fromStdString(s.folder.Path("report.pdf"));
  choose(shell::ID_FILE_PRINT_PDF, [pdf](QWidget* w) { test::AcceptFileDialog(w, pdf); });
  const QStringList pages = test::PdfPages(pdf);
  QCOMPARE(pages.size(), 3);
  QVERIFY(test::OnOneLine(pages[2], "Receive Frequency:", "458.01250"));
  QVERIFY(!QFile::exists(pdf + ".part"));

  // Into a folder that does not exist, or onto a read-only file once Yes
  // allowed replacing it: the message, and the old file as it was.
  const QString nowhere = QString::fromStdString(s.folder.Path("missing/report.pdf"));
  const QString locked = QString::fromStdString(s.folder.dir().Write("locked.pdf", "old"));
  const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
  QVERIFY(QFile::setPermissions(locked, readOnly));
  for (const QString& target : {nowhere, locked}) {
    QStringList seen;
    choose(shell::ID_FILE_PRINT_PDF, [&](QWidget* w) {
      AnswerUntilDone(&seen);
      test::AcceptFileDialog(w, target);
    });
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

  // The other print commands: what their dialogs show of the report.
  const std::pair<int, QString> dialogs[] = {{shell::ID_FILE_PRINT, "pages 1-3"},
                                             {shell::ID_FILE_PRINT_PREVIEW, "3 pages"},
                                             {shell::ID_FILE_PRINT_SETUP, "Print Setup"}};
  for (const auto& [command, expected] : dialogs) {
    QString seen;
    choose(command, [&seen](QWidget* w) {
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
    QCOMPARE(seen, expected);
  }
}

// The footer's owner comes from the interface language's section of the
// program INI, through the program's own print command.
void PrintTest::ownerOfTheInterfaceLanguage() {
  const struct { const char* language; QString owner, other; } cases[] = {
      {"English", QStringLiteral("Varo Radio Co., Ltd."), QStringLiteral("Varo 无线电有限公司")},
      {"Chinese", QStringLiteral("Varo 无线电有限公司"), QStringLiteral("Varo Radio Co., Ltd.")},
  };
  for (const auto& c : cases) {
    test::Session s(c.language);
    QVERIFY(s.app);
    const QString pdf = QString::fromStdString(s.folder.Path("owner.pdf"));
    test::WhenModal([pdf](QWidget* w) { test::AcceptFileDialog(w, pdf); });
    s.Frame()->Action(shell::ID_FILE_PRINT_PDF)->trigger();
    const QStringList pages = test::PdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY2(pages[0].contains(c.owner), c.language);
    QVERIFY2(!pages[0].contains(c.other), c.language);
  }
}

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
