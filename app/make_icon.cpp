// Writes the program's icon, drawn by its own artwork code, as PNG files
// OUT/hicolor/<n>x<n>/apps/nusari.png for the desktop's icon theme. Runs
// at build time on Qt's offscreen platform: no display is needed.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "ui/window/artwork.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nusari_make_icon OUT\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (const int size : {48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(folder) ||
            !nusari::DrawProgramIcon(size).save(folder + QStringLiteral("/nusari.png"))) {
            std::fprintf(stderr, "nusari_make_icon: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
