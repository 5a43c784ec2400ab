// zonky-replay [SCRIPT]: runs the game engine headless from a script, writes JSON lines.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

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
    std::istream& in = argc == 2 ? static_cast<std::istream&>(file) : std::cin;

    zonky::ReplaySession session;
    std::string line;
    std::string out;
    long lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        try {
            session.Execute(line, out);
        } catch (const zonky::ReplayError& error) {
            std::cout << out << std::flush;
            std::cerr << "line " << lineNumber << ": " << error.what() << "\n";
            return 2;
        }
        if (!out.empty()) {
            std::cout << out;
            out.clear();
        }
    }
    std::cout << std::flush;
    return 0;
}
