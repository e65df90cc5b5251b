// varo-icons: draws the icons of the suite's desktop entries, from the
// programs' own artwork, at the sizes of the freedesktop icon theme.
//
//   varo-icons OUTDIR ID:KIND...
//
// writes OUTDIR/<size>x<size>/apps/<ID>.png for every size. KIND "launcher"
// is the launcher's radio; any other KIND is the programmers' radio with
// KIND (the radio's channel count, "16", "199") on a badge, so that the
// programmers' entries tell apart in a menu.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

#include "launcher/ui/CVaroDlg.h"
#include "shell/ShellIcons.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The programmers' radio with `badge` in its lower right corner; below 32
// pixels a coloured corner stands for the text, which could not be read.
QImage Programmer(int size, const QString& badge) {
  QImage image = varo::shell::RadioImage(size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colour = badge == QLatin1String("16") ? QColor(0xd0, 0x4a, 0x1e)
                                                     : QColor(0x1e, 0x7a, 0x3c);
  if (size < 32) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(size * 0.62, size * 0.62, size * 0.38, size * 0.38));
    return image;
  }
  // The badge takes at most 60% of the width, leaving the radio in view.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  int pixels = std::max(9, size * 10 / 32);
  font.setPixelSize(pixels);
  while (pixels > 8 && QFontMetricsF(font).horizontalAdvance(badge) + size / 8.0 > size * 0.6) {
    font.setPixelSize(--pixels);
  }
  p.setFont(font);
  const QFontMetricsF metrics(font);
  const double width = metrics.horizontalAdvance(badge) + size / 8.0;
  const double height = metrics.height() + size / 32.0;
  const QRectF box(size - width - 0.5, size - height - 0.5, width, height);
  p.setPen(QPen(Qt::white, std::max(1.0, size / 48.0)));
  p.setBrush(colour);
  p.drawRoundedRect(box, height / 4, height / 4);
  p.setPen(Qt::white);
  p.drawText(box, Qt::AlignCenter, badge);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fputs("usage: varo-icons OUTDIR ID:KIND...\n", stderr);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (int i = 2; i < argc; ++i) {
    const QStringList parts = QString::fromLocal8Bit(argv[i]).split(QLatin1Char(':'));
    if (parts.size() != 2) {
      std::fprintf(stderr, "varo-icons: not ID:KIND: %s\n", argv[i]);
      return 2;
    }
    for (int size : kSizes) {
      const QString folder = QStringLiteral("%1x%1/apps").arg(size);
      const QImage icon = parts[1] == QLatin1String("launcher")
                              ? varo::CVaroDlg::LauncherPixmap(size).toImage()
                              : Programmer(size, parts[1]);
      if (!out.mkpath(folder) ||
          !icon.save(out.filePath(folder + QLatin1Char('/') + parts[0] + QStringLiteral(".png")))) {
        std::fprintf(stderr, "varo-icons: cannot write into %s\n", argv[1]);
        return 1;
      }
    }
  }
  return 0;
}
