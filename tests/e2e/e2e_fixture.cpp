#include "tests/e2e/e2e_fixture.h"

#include <cstdio>

namespace zonky::e2e {

void EndToEnd::SetUp() {
    work_ = std::make_unique<TempDir>("zonky-e2e");
    game_ = work_->path() / "game";
    fs::create_directories(game_);
    x_ = std::make_unique<XServer>(work_->path());
    ASSERT_TRUE(x_->ok()) << "Xvfb did not start";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    artefacts_ = ArtefactDir(std::string(info->test_suite_name()) + "." + info->name());
    std::error_code ignored;
    fs::remove_all(artefacts_, ignored);
    fs::create_directories(artefacts_);
}

void EndToEnd::TearDown() {
    if (program_ && HasFailure()) {
        Shot("at-failure");
        std::fprintf(stderr, "program output:\n%s\n", program_->Stderr().c_str());
    }
    program_.reset();
    AfterProgram();
    x_.reset();
    work_.reset();
}

void EndToEnd::Start(const std::vector<std::string>& wrapper) {
    program_ = std::make_unique<GameProgram>(*x_, game_, work_->path(), wrapper);
}

Json EndToEnd::Expect(const std::function<bool(const Json&)>& ready, const std::string& what,
                      milliseconds timeout) {
    std::optional<Json> dump = program_->WaitFor(ready, timeout);
    if (!dump) throw std::runtime_error("timed out waiting for: " + what);
    return *dump;
}

void EndToEnd::Keys(const std::vector<std::string>& keys) {
    std::vector<std::string> args{"key", "--delay", "30"};
    args.insert(args.end(), keys.begin(), keys.end());
    ASSERT_EQ(x_->Xdotool(args), 0);
}

void EndToEnd::Shot(const std::string& what) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d-", ++shots_);
    EXPECT_TRUE(x_->Screenshot(artefacts_ / (number + what + ".png"))) << what;
}

std::string EndToEnd::PassWelcome(const std::string& welcomeTitle) {
    const std::string welcome = x_->WaitForWindow(welcomeTitle);
    EXPECT_NE(welcome, "") << "no welcome dialog";
    if (welcome.empty()) return "";
    // The welcome dialog stands alone: the main window is not shown yet.
    const Json before = program_->Dump();
    EXPECT_FALSE(before["window"]["visible"].boolean);
    EXPECT_EQ(before["modal"].text, "zonky::TForm2");
    Shot("welcome");
    x_->Focus(welcome);
    Keys({"Return"});
    Expect([](const Json& d) { return d["window"]["visible"].boolean && d["modal"].text.empty(); },
           "the main window after the welcome dialog");
    const std::string main = x_->WaitForWindow("^Zonky Mosaro$");
    EXPECT_NE(main, "");
    x_->Focus(main);
    Shot("main-window");
    return main;
}

void EndToEnd::CloseProgram(const std::string& mainWindow, const std::string& goodByeTitle) {
    ASSERT_EQ(x_->Wm({"close", mainWindow}), 0);
    const std::string goodBye = x_->WaitForWindow(goodByeTitle);
    ASSERT_NE(goodBye, "") << "no good-bye dialog";
    Shot("good-bye");
    x_->Focus(goodBye);
    Keys({"Return"});
    const std::optional<int> status = program_->WaitExit();
    ASSERT_TRUE(status.has_value()) << "the program did not end after the good-bye dialog";
    EXPECT_EQ(*status, 0);
}

void EndToEnd::PlayClassicUntilARowGoes(const std::string& mainWindow) {
    x_->Focus(mainWindow);
    Keys({"alt+1"});
    Expect(
        [](const Json& d) {
            return d["mode"].number == 1 && d["running"].boolean && !d["needPiece"].boolean;
        },
        "a falling piece in a Classic game");
    // The bottom row full but for its last cell, and a straight piece standing upright
    // above the well: dropped at the right wall it completes the row.
    for (int col = 1; col <= 11; ++col)
        ASSERT_EQ(program_->Command("set 20 " + std::to_string(col) + " 0 " +
                                    std::to_string(1 + col % 7)),
                  "ok");
    ASSERT_EQ(program_->Command("piece 0 250 250 250 0 250 250 250 0 250 250 250 0 250 250 250 "
                                "2 6 -3"),
              "ok");
    Shot("classic-prepared");
    Keys({"Right", "Right", "Right", "Right", "Right", "Right"});
    Expect([](const Json& d) { return d["col"].number == 12; }, "the piece at the right wall");
    Keys({"space"});
    const Json landed =
        Expect([](const Json& d) { return d["lines"].number == 1; }, "a removed row");
    EXPECT_GT(landed["score"].number, 0);
    EXPECT_EQ(landed["invariants"].text, "");
    // The row went: the three cells of the piece above it moved down into rows 18..20.
    const Json& well = landed["well"];  // rows -3..21, so row r is index r + 3
    EXPECT_EQ(well[23].Ints(), (std::vector<std::int64_t>{0, 250, 250, 250, 250, 250, 250, 250, 250,
                                                          250, 250, 250, 0, 0}));
    EXPECT_EQ(well[21][12].number, 0);
    EXPECT_EQ(well[20][12].number, 250);
    Shot("classic-row-removed");
}

void EndToEnd::ExitAndEnterName(const std::string& mainWindow, const std::string& name) {
    x_->Focus(mainWindow);
    Keys({"alt+x"});
    const Json over = Expect([](const Json& d) { return !d["running"].boolean; }, "the game's end");
    EXPECT_FALSE(over["paused"].boolean);
    const std::string input = x_->WaitForWindow("^The record is established!$");
    ASSERT_NE(input, "") << "no name dialog";
    Shot("name-dialog");
    x_->Focus(input);
    ASSERT_TRUE(x_->Type(name, 40));
    Expect([&](const Json& d) { return d["inputText"].text == name; }, "the typed name");
    Shot("name-typed");
    Keys({"Return"});
}

}  // namespace zonky::e2e
