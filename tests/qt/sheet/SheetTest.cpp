// The main window at start-up and the channel table as a spreadsheet, driven
// through both programmers' windows: menus, captions and the table's labels,
// rows copied and pasted through the clipboard, a spreadsheet's
// block with a refused row, row operations with what belongs to the
// channels, Tab and the other keys, the context menu, plan files and
// Compare with. Every case runs in Varo16 and in Varo199V3.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>

#include "model16/Layout.h"
#include "qt/support/BothPrograms.h"
#include "radio/ChannelCsv.h"
#include "radio/DatFile.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CVerifyResultDlg.h"
#include "shell/ChannelView.h"
#include "shell/CommandIds.h"
#include "shell/RadioDocument.h"

using namespace varo;
using test::ProgramsAndLanguages;
using test::Programs;
using test::Run;
using test::SessionBase;

namespace {

// Clicks the label of `row` (the row header), with `mods`.
void ClickRowLabel(SessionBase& s, long row, Qt::KeyboardModifiers mods = {}) {
  shell::CMSFlexGrid* grid = s.Grid();
  grid->scrollTo(grid->model()->index(static_cast<int>(row - 1), 0));
  QHeaderView* labels = grid->verticalHeader();
  const int y = labels->sectionViewportPosition(static_cast<int>(row - 1)) +
                labels->sectionSize(static_cast<int>(row - 1)) / 2;
  QTest::mouseClick(labels->viewport(), Qt::LeftButton, mods, QPoint(labels->width() / 2, y));
}

void Key(SessionBase& s, int key, Qt::KeyboardModifiers mods = {}) {
  QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : s.Grid(),
                  static_cast<Qt::Key>(key), mods);
}

// Chooses entry `index` in the drop-down cell (row, col) and confirms it.
void Choose(SessionBase& s, long row, long col, int index) {
  s.Click(row, col);
  qobject_cast<QComboBox*>(s.Editor(col))->setCurrentIndex(index);
  QTest::keyClick(s.Editor(col), Qt::Key_Return);
}

// Every modal window that opens until `done` is set: its title, and the
// lines of a result window or the text of a message box; each is closed
// with its OK (after a picture, when `picture` names one).
struct Windows {
  QStringList seen;
  bool done = false;
  QString picture;
};
void AnswerEach(const std::shared_ptr<Windows>& log, SessionBase& s) {
  test::WhenModal([log, &s](QWidget* w) {
    if (log->done) return;
    log->seen << w->windowTitle();
    if (auto* result = qobject_cast<shell::CVerifyResultDlg*>(w)) {
      log->seen << result->Summary() << result->Differences();
      if (!log->picture.isEmpty()) test::MaybeScreenshot(s.Frame(), log->picture, true, w);
    } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
      log->seen << box->text();
    }
    AnswerEach(log, s);
    test::Press(w, qobject_cast<QMessageBox*>(w) ? QStringLiteral("OK") : QStringLiteral("1"));
  });
}
std::shared_ptr<Windows> Watch(SessionBase& s, const QString& picture = {}) {
  auto log = std::make_shared<Windows>();
  log->picture = picture;
  AnswerEach(log, s);
  return log;
}

QString Tsv(const QList<QStringList>& rows) {
  QString text;
  for (const QStringList& row : rows) text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
  return text;
}

QStringList Entries(QWidget* editor) {
  QStringList entries;
  auto* combo = qobject_cast<QComboBox*>(editor);
  for (int i = 0; combo && i < combo->count(); ++i) entries << combo->itemText(i);
  return entries;
}

QString Picture(const QString& program, const std::string& language, const char* what) {
  return QStringLiteral("varo%1-%2-%3.png")
      .arg(program, QLatin1String(what), language == "Chinese" ? "zh" : "en");
}

}  // namespace

class SheetTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void startUp_data();
  void startUp();
  void typingIntoCells_data();
  void typingIntoCells();
  void copyTwoRowsAndPasteThemTwoRowsLower_data();
  void copyTwoRowsAndPasteThemTwoRowsLower();
  void spreadsheetBlockRefusesOneRowAndSaysSoOnce_data();
  void spreadsheetBlockRefusesOneRowAndSaysSoOnce();
  void rowsCarryScanPriorityAndNames_data();
  void rowsCarryScanPriorityAndNames();
  void tabMovesAndCommits_data();
  void tabMovesAndCommits();
  void typingOnTheTableStartsEditing_data();
  void typingOnTheTableStartsEditing();
  void contextMenuOfTheRowLabels_data();
  void contextMenuOfTheRowLabels();
  void planFilesAndCompare_data();
  void planFilesAndCompare();
};

