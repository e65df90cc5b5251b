#include "shell/ShellIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

#include "shell/CommandIds.h"

namespace varo::shell {
namespace {

// Every picture is drawn on a 16 x 16 grid and scaled.
QPixmap Draw(int size, void (*paint)(QPainter&)) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  paint(p);
  return pm;
}

void PaintNew(QPainter& p) {
  QPainterPath page;
  page.moveTo(3, 1.5);
  page.lineTo(10, 1.5);
  page.lineTo(13.5, 5);
  page.lineTo(13.5, 14.5);
  page.lineTo(3, 14.5);
  page.closeSubpath();
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.setBrush(Qt::white);
  p.drawPath(page);
  p.setBrush(QColor(215, 215, 215));
  p.drawPolygon(QPolygonF({{10, 1.5}, {10, 5}, {13.5, 5}}));
  p.setPen(QPen(QColor(80, 130, 200), 0.8));
  for (double y = 7.5; y < 13; y += 2) p.drawLine(QPointF(5, y), QPointF(11.5, y));
}

void PaintOpen(QPainter& p) {
  p.setPen(QPen(QColor(150, 110, 20), 0.9));
  p.setBrush(QColor(240, 200, 80));
  p.drawPolygon(QPolygonF({{1, 3}, {6, 3}, {7, 4.5}, {13, 4.5}, {13, 13}, {1, 13}}));
  p.setBrush(QColor(255, 225, 120));
  p.drawPolygon(QPolygonF({{3, 7}, {15.5, 7}, {13, 13}, {1, 13}}));
  p.setPen(QPen(QColor(40, 120, 40), 1.3));
  p.drawLine(QPointF(10, 1), QPointF(13.5, 1));
  p.drawLine(QPointF(13.5, 1), QPointF(13.5, 4));
}

void PaintSave(QPainter& p) {
  p.setPen(QPen(QColor(20, 40, 100), 0.9));
  p.setBrush(QColor(50, 90, 180));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 1.5, 8, 5.5));
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(4, 9.5, 8, 5));
  p.setBrush(QColor(50, 90, 180));
  p.drawRect(QRectF(9.5, 2.5, 1.5, 3.5));
}

void PaintRadioBody(QPainter& p, double x) {
  p.setPen(QPen(QColor(30, 30, 30), 0.8));
  p.setBrush(QColor(60, 60, 60));
  p.drawRect(QRectF(x + 1.5, 0.5, 1.2, 4));  // antenna
  p.setBrush(QColor(70, 75, 85));
  p.drawRoundedRect(QRectF(x, 4, 6, 11.5), 1.2, 1.2);
  p.setBrush(QColor(150, 210, 160));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(x + 1, 5.5, 4, 2.5));  // display
  p.setBrush(QColor(200, 200, 200));
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 2; ++c) p.drawRect(QRectF(x + 1.2 + c * 2, 9.3 + r * 2, 1.4, 1.2));
}

void PaintArrow(QPainter& p, QColor color, bool toRadio) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  // A horizontal arrow between the radio (left) and the computer (right).
  if (toRadio) {
    p.drawPolygon(QPolygonF({{8, 9}, {11.5, 5.5}, {11.5, 7.7}, {15.5, 7.7}, {15.5, 10.3},
                             {11.5, 10.3}, {11.5, 12.5}}));
  } else {
    p.drawPolygon(QPolygonF({{15.5, 9}, {12, 5.5}, {12, 7.7}, {8, 7.7}, {8, 10.3}, {12, 10.3},
                             {12, 12.5}}));
  }
}

void PaintRead(QPainter& p) {
  PaintRadioBody(p, 0.5);
  PaintArrow(p, QColor(30, 150, 50), false);
}

void PaintWrite(QPainter& p) {
  PaintRadioBody(p, 0.5);
  PaintArrow(p, QColor(200, 50, 40), true);
}

