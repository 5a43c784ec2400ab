// The main window's pause through minimising: by Escape and by the window manager, and
// restoring never resumes; only P does.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

// Also in a Wayland session with XWayland, where Qt would pick Wayland, whose windows are
// never told they were minimised: the program runs on X11 whenever it can.
TEST_F(Window, MinimisingPausesAndOnlyPResumes) {
    Start({"env", "XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0"});
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

// A menu opened with the mouse and closed with Escape gives the keys back to the game: Space
// drops the piece rather than opening the menu again.
TEST_F(Window, AfterAMenuClosesTheKeysGoBackToTheGame) {
    Start();
    const std::string main = PassWelcome();
    ASSERT_NE(main, "");
    Keys({"F2"});
    Expect([](const Json& d) { return d["running"].boolean && !d["needPiece"].boolean; },
           "a falling piece");
    for (const char* x : {"20", "63"}) {  // "Game", then "?" in the menu bar
        ASSERT_EQ(x_->Xdotool({"mousemove", "--window", main, x, "8", "click", "1"}), 0);
        Expect([](const Json& d) { return d["popup"].text == "QMenu"; }, "the menu open");
        Shot(std::string("menu-at-") + x);
        Keys({"Escape"});
        Expect([](const Json& d) { return d["popup"].text.empty(); }, "the menu closed");
    }
    Keys({"space"});
    const Json dropping = Expect([](const Json& d) { return d["dropping"].boolean; }, "a drop");
    EXPECT_EQ(dropping["popup"].text, "");
    EXPECT_NE(dropping["focus"].text, "QMenuBar");
    Shot("dropping");
}

// Under a window manager, which frames the dialogs only once they are shown, a dialog opens
// over the middle of the main window's frame at its first showing as at every later one.
TEST_F(Window, ADialogIsCentredFromItsFirstShowing) {
    ASSERT_TRUE(x_->StartWindowManager()) << "openbox did not start";
    Start();
    const std::string main = PassWelcome();
    ASSERT_NE(main, "");
    const std::vector<int> owner = x_->FrameGeometry(main);
    ASSERT_EQ(owner.size(), 4u) << "the main window was never framed";
    for (int showing = 1; showing <= 2; ++showing) {
        x_->Focus(main);
        Keys({"F3"});
        const Json options =
            Expect([](const Json& d) { return d["modal"].text == "zonky::TOpForm"; }, "Options");
        const std::string dialog = std::to_string(options["modalWindow"].number);
        const std::vector<int> frame = x_->FrameGeometry(dialog);
        ASSERT_EQ(frame.size(), 4u) << "the dialog was never framed";
        Shot("options-" + std::to_string(showing));
        EXPECT_EQ(frame[0], owner[0] + (owner[2] - frame[2]) / 2) << "showing " << showing;
        EXPECT_EQ(frame[1], owner[1] + (owner[3] - frame[3]) / 2) << "showing " << showing;
        x_->Focus(dialog);
        Keys({"Escape"});
        Expect([](const Json& d) { return d["modal"].text.empty(); }, "Options closed");
    }
}

// In each mode, the 80th piece ends the level: the next comes in at the faster interval.
TEST_F(Window, LevelsAdvanceInEveryMode) {
    Start();
    const std::string main = PassWelcome();
    ASSERT_NE(main, "");
    for (const char* mode : {"alt+1", "alt+2", "alt+3"}) {
        x_->Focus(main);
        Keys({mode});
        // Switching ends the game before: a record is entered on the way.
        Json falling = Expect(
            [](const Json& d) {
                return (d["running"].boolean && !d["needPiece"].boolean) ||
                       d["modal"].text == "zonky::TInputName";
            },
            std::string("a falling piece after ") + mode);
        if (falling["modal"].text == "zonky::TInputName") {
            x_->Focus(std::to_string(falling["modalWindow"].number));
            Keys({"Return"});
            falling = Expect(
                [](const Json& d) { return d["running"].boolean && !d["needPiece"].boolean; },
                std::string("a falling piece after the record and ") + mode);
            x_->Focus(main);
        }
        EXPECT_EQ(falling["level"].number, 1);
        EXPECT_EQ(falling["interval"].number, 1000);
        ASSERT_EQ(program_->Command("late-in-level"), "ok");
        Keys({"space"});  // the 80th piece lands; the next tick ends the level
        const Json next = Expect(
            [](const Json& d) {
                return d["level"].number == 2 && d["levelPieces"].number == 1 &&
                       !d["needPiece"].boolean;
            },
            std::string("level 2 after ") + mode);
        EXPECT_EQ(next["interval"].number, 600);
        EXPECT_EQ(next["invariants"].text, "");
        Shot(std::string("level-2-") + mode);
    }
    Keys({"p"});
    Expect([](const Json& d) { return d["paused"].boolean; }, "paused");
    // Closing ends the paused game through the game-over sequence; it may enter the table.
    ASSERT_EQ(x_->Wm({"close", main}), 0);
    const Json over = Expect([](const Json& d) { return !d["modal"].text.empty(); },
                             "a dialog of the closing sequence");
    if (over["modal"].text == "zonky::TInputName") {
        x_->Focus(std::to_string(over["modalWindow"].number));
        Keys({"Return"});
    }
    const std::string goodBye = x_->WaitForWindow("^Good Bye!");
    ASSERT_NE(goodBye, "");
    x_->Focus(goodBye);
    Keys({"Return"});
    EXPECT_EQ(program_->WaitExit(), std::optional<int>(0));
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
    CloseProgram(main, "^До свидания!$");

    Start();
    main = PassWelcome("^Добро пожаловать!$");
    ASSERT_NE(main, "");
    EXPECT_EQ(program_->Dump()["menuTitle"].text, "&Игра");
    chooseLanguage("48");
    const Json english = program_->Dump();
    EXPECT_EQ(english["settings"].text, "0110");
    EXPECT_EQ(english["menuTitle"].text, "&Game");
    EXPECT_EQ(ReadBytes(game_ / "ZonkyMos.Ini"), (std::vector<unsigned char>{'0', '1', '1', '0'}));
    CloseProgram(main);
}

// Without a display that answers, one plain line and status 1, not Qt's abort.
TEST(Display, WithoutOneTheProgramSaysSoAndEnds) {
    const TempDir dir("zonky-no-display");
    const std::string expected =
        "zonkymosaro: no graphical display found (DISPLAY and WAYLAND_DISPLAY are unset or "
        "unreachable)\n";
    const std::map<std::string, std::string> unset;
    const std::map<std::string, std::string> unreachable{
        {"DISPLAY", ":4321"},
        {"WAYLAND_DISPLAY", "wayland-4321"},
        {"XDG_RUNTIME_DIR", dir.path().string()},
        {"XAUTHORITY", (dir.path() / "none").string()}};
    // A stopped X server: its socket takes the connection and never answers.
    const int stopped = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(stopped, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int display = 100;
    for (; display < 200; ++display) {
        address.sin_port = htons(static_cast<std::uint16_t>(6000 + display));
        if (bind(stopped, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) break;
    }
    ASSERT_EQ(listen(stopped, 8), 0);
    auto silent = unreachable;
    silent["DISPLAY"] = "127.0.0.1:" + std::to_string(display);
    for (const auto& env : {unset, unreachable, silent}) {
        std::string out;
        EXPECT_EQ(RunTool({ZONKY_PROGRAM}, env, &out, std::chrono::seconds(20)), 1);
        EXPECT_EQ(out, expected);
    }
    close(stopped);
}

}  // namespace
}  // namespace zonky::e2e