void SheetTest::startUp_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("language");
  QTest::addColumn<bool>("chinese");  // the program's own words
  // File menu, About in menu 128 and in menu 129 (from the INI), caption,
  // control bar caption, tree root, Write to Several Radios, document type,
  // the labels of the corner and of the first and last rows (channel numbers
  // right-aligned).
  QTest::addColumn<QStringList>("texts");
  QTest::addColumn<QList<int>>("commands");  // of the Program menu
  QTest::addColumn<QStringList>("entries");  // of column 7's list
  QTest::addColumn<int>("tones");            // in column 3's list
  const QList<int> transfers = {shell::ID_READ, shell::ID_WRITE, shell::ID_VERIFY, shell::ID_FLEET};
  const QList<int> scan = transfers + QList<int>{shell::ID_SCAN_INFO};
  const QStringList english = {"&File", "Write to &Several Radios...", "Varo Radio", "CH"};
  const QStringList chinese = {"文件(&F)", "批量写频(&S)...", "Varo 无线电", "信道"};
  const QStringList lower = {"文件(&F)", "批量写频(&S)...", "Varo 无线电", "CH"};
  const auto texts = [](const QStringList& words, const char* about128, const char* about,
                        const char* caption, const char* type, const char* first, const char* last) {
    return QStringList{words[0], about128, about, caption, words[2], words[2], words[1], type,
                       words[3], first, last};
  };
  QTest::newRow("Varo16 English")
      << "16" << "English" << false
      << texts(english, "&About Varo_16...", "About Varo16",
               "Varo16 Programmer  [ Type:V16-V  Fre:136 - 174MHz ]", "Varo_16 Document (*.dat)", " 1", "16")
      << scan << QStringList{"Off", "Carrier", "QT/DQT"} << 265;
  QTest::newRow("Varo16 Chinese")
      << "16" << "Chinese" << true
      << texts(chinese, "关于 Varo_16(&A)...", "关于 Varo16",
               "Varo16 写频软件  [ 类型:V16-V  频率:136 - 174MHz ]", "Varo_16 文档 (*.dat)", " 1", "16")
      << scan << QStringList{"关", "Carrier", "QT/DQT"} << 265;
  // Lower case: the module and the INI section are found whatever the
  // letter case, but the program's own words stay English.
  QTest::newRow("Varo16 chinese")
      << "16" << "chinese" << false
      << texts(lower, "关于 Varo_16(&A)...", "关于 Varo16",
               "Varo16 写频软件  [ Type:V16-V  Fre:136 - 174MHz ]", "Varo_16 文档 (*.dat)", " 1", "16")
      << scan << QStringList{"Off", "Carrier", "QT/DQT"} << 265;
  QTest::newRow("Varo199V3 English")
      << "199" << "English" << false
      << texts(english, "&About Varo_199...", "About Varo199V3",
               "Varo199V3 Programmer  [ Type:V199-V  Fre:136 - 174MHz ]", "Varo_199 Document (*.dat)",
               "Pr", "199")
      << transfers << QStringList{} << 261;
  QTest::newRow("Varo199V3 Chinese")
      << "199" << "Chinese" << true
      << texts(chinese, "关于 Varo_199(&A)...", "关于 Varo199V3",
               "Varo199V3 写频软件  [ 类型:V199-V  频率:136 - 174MHz ]", "Varo_199 文档 (*.dat)", "Pr", "199")
      << transfers << QStringList{} << 261;
}

