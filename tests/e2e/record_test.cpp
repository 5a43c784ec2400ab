// A player's first run to the end: the welcome dialog, a Classic game with a removed row,
// Exit, a name, the best-players dialog and its file; then a second run shows the record.
#include <gtest/gtest.h>

#include "records/hiscore_format.h"
#include "records/name_codec.h"
#include "tests/e2e/e2e_fixture.h"

namespace zonky::e2e {
namespace {

class Record : public EndToEnd {
  protected:
    void PlayAndKeepARecord(const std::string& name);
};

void Record::PlayAndKeepARecord(const std::string& name) {
    Start();
    const std::string main = PassWelcome();
    ASSERT_NE(main, "");
    EXPECT_TRUE(fs::is_empty(game_)) << "a first run writes nothing before a record";

    PlayClassicUntilARowGoes(main);
    const Json played = program_->Dump();
    const std::int64_t shown = played["shownScore"].number;
    ASSERT_GT(shown, 0);

    ExitAndEnterName(main, name);
    const std::string best = x_->WaitForWindow("^Best players$");
    ASSERT_NE(best, "") << "no best-players dialog";
    const Json after =
        Expect([](const Json& d) { return HasString(d["shown"].Strings(), "HiScoreForm"); },
               "the best-players dialog");
    Shot("best-players");
    EXPECT_EQ(after["hiscoreTab"].number, 1);
    const Json& first = after["hiscoreRows"][0];
    EXPECT_EQ(first[0].text, name);
    EXPECT_EQ(first[1].text, "1");
    EXPECT_EQ(first[2].text, std::to_string(shown));
    EXPECT_TRUE(first[3].boolean) << "the newest entry is underlined";
    EXPECT_EQ(after["hiscoreRows"][1][0].text, "");
    EXPECT_FALSE(after["running"].boolean);

    // The file: 1222 bytes, a good checksum, the one Classic entry, the other lists empty.
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(game_ / "ZonkyMos.dat"); }));
    const auto bytes = ReadBytes(game_ / "ZonkyMos.dat");
    ASSERT_TRUE(bytes.has_value());
    ASSERT_EQ(bytes->size(), 1222u);
    const ParsedHiScores parsed = ParseHiScoreFile(*bytes);
    ASSERT_EQ(parsed.status, HiScoreFileStatus::Loaded);
    EXPECT_EQ(parsed.table.Name(1, 1), Utf8ToCp1251(name));
    EXPECT_EQ(parsed.table.ShownScore(1, 1), shown);
    EXPECT_EQ(parsed.table.FinalLevel(1, 1), 1);
    EXPECT_EQ(parsed.table.Newest(1), 1);
    EXPECT_EQ(parsed.table.FinalLevel(1, 2), 0);
    for (std::size_t at = HiScoreTable::kListSize; at < HiScoreTable::kSize; ++at)
        ASSERT_EQ(parsed.table.bytes[at], 0) << "byte " << at;
    EXPECT_FALSE(fs::exists(game_ / "ZonkyMos.Ini")) << "no settings file without Options";

    CloseProgram(main);

    // The second run reads the record back.
    Start();
    const std::string again = PassWelcome();
    ASSERT_NE(again, "");
    Keys({"alt+r"});
    const std::string reopened = x_->WaitForWindow("^Best players$");
    ASSERT_NE(reopened, "");
    // It opens on the tab of the mode at start-up, Dedadidavaza, which is empty.
    const Json onStartMode =
        Expect([](const Json& d) { return HasString(d["shown"].Strings(), "HiScoreForm"); },
               "the best-players dialog from the menu");
    EXPECT_EQ(onStartMode["hiscoreTab"].number, 2);
    EXPECT_EQ(onStartMode["hiscoreRows"][0][0].text, "");
    Shot("best-players-dedadidavaza");
    // A click on the Classic tab.
    x_->Focus(reopened);
    ASSERT_EQ(x_->Xdotool({"mousemove", "--window", reopened, "30", "10", "click", "1"}), 0);
    const Json classic =
        Expect([](const Json& d) { return d["hiscoreTab"].number == 1; }, "the Classic tab");
    EXPECT_EQ(classic["hiscoreRows"][0][0].text, name);
    EXPECT_EQ(classic["hiscoreRows"][0][2].text, std::to_string(shown));
    EXPECT_TRUE(classic["hiscoreRows"][0][3].boolean) << "still marked the newest";
    Shot("best-players-classic-again");
    // The program ends even while the best-players dialog is open.
    CloseProgram(again);
    EXPECT_EQ(ReadBytes(game_ / "ZonkyMos.dat"), bytes);
}

TEST_F(Record, ALatinNameIsKeptAndShownAgain) {
    PlayAndKeepARecord("Tester");
}

TEST_F(Record, ACyrillicNameIsKeptAndShownAgain) {
    PlayAndKeepARecord("Вася Пупкин");
}

}  // namespace
}  // namespace zonky::e2e
