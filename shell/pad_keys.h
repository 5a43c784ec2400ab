// What a game pad's buttons and left stick mean to the game: each press becomes one command,
// which the window hands on as the key-down of the old platform that the command stands
// for; a held direction repeats like a held key. Knows no SDL and reads no clock: every
// event comes with its time.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <utility>

#include "game/game.h"

namespace zonky {

// The controls of a pad in the standard layout (A at the bottom of the four face buttons)
// that this game reads or must ignore.
enum class PadButton { A, B, X, Y, Back, Start, DpadUp, DpadDown, DpadLeft, DpadRight, Other };
enum class PadAxis { LeftX, LeftY, Other };

enum class PadCommand { Left, Right, Down, Turn, TurnBack, Drop, Pause };

// A command as the keyboard would give it; Pause is the menu's P, which has no key code here.
struct PadKey {
    int code = 0;
    KeyModifiers modifiers;
};
PadKey KeyOf(PadCommand command);

class PadKeys {
  public:
    using Ms = std::chrono::milliseconds;

    // A stick presses its direction beyond about a third of its travel and lets go only when
    // back under a quarter, so a resting or trembling stick never moves a piece.
    static constexpr int kPressAt = 11000;
    static constexpr int kReleaseAt = 8200;

    PadKeys(Ms repeatDelay, Ms repeatInterval)
        : repeatDelay_(repeatDelay), repeatInterval_(repeatInterval) {}

    // The command a change of a control starts, if any. `pad` tells pads apart.
    std::optional<PadCommand> Button(int pad, PadButton button, bool down, Ms now);
    std::optional<PadCommand> Axis(int pad, PadAxis axis, int value, Ms now);
    // A pad gone: whatever it held is let go.
    void Unplugged(int pad);
    // The repeat of the held direction when it is due. Like a held key, only the direction
    // pressed last repeats. Called late, it gives one repeat and does not catch up.
    std::optional<PadCommand> Repeat(Ms now);

  private:
    // A held direction: on which pad, from which control, and what it does.
    struct Held {
        int pad;
        int control;
        PadCommand command;
    };
    std::optional<PadCommand> Press(const Held& held, Ms now);
    void Release(int pad, int control);

    Ms repeatDelay_;
    Ms repeatInterval_;
    std::optional<Held> repeating_;
    Ms nextRepeat_{0};
    // Where each stick axis of each pad points: -1, 0 or 1.
    std::map<std::pair<int, PadAxis>, int> axes_;
};

}  // namespace zonky