// The program's own INI, module and words, in the maximized main window with
// the document's menu: its Program menu (Scan Info in Varo16 only) and the
// tree's three pages; every item of the document menu has someone to carry
// it out, and Undo and Redo wait for a first change. The table's rows and
// labels, its drop-down lists, and its fixed cells' text in red 0, green 50,
// blue 240, on the screen too.
void SheetTest::startUp() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  QFETCH(bool, chinese);
  QFETCH(QStringList, texts);
  QFETCH(QList<int>, commands);
  QFETCH(QStringList, entries);
  QFETCH(int, tones);
  Run(program, language.toStdString(), [&](SessionBase& s, long first) {
    shell::CMainFrame* frame = s.Frame();
    shell::CRadioApp& app = s.Application();
    QCOMPARE(app.Chinese(), chinese);
    QCOMPARE(app.HelpFolder(), std::string(chinese ? "chHelp" : "enHelp"));
    QVERIFY(frame->isMaximized());
    QCOMPARE(frame->ShownMenu(), 129);
    const long last = s.Grid()->Rows() - 1;
    const auto label = [&s](long row) {
      return QString::fromStdString(s.Grid()->TextMatrix(row, 0));
    };
    QCOMPARE((QStringList{frame->menuBar()->actions().first()->text(),
                          frame->Popup(128, 2)->actions().first()->text(),
                          frame->Popup(129, 5)->actions().first()->text(), frame->windowTitle(),
                          frame->ControlBar()->Caption(),
                          frame->ControlBar()->Tree()->topLevelItem(0)->text(0),
                          frame->Action(shell::ID_FLEET)->text(), app.DocumentFilter(), label(0),
                          label(1), label(last)}),
             texts);
    QCOMPARE(label(first), QStringLiteral("1").rightJustified(label(last).size()));
    QCOMPARE(s.Row(last), QStringList(static_cast<int>(s.Grid()->Cols() - 1), QString()));
    QCOMPARE(test::MenuCommands(frame->Popup(129, 2)), commands);
    QCOMPARE(frame->Action(shell::ID_SCAN_INFO) != nullptr, commands.contains(shell::ID_SCAN_INFO));
    QCOMPARE(frame->ControlBar()->Tree()->topLevelItem(0)->childCount(), 3);
    for (int popup = 0; popup < 6; ++popup) {
      for (QAction* item : frame->Popup(129, popup)->actions()) {
        const int id = item->property("commandId").toInt();
        const bool waits = id == shell::ID_EDIT_UNDO || id == shell::ID_EDIT_REDO;
        QVERIFY2(item->isSeparator() || item->isEnabled() != waits, qPrintable(item->text()));
      }
    }
    QCOMPARE(Entries(s.Editor(7)), entries);
    QCOMPARE(Entries(s.Editor(3)).size(), tones);
    const QColor fixed(0, 50, 240);
    QCOMPARE(s.Grid()->ForeColorFixed(), fixed);
    QCOMPARE(s.Grid()->horizontalHeaderItem(1)->foreground().color(), fixed);
    QCOMPARE(s.Grid()->verticalHeaderItem(3)->foreground().color(), fixed);
    const QImage header = s.Grid()->horizontalHeader()->grab().toImage();
    bool painted = false;
    for (int y = 0; y < header.height() && !painted; ++y)
      for (int x = 0; x < header.width() && !painted; ++x) painted = header.pixelColor(x, y) == fixed;
    QVERIFY(painted);
  });
}

