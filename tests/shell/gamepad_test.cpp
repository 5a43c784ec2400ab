// Game pads: the meaning of the controls with time passed in, then SDL's controller layer
// with a virtual pad, and the program played with that pad alone.
#include "shell/gamepad.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <vector>

#include "tests/shell/program_support.h"

namespace zonky::test {
namespace {

using Ms = std::chrono::milliseconds;
using Commands = std::vector<PadCommand>;

PadKeys Keys() {
    return PadKeys(Gamepads::kRepeatDelay, Gamepads::kRepeatInterval);
}

TEST(PadKeys, AStickPressesOnlyBeyondItsDeadZoneAndLetsGoOnlyWellInside) {
    // Every value of a stick wandering inside the dead zone, from rest: nothing.
    PadKeys keys = Keys();
    for (int value = -PadKeys::kPressAt + 1; value < PadKeys::kPressAt; value += 97) {
        EXPECT_FALSE(keys.Axis(0, PadAxis::LeftX, value, Ms(0)));
        EXPECT_FALSE(keys.Axis(0, PadAxis::LeftY, value, Ms(0)));
    }
    // Pushed over the edge it presses once; trembling above the release point gives nothing
    // more, and only a return well inside lets a new push press again.
    for (int direction : {-1, 1}) {
        const PadCommand expected = direction < 0 ? PadCommand::Left : PadCommand::Right;
        EXPECT_EQ(keys.Axis(0, PadAxis::LeftX, direction * PadKeys::kPressAt, Ms(0)), expected);
        for (int value = PadKeys::kPressAt; value >= PadKeys::kReleaseAt; value -= 61) {
            EXPECT_FALSE(keys.Axis(0, PadAxis::LeftX, direction * value, Ms(0))) << value;
            EXPECT_FALSE(keys.Axis(0, PadAxis::LeftX, direction * 32767, Ms(0))) << value;
        }
        EXPECT_FALSE(keys.Axis(0, PadAxis::LeftX, direction * (PadKeys::kReleaseAt - 1), Ms(0)));
        EXPECT_EQ(keys.Axis(0, PadAxis::LeftX, direction * 32767, Ms(0)), expected);
        EXPECT_FALSE(keys.Axis(0, PadAxis::LeftX, 0, Ms(0)));
    }
    // Flicked across in one move: the other side at once. Down is the only vertical command.
    EXPECT_EQ(keys.Axis(1, PadAxis::LeftX, -32768, Ms(0)), PadCommand::Left);
    EXPECT_EQ(keys.Axis(1, PadAxis::LeftX, 32767, Ms(0)), PadCommand::Right);
    EXPECT_EQ(keys.Axis(1, PadAxis::LeftY, 32767, Ms(0)), PadCommand::Down);
    EXPECT_FALSE(keys.Axis(1, PadAxis::LeftY, -32768, Ms(0)));
    EXPECT_FALSE(keys.Axis(1, PadAxis::Other, 32767, Ms(0)));
}

// The repeats a held control gives from its press at 0 up to `until`, polled every `step`.
Commands RepeatsUntil(PadKeys& keys, Ms until, Ms step = Ms(1)) {
    Commands repeats;
    for (Ms now{0}; now <= until; now += step)
        if (auto command = keys.Repeat(now)) repeats.push_back(*command);
    return repeats;
}

TEST(PadKeys, AHeldDirectionRepeatsLikeAHeldKeyAndNothingElseDoes) {
    const Ms delay = Gamepads::kRepeatDelay;
    const Ms interval = Gamepads::kRepeatInterval;
    for (PadButton held : {PadButton::DpadLeft, PadButton::DpadRight, PadButton::DpadDown}) {
        PadKeys keys = Keys();
        const auto pressed = keys.Button(0, held, true, Ms(0));
        ASSERT_TRUE(pressed);
        // The first repeat after the delay, then one per interval, polled finely or not.
        const Ms until = delay + 10 * interval;
        EXPECT_EQ(RepeatsUntil(keys, delay - Ms(1)), Commands{});
        PadKeys coarse = keys;
        EXPECT_EQ(RepeatsUntil(keys, until), Commands(11, *pressed));
        EXPECT_EQ(RepeatsUntil(coarse, until, Ms(10)).size(), 11u);
        // Let go, it stops.
        keys.Button(0, held, false, until);
        EXPECT_FALSE(keys.Repeat(until + delay));
    }
    for (PadButton button : {PadButton::A, PadButton::B, PadButton::X, PadButton::Y,
                             PadButton::Start, PadButton::Back, PadButton::DpadUp}) {
        PadKeys keys = Keys();
        keys.Button(0, button, true, Ms(0));
        EXPECT_EQ(RepeatsUntil(keys, 2 * delay), Commands{});
    }
}

TEST(PadKeys, TheLastDirectionRepeatsAndAPollThatCameLateDoesNotCatchUp) {
    PadKeys keys = Keys();
    keys.Button(0, PadButton::DpadLeft, true, Ms(0));
    keys.Axis(1, PadAxis::LeftY, 32767, Ms(100));  // another pad's stick takes over
    EXPECT_FALSE(keys.Repeat(Ms(500)));
    EXPECT_EQ(keys.Repeat(Ms(600)), PadCommand::Down);
    keys.Button(0, PadButton::A, true, Ms(610));  // a turn does not stop the held direction
    EXPECT_EQ(keys.Repeat(Ms(2000)), PadCommand::Down);
    EXPECT_FALSE(keys.Repeat(Ms(2000 + Gamepads::kRepeatInterval.count() - 1)));
    keys.Button(0, PadButton::DpadLeft, false, Ms(2010));  // not the repeating one
    EXPECT_TRUE(keys.Repeat(Ms(2100)));
    keys.Unplugged(1);
    EXPECT_FALSE(keys.Repeat(Ms(3000)));
    // The unplugged pad's stick starts from rest when it comes back.
    EXPECT_EQ(keys.Axis(1, PadAxis::LeftY, 32767, Ms(3100)), PadCommand::Down);
}

TEST(PadKeys, EachCommandIsTheKeyDownOfItsKey) {
    EXPECT_EQ(KeyOf(PadCommand::TurnBack).code, KeyOf(PadCommand::Turn).code);
    EXPECT_TRUE(KeyOf(PadCommand::TurnBack).modifiers.shift);
    EXPECT_FALSE(KeyOf(PadCommand::TurnBack).modifiers.ctrl ||
                 KeyOf(PadCommand::Turn).modifiers.shift);
    EXPECT_EQ(KeyOf(PadCommand::Pause).code, 0);  // the menu's P, not a key of the game
}

// A pad that SDL's controller layer takes for a real one, attached inside this process.
class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        joystick_ = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        instance_ = joystick_ != nullptr ? SDL_JoystickInstanceID(joystick_) : -1;
    }
    ~VirtualPad() { Unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Attached() const { return joystick_ != nullptr; }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    void Axis(SDL_GameControllerAxis axis, Sint16 value) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, value);
    }
    void Unplug() {
        if (joystick_ == nullptr) return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int k = 0; k < SDL_NumJoysticks(); ++k)
            if (SDL_JoystickGetDeviceInstanceID(k) == instance_) SDL_JoystickDetachVirtual(k);
    }

  private:
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID instance_ = -1;
};

