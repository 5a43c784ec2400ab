// make-assets OUTDIR: draws and synthesises every embedded picture and sound of Zonky Mosaro
// and writes them, with the resource list assets.qrc, under OUTDIR. Same bytes every run.
//
//   make-assets [--contact-sheet FILE.png] [--zoom DIR] OUTDIR
//
// --contact-sheet writes a PNG with the pictures as the game shows them (the window in play,
// paused and after game over, the strips, avatars, glyphs, icons, welcome pictures);
// --zoom writes every picture scaled up 4 times (nearest neighbour) into DIR.
//
// Fonts (loaded from their files, outlines only, so the machine's hinting plays no part):
//   BkGround headings Level, Score, Lines, Next   Comic Neue Bold
//   PauseImg "Pause"                             Liberation Serif Bold Italic
//   GmOvImg "GAME OVER"                          Liberation Sans Bold
//   Form2 pictures (game names)                  Comic Neue Bold
//   contact sheet counter labels (not an asset)  Liberation Mono Bold (for "Courier New")
//   all other pictures carry no text.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/make-assets/assets.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString out_dir, sheet, zoom;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--contact-sheet") && i + 1 < args.size()) {
            sheet = args[++i];
        } else if (args[i] == QLatin1String("--zoom") && i + 1 < args.size()) {
            zoom = args[++i];
        } else if (!args[i].startsWith(QLatin1String("--")) && out_dir.isEmpty()) {
            out_dir = args[i];
        } else {
            out_dir.clear();
            break;
        }
    }
    if (out_dir.isEmpty()) {
        std::fprintf(stderr, "usage: make-assets [--contact-sheet FILE.png] [--zoom DIR] OUTDIR\n");
        return 2;
    }
    try {
        const std::vector<assets::AssetFile> files = assets::MakeAllAssets();
        assets::WriteAssets(files, out_dir);
        if (!sheet.isEmpty() && !assets::MakeContactSheet().save(sheet, "PNG")) {
            std::fprintf(stderr, "make-assets: cannot write %s\n", qPrintable(sheet));
            return 1;
        }
        if (!zoom.isEmpty()) assets::WriteZoomed(zoom);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
