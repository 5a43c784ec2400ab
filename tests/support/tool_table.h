// The programs the tests may start: those of tools/needs.tsv, the one table of what the
// build, the tests and the package checks call, each with the Debian package that brings it.
// A test that starts a program asks here first, so that a program missing from the table, or
// from the machine, fails at once with one message that names it and its package.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace zonky::test {

// The table's programs, each with its package.
std::map<std::string, std::string> TablePrograms(const std::filesystem::path& table);

// Why `program` may not be started with this search path, or empty when it may: it is not
// in the table, or it is not installed (the message names its package). A program named by
// its path is one of this build's own and may always be started.
std::string ToolProblem(const std::string& program, const std::string& searchPath,
                        const std::filesystem::path& table);

// Throws std::runtime_error with ToolProblem's message, for tools/needs.tsv.
void RequireTool(const std::string& program, const std::string& searchPath);

}  // namespace zonky::test