// Pads that hand their commands to a list, polled by the test at times of its choosing.
struct Pads {
    Pads() : pads([this](PadCommand command) { got.push_back(command); }) {
        pads.Open();
        opened = WaitFor([this] { return pads.IsOpen(); });
        pads.Poll(now);  // whatever an earlier test left behind
        got.clear();
    }
    Commands Poll(Ms after = Ms(0)) {
        now += after;
        pads.Poll(now);
        Commands taken;
        taken.swap(got);
        return taken;
    }
    Commands Press(VirtualPad& pad, SDL_GameControllerButton button) {
        pad.Button(button, true);
        Commands pressed = Poll();
        pad.Button(button, false);
        Poll();
        return pressed;
    }

    Commands got;
    Gamepads pads;
    Ms now = Gamepads::Now();
    bool opened = false;
};

TEST(Gamepads, EveryPadPlaysWithItsButtonsAndStickAndNothingPollsWithoutOne) {
    Pads p;
    ASSERT_TRUE(p.opened);
    EXPECT_EQ(p.pads.Connected(), 0);
    EXPECT_FALSE(p.pads.Polling());
    {
        VirtualPad first;
        VirtualPad second;
        ASSERT_TRUE(first.Attached() && second.Attached());
        p.Poll();
        EXPECT_EQ(p.pads.Connected(), 2);
        EXPECT_TRUE(p.pads.Polling());
        for (VirtualPad* pad : {&first, &second}) {
            Commands got;
            for (auto button :
                 {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                  SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_UP,
                  SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
                  SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK,
                  SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_GUIDE})
                for (PadCommand command : p.Press(*pad, button)) got.push_back(command);
            for (auto [axis, value] : {std::pair{SDL_CONTROLLER_AXIS_LEFTX, -32768},
                                       {SDL_CONTROLLER_AXIS_LEFTX, 32767},
                                       {SDL_CONTROLLER_AXIS_LEFTY, 32767},
                                       {SDL_CONTROLLER_AXIS_LEFTY, -32768},
                                       {SDL_CONTROLLER_AXIS_RIGHTX, -32768},
                                       {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767}}) {
                pad->Axis(axis, static_cast<Sint16>(value));
                for (PadCommand command : p.Poll()) got.push_back(command);
                pad->Axis(axis, 0);
                p.Poll();
            }
            EXPECT_EQ(got, (Commands{PadCommand::Left, PadCommand::Right, PadCommand::Down,
                                     PadCommand::Turn, PadCommand::TurnBack, PadCommand::Drop,
                                     PadCommand::Drop, PadCommand::Pause, PadCommand::Left,
                                     PadCommand::Right, PadCommand::Down}));
        }
        // A stick resting just inside its dead zone moves nothing.
        first.Axis(SDL_CONTROLLER_AXIS_LEFTX, -(PadKeys::kPressAt - 1));
        first.Axis(SDL_CONTROLLER_AXIS_LEFTY, PadKeys::kPressAt - 1);
        EXPECT_EQ(p.Poll(Gamepads::kRepeatDelay * 2), Commands{});
    }
    p.Poll();
    EXPECT_EQ(p.pads.Connected(), 0);
    EXPECT_FALSE(p.pads.Polling());
}

