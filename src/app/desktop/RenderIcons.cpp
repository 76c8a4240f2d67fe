#include "app/AppIcons.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

// Build-time tool: writes the program's icon into an icon-theme tree under the folder given,
// <folder>/<n>x<n>/apps/glimwell.png for every size the program draws, so that the installed
// theme icons and the tray icon are one drawing.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: RenderIcons <theme folder>\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const int size : glim::kProgramIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + QStringLiteral("/glimwell.png");
        if (!QDir().mkpath(folder) || !glim::programIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "RenderIcons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
