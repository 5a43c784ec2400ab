// zonky-replay [SCRIPT]: runs the game engine from a script, writes JSON lines, and draws
// the window offscreen with the game's own renderer.
#include <QGuiApplication>

#include "tools/replay/replay_drawing.h"
#include "tools/replay/replay_session.h"

int main(int argc, char** argv) {
    // No window ever opens: the picture is drawn in memory. Qt's own notes (such as a
    // missing runtime directory) would break the one-line error contract on stderr.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    zonky::ReplaySession session;
    zonky::RendererDrawing drawing(session.game().state);
    session.AttachDrawing(&drawing);
    return zonky::RunCommandLine(argc, argv, session);
}
