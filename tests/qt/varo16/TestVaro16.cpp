#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "Varo16Fixture.h"
#include "shell/CMainFrame.h"

using namespace varo;

class TestVaro16 : public QObject {
  Q_OBJECT

 private slots:
  void startsInEnglish();
};

void TestVaro16::startsInEnglish() {
  test::Varo16Folder folder("English");
  auto app = folder.Start();
  QVERIFY(app);
  shell::CMainFrame* frame = app->MainFrame();
  QVERIFY(frame);
  frame->showNormal();
  frame->resize(1100, 700);
  QTest::qWait(50);
  test::MaybeScreenshot(frame, QStringLiteral("main-en.png"));
}

QTEST_MAIN(TestVaro16)
#include "TestVaro16.moc"
