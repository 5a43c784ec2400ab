// The one table of the programs the build and the tests call (tools/needs.tsv), against the
// programs the tests start and the runner that starts them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "tests/support/temp_dir.h"
#include "tests/support/tool_table.h"

namespace zonky::test {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;

const fs::path kSource = ZONKY_SOURCE_DIR;

// Every program a test starts by name: the first word handed to the process runner (or put
// before the program), and every program a packaging check says it needs.
TEST(NeedsTable, NamesEveryProgramTheTestsStart) {
    const auto programs = TablePrograms(kSource / "tools/needs.tsv");
    const std::regex started(
        R"re((?:RunTool\(|Process\(|argv\{|wrapper = |RequireTool\()\{?\s*"([A-Za-z][\w.+-]*)")re");
    const std::regex needed(R"(^\s*need ([\w .+-]+)$)");
    int seen = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "tests")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h" && ext != ".sh") continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            std::vector<std::string> names;
            for (std::sregex_iterator m(line.begin(), line.end(), started), end; m != end; ++m)
                names.push_back((*m)[1]);
            std::smatch need;
            if (std::regex_match(line, need, needed)) {
                std::istringstream words(need[1].str());
                for (std::string w; words >> w;) names.push_back(w);
            }
            for (const std::string& name : names) {
                ++seen;
                EXPECT_TRUE(programs.count(name))
                    << entry.path() << " starts " << name << ", which the table lacks";
            }
        }
    }
    // The scan finds the runners' calls at all (Xvfb, openbox, xprop, import, need ...).
    EXPECT_GE(seen, 15);
}

TEST(NeedsTable, TheRunnerRefusesWhatTheTableLacksAndNamesThePackageOfWhatIsMissing) {
    TempDir dir("zonky-needs");
    const fs::path table = dir.path() / "needs.tsv";
    std::ofstream(table) << "# kind name package needed-by\n"
                            "program  here    pkg-here    test\n"
                            "program  absent  pkg-absent  test\n"
                            "library  lib     pkg-lib     run\n";
    const fs::path bin = dir.path() / "bin";
    fs::create_directories(bin);
    std::ofstream(bin / "here") << "#!/bin/sh\n";
    chmod((bin / "here").c_str(), 0755);
    std::ofstream(bin / "lib") << "#!/bin/sh\n";
    chmod((bin / "lib").c_str(), 0755);
    const std::string path = "/nonexistent:" + bin.string();

    EXPECT_EQ(ToolProblem("here", path, table), "");
    EXPECT_EQ(ToolProblem("/any/own/program", path, table), "");
    EXPECT_THAT(ToolProblem("absent", path, table),
                AllOf(HasSubstr("absent is not installed"), HasSubstr("pkg-absent")));
    EXPECT_THAT(ToolProblem("here", "/nonexistent", table), HasSubstr("pkg-here"));
    for (const char* stranger : {"lib", "elsewhere"})
        EXPECT_THAT(ToolProblem(stranger, path, table),
                    AllOf(HasSubstr(stranger), HasSubstr("not in " + table.string())));
}

}  // namespace
}  // namespace zonky::test
