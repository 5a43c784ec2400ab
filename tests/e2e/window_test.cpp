// The main window's pause through minimising: by Escape and by the window manager, and
// restoring never resumes; only P does.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_fixture.h"

namespace zonky::e2e {
namespace {

class Window : public EndToEnd {
  protected:
    // Restores the window as a window manager does and checks the game stays paused.
    void RestoreAndExpectPaused(const std::string& main) {
        ASSERT_EQ(x_->Wm({"restore", main}), 0);
        Expect([](const Json& d) { return !d["window"]["minimised"].boolean; }, "restored");
        const Json restored = program_->Dump();
        EXPECT_TRUE(restored["paused"].boolean) << "restoring resumed the game";
        EXPECT_FALSE(restored["running"].boolean);
        EXPECT_EQ(restored["invariants"].text, "");
        Shot("restored-paused");
    }
    void ResumeWithP(const std::string& main) {
        x_->Focus(main);
        Keys({"p"});
        Expect([](const Json& d) { return d["running"].boolean && !d["paused"].boolean; },
               "the game resumed by P");
    }
};

TEST_F(Window, MinimisingPausesAndOnlyPResumes) {
    Start();
    const std::string main = PassWelcome();
    ASSERT_NE(main, "");
    Keys({"alt+3"});
    Expect([](const Json& d) { return d["running"].boolean && !d["needPiece"].boolean; },
           "a falling piece in a Zonky game");

    // By the window manager.
    ASSERT_EQ(x_->Wm({"iconify", main}), 0);
    Expect([](const Json& d) { return d["window"]["minimised"].boolean && d["paused"].boolean; },
           "paused by minimising");
    RestoreAndExpectPaused(main);
    ResumeWithP(main);

    // By Escape, which also asks for the window to be minimised.
    Keys({"Escape"});
    Expect([](const Json& d) { return d["window"]["minimised"].boolean && d["paused"].boolean; },
           "paused and minimised by Escape");
    ASSERT_EQ(x_->Wm({"iconify", main}), 0);  // the manager carries the request out
    RestoreAndExpectPaused(main);
    ResumeWithP(main);
    Shot("resumed");
    CloseProgram(main);
}

// Options: Russian, kept for the next run, and back to English.
TEST_F(Window, TheLanguageSwitchesToRussianAndBack) {
    Start();
    std::string main = PassWelcome();
    ASSERT_NE(main, "");
    const auto chooseLanguage = [&](const char* y) {
        x_->Focus(main);
        Keys({"F3"});
        const Json options =
            Expect([](const Json& d) { return d["modal"].text == "zonky::TOpForm"; }, "Options");
        const std::string dialog = std::to_string(options["modalWindow"].number);
        // The language buttons stand at the right of the dialog, English above Russian.
        ASSERT_EQ(x_->Xdotool({"mousemove", "--window", dialog, "190", y, "click", "1"}), 0);
        Shot("options");
        x_->Focus(dialog);
        Keys({"Return"});
        Expect([](const Json& d) { return d["modal"].text.empty(); }, "Options closed");
    };
    chooseLanguage("72");
    const Json russian = program_->Dump();
    EXPECT_EQ(russian["settings"].text, "0111");
    EXPECT_EQ(russian["menuTitle"].text, "&Игра");
    EXPECT_EQ(ReadBytes(game_ / "ZonkyMos.Ini"), (std::vector<unsigned char>{'0', '1', '1', '1'}));
    Shot("russian");
    CloseProgram(main, "^До свидания!");

    Start();
    main = PassWelcome("^Добро пожаловать!");
    ASSERT_NE(main, "");
    EXPECT_EQ(program_->Dump()["menuTitle"].text, "&Игра");
    chooseLanguage("48");
    const Json english = program_->Dump();
    EXPECT_EQ(english["settings"].text, "0110");
    EXPECT_EQ(english["menuTitle"].text, "&Game");
    EXPECT_EQ(ReadBytes(game_ / "ZonkyMos.Ini"), (std::vector<unsigned char>{'0', '1', '1', '0'}));
    CloseProgram(main);
}

}  // namespace
}  // namespace zonky::e2e