TEST(Gamepads, AHeldDirectionRepeatsUntilItsPadIsUnplugged) {
    Pads p;
    ASSERT_TRUE(p.opened);
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached());
    p.Poll();
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(p.Poll(), Commands{PadCommand::Right});
    EXPECT_EQ(p.Poll(Gamepads::kRepeatDelay - Ms(1)), Commands{});
    EXPECT_EQ(p.Poll(Ms(1)), Commands{PadCommand::Right});
    EXPECT_EQ(p.Poll(Gamepads::kRepeatInterval), Commands{PadCommand::Right});
    pad.Unplug();  // still held
    EXPECT_EQ(p.Poll(Gamepads::kRepeatInterval), Commands{});
    EXPECT_EQ(p.Poll(Gamepads::kRepeatDelay), Commands{});
    EXPECT_FALSE(p.pads.Polling());
}

// Also when the devices' folder itself appears only later, as in some sandboxes.
TEST(Gamepads, ANewInputDeviceIsLookedForOnlyForAWhile) {
    QTemporaryDir dev;
    const QString input = dev.filePath("input");
    Gamepads pads([](PadCommand) {}, input);
    pads.Open();
    ASSERT_TRUE(WaitFor([&] { return pads.IsOpen(); }));
    ASSERT_TRUE(QDir(dev.path()).mkdir("input"));
    ASSERT_TRUE(WaitFor([&] { return pads.Polling(); }));
    pads.Poll(Gamepads::Now() + Gamepads::kSettleTime);  // no pad came: reading stops
    EXPECT_FALSE(pads.Polling());
    QFile device(input + "/event7");
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    ASSERT_TRUE(WaitFor([&] { return pads.Polling(); }));
    pads.Poll(Gamepads::Now() + Gamepads::kSettleTime);
    EXPECT_FALSE(pads.Polling());
}

