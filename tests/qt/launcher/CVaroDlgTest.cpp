// Drives the launcher's dialog offscreen with real clicks and keys, the
// launcher's folder pointed at a temporary folder.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ini/IniProfile.h"
#include "launcher/Launcher.h"
#include "launcher/ProgramStarter.h"
#include "launcher/ui/CVaroDlg.h"
#include "platform/ProgramFiles.h"
#include "qt/support/ProgramFixture.h"
#include "support/TempDir.h"

namespace varo {
namespace {

class RecordingStarter : public ProgramStarter {
 public:
  bool Start(const std::string& path) override {
    started.push_back(path);
    return true;
  }
  std::vector<std::string> started;
};

const std::string kFourProducts = "[Setup]\nType=Varo16,Varo199,Varo199V2,Varo199V3\nDefault=3\n";

// The launcher INI, the launcher and its shown dialog over one temporary
// folder, holding stand-ins for the suite's own two programmers.
struct Fixture {
  Fixture(const std::string& varoIni, ProgramStarter& starter) : launcher(ini, starter) {
    SetProgramDirectory(dir.path().string());
    for (const char* program : {"Varo16", "Varo199V3"}) {
      const std::string path = dir.Write(std::string(program) + ExecutableSuffix(), "#!/bin/sh\n");
      std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    dir.Write("Varo.ini", varoIni);
    ini.Open("Varo.ini", true, true, false);
    dialog = std::make_unique<CVaroDlg>(launcher);
    dialog->show();
  }
  ~Fixture() { SetProgramDirectory(""); }

  template <typename T = QWidget>
  T* Control(const char* name) {
    T* control = dialog->findChild<T*>(name);
    if (!control) qFatal("no control %s", name);
    return control;
  }
  void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }

  test::TempDir dir;
  IniProfile ini;
  Launcher launcher;
  std::unique_ptr<CVaroDlg> dialog;
};

// The process (not a zombie) running the program file at `path`, 0 for none.
pid_t RunningProgram(const std::string& path) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    if (std::filesystem::read_symlink(entry.path() / "exe", error).string() != path) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string pid, command, state;
    stat >> pid >> command >> state;
    if (state != "Z") return static_cast<pid_t>(std::stol(name));
  }
  return 0;
}

}  // namespace

class CVaroDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void okStartsTheChosenProgrammerFromTheLaunchersFolder() {
    SystemProgramStarter starter;
    Fixture f(kFourProducts + "Language=Chinese\n", starter);
    // Stand-ins for the programmers: each notes its own name in "started".
    for (const char* program : {"Varo16", "Varo199", "Varo199V2", "Varo199V3"}) {
      const std::string path =
          f.dir.Write(std::string(program) + ExecutableSuffix(),
                      "#!/bin/sh\nbasename \"$0\" > \"$(dirname \"$0\")/started\"\n");
      std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    auto* list = f.Control<QComboBox>("productList");
    QCOMPARE(list->currentIndex(), 3);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    f.Click("englishBox");
    f.Click("ok");

    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.dir.Read("Varo16.ini"), std::string("[Setup]\nLanguage=English\n"));
    QTRY_COMPARE_WITH_TIMEOUT(f.dir.Read("started"),
                              "Varo16" + std::string(ExecutableSuffix()) + "\n", 10000);
    f.ini.Close();
    QCOMPARE(f.dir.Read("Varo.ini"),
             "[Setup]\nType=Varo16,Varo199,Varo199V2,Varo199V3\nDefault=0\nLanguage=English\n");
  }

  // OK with nothing selected starts the suite's real Varo199V3 from a copy
  // of the suite folder: it runs its start-up in the language written for
  // it, up to its first document, whose band step opens the registry store.
  void okWithNoSelectionStartsVaro199V3() {
    SystemProgramStarter starter;
    Fixture f("[Setup]\nType=\nLanguage=English\n", starter);
    // The real program in place of the fixture's stand-in.
    for (const char* name : {"Varo199V3", "Varo199V3.ini", "English199V3.lng"})
      std::filesystem::copy(std::filesystem::path(VARO_SUITE_DIR) / name, f.dir.path() / name,
                            std::filesystem::copy_options::overwrite_existing);
    const std::filesystem::path config = f.dir.path() / "config";
    std::filesystem::create_directories(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QCOMPARE(f.Control<QComboBox>("productList")->currentIndex(), -1);
    f.Click("ok");
    unsetenv("XDG_CONFIG_HOME");

    const std::string program = f.dir.File("Varo199V3");
    pid_t started = 0;
    QTRY_VERIFY_WITH_TIMEOUT((started = RunningProgram(program)) != 0, 10000);
    const bool reachedItsDocument = QTest::qWaitFor(
        [&] { return std::filesystem::exists(config / "varo" / "registry.ini"); }, 20000);
    ::kill(started, SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(RunningProgram(program) == 0, 10000);
    QVERIFY(reachedItsDocument);
    QVERIFY(f.dir.Read("Varo199V3.ini").find("Language=English\n") != std::string::npos);
    f.ini.Close();
    QVERIFY(f.dir.Read("Varo.ini").find("Default=-1\n") != std::string::npos);
  }

  // OK that can start nothing says why in the launcher's language and leaves
  // the dialog open for another choice: a product INI that cannot be written
  // (here a link to a device), or a programmer that is not in the folder (the
  // sibling programmers come apart from this suite).
  void okThatStartsNothingSaysWhyAndStaysOpen() {
    const struct {
      int position;
      const char* language;
      const char* message;  // %1: the product INI, %2: the launcher's folder
    } cases[] = {
        {0, "English", "Cannot write the file \"%1\". Varo16 was not started."},
        {0, "Chinese", "无法写入文件“%1”，Varo16 未启动。"},
        {1, "English",
         "The program Varo199 is not in the folder \"%2\". It was not started; choose another "
         "product."},
        {2, "Chinese", "文件夹“%2”中没有程序 Varo199V2，未能启动；请选择其他产品。"},
    };
    for (const auto& c : cases) {
      RecordingStarter starter;
      Fixture f(kFourProducts + "Language=" + c.language + "\n", starter);
      const std::string productIni = Launcher::IniPath(Launcher::ProductAt(c.position));
      if (c.position == 0) std::filesystem::create_symlink("/dev/null", productIni);
      f.Control<QComboBox>("productList")->setCurrentIndex(c.position);
      QStringList shown;
      test::Answer(&shown);
      f.Click("ok");
      QCOMPARE(shown.value(1), QString::fromUtf8(c.message)
                          .replace(QStringLiteral("%1"), QString::fromStdString(productIni))
                          .replace(QStringLiteral("%2"), QString::fromStdString(ProgramDirectory())));
      QVERIFY(f.dialog->isVisible());
      QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
      QVERIFY(starter.started.empty());
    }
  }

  void languageBoxesActAsOneChoiceAndCancelKeepsTheLast() {
    RecordingStarter starter;
    Fixture f("", starter);
    QVERIFY(f.Control<QCheckBox>("chineseBox")->isChecked());
    // Each click, on the checked box too, leaves exactly the clicked one checked.
    for (const char* box : {"chineseBox", "englishBox", "englishBox", "chineseBox", "englishBox"}) {
      f.Click(box);
      const bool english = std::string(box) == "englishBox";
      QCOMPARE(f.Control<QCheckBox>("englishBox")->isChecked(), english);
      QCOMPARE(f.Control<QCheckBox>("chineseBox")->isChecked(), !english);
      QCOMPARE(f.Control<QLabel>("productLabel")->text(),
               QString::fromUtf8(english ? "Select Product" : "请选择产品"));
    }
    f.Click("cancel");
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QVERIFY(starter.started.empty());
    f.ini.Close();
    QCOMPARE(f.dir.Read("Varo.ini"), std::string("[Setup]\nLanguage=English\n"));
  }

  // Every control holds its text and lies inside the dialog. With
  // VARO_SCREENSHOT_DIR set, pictures of both languages go there.
  void textsFitTheirControlsInBothLanguages() {
    for (const char* language : {"English", "Chinese"}) {
      RecordingStarter starter;
      Fixture f(kFourProducts + "AppName=Varo Radio Programming Suite\nLanguage=" + language + "\n",
                starter);
      for (QWidget* control :
           f.dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        // A push button's own size hint holds a style minimum beyond its text.
        const auto* button = qobject_cast<QPushButton*>(control);
        const int needed = button ? button->fontMetrics().horizontalAdvance(button->text()) +
                                        2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin)
                                  : control->sizeHint().width();
        QVERIFY2(needed <= control->width(), qPrintable(control->objectName()));
        QVERIFY2(f.dialog->rect().contains(control->geometry()), qPrintable(control->objectName()));
      }
      test::MaybeScreenshot(f.dialog.get(), *language == 'E' ? "launcher-en.png" : "launcher-zh.png",
                            true);
    }
  }
};

}  // namespace varo

QTEST_MAIN(varo::CVaroDlgTest)
#include "CVaroDlgTest.moc"