// A curved arrow turning back to the left (Undo) or on to the right (Redo).
void PaintTurn(QPainter& p, bool back) {
  if (!back) {
    p.translate(16, 0);
    p.scale(-1, 1);
  }
  QPainterPath arc;
  arc.moveTo(4.5, 6.5);
  arc.cubicTo(8, 3.5, 14.5, 4, 14, 10);
  arc.cubicTo(13.7, 12.5, 11.5, 13.8, 9, 14);
  p.setPen(QPen(QColor(40, 90, 170), 2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(arc);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 90, 170));
  p.drawPolygon(QPolygonF({{1, 6.8}, {6.5, 2.5}, {7.2, 9.5}}));
}

void PaintUndo(QPainter& p) { PaintTurn(p, true); }

void PaintRedo(QPainter& p) { PaintTurn(p, false); }

// The radio with a tick: its memory compared with the document.
void PaintVerify(QPainter& p) {
  PaintRadioBody(p, 0.5);
  p.setPen(QPen(QColor(30, 140, 60), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{8.5, 9}, {11, 12}, {15.5, 5}}));
}

// Scissors: two blades crossing over two finger rings.
void PaintCut(QPainter& p) {
  p.setPen(QPen(QColor(90, 90, 100), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(4.5, 1.5), QPointF(10, 10));
  p.drawLine(QPointF(11.5, 1.5), QPointF(6, 10));
  p.setPen(QPen(QColor(200, 40, 40), 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(4.5, 12), 2.2, 2.2);
  p.drawEllipse(QPointF(11.5, 12), 2.2, 2.2);
}

// A sheet of cells, as a copy's pages.
void PaintSheet(QPainter& p, double x, double y) {
  p.setPen(QPen(QColor(90, 90, 90), 0.9));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(x, y, 8, 10));
  p.setPen(QPen(QColor(80, 130, 200), 0.7));
  for (double row = y + 2.5; row < y + 10; row += 2.5) p.drawLine(QPointF(x + 1, row), QPointF(x + 7, row));
  p.drawLine(QPointF(x + 4, y + 1), QPointF(x + 4, y + 9));
}

void PaintCopy(QPainter& p) {
  PaintSheet(p, 1.5, 1.5);
  PaintSheet(p, 6.5, 4.5);
}

void PaintPaste(QPainter& p) {
  p.setPen(QPen(QColor(120, 80, 30), 0.9));
  p.setBrush(QColor(200, 150, 80));
  p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12.5), 1, 1);
  p.setBrush(QColor(170, 170, 180));
  p.drawRect(QRectF(4, 1, 5, 3));
  PaintSheet(p, 6.5, 5);
}

void PaintPrint(QPainter& p) {
  p.setPen(QPen(QColor(70, 70, 70), 0.8));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 1, 8, 5));
  p.setBrush(QColor(170, 170, 180));
  p.drawRoundedRect(QRectF(1, 5.5, 14, 6), 1, 1);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 9.5, 8, 5.5));
  p.setPen(QPen(QColor(100, 100, 100), 0.7));
  p.drawLine(QPointF(5.5, 11.5), QPointF(10.5, 11.5));
  p.drawLine(QPointF(5.5, 13.2), QPointF(10.5, 13.2));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 190, 60));
  p.drawEllipse(QPointF(13, 7.5), 0.8, 0.8);
}

