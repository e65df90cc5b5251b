// entry_sheet: a picture of the suite's installed desktop entries as a menu shows
// them, their icons at 16, 48 and 128 pixels from the hicolor theme beside
// their names and comments in both languages.
//
//   entry_sheet PREFIX OUT.png
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

struct Entry {
  QString file, name, comment, commentZh, exec, icon;
};

Entry Read(const QString& path) {
  Entry e;
  e.file = QFileInfo(path).fileName();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return e;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
    const QString key = line.section(QLatin1Char('='), 0, 0);
    const QString value = line.section(QLatin1Char('='), 1);
    if (key == QLatin1String("Name")) e.name = value;
    if (key == QLatin1String("Comment")) e.comment = value;
    if (key == QLatin1String("Comment[zh_CN]")) e.commentZh = value;
    if (key == QLatin1String("Exec")) e.exec = value;
    if (key == QLatin1String("Icon")) e.icon = value;
  }
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: entry_sheet PREFIX OUT.png\n", stderr);
    return 2;
  }
  const QDir share(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/share"));
  QList<Entry> entries;
  const QDir apps(share.filePath(QStringLiteral("applications")));
  for (const QString& name :
       apps.entryList({QStringLiteral("org.varo.*.desktop")}, QDir::Files, QDir::Name))
    entries << Read(apps.filePath(name));

  const int row = 150;
  QImage sheet(900, 20 + row * int(entries.size()), QImage::Format_ARGB32);
  sheet.fill(QColor(0xf4, 0xf5, 0xf7));
  QPainter p(&sheet);
  p.setRenderHint(QPainter::Antialiasing);
  int y = 10;
  for (const Entry& e : entries) {
    int x = 10;
    for (int size : {128, 48, 16}) {
      const QString path = share.filePath(
          QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(e.icon));
      const QImage icon(path);
      p.drawImage(QPoint(x, y + (128 - size) / 2), icon);
      x += size + 16;
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPoint(x, y + 30), e.name);
    font.setBold(false);
    font.setPixelSize(14);
    p.setFont(font);
    p.drawText(QRect(x, y + 40, 900 - x - 10, 40), Qt::TextWordWrap, e.comment);
    p.drawText(QRect(x, y + 80, 900 - x - 10, 20), 0, e.commentZh);
    p.setPen(QColor(0x55, 0x5a, 0x64));
    p.drawText(QPoint(x, y + 120), e.file + QStringLiteral("   Exec=") + e.exec);
    y += row;
  }
  p.end();
  if (!sheet.save(QString::fromLocal8Bit(argv[2]))) return 1;
  return 0;
}
