#include "tests/support/replay_runner.h"

#include "tests/support/tool_table.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zonky::test {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ReplayRun Run(const std::string& prepare, const std::string& script, bool fromStdin) {
    ReplayRun run;
    run.dir = std::make_shared<TempDir>("zonky-replay");
    const std::filesystem::path& dir = run.dir->path();
    { std::ofstream(dir / "script.txt") << script; }
    const std::string command =
        "cd '" + dir.string() + "' && " + prepare + " && timeout 60 '" ZONKY_REPLAY "'" +
        (fromStdin ? " < script.txt" : " script.txt") + " > out.json 2> err.txt";
    const char* const searchPath = std::getenv("PATH");
    for (const char* tool : {"sh", "timeout"}) RequireTool(tool, searchPath ? searchPath : "");
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream lines(ReadFile(dir / "out.json"));
    for (std::string line; std::getline(lines, line);) run.lines.push_back(Json::Parse(line));
    run.err = ReadFile(dir / "err.txt");
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name != "script.txt" && name != "out.json" && name != "err.txt")
            run.filesLeft.push_back(name);
    }
    return run;
}

}  // namespace

ReplayRun Replay(const std::string& script, bool fromStdin) {
    return Run("true", script, fromStdin);
}

ReplayRun ReplayAfter(const std::string& prepare, const std::string& script) {
    return Run(prepare, script, false);
}

}  // namespace zonky::test
