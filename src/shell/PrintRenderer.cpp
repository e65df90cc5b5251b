#include "shell/PrintRenderer.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "radio/PrintLayout.h"
#include "shell/ShellText.h"

namespace varo::shell {

namespace {

constexpr int kTwipsPerInch = 1440;

int ToPixels(long long twips, int dpi) { return static_cast<int>(twips * dpi / kTwipsPerInch); }

radio::PrintArea AreaOf(const QPaintDevice& device) {
  return {device.width(), device.height(), device.logicalDpiX(), device.logicalDpiY()};
}

// Faces for the Chinese words of a report, after the report's own face, which
// keeps the Latin letters and the digits; only those installed are named.
// Left to the system's fallback, a Japanese face may be taken. The first face
// draws Simplified Chinese and its characters read back from the PDF as
// written; the Noto CJK faces share some glyphs between a character and its
// Kangxi radical, and the PDF then names the radical (示 read as U+2F70).
QStringList ChineseFaces() {
  QStringList faces;
  for (const char* face : {"Droid Sans Fallback", "Noto Serif CJK SC", "Noto Sans CJK SC",
                           "Source Han Serif SC", "Source Han Sans SC"}) {
    if (QFontDatabase::hasFamily(QString::fromLatin1(face))) faces << QString::fromLatin1(face);
  }
  return faces;
}

// Draws `text` with its baseline starting at `at`. Qt 6.4 has no switch for a
// face's optional ligatures, and the serif faces join "ff", "fi" and "fl" into
// one glyph that text extraction reads back as a single compatibility
// character ("Off" becoming "O" + U+FB00). Those letter pairs are drawn as
// separate runs, each placed by the advance of the text before it, so the
// printed words read back as they were written.
void DrawUnjoined(QPainter& painter, const QPointF& at, const QString& text) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  qsizetype start = 0;
  for (qsizetype i = 1; i <= text.size(); ++i) {
    const bool joins = i < text.size() && text[i - 1] == u'f' &&
                       (text[i] == u'f' || text[i] == u'i' || text[i] == u'l');
    if (i < text.size() && !joins) continue;
    painter.drawText(QPointF(at.x() + metrics.horizontalAdvance(text.left(start)), at.y()),
                     text.mid(start, i - start));
    start = i;
  }
}

}  // namespace

ReportMaker RadioReport(const radio::RadioModel& model, const radio::GridControl& grid,
                        const radio::MemoryImage& image, bool chinese, std::string owner) {
  return [&model, &grid, &image, chinese, owner = std::move(owner)](
             const radio::PrintArea& area, const radio::PrintFontMetrics& metrics) {
    auto layout = std::make_shared<radio::PrintLayout>(*model.table, *model.report, grid, image,
                                                       area, metrics, chinese, owner);
    LaidOutReport report;
    report.pageCount = layout->PageCount();
    report.page = [layout](int page) { return layout->Page(page); };
    return report;
  };
}

QFont PrintFontFor(const radio::PrintFont& font, const QPaintDevice& device) {
  static const QStringList chinese = ChineseFaces();
  QFont qfont(QString::fromStdString(font.face));
  qfont.setStyleHint(QFont::Serif, QFont::PreferQuality);
  // The report's face as the system resolves it ("Times New Roman" is often
  // only a name for a look-alike), so that it stays first and the Chinese
  // faces only supply what it lacks.
  qfont.setFamilies(QStringList{QFontInfo(qfont).family()} + chinese);
  qfont.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  qfont.setStrikeOut(font.strikeOut);

  // The layout asks for a character cell (ascent plus descent) of `height`;
  // Qt sizes fonts by their em, so the size is corrected by the face's own
  // cell.
  const int cell = std::max(1, ToPixels(font.height, device.logicalDpiY()));
  qfont.setPixelSize(cell);
  const int measured = QFontMetrics(qfont, &device).height();
  if (measured > 0 && measured != cell) {
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(1.0 * cell * cell / measured))));
  }
  // The average character width the layout asks for, through the stretch.
  const int width = ToPixels(font.width, device.logicalDpiX());
  const int average = QFontMetrics(qfont, &device).averageCharWidth();
  if (width > 0 && average > 0) {
    qfont.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * width / average)), 1, 4000));
  }
  return qfont;
}

