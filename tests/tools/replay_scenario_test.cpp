// Runs the zonky-replay program on scripts and checks what it writes.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/replay_runner.h"

namespace zonky::test {
namespace {

TEST(ReplayScenario, InitialStateHasEveryKeyInOrder) {
    const ReplayRun run = Replay("dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 1u);
    const Json& d = run.lines[0];
    EXPECT_EQ(d.Keys(),
              (std::vector<std::string>{
                  "well",     "layers",    "parts",           "cur",     "next",     "col",
                  "row",      "curColor",  "nextColor",       "mode",    "level",    "levelPieces",
                  "score",    "lines",     "shownScore",      "running", "paused",   "needPiece",
                  "dropping", "nextShown", "rotateClockwise", "soundOn", "interval", "timerEnabled",
                  "events",   "hiscores"}));
    EXPECT_EQ(d["well"].items.size(), 25u);
    EXPECT_EQ(d["well"][0].Ints(), std::vector<std::int64_t>(14, 0));  // never cleared yet
    EXPECT_EQ(d["layers"][24].items.size(), 14u);
    EXPECT_EQ(d["cur"].Ints(), std::vector<std::int64_t>(16, 0));
    EXPECT_EQ(d["mode"].number, 2);
    EXPECT_EQ(d["level"].number, 0);
    EXPECT_EQ(d["rotateClockwise"].number, 0);
    EXPECT_EQ(d["soundOn"].number, 1);
    EXPECT_EQ(d["interval"].number, 100);
    EXPECT_TRUE(d["timerEnabled"].boolean);
    EXPECT_FALSE(d["running"].boolean);
    EXPECT_TRUE(d["events"].items.empty());
    ASSERT_EQ(d["hiscores"].items.size(), 3u);
    const Json& list = d["hiscores"][1];
    EXPECT_EQ(list.Keys(), (std::vector<std::string>{"entries", "newest"}));
    ASSERT_EQ(list["entries"].items.size(), 10u);
    EXPECT_EQ(list["entries"][0].items.size(), 4u);
    EXPECT_EQ(list["entries"][0][3].text, "");
    EXPECT_TRUE(run.filesLeft.empty());
}

TEST(ReplayScenario, AClassicPieceFallsLandsAndScores) {
    // I piece (draws 3, colour 0 -> 1), then O (5, colour 2 -> 3).
    const ReplayRun run = Replay(
        "# a first classic piece\n"
        "mode 1\n"
        "draws 3 0 5 2\n"
        "\n"
        "tick\n"
        "dump\n"
        "tick 20\n"
        "dump\n"
        "tick\n"
        "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 3u);
    const Json& spawned = run.lines[0];
    EXPECT_EQ(spawned["events"].Strings(),
              (std::vector<std::string>{"gameover hide", "pause hide"}));
    EXPECT_EQ(spawned["col"].number, 7);
    EXPECT_EQ(spawned["row"].number, -3);
    EXPECT_EQ(spawned["nextColor"].number, 3);
    EXPECT_TRUE(spawned["nextShown"].boolean);
    EXPECT_EQ(spawned["interval"].number, 1000);

    const Json& resting = run.lines[1];
    EXPECT_EQ(resting["row"].number, 17);
    EXPECT_FALSE(resting["needPiece"].boolean);

    const Json& landed = run.lines[2];
    EXPECT_TRUE(landed["needPiece"].boolean);
    EXPECT_EQ(landed["events"].Strings(), std::vector<std::string>{"sound Upal async"});
    EXPECT_EQ(landed["score"].number, 5);
    EXPECT_EQ(landed["shownScore"].number, 8);
    for (int r = 17; r <= 20; ++r) {
        EXPECT_EQ(landed["well"][r + 3][7].number, 0);
        EXPECT_EQ(landed["layers"][r + 3][7].number, 1);
    }
    ASSERT_EQ(landed["parts"].items.size(), 4u);
    const Json& part = landed["parts"][0];
    EXPECT_EQ(part[0].number, 17);
    EXPECT_EQ(part[1].number, 7);
    EXPECT_EQ(part[2][0].Ints(), (std::vector<std::int64_t>{0, 1}));
}

TEST(ReplayScenario, SetCellsMergeAndStoppingRecordsTheResult) {
    const ReplayRun run = Replay(
        "mode 3\n"
        "set 20 5 -2 4\n"
        "set 19 5 7 2\n"
        "set 18 5 8\n"
        "piece -1 250 250 250 250 250 250 250 250 250 250 250 250 250 250 250 6 5 17\n"
        "tick\n"
        "dump\n"
        "state score 1000\n"
        "stop\n"
        "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const Json& landed = run.lines[0];
    EXPECT_EQ(landed["well"][20 + 3][5].number, -2);
    EXPECT_EQ(landed["well"][19 + 3][5].number, 7);
    EXPECT_EQ(landed["well"][18 + 3][5].number, 8);
    EXPECT_EQ(landed["well"][17 + 3][5].number, -1);  // stopped on the top-bottom pair
    ASSERT_EQ(landed["parts"].items.size(), 4u);
    EXPECT_EQ(landed["parts"][1][2][0].Ints(), (std::vector<std::int64_t>{-4, 1}));
    EXPECT_EQ(landed["parts"][2][2][1].Ints(), (std::vector<std::int64_t>{-2, 2}));

    const Json& stopped = run.lines[1];
    EXPECT_EQ(stopped["events"].Strings(),
              (std::vector<std::string>{"pause hide", "gameover", "gameover show", "record 1"}));
    const Json& zonky = stopped["hiscores"][2];
    EXPECT_EQ(zonky["newest"].number, 1);
    EXPECT_EQ(zonky["entries"][0].Ints()[1], 1500);
    EXPECT_EQ(zonky["entries"][0].Ints()[2], 1);
    EXPECT_EQ(stopped["hiscores"][1]["newest"].number, 0);
}

TEST(ReplayScenario, ReadsStandardInputWhenNoFileIsGiven) {
    const ReplayRun run = Replay("sound 0\nrotate 1\ndump\n", true);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.lines[0]["soundOn"].number, 0);
    EXPECT_EQ(run.lines[0]["rotateClockwise"].number, 1);
}

TEST(ReplayScenario, ErrorsNameTheLineAndExitWithTwo) {
    struct Case {
        std::string script;
        std::string message;
    };
    const Case cases[] = {
        {"new\ntick\n", "line 2: out of draws\n"},
        {"dump\nfly\n", "line 2: unknown command 'fly'\n"},
        {"mode 4\n", "line 1: "},
        {"tick x\n", "line 1: "},
        {"piece 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 5 5\n", "line 1: 'piece' needs a running game\n"},
        {"set 21 1 0\n", "line 1: "},
        {"set 5 1 9\n", "line 1: "},
        {"key up hyper\n", "line 1: "},
        {"state speed 3\n", "line 1: "},
        {"draws -1\n", "line 1: "},
        {"dump\n#" + std::string(70000, 'x') + "\ndump\n", "line 2: longer than 65536 bytes\n"},
        // Input is quoted short, with its control bytes made harmless.
        {"fly\x01\x1B[2J" + std::string(200, 'y') + "\n",
         "line 1: unknown command 'fly??[2J" + std::string(72, 'y') + "...'\n"},
    };
    for (const Case& c : cases) {
        const ReplayRun run = Replay(c.script);
        EXPECT_EQ(run.status, 2) << c.script;
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << c.script << " -> " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    // What was dumped before the error is still written.
    EXPECT_EQ(Replay("dump\nfly\n").lines.size(), 1u);
}

TEST(ReplayScenario, AFolderGivenAsTheScriptIsAnError) {
    const ReplayRun run = ReplayAfter("rm script.txt && mkdir script.txt", "");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("directory"), std::string::npos) << run.err;
}

TEST(ReplayScenario, KeysPauseAndMinimiseAreRecorded) {
    const ReplayRun run = Replay(
        "mode 1\n"
        "draws 3 0 5 2\n"
        "tick 2\n"
        "key space\n"
        "key escape\n"
        "pause\n"
        "minimise\n"
        "key 37 shift ctrl alt\n"
        "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const Json& d = run.lines[0];
    EXPECT_EQ(d["events"].Strings(),
              (std::vector<std::string>{"gameover hide", "pause hide", "sound Space async",
                                        "pause show", "minimise", "pause hide", "pause show"}));
    EXPECT_TRUE(d["paused"].boolean);
    EXPECT_TRUE(d["dropping"].boolean);
    EXPECT_EQ(d["interval"].number, 100);
    EXPECT_EQ(d["col"].number, 7);  // paused: Left did nothing
}

}  // namespace
}  // namespace zonky::test
