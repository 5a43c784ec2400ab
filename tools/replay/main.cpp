// zonky-replay [SCRIPT]: runs the game engine headless from a script, writes JSON lines.
// This build does not draw; the drawing commands report so.
#include "tools/replay/replay_session.h"

int main(int argc, char** argv) {
    zonky::ReplaySession session;
    return zonky::RunCommandLine(argc, argv, session);
}
