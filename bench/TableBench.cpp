// table_bench: how quickly Varo199V3 shows a full 200-row table, on the
// offscreen platform with real widgets: opening a document whose 200 rows are
// all programmed and named (document, view, table filled, window shown), the
// refill a completed read runs (image to table and the band step), and
// scrolling from the top of the table to row 200 with the rows painted.
//
//   QT_QPA_PLATFORM=offscreen build/bench/table_bench [repeats]
//
// Prints the median and the slowest of each figure in milliseconds.
#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "model199/ChannelCodec.h"
#include "model199/ChannelTable.h"
#include "model199/MemoryImage.h"
#include "model199/ui/CVaro_199App.h"
#include "platform/ProgramFiles.h"
#include "radio/MemoryGrid.h"
#include "shell/CChildFrame.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/ChannelView.h"
#include "shell/RadioDocument.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// A document with every row programmed: frequencies, tones, power, lock
// and a six-character name.
varo::radio::MemoryImage FullImage(int shift) {
  varo::radio::MemoryGrid grid(varo::model199::kTableRows, varo::model199::kTableCols);
  for (long row = 1; row <= 200; ++row) {
    const std::string mhz = std::to_string(140 + (row + shift) / 10) + "." +
                            std::to_string(100000 + (row % 8) * 1250).substr(1);
    grid.SetTextMatrix(row, 1, mhz);
    grid.SetTextMatrix(row, 2, mhz);
    grid.SetTextMatrix(row, 3, row % 2 ? "67.0" : "D023N");
    grid.SetTextMatrix(row, 4, row % 3 ? "None" : "D754I");
    grid.SetTextMatrix(row, 5, row % 2 ? "High" : "Middle");
    grid.SetTextMatrix(row, 6, "Lock");
    grid.SetTextMatrix(row, 7, "CH-" + std::to_string((row + shift) % 1000));
  }
  varo::radio::MemoryImage image = varo::model199::NewImage();
  varo::model199::TableToImage(grid, image);
  return image;
}

struct Figure {
  const char* what;
  std::vector<double> ms;
};

double Time(const std::function<void()>& run) {
  const auto start = Clock::now();
  run();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

  // A program folder of its own: the delivered INI and modules.
  const fs::path folder = fs::temp_directory_path() / ("table_bench." + std::to_string(::getpid()));
  fs::create_directories(folder / "config");
  const fs::path delivered = fs::path(VARO_SOURCE_DIR) / "resources" / "suite";
  for (const char* name : {"Varo199V3.ini", "English199V3.lng", "Chinese199V3.lng"})
    fs::copy_file(delivered / name, folder / name, fs::copy_options::overwrite_existing);
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  varo::SetProgramDirectory(folder.string());
  // Two memories that differ in every row, so that each refill changes
  // every cell, as a read from another radio does.
  const varo::radio::MemoryImage image = FullImage(0);
  const varo::radio::MemoryImage other = FullImage(7);
  const fs::path dat = folder / "full.dat";
  std::ofstream(dat, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.bytes.data()),
             static_cast<std::streamsize>(image.bytes.size()));

  Figure open{"open a full document (200 rows shown)", {}};
  Figure refill{"refill after a read (image to table, band step)", {}};
  Figure scroll{"scroll to row 200 and paint", {}};
  {
    varo::model199::ui::CVaro_199App app;
    if (!app.InitInstance({QStringLiteral("Varo199V3")})) return 1;
    app.MainFrame()->showNormal();
    app.MainFrame()->resize(1100, 680);
    QApplication::processEvents();
    const QString path = QString::fromStdString(dat.string());
    for (int i = 0; i < repeats; ++i) {
      open.ms.push_back(Time([&] {
        app.OpenDocumentFile(path);
        QApplication::processEvents();
      }));
      // Documents pile up as hidden windows, as they do for a user; drop them.
      app.MainFrame()->DestroyActiveChild();
    }
    app.OpenDocumentFile(path);
    auto* view = static_cast<varo::shell::CChannelView*>(&app.MainFrame()->ActiveChild()->View());
    varo::shell::CMSFlexGrid& grid = view->Grid();
    QApplication::processEvents();
    for (int i = 0; i < repeats; ++i) {
      view->Doc().Image() = i % 2 ? image : other;
      refill.ms.push_back(Time([&] {
        view->FillTableFromDocument();
        QApplication::processEvents();
      }));
      scroll.ms.push_back(Time([&] {
        grid.verticalScrollBar()->setValue(0);
        grid.viewport()->repaint();
        grid.SetRow(200);
        grid.scrollToBottom();
        grid.viewport()->repaint();
      }));
    }
    view->Doc().Image() = image;
    view->FillTableFromDocument();
    if (grid.TextMatrix(200, 7) != "CH-200") {
      std::fprintf(stderr, "table_bench: row 200 reads \"%s\"\n", grid.TextMatrix(200, 7).c_str());
      return 1;
    }
  }
  varo::SetProgramDirectory("");
  fs::remove_all(folder);

  std::printf("Varo199V3, 200 programmed rows, %d repeats (ms):\n", repeats);
  for (Figure* f : {&open, &refill, &scroll}) {
    std::sort(f->ms.begin(), f->ms.end());
    std::printf("  %-50s median %7.2f   slowest %7.2f\n", f->what, f->ms[f->ms.size() / 2],
                f->ms.back());
  }
  return 0;
}