int DeviceFontMetrics::LineHeight(const radio::PrintFont& font) const {
  const QFontMetrics fm(PrintFontFor(font, device_), &device_);
  const int dpi = std::max(1, device_.logicalDpiY());
  return (fm.height() + fm.leading()) * kTwipsPerInch / dpi;
}

int PrintRenderer::PageCount(const QPaintDevice& device) const {
  const DeviceFontMetrics metrics(device);
  return maker_(AreaOf(device), metrics).pageCount;
}

void PrintRenderer::DrawPage(QPainter& painter, const QPaintDevice& device,
                             const radio::PrintPage& page) const {
  const int dpiX = device.logicalDpiX();
  const int dpiY = device.logicalDpiY();
  const QFont mainFont = PrintFontFor(page.mainFont, device);
  const QFont smallFont = PrintFontFor(page.smallFont, device);
  // Rules half a point wide, whatever the resolution.
  QPen pen(Qt::black);
  pen.setWidthF(std::max(1.0, dpiY / 144.0));
  painter.setPen(pen);
  for (const radio::DrawItem& item : page.items) {
    const int x = ToPixels(item.x, dpiX);
    const int y = ToPixels(-static_cast<long long>(item.y), dpiY);
    if (item.kind == radio::DrawItem::Kind::kRule) {
      painter.drawLine(x, y, ToPixels(item.x2, dpiX), y);
      continue;
    }
    painter.setFont(item.font == radio::FontRole::kMain ? mainFont : smallFont);
    // Items are placed by the top left corner of their text cell.
    DrawUnjoined(painter, QPointF(x, y + painter.fontMetrics().ascent()), FromBytes(item.text));
  }
}

int PrintRenderer::Render(QPagedPaintDevice& device, int first, int last) const {
  return RenderCopies(device, first, last, 1);
}

int PrintRenderer::Render(QPrinter& printer) const {
  const bool range = printer.printRange() == QPrinter::PageRange;
  // Devices that cannot make copies themselves (PDF among them) get the
  // pages once per copy.
  const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
  return RenderCopies(printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0,
                      copies);
}

int PrintRenderer::RenderCopies(QPagedPaintDevice& device, int first, int last, int copies) const {
  const DeviceFontMetrics metrics(device);
  const LaidOutReport report = maker_(AreaOf(device), metrics);
  const int from = first > 0 ? first : 1;
  const int to = last > 0 ? std::min(last, report.pageCount) : report.pageCount;
  if (from > to) return 0;
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  int drawn = 0;
  for (int copy = 0; copy < copies; ++copy) {
    for (int p = from; p <= to; ++p) {
      if (drawn > 0 && !device.newPage()) break;
      DrawPage(painter, device, report.page(p));
      ++drawn;
    }
  }
  painter.end();
  return drawn;
}

bool PrintRenderer::Print(QPrinter& printer, QWidget* parent) const {
  QPrintDialog dialog(&printer, parent);
  const int pages = PageCount(printer);
  dialog.setMinMax(1, pages);
  printer.setFromTo(1, pages);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  if (dialog.exec() != QDialog::Accepted) return false;
  return Render(printer) > 0;
}

bool PrintRenderer::PrintDirect(QPrinter& printer) const {
  if (!printer.isValid()) return false;
  printer.setPrintRange(QPrinter::AllPages);
  return Render(printer) > 0;
}

QPrintPreviewDialog* PrintRenderer::MakePreview(QPrinter& printer, QWidget* parent) const {
  auto* preview = new QPrintPreviewDialog(&printer, parent);
  preview->setObjectName(QStringLiteral("printPreview"));
  QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                   [this](QPrinter* target) { Render(*target); });
  return preview;
}

void PrintRenderer::Preview(QPrinter& printer, QWidget* parent) const {
  std::unique_ptr<QPrintPreviewDialog> preview(MakePreview(printer, parent));
  preview->exec();
}

bool PrintRenderer::PrintToPdf(const QString& path) const {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(path);
  return Render(printer) > 0;
}

}  // namespace varo::shell