void SheetTest::typingIntoCells_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("language");
  QTest::addColumn<long>("row");
  QTest::addColumn<QStringList>("before");  // typed into the Rx and Name columns first
  QTest::addColumn<int>("col");             // then this column gets `text`
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("enter");          // Enter, else the cell is left by a click
  QTest::addColumn<int>("message");         // string id of the message, 0 = none
  QTest::addColumn<QStringList>("after");   // the row's channel columns afterwards

  const QStringList none{"", ""}, rx{"145.0125", ""};
  const QStringList empty16(8, QString()), empty199(7, QString());
  const auto v16 = [](const char* r, const char* t, const char* power = "High") {
    return QStringList{r, t, "None", "None", power, "No", "Off", "Wide"};
  };
  const auto v199 = [](const char* r, const char* t, bool chinese = false, const char* name = "") {
    return chinese ? QStringList{r, t, "无", "无", "高", "锁定", name}
                   : QStringList{r, t, "None", "None", "High", "Lock", name};
  };
  const auto row16 = [](const char* name, long row = 3) -> QTestData& {
    return QTest::newRow(qPrintable(QStringLiteral("Varo16 %1").arg(name))) << "16" << "English" << row;
  };
  const auto row199 = [](const char* name, const char* language, long row) -> QTestData& {
    return QTest::newRow(qPrintable(QStringLiteral("Varo199V3 %1").arg(name))) << "199" << language << row;
  };
  row16("new channel on 6.25 kHz") << none << 1 << "145.0125" << true << 0 << v16("145.01250", "145.01250");
  row16("new channel on 5 kHz, left by click")
      << none << 1 << "145.005" << false << 0 << v16("145.00500", "145.00500");
  row16("upper band edge") << none << 1 << "174" << true << 0 << v16("174.00000", "174.00000");
  row16("past the band edge") << none << 1 << "174.005" << true << 61448 << empty16;
  row16("off raster") << none << 1 << "145.0130" << true << 61456 << empty16;
  row16("no number") << none << 1 << "abc" << false << 61448 << empty16;
  row16("emptying rx deletes the channel") << rx << 1 << "" << true << 0 << empty16;
  row16("tx off raster with Enter clears tx")
      << rx << 2 << "150.0130" << true << 61456 << v16("145.01250", "");
  row16("tx off raster when left clears the row") << rx << 2 << "150.0130" << false << 61456 << empty16;
  row16("setting on an empty row is dropped") << none << 5 << "L" << true << 0 << empty16;
  row16("power chosen") << rx << 5 << "L" << true << 0 << v16("145.01250", "145.01250", "Low");
  row16("Enter in the last cell goes back to the first", 16) << none << 8 << "" << true << 0 << empty16;
  row199("Pr gets the new-row defaults", "English", 1L)
      << none << 1 << "145.0125" << true << 0 << v199("145.01250", "145.01250");
  row199("Pr in Chinese", "Chinese", 1L)
      << none << 1 << "145.0125" << true << 0 << v199("145.01250", "145.01250", true);
  row199("channel 199", "English", 200L)
      << none << 1 << "173.995" << false << 0 << v199("173.99500", "173.99500");
  row199("new rx over an old one moves on", "English", 5L)
      << rx << 1 << "145.025" << true << 0 << v199("145.02500", "145.01250");
  row199("name in upper case", "English", 5L)
      << rx << 7 << "ab-12x" << true << 0 << v199("145.01250", "145.01250", false, "AB-12X");
  row199("no seventh character", "English", 5L)
      << rx << 7 << "ab-12xy" << false << 0 << v199("145.01250", "145.01250", false, "AB-12X");
  row199("name on an empty row is dropped", "English", 5L) << none << 7 << "crew" << false << 0 << empty199;
  row199("Enter in the last cell goes back to Pr", "English", 200L)
      << none << 7 << "" << true << 0 << empty199;
  row199("emptying rx clears the name", "English", 5L)
      << QStringList{"145.0125", "crew"} << 1 << "" << true << 0 << empty199;
  row199("past the band edge", "English", 150L) << none << 1 << "174.005" << true << 61448 << empty199;
  row199("off raster", "Chinese", 150L) << none << 1 << "145.0130" << true << 61456 << empty199;
}

// A cell typed into and left by Enter or a click: what the row then holds,
// the message of a refused entry, and where Enter goes: the next cell with
// its editor open, after the last column the next row (from the last row
// back to the first), or, after a message, nowhere; the keyboard stays in
// the table, where Enter opens the next cell.
void SheetTest::typingIntoCells() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  QFETCH(long, row);
  QFETCH(QStringList, before);
  QFETCH(int, col);
  QFETCH(QString, text);
  QFETCH(bool, enter);
  QFETCH(int, message);
  QFETCH(QStringList, after);
  const bool is16 = program == QLatin1String("16");
  Run(program, language.toStdString(), [&](SessionBase& s, long) {
    const long lastRow = s.Grid()->Rows() - 1, lastCol = s.Grid()->Cols() - 1;
    if (!before[0].isEmpty()) s.Type(row, 1, before[0]);
    if (!before[1].isEmpty()) s.Type(row, lastCol, before[1]);
    s.Click(row, col);
    QWidget* editor = s.Editor(col);
    QVERIFY(editor->isVisible() && editor->hasFocus());
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      // Varo16 selects the cell's text, so typing replaces it; Varo199V3 does not.
      if (is16) QCOMPARE(edit->selectedText(), edit->text());
      else QVERIFY(!edit->hasSelectedText());
      edit->clear();
    }
    QTest::keyClicks(editor, text);

    QStringList seen;
    if (message) test::Answer(&seen);
    enter ? QTest::keyClick(editor, Qt::Key_Return) : s.Click(row == lastRow ? row - 1 : row + 1, col);
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    if (message) QCOMPARE(seen, (QStringList{s.Application().Str(61458), s.Application().Str(message)}));
    QCOMPARE(s.Row(row), after);
    QWidget* view = s.Grid()->viewport();
    if (enter) {
      const auto next = message ? std::pair{row, long(col)}
                        : col < lastCol ? std::pair{row, col + 1L}
                                        : std::pair{row % lastRow + 1, 1L};
      QCOMPARE((std::pair{s.Grid()->Row(), s.Grid()->Col()}), next);
      QWidget* shown = s.Editor(next.second);
      QCOMPARE(shown->isVisible(), message == 0);
      // The table scrolled to the new cell: its editor lies over it, in view.
      if (!message) {
        QVERIFY(view->rect().contains(shown->geometry().center()));
        QVERIFY(shown->geometry().contains(s.Grid()->CellRect(next.first, next.second).center()));
      }
      s.Activate();  // the offscreen platform hands nothing back after a box
      QWidget* focus = QApplication::focusWidget();
      QCOMPARE(focus, message ? static_cast<QWidget*>(s.Grid()) : shown);
      if (message) {
        QTest::keyClick(focus, Qt::Key_Return);
        QCOMPARE(s.Grid()->Col(), next.second + 1);
        QVERIFY(s.Editor(next.second + 1)->isVisible());
      }
    }
    if (row == lastRow) {  // scrolled to the end, the last row is on the screen
      s.Grid()->verticalScrollBar()->setValue(s.Grid()->verticalScrollBar()->maximum());
      QVERIFY(view->rect().contains(s.Grid()->CellRect(lastRow, 1).center()));
    }
  });
}

