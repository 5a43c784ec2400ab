// zonky-replay [SCRIPT]: runs the game engine headless from a script, writes JSON lines.
// This build does not draw; the drawing commands report so.
#include <fstream>
#include <iostream>

#include "tools/replay/replay_session.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: zonky-replay [SCRIPT]\n";
        return 2;
    }
    std::ifstream file;
    if (argc == 2) {
        file.open(argv[1]);
        if (!file) {
            std::cerr << "cannot open " << argv[1] << "\n";
            return 2;
        }
    }
    zonky::ReplaySession session;
    return zonky::RunScript(argc == 2 ? static_cast<std::istream&>(file) : std::cin, std::cout,
                            std::cerr, session);
}