// The program with a virtual pad and a started game.
// The pad reads the application's active window, which the window system may make active a
// moment before the application takes note.
bool WaitActive(QWidget* window) {
    return WaitFor([window] { return QApplication::activeWindow() == window; });
}

struct PadProgram : ProgramInTempDir {
    // With `show`, past the welcome dialog and into the main window; else the caller shows.
    explicit PadProgram(bool show = true) {
        if (show) Show();
    }
    void Show() {
        form->FormShow();
        QApplication::setActiveWindow(form);
        form->activateWindow();
        (void)WaitActive(form);
        ready = PadsReady();
    }
    // The pads are looked for once a window is on screen; then the virtual pad is found.
    bool PadsReady() {
        const bool open = WaitFor([this] { return windows->Pads.IsOpen(); }) && pad.Attached();
        Poll();
        return open;
    }
    // Presses and lets go as a player would, and lets the program read the pad each time.
    void Press(SDL_GameControllerButton button) {
        pad.Button(button, true);
        Poll();
        pad.Button(button, false);
        Poll();
    }
    // Answers a dialog with one button; whether that closed it. One that stays open is
    // rejected, so that the test goes on to fail rather than hang.
    bool Answer(QDialog& dialog, SDL_GameControllerButton button) {
        if (WaitActive(&dialog)) Press(button);
        const bool closed = !dialog.isVisible();
        if (!closed) dialog.reject();
        return closed;
    }
    // The next modal dialog is answered with the button; `closed` tells how that went.
    void AnswerNext(SDL_GameControllerButton button, bool& closed,
                    const std::function<void(QDialog&)>& before = {}) {
        closed = false;
        answers.Then([this, button, &closed, before](QDialog& dialog) {
            if (before) before(dialog);
            closed = Answer(dialog, button);
        });
    }
    void Poll() { windows->Pads.Poll(Gamepads::Now()); }
    const GameState& state() { return form->game().state; }

    VirtualPad pad;
    bool ready = false;
};

TEST(Program, APadMovesThePieceAsTheKeysDoButOnlyInTheActiveWindow) {
    PadProgram p;
    ASSERT_TRUE(p.ready);
    p.form->Classic1->trigger();
    ASSERT_TRUE(WaitFor([&] { return !p.state().NeedPiece; }));
    const int col = p.state().PieceCol;
    p.Press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    EXPECT_EQ(p.state().PieceCol, col - 1);
    const int row = p.state().PieceRow;
    p.Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(p.state().PieceRow, row + 1);
    p.Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(p.state().Paused);
    p.Press(SDL_CONTROLLER_BUTTON_BACK);  // not Escape: the window stays
    EXPECT_FALSE(p.form->isMinimized());
    p.Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(p.state().Running);
    p.Press(SDL_CONTROLLER_BUTTON_X);
    EXPECT_TRUE(p.state().Dropping);

    // A dialog in front: the pad does not play there, and Start neither pauses nor starts.
    p.HiScoreForm->ShowTab(kClassic);
    QApplication::setActiveWindow(p.HiScoreForm);
    ASSERT_TRUE(WaitActive(p.HiScoreForm));
    const int colBehind = p.state().PieceCol;
    p.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    p.Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(p.state().PieceCol, colBehind);
    EXPECT_TRUE(p.state().Running);
    // ... but A closes it.
    p.Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(p.HiScoreForm->isVisible());

    // Another program's window active (none of this program's): the pad does nothing.
    QApplication::setActiveWindow(nullptr);
    ASSERT_TRUE(WaitActive(nullptr));
    p.Press(SDL_CONTROLLER_BUTTON_START);
    p.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_FALSE(p.state().Paused);
    EXPECT_EQ(p.state().PieceCol, colBehind);
}

