#include "tools/replay/replay_session.h"

#include <gtest/gtest.h>

#include "tests/support/json_reader.h"

namespace zonky::test {
namespace {

Json DumpOf(ReplaySession& session) {
    return Json::Parse(session.Dump());
}

TEST(ReplaySession, IgnoresCommentsBlankLinesAndCarriageReturns) {
    ReplaySession session;
    std::string out;
    session.Execute("", out);
    session.Execute("   # a comment with words", out);
    session.Execute("#", out);
    session.Execute("sound 0\r", out);
    session.Execute("  dump  ", out);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(Json::Parse(out)["soundOn"].number, 0);
}

TEST(ReplaySession, NamesAreWrittenAsUtf8) {
    ReplaySession session;
    // "Пётр" in Windows-1251, and a quote that must be escaped.
    InsertHiScore(session.host().hiScores, 1, 10, 2, "\xCF\xB8\xF2\xF0\"", 3);
    const Json dump = DumpOf(session);
    EXPECT_EQ(dump["hiscores"][0]["entries"][0][3].text, "Пётр\"");
    EXPECT_EQ(dump["hiscores"][0]["entries"][0][0].number, 3);
}

TEST(ReplaySession, DumpClearsTheEventsItReports) {
    ReplaySession session;
    std::string out;
    session.Execute("key escape", out);
    EXPECT_EQ(DumpOf(session)["events"].Strings(), std::vector<std::string>{"minimise"});
    EXPECT_TRUE(DumpOf(session)["events"].items.empty());
}

TEST(ReplaySession, DrawsAreTakenModuloTheRange) {
    ReplaySession session;
    std::string out;
    session.Execute("draws 18446744073709551615 25", out);
    EXPECT_EQ(session.random().Draw(10), 5);
    EXPECT_EQ(session.random().Draw(7), 4);
    EXPECT_THROW(session.random().Draw(3), ScriptedRandom::OutOfDraws);
}

TEST(ReplaySession, SetGivesTheCellItsLayers) {
    ReplaySession session;
    std::string out;
    session.Execute("set -3 12 8 5", out);
    session.Execute("set 4 1 -6", out);
    session.Execute("set 4 1 250", out);
    const GameState& s = session.game().state;
    EXPECT_EQ(s.Well.At(-3, 12), 8);
    EXPECT_EQ(s.WellLayers.At(-3, 12).count, 2);
    EXPECT_EQ(s.WellLayers.At(-3, 12).slot[1], (Layer{-3, 5}));
    EXPECT_EQ(s.Well.At(4, 1), kEmpty);
    EXPECT_EQ(s.WellLayers.At(4, 1).count, 0);
    EXPECT_THROW(session.Execute("set 4 0 1", out), ReplayError);
    EXPECT_THROW(session.Execute("set 4 1 1 8", out), ReplayError);
}

}  // namespace
}  // namespace zonky::test
