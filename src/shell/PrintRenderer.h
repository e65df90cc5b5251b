#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <string>

#include "radio/GridControl.h"
#include "radio/MemoryImage.h"
#include "radio/PrintModel.h"
#include "radio/RadioModel.h"

class QPaintDevice;
class QPainter;
class QPagedPaintDevice;
class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace varo::shell {

// A report as laid out for one output device: its page count and its pages
// (1-based) as draw items.
struct LaidOutReport {
  int pageCount = 0;
  std::function<radio::PrintPage(int page)> page;
};

// Lays a report out for a device's printable area and font metrics. Called
// anew for every job, so each job reads the table and image as they are.
using ReportMaker =
    std::function<LaidOutReport(const radio::PrintArea&, const radio::PrintFontMetrics&)>;

// The report of a document of radio `model`: options page from `image`,
// channel pages from `grid`, owner line `owner`. They are read when a job is
// laid out and must outlive the maker.
ReportMaker RadioReport(const radio::RadioModel& model, const radio::GridControl& grid,
                        const radio::MemoryImage& image, bool chinese, std::string owner);

// The report's font as the device draws it: the face (a serif face where
// Times New Roman is missing), a character cell `height` twips high and an
// average character `width` twips wide.
QFont PrintFontFor(const radio::PrintFont& font, const QPaintDevice& device);

// Line heights (text height plus external leading) measured on a device.
class DeviceFontMetrics : public radio::PrintFontMetrics {
 public:
  explicit DeviceFontMetrics(const QPaintDevice& device) : device_(device) {}
  int LineHeight(const radio::PrintFont& font) const override;

 private:
  const QPaintDevice& device_;
};

// Draws reports with QPainter: onto a printer through the print dialog, onto
// the default printer directly, into Qt's print preview, and into a PDF file
// without any printer. Twips map to device pixels by the device resolution;
// y, which grows upward in the layout, grows downward on the page.
//
//   PrintRenderer renderer(RadioReport(model, grid, doc.Image(), app.Chinese(), owner));
//   renderer.Print(printer, frame);      // Print (57607)
//   renderer.PrintDirect(printer);       // direct Print (57608)
//   renderer.Preview(printer, frame);    // Print Preview (57609)
//   renderer.PrintToPdf("report.pdf");
class PrintRenderer {
 public:
  explicit PrintRenderer(ReportMaker maker) : maker_(std::move(maker)) {}

  // The page count of the report on `device`.
  int PageCount(const QPaintDevice& device) const;

  // Draws pages `first` to `last` (1-based, inclusive; 0 for the first or
  // last page of the report) onto `device`, one device page each. Returns
  // the number of pages drawn, 0 when the device could not be painted on.
  int Render(QPagedPaintDevice& device, int first = 0, int last = 0) const;
  // The same for a printer, honouring the page range and the copies it was
  // set up with.
  int Render(QPrinter& printer) const;

  // Print: the print dialog offers pages 1 to the page count; OK prints.
  // False when the user cancelled or nothing could be printed.
  bool Print(QPrinter& printer, QWidget* parent) const;
  // Direct print on `printer` as it is set up, all pages, no dialog. False
  // when the printer cannot be used (for example none is installed).
  bool PrintDirect(QPrinter& printer) const;
  // Print preview, modal; its print button prints on `printer`.
  void Preview(QPrinter& printer, QWidget* parent) const;
  // A print preview dialog that is not yet shown (the caller owns it; the
  // renderer must outlive it).
  QPrintPreviewDialog* MakePreview(QPrinter& printer, QWidget* parent) const;
  // Writes the report as a PDF file at `path` (A4, the printer's default
  // margins). False when the file could not be written.
  bool PrintToPdf(const QString& path) const;

 private:
  int RenderCopies(QPagedPaintDevice& device, int first, int last, int copies) const;
  void DrawPage(QPainter& painter, const QPaintDevice& device,
                const radio::PrintPage& page) const;

  ReportMaker maker_;
};

}  // namespace varo::shell