// From the welcome dialog to a record and the next game, the keyboard untouched. (Ending
// the game stands in for a full well, which leads to the same dialogs.)
TEST(Program, FromTheWelcomeToARecordAndTheNextGameWithThePadAlone) {
    PadProgram p(false);
    QTest::qWait(50);
    EXPECT_FALSE(p.windows->Pads.IsOpen());  // no window on screen yet
    bool welcomeByPad = false;
    p.answers.Then([&](QDialog& dialog) {
        if (p.PadsReady())
            welcomeByPad = p.Answer(dialog, SDL_CONTROLLER_BUTTON_A);
        else
            dialog.reject();
    });
    p.Show();
    ASSERT_TRUE(p.ready);
    EXPECT_TRUE(welcomeByPad);
    ASSERT_FALSE(p.state().Running);
    const int mode = p.state().GameMode;

    p.Press(SDL_CONTROLLER_BUTTON_START);  // no game runs: a new one in the current mode
    EXPECT_TRUE(p.state().Running);
    EXPECT_EQ(p.state().GameMode, mode);
    p.form->game().state.Score = 100;
    bool nameByPad = false;
    bool nameStaysOnB = false;
    p.AnswerNext(SDL_CONTROLLER_BUTTON_A, nameByPad, [&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText("Pad");
        // The name dialog has no Cancel, and Escape does not close it: neither does B.
        if (WaitActive(&dialog)) p.Press(SDL_CONTROLLER_BUTTON_B);
        nameStaysOnB = dialog.isVisible();
    });
    p.form->Exit1->trigger();
    EXPECT_TRUE(nameStaysOnB);
    EXPECT_TRUE(nameByPad);
    EXPECT_EQ(p.form->hiScores().Name(mode, 1), "Pad");
    ASSERT_TRUE(p.HiScoreForm->isVisible());
    QApplication::setActiveWindow(p.HiScoreForm);
    ASSERT_TRUE(WaitActive(p.HiScoreForm));
    p.Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(p.HiScoreForm->isVisible());

    QApplication::setActiveWindow(p.form);
    ASSERT_TRUE(WaitActive(p.form));
    p.Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(p.state().Running);
    EXPECT_EQ(p.state().Score, 0);
}

// A presses the default button of whatever dialog the program shows, B is its Escape.
TEST(Program, APadAnswersEveryDialog) {
    PadProgram p;
    ASSERT_TRUE(p.ready);
    // Options: B is Cancel, which puts back what the player changed; A keeps it.
    const int sound = p.form->settings().SoundOn;
    const auto toggleSound = [](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>("CheckBox2")->click();
    };
    bool optionsByPad = false;
    p.AnswerNext(SDL_CONTROLLER_BUTTON_B, optionsByPad, toggleSound);
    p.form->Options->trigger();
    EXPECT_TRUE(optionsByPad);
    EXPECT_EQ(p.form->settings().SoundOn, sound);
    p.AnswerNext(SDL_CONTROLLER_BUTTON_A, optionsByPad, toggleSound);
    p.form->Options->trigger();
    EXPECT_TRUE(optionsByPad);
    EXPECT_NE(p.form->settings().SoundOn, sound);

    for (auto button : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B}) {
        bool aboutByPad = false;
        p.AnswerNext(button, aboutByPad);
        p.form->About1->trigger();
        EXPECT_TRUE(aboutByPad) << button;
        bool messageByPad = false;
        p.AnswerNext(button, messageByPad);
        QMessageBox(QMessageBox::Warning, "Zonky Mosaro", "?", QMessageBox::Ok, p.form).exec();
        EXPECT_TRUE(messageByPad) << button;
    }

    bool goodByeByPad = false;
    p.AnswerNext(SDL_CONTROLLER_BUTTON_A, goodByeByPad);
    p.form->close();
    EXPECT_TRUE(goodByeByPad);
}

}  // namespace
}  // namespace zonky::test
