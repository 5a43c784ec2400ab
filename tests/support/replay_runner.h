// Runs the zonky-replay program on a script, as a player or a bug report would.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/support/json_reader.h"
#include "tests/support/temp_dir.h"

namespace zonky::test {

struct ReplayRun {
    int status = -1;
    std::vector<Json> lines;  // standard output, one JSON value a line
    std::string err;
    std::vector<std::string> filesLeft;  // what the run left in its working directory
    std::shared_ptr<TempDir> dir;        // that directory, removed with the last copy
};

// Runs the script in a fresh temporary directory, from a file or from standard input. A run
// that blocks is ended after a minute.
ReplayRun Replay(const std::string& script, bool fromStdin = false);

// The same, after the shell command `prepare` has run in that directory (to lay out files,
// links or pipes for the script to meet).
ReplayRun ReplayAfter(const std::string& prepare, const std::string& script);

}  // namespace zonky::test
