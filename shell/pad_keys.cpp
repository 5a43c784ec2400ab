#include "shell/pad_keys.h"

#include <cstdlib>

namespace zonky {
namespace {

// Ids of the controls that repeat: the D-pad buttons by their own number, the stick's
// directions after them.
constexpr int kStickControls = 100;
int StickControl(PadAxis axis, int direction) {
    return kStickControls + 2 * static_cast<int>(axis) + (direction > 0 ? 1 : 0);
}

std::optional<PadCommand> CommandOf(PadButton button) {
    switch (button) {
        case PadButton::DpadLeft:
            return PadCommand::Left;
        case PadButton::DpadRight:
            return PadCommand::Right;
        case PadButton::DpadDown:
            return PadCommand::Down;
        case PadButton::A:
            return PadCommand::Turn;
        case PadButton::B:
            return PadCommand::TurnBack;
        case PadButton::X:
        case PadButton::Y:
            return PadCommand::Drop;
        case PadButton::Start:
            return PadCommand::Pause;
        default:  // Back would minimise on a keyboard's Escape: surprising from a pad
            return std::nullopt;
    }
}

bool Repeats(PadCommand command) {
    return command == PadCommand::Left || command == PadCommand::Right ||
           command == PadCommand::Down;
}

// Stick up does nothing, as the D-pad's up does not.
std::optional<PadCommand> CommandOf(PadAxis axis, int direction) {
    if (axis == PadAxis::LeftX) return direction < 0 ? PadCommand::Left : PadCommand::Right;
    if (axis == PadAxis::LeftY && direction > 0) return PadCommand::Down;
    return std::nullopt;
}

}  // namespace

PadKey KeyOf(PadCommand command) {
    switch (command) {
        case PadCommand::Left:
            return {kKeyLeft, {}};
        case PadCommand::Right:
            return {kKeyRight, {}};
        case PadCommand::Down:
            return {kKeyDown, {}};
        case PadCommand::Turn:
            return {kKeyUp, {}};
        case PadCommand::TurnBack:
            return {kKeyUp, {.shift = true}};
        case PadCommand::Drop:
            return {kKeySpace, {}};
        case PadCommand::Pause:
            break;
    }
    return {};
}

std::optional<PadCommand> PadKeys::Press(const Held& held, Ms now) {
    if (Repeats(held.command)) {
        repeating_ = held;
        nextRepeat_ = now + repeatDelay_;
    }
    return held.command;
}

void PadKeys::Release(int pad, int control) {
    if (repeating_ && repeating_->pad == pad && repeating_->control == control) repeating_.reset();
}

std::optional<PadCommand> PadKeys::Button(int pad, PadButton button, bool down, Ms now) {
    const std::optional<PadCommand> command = CommandOf(button);
    if (!command) return std::nullopt;
    const int control = static_cast<int>(button);
    if (!down) {
        Release(pad, control);
        return std::nullopt;
    }
    return Press({pad, control, *command}, now);
}

std::optional<PadCommand> PadKeys::Axis(int pad, PadAxis axis, int value, Ms now) {
    if (axis == PadAxis::Other) return std::nullopt;
    int& direction = axes_[{pad, axis}];
    int next = direction;
    if (direction != 0 && value * direction < kReleaseAt) next = 0;
    if (next == 0 && std::abs(value) >= kPressAt) next = value < 0 ? -1 : 1;
    if (next == direction) return std::nullopt;
    if (direction != 0) Release(pad, StickControl(axis, direction));
    direction = next;
    if (next == 0) return std::nullopt;
    const std::optional<PadCommand> command = CommandOf(axis, next);
    if (!command) return std::nullopt;
    return Press({pad, StickControl(axis, next), *command}, now);
}

void PadKeys::Unplugged(int pad) {
    if (repeating_ && repeating_->pad == pad) repeating_.reset();
    std::erase_if(axes_, [pad](const auto& entry) { return entry.first.first == pad; });
}

std::optional<PadCommand> PadKeys::Repeat(Ms now) {
    if (!repeating_ || now < nextRepeat_) return std::nullopt;
    nextRepeat_ += repeatInterval_;
    if (nextRepeat_ <= now) nextRepeat_ = now + repeatInterval_;
    return repeating_->command;
}

}  // namespace zonky
