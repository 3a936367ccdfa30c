// Writes the program icon as PNG files for the icon theme, drawn by the same
// code as the window's own icon: render-icons OUTDIR NAME SIZE... writes
// OUTDIR/SIZExSIZE/NAME.png for each size. Run with QT_QPA_PLATFORM=offscreen.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

#include "app/window/artwork.h"

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: render-icons OUTDIR NAME SIZE...\n");
    return 2;
  }
  const QIcon icon = kaimo::programIcon();
  for (int i = 3; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    const QString folder = QString("%1/%2x%2").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    const QPixmap pixmap = icon.pixmap(QSize(size, size));
    if (size <= 0 || pixmap.width() != size || !QDir().mkpath(folder) ||
        !pixmap.save(folder + "/" + QString::fromLocal8Bit(argv[2]) + ".png")) {
      std::fprintf(stderr, "render-icons: cannot write the %s pixel icon\n", argv[i]);
      return 1;
    }
  }
  return 0;
}