void PaintAbout(QPainter& p) {
  QRadialGradient g(QPointF(6, 5), 9);
  g.setColorAt(0, QColor(120, 170, 240));
  g.setColorAt(1, QColor(30, 70, 170));
  p.setPen(QPen(QColor(20, 50, 130), 0.8));
  p.setBrush(g);
  p.drawEllipse(QRectF(1, 1, 14, 14));
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setBold(true);
  f.setPixelSize(11);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

void PaintClose(QPainter& p) {
  p.setPen(QPen(QColor(40, 40, 40), 1.6, Qt::SolidLine, Qt::SquareCap));
  p.drawLine(QPointF(4.5, 4.5), QPointF(11, 11));
  p.drawLine(QPointF(11, 4.5), QPointF(4.5, 11));
}

void PaintRadio(QPainter& p) {
  p.setPen(QPen(QColor(20, 20, 25), 0.5));
  p.setBrush(QColor(45, 45, 50));
  p.drawRoundedRect(QRectF(5.2, 0.4, 1.6, 5), 0.6, 0.6);  // antenna
  p.drawRect(QRectF(9.5, 2.5, 1.6, 2.5));                 // knob
  QLinearGradient body(0, 4, 16, 4);
  body.setColorAt(0, QColor(55, 60, 70));
  body.setColorAt(0.5, QColor(95, 100, 115));
  body.setColorAt(1, QColor(50, 55, 65));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(3.5, 4.5, 9, 11.2), 1.6, 1.6);
  QLinearGradient screen(0, 6, 0, 9);
  screen.setColorAt(0, QColor(170, 230, 185));
  screen.setColorAt(1, QColor(110, 190, 130));
  p.setBrush(screen);
  p.setPen(QPen(QColor(30, 60, 40), 0.3));
  p.drawRoundedRect(QRectF(5, 6, 6, 3), 0.4, 0.4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(215, 220, 225));
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) p.drawRoundedRect(QRectF(5.1 + c * 2.1, 10 + r * 1.8, 1.6, 1.2), 0.3, 0.3);
  p.setBrush(QColor(230, 60, 50));
  p.drawEllipse(QPointF(11.3, 5.3), 0.45, 0.45);  // transmit lamp
}

// Soft background with faint radio waves. The shading runs top to bottom and
// back, and each wave is drawn with its copies one tile away, so the tiles
// meet without a seam.
QImage PaintTile(QColor edge, QColor middle, QColor wave, int arcs) {
  QImage img(238, 157, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, 157);
  g.setColorAt(0, edge);
  g.setColorAt(0.5, middle);
  g.setColorAt(1, edge);
  p.fillRect(img.rect(), g);
  p.setBrush(Qt::NoBrush);
  for (int dx : {-238, 0, 238}) {
    for (int dy : {-157, 0, 157}) {
      const QPointF c(70 + dx, 118 + dy);
      for (int i = 1; i <= arcs; ++i) {
        QColor w = wave;
        w.setAlpha(std::max(8, 64 - i * 9));
        p.setPen(QPen(w, 1.6));
        const double r = 13.0 * i;
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 25 * 16, 40 * 16);
      }
    }
  }
  return img;
}

}  // namespace

QIcon ToolbarIcon(int id) {
  void (*paint)(QPainter&) = nullptr;
  switch (id) {
    case ID_FILE_NEW: paint = PaintNew; break;
    case ID_FILE_OPEN: paint = PaintOpen; break;
    case ID_FILE_SAVE: paint = PaintSave; break;
    case ID_READ: paint = PaintRead; break;
    case ID_WRITE: paint = PaintWrite; break;
    case ID_VERIFY: paint = PaintVerify; break;
    case ID_EDIT_UNDO: paint = PaintUndo; break;
    case ID_EDIT_REDO: paint = PaintRedo; break;
    case ID_EDIT_CUT: paint = PaintCut; break;
    case ID_EDIT_COPY: paint = PaintCopy; break;
    case ID_EDIT_PASTE: paint = PaintPaste; break;
    case ID_FILE_PRINT: paint = PaintPrint; break;
    case ID_APP_ABOUT: paint = PaintAbout; break;
    default: return {};
  }
  QIcon icon;
  for (int size : {16, 24, 32}) icon.addPixmap(Draw(size, paint));
  return icon;
}

QPixmap CloseIcon(int size) { return Draw(size, PaintClose); }

QImage RadioImage(int size) { return Draw(size, PaintRadio).toImage(); }

QIcon RadioIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(Draw(size, PaintRadio));
  return icon;
}

QImage BuiltInBackground() {
  return PaintTile(QColor(224, 228, 234), QColor(212, 217, 226), QColor(120, 130, 150), 5);
}

QImage SuiteBackground() {
  return PaintTile(QColor(218, 229, 242), QColor(203, 218, 237), QColor(60, 110, 180), 6);
}

}  // namespace varo::shell