void SheetTest::copyTwoRowsAndPasteThemTwoRowsLower_data() { ProgramsAndLanguages(); }

// Two rows selected by their labels, copied and pasted two rows lower come
// out exactly as they were; the clipboard holds them as tab-separated text;
// the paste is one step for Undo.
void SheetTest::copyTwoRowsAndPasteThemTwoRowsLower() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  Run(program, language.toStdString(), [&](SessionBase& s, long r) {
    s.Type(r, 1, QStringLiteral("145.0125"));
    Choose(s, r, 5, 1);
    s.Type(r + 1, 1, QStringLiteral("146.025"));
    s.Type(r + 1, 2, QStringLiteral("146.525"));
    if (program == QLatin1String("199")) s.Type(r + 1, 7, QStringLiteral("ab-1"));
    const QStringList first = s.Row(r), second = s.Row(r + 1);

    ClickRowLabel(s, r);
    ClickRowLabel(s, r + 1, Qt::ShiftModifier);
    QVERIFY(!s.Editor(1)->isVisible());
    QTest::keyClick(s.Grid(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), Tsv({first, second}));

    ClickRowLabel(s, r + 2);
    QTest::keyClick(s.Grid(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(s.Row(r + 2), first);
    QCOMPARE(s.Row(r + 3), second);
    QCOMPARE(s.Grid()->SelectedRows(), (std::vector<long>{r + 2, r + 3}));

    const QStringList empty(first.size(), QString());
    QTest::keyClick(s.Grid(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.Row(r + 2), empty);
    QCOMPARE(s.Row(r + 3), empty);
    QCOMPARE(s.Row(r + 1), second);
    QTest::keyClick(s.Grid(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(s.Row(r + 3), second);

    // Fill Down of the Power cells: the top one's value below it.
    s.Grid()->SelectBlock({r, 5, r + 3, 5});
    QTest::keyClick(s.Grid(), Qt::Key_D, Qt::ControlModifier);
    for (long row = r + 1; row <= r + 3; ++row) QCOMPARE(s.Row(row).value(4), first.value(4));
  });
}

void SheetTest::spreadsheetBlockRefusesOneRowAndSaysSoOnce_data() { ProgramsAndLanguages(); }

// A spreadsheet's block pasted from an open frequency editor: the row with
// the off-raster frequency keeps what it had, the others go in by the typing
// rules, and one window names the refused channel.
void SheetTest::spreadsheetBlockRefusesOneRowAndSaysSoOnce() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  const bool chinese = language == QLatin1String("Chinese");
  Run(program, language.toStdString(), [&](SessionBase& s, long r) {
    s.Type(r + 1, 1, QStringLiteral("150.0"));
    const QStringList kept = s.Row(r + 1);
    QGuiApplication::clipboard()->setText(
        QStringLiteral("145.0125\t\t67\n145.0130\t\t\t\tHigh\n146.025\t\t\t\t低\n"));
    s.Click(r, 1);
    auto windows = Watch(s, Picture(program, language.toStdString(), "paste-refused"));
    QTest::keyClick(s.Editor(1), Qt::Key_V, Qt::ControlModifier);
    windows->done = true;

    QCOMPARE(s.Row(r).value(0), QStringLiteral("145.01250"));
    QCOMPARE(s.Row(r).value(2), QStringLiteral("67.0"));
    QCOMPARE(s.Row(r + 1), kept);
    QCOMPARE(s.Row(r + 2).value(0), QStringLiteral("146.02500"));
    QCOMPARE(s.Row(r + 2).value(4), chinese ? QStringLiteral("低") : QStringLiteral("Low"));
    const QStringList said =
        chinese ? QStringList{"粘贴", "部分内容未能粘贴：", "信道 2 未改变：接收频率 145.0130 不符合 5K/6.25K 步进。"}
                : QStringList{"Paste", "Not everything could be pasted:",
                              "Channel 2 was left as it was: Rx Frequency 145.0130 is not on the 5 kHz or "
                              "6.25 kHz raster."};
    QCOMPARE(windows->seen, said);
  });
}

void SheetTest::rowsCarryScanPriorityAndNames_data() { Programs(); }

// Insert, move and delete through their keys: the 16-channel radio's Scan
// Add mark and priority channel, the 199-channel radio's names go with the
// channels; the priority row Pr stays. Each is one step for Undo.
void SheetTest::rowsCarryScanPriorityAndNames() {
  QFETCH(QString, program);
  const bool is16 = program == QLatin1String("16");
  Run(program, "English", [&](SessionBase& s, long r) {
    const QStringList rx = {"145.00000", "146.00000", "147.00000"};
    for (int i = 0; i < 3; ++i) {
      s.Type(r + i, 1, rx[i]);
      if (!is16) s.Type(r + i, 7, QStringLiteral("CH%1").arg(i + 1));
    }
    if (is16) {
      Choose(s, 2, 6, 0);                   // channel 2: Scan Add Yes
      s.Image()[model16::kPriorityChannel] = 2;  // and the priority channel
    } else {
      s.Type(1, 1, QStringLiteral("140.0"));
    }
    // What rows r..r+3 hold: frequencies, and the row of channel 146.
    auto check = [&](const QStringList& rows, int row146, const char* step) {
      for (int i = 0; i < rows.size(); ++i)
        QVERIFY2(s.Row(r + i).value(0) == rows[i], step);
      const QStringList line = s.Row(r + row146);
      if (is16) {
        QVERIFY2(line.value(5) == QLatin1String("Yes"), step);
        QVERIFY2(s.Image()[model16::kPriorityChannel] == r + row146, step);
      } else {
        QVERIFY2(line.value(6) == QLatin1String("CH2"), step);
        QVERIFY2(s.Row(1).value(0) == QLatin1String("140.00000"), step);
      }
    };
    ClickRowLabel(s, r);
    QTest::keyClick(s.Grid(), Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
    check({"", rx[0], rx[1], rx[2]}, 2, "insert");
    ClickRowLabel(s, r + 2);
    QTest::keyClick(s.Grid(), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    check({"", rx[1], rx[0], rx[2]}, 1, "move up");
    QCOMPARE(s.Grid()->SelectedRows(), (std::vector<long>{r + 1}));
    ClickRowLabel(s, r);
    QTest::keyClick(s.Grid(), Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    check({rx[1], rx[0], rx[2], ""}, 0, "delete");
    QTest::keyClick(s.Grid(), Qt::Key_Z, Qt::ControlModifier);
    check({"", rx[1], rx[0], rx[2]}, 1, "undo");
    if (!is16) {
      ClickRowLabel(s, 1);  // Pr does not move
      QTest::keyClick(s.Grid(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
      check({"", rx[1], rx[0], rx[2]}, 1, "Pr");
    }
  });
}

void SheetTest::tabMovesAndCommits_data() { Programs(); }

// Tab and Shift+Tab move to the next and previous cell, row after row and
// round the table, committing as leaving a cell does: an off-raster transmit
// frequency clears its channel (Enter would empty the cell only).
// Ctrl+End and Ctrl+Home reach the last and first cell from an editor.
void SheetTest::tabMovesAndCommits() {
  QFETCH(QString, program);
  Run(program, "English", [&](SessionBase& s, long r) {
    shell::CMSFlexGrid* g = s.Grid();
    const long lastRow = g->Rows() - 1, lastCol = g->Cols() - 1;
    s.Click(r, 1);
    QTest::keyClicks(s.Editor(1), QStringLiteral("145.0125"));
    QTest::keyClick(s.Editor(1), Qt::Key_Tab);
    QCOMPARE(s.Row(r).value(1), QStringLiteral("145.01250"));  // committed, defaults in
    QCOMPARE((std::pair{g->Row(), g->Col()}), (std::pair{r, 2L}));
    QVERIFY(s.Editor(2)->isVisible() && s.Editor(2)->hasFocus());
    QTest::keyClick(s.Editor(2), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(g->Col(), 1L);
    s.Click(r, lastCol);
    Key(s, Qt::Key_Tab);
    QCOMPARE((std::pair{g->Row(), g->Col()}), (std::pair{r + 1, 1L}));
    Key(s, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE((std::pair{g->Row(), g->Col()}), (std::pair{lastRow, lastCol}));
    Key(s, Qt::Key_Tab);
    QCOMPARE((std::pair{g->Row(), g->Col()}), (std::pair{1L, 1L}));
    Key(s, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE((std::pair{g->Row(), g->Col()}), (std::pair{lastRow, lastCol}));
    Key(s, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE((std::pair{g->Row(), g->Col()}), (std::pair{1L, 1L}));
    Key(s, Qt::Key_PageDown);
    QVERIFY(g->Row() > 2 && g->Col() == 1);
    QVERIFY(s.Editor(1)->isVisible());
    QTest::keyClick(s.Editor(1), Qt::Key_Escape);
    QTest::keyClick(g, Qt::Key_End);  // on the table itself: the row's last cell
    QCOMPARE(g->Col(), lastCol);

    s.Click(r, 2);
    qobject_cast<QLineEdit*>(s.Editor(2))->clear();
    QTest::keyClicks(s.Editor(2), QStringLiteral("145.0130"));
    auto windows = Watch(s);
    QTest::keyClick(s.Editor(2), Qt::Key_Tab);
    windows->done = true;
    QCOMPARE(windows->seen.value(1),
             QStringLiteral("Error data Value, please input according the step value(6.25K/5k)."));
    QCOMPARE(s.Row(r), QStringList(static_cast<int>(lastCol), QString()));
    QCOMPARE((std::pair{g->Row(), g->Col()}), (std::pair{r, 3L}));
  });
}

void SheetTest::typingOnTheTableStartsEditing_data() { Programs(); }

// With no editor open, a character typed on the table opens the current
// cell's editor with it; Del there clears the selected rows.
void SheetTest::typingOnTheTableStartsEditing() {
  QFETCH(QString, program);
  Run(program, "English", [&](SessionBase& s, long r) {
    s.Type(r, 1, QStringLiteral("150.0"));
    s.Click(r, 1);
    QTest::keyClick(s.Editor(1), Qt::Key_Escape);
    QVERIFY(!s.Editor(1)->isVisible());
    QTest::keyClick(s.Grid(), Qt::Key_1);
    QVERIFY(s.Editor(1)->isVisible());
    QCOMPARE(qobject_cast<QLineEdit*>(s.Editor(1))->text(), QStringLiteral("1"));
    QTest::keyClicks(s.Editor(1), QStringLiteral("45.0125"));
    QTest::keyClick(s.Editor(1), Qt::Key_Return);
    QCOMPARE(s.Row(r).value(0), QStringLiteral("145.01250"));

    s.Click(r, 5);
    QTest::keyClick(s.Editor(5), Qt::Key_Escape);
    QTest::keyClick(s.Grid(), Qt::Key_L);
    QCOMPARE(qobject_cast<QComboBox*>(s.Editor(5))->currentText(), QStringLiteral("Low"));
    QTest::keyClick(s.Editor(5), Qt::Key_Return);
    QCOMPARE(s.Row(r).value(4), QStringLiteral("Low"));

    ClickRowLabel(s, r);
    QTest::keyClick(s.Grid(), Qt::Key_Delete);
    QCOMPARE(s.Row(r), QStringList(s.Row(r).size(), QString()));
  });
}

void SheetTest::contextMenuOfTheRowLabels_data() { ProgramsAndLanguages(); }

// A right-click on a row label outside the selection selects that row and
// opens the table's menu with the Edit menu's texts; its Clear Rows clears
// that row only.
void SheetTest::contextMenuOfTheRowLabels() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  const bool chinese = language == QLatin1String("Chinese");
  Run(program, language.toStdString(), [&](SessionBase& s, long r) {
    s.Type(r, 1, QStringLiteral("145.0125"));
    s.Type(r + 1, 1, QStringLiteral("146.0125"));
    ClickRowLabel(s, r);
    QHeaderView* labels = s.Grid()->verticalHeader();
    const QPoint at(labels->width() / 2, labels->sectionViewportPosition(static_cast<int>(r)) + 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, labels->viewport()->mapToGlobal(at));
    QApplication::sendEvent(labels->viewport(), &event);
    QMenu* menu = s.ChannelView()->TableMenu();
    QVERIFY(menu && menu->isVisible());
    QCOMPARE(s.Grid()->SelectedRows(), (std::vector<long>{r + 1}));
    QStringList texts;
    for (QAction* action : menu->actions())
      if (!action->isSeparator()) texts << action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    const QStringList expected =
        chinese ? QStringList{"剪切(T)", "复制(Y)", "粘贴(A)", "清除行(L)", "插入空行(I)", "删除行(D)",
                              "上移(V)", "下移(W)", "向下填充(F)"}
                : QStringList{"Cut", "Copy", "Paste", "Clear Rows", "Insert Row", "Delete Row",
                              "Move Up", "Move Down", "Fill Down"};
    QCOMPARE(texts, expected);
    test::MaybeScreenshotWithPopup(s.Frame(), Picture(program, language.toStdString(), "table-menu"), menu);
    menu->actions().at(4)->trigger();  // Clear Rows
    menu->close();
    QCOMPARE(s.Row(r + 1).value(0), QString());
    QCOMPARE(s.Row(r).value(0), QStringLiteral("145.01250"));
  });
}

void SheetTest::planFilesAndCompare_data() { Programs(); }

// File > Export CSV writes the plan of the table as shown; File > Import CSV
// of a faulty plan lists its lines and changes nothing, of the exported plan
// brings the table back; File > Compare with names what differs from a file.
void SheetTest::planFilesAndCompare() {
  QFETCH(QString, program);
  Run(program, "English", [&](SessionBase& s, long r) {
    test::TempDir dir;
    const radio::RadioModel& model = s.ChannelView()->Model();
    // Runs File command `id` on the file `name` of `dir`; what it showed.
    auto fileCommand = [&](int id, const std::string& name) {
      auto log = std::make_shared<Windows>();
      const QString path = QString::fromStdString(dir.File(name));
      test::WhenModal([&s, log, path](QWidget* w) {
        test::AcceptFileDialog(w, path);
        AnswerEach(log, s);
      });
      s.Frame()->RouteCommand(id);
      log->done = true;
      s.Activate();  // the offscreen platform hands nothing back after a window
      return log->seen;
    };
    s.Type(r, 1, QStringLiteral("145.0125"));
    s.Type(r + 1, 1, QStringLiteral("146.0"));
    const QStringList first = s.Row(r), second = s.Row(r + 1);
    const QStringList empty(first.size(), QString());
    fileCommand(shell::ID_FILE_EXPORT_CSV, "plan.csv");
    const std::string plan = dir.Read("plan.csv");
    QCOMPARE(plan, radio::ExportCsv(model, s.ChannelView()->Doc().Capture().image));

    ClickRowLabel(s, r);
    ClickRowLabel(s, r + 1, Qt::ShiftModifier);
    QTest::keyClick(s.Grid(), Qt::Key_Delete);
    std::string faulty = plan;
    faulty.replace(faulty.find("145.01250,145.01250"), 9, "145.01300");
    dir.Write("faulty.csv", faulty);
    const QString line = QString::number(r + 1);  // the header is line 1
    QCOMPARE(fileCommand(shell::ID_FILE_IMPORT_CSV, "faulty.csv"),
             (QStringList{"Import CSV", "The CSV file was not imported; nothing was changed:",
                          "Line " + line + ": Rx Frequency 145.01300 is not on the 5 kHz or 6.25 kHz raster."}));
    QCOMPARE(s.Row(r), empty);
    QCOMPARE(fileCommand(shell::ID_FILE_IMPORT_CSV, "plan.csv"),
             (QStringList{"Import CSV", QStringLiteral("Imported %1 channels and the options.")
                                            .arg(model.table->channelRows)}));
    QCOMPARE(s.Row(r), first);
    QCOMPARE(s.Row(r + 1), second);
    QTest::keyClick(s.Grid(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.Row(r + 1), empty);
    QTest::keyClick(s.Grid(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(s.Row(r + 1), second);

    const radio::MemoryImage now = s.ChannelView()->Doc().Capture().image;
    radio::SaveDatFile(dir.File("other.dat"), now.data(), now.size());
    s.Click(r, 1);
    qobject_cast<QLineEdit*>(s.Editor(1))->clear();  // Varo199V3's box keeps the old text
    QTest::keyClicks(s.Editor(1), QStringLiteral("147.0"));
    QTest::keyClick(s.Editor(1), Qt::Key_Return);
    QCOMPARE(fileCommand(shell::ID_FILE_COMPARE, "other.dat"),
             (QStringList{"Compare with other.dat", "Document and other.dat differ in 1 place:",
                          "Channel 1, Rx Frequency: Document 147.00000, other.dat 145.01250"}));
  });
}

QTEST_MAIN(SheetTest)
#include "SheetTest.moc"
