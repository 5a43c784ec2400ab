#include "tests/support/tool_table.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zonky::test {

std::map<std::string, std::string> TablePrograms(const std::filesystem::path& table) {
    std::ifstream in(table);
    if (!in) throw std::runtime_error("cannot read the table of programs " + table.string());
    std::map<std::string, std::string> programs;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string kind, name, package;
        if (fields >> kind >> name >> package && kind == "program") programs[name] = package;
    }
    return programs;
}

std::string ToolProblem(const std::string& program, const std::string& searchPath,
                        const std::filesystem::path& table) {
    if (program.find('/') != std::string::npos) return {};
    const std::map<std::string, std::string> programs = TablePrograms(table);
    const auto entry = programs.find(program);
    if (entry == programs.end())
        return "the tests may not start " + program + ": it is not in " + table.string() +
               " (add it there with its Debian package)";
    std::istringstream dirs(searchPath);
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::filesystem::path file = std::filesystem::path(dir.empty() ? "." : dir) / program;
        if (access(file.c_str(), X_OK) == 0 && !std::filesystem::is_directory(file)) return {};
    }
    return program + " is not installed: it comes with the Debian package " + entry->second +
           " (./build.sh test installs it)";
}

void RequireTool(const std::string& program, const std::string& searchPath) {
    const std::string problem = ToolProblem(program, searchPath, ZONKY_TOOL_TABLE);
    if (!problem.empty()) throw std::runtime_error(problem);
}

}  // namespace zonky::test
