#include "shell/gamepad.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QWindow>

#include <future>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "shell/main_form.h"
#include "shell/sdl_start.h"

namespace zonky {
namespace {

// SDL's controller subsystem is one per process: started once, by whoever asks first, and
// kept until the program ends. Its start is reference counted, so the sound's own start of
// SDL does not disturb it.
std::shared_future<bool> SharedStart() {
    static const std::shared_future<bool> started = [] {
        auto promise = std::make_shared<std::promise<bool>>();
        std::shared_future<bool> future = promise->get_future().share();
        std::thread([promise] {
            const std::lock_guard start(SdlStartLock());
            promise->set_value(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0);
        }).detach();
        return future;
    }();
    return started;
}

// SDL's names of the buttons this game reads; any other button is Other.
constexpr std::pair<SDL_GameControllerButton, PadButton> kButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, PadButton::A},
    {SDL_CONTROLLER_BUTTON_B, PadButton::B},
    {SDL_CONTROLLER_BUTTON_X, PadButton::X},
    {SDL_CONTROLLER_BUTTON_Y, PadButton::Y},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
    {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::DpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::DpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::DpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::DpadRight},
};

PadButton ButtonOf(Uint8 button) {
    for (const auto& [sdl, pad] : kButtons)
        if (sdl == button) return pad;
    return PadButton::Other;
}

PadAxis AxisOf(Uint8 axis) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) return PadAxis::LeftX;
    if (axis == SDL_CONTROLLER_AXIS_LEFTY) return PadAxis::LeftY;
    return PadAxis::Other;
}

}  // namespace

struct Gamepads::Life {
    std::mutex mutex;
    Gamepads* owner;
};

Gamepads::Gamepads(Deliver deliver, QString inputDevices)
    : deliver_(std::move(deliver)),
      keys_(kRepeatDelay, kRepeatInterval),
      inputDevices_(std::move(inputDevices)),
      life_(std::make_shared<Life>()) {
    life_->owner = this;
    // SDL must not take the signals the program relies on.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    timer_.setInterval(kPollInterval);
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(Now()); });
}

Gamepads::~Gamepads() {
    {
        const std::lock_guard lock(life_->mutex);
        life_->owner = nullptr;
    }
    for (const auto& [instance, pad] : pads_) SDL_GameControllerClose(pad);
}

Gamepads::Ms Gamepads::Now() {
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch());
}

void Gamepads::Open() {
    if (open_ || devices_) return;
    std::shared_future<bool> started = SharedStart();
    std::thread([started, life = life_] {
        const bool ok = started.get();
        const std::lock_guard lock(life->mutex);
        if (Gamepads* owner = life->owner)
            QMetaObject::invokeMethod(
                owner, [owner, ok] { owner->Opened(ok); }, Qt::QueuedConnection);
    }).detach();
}

void Gamepads::OpenAfterFirstWindow() {
    if (open_ || devices_) return;
    QCoreApplication::instance()->installEventFilter(this);
}

bool Gamepads::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched->isWindowType() &&
        static_cast<QWindow*>(watched)->isExposed()) {
        QCoreApplication::instance()->removeEventFilter(this);
        // After the window has painted what this exposure asks for.
        QTimer::singleShot(0, this, [this] { Open(); });
    }
    return false;
}

void Gamepads::Opened(bool ok) {
    if (!ok || open_) return;
    open_ = true;
    // A pad plugged in shows up as a new device file; nothing else needs watching. Some
    // sandboxes make the devices' folder only later: until then its parent is watched.
    devices_ = std::make_unique<QFileSystemWatcher>();
    connect(devices_.get(), &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!WatchInputDevices()) return;  // something else changed in the parent
        settleUntil_ = Now() + kSettleTime;
        Poll(Now());
    });
    WatchInputDevices();
    Poll(Now());  // the pads already there
}

bool Gamepads::WatchInputDevices() {
    const QString parent = QFileInfo(inputDevices_).absolutePath();
    if (QDir(inputDevices_).exists()) {
        if (devices_->directories().contains(parent)) devices_->removePath(parent);
        if (!devices_->directories().contains(inputDevices_)) devices_->addPath(inputDevices_);
        return true;
    }
    if (!devices_->directories().contains(parent)) devices_->addPath(parent);
    return false;
}

void Gamepads::Added(int deviceIndex) {
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (pad == nullptr) return;
    const int instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    // SDL may announce a pad twice; each open counts, so the second is given back.
    if (!pads_.emplace(instance, pad).second) SDL_GameControllerClose(pad);
}

void Gamepads::Removed(int instance) {
    const auto found = pads_.find(instance);
    if (found == pads_.end()) return;
    SDL_GameControllerClose(found->second);
    pads_.erase(found);
    keys_.Unplugged(instance);
}

void Gamepads::Poll(Ms now) {
    // A command may open a dialog whose event loop runs this timer again.
    if (!open_ || polling_) return;
    polling_ = true;
    std::vector<PadCommand> commands;
    auto take = [&commands](std::optional<PadCommand> command) {
        if (command) commands.push_back(*command);
    };
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
        switch (event.type) {
            case SDL_CONTROLLERDEVICEADDED:
                Added(event.cdevice.which);
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                Removed(event.cdevice.which);
                break;
            case SDL_CONTROLLERBUTTONDOWN:
            case SDL_CONTROLLERBUTTONUP:
                if (pads_.contains(event.cbutton.which))
                    take(keys_.Button(event.cbutton.which, ButtonOf(event.cbutton.button),
                                      event.type == SDL_CONTROLLERBUTTONDOWN, now));
                break;
            case SDL_CONTROLLERAXISMOTION:
                if (pads_.contains(event.caxis.which))
                    take(keys_.Axis(event.caxis.which, AxisOf(event.caxis.axis), event.caxis.value,
                                    now));
                break;
            default:
                break;
        }
    }
    take(keys_.Repeat(now));
    const bool wanted = !pads_.empty() || now < settleUntil_;
    if (wanted && !timer_.isActive()) timer_.start();
    if (!wanted) timer_.stop();
    polling_ = false;
    if (deliver_)
        for (PadCommand command : commands) deliver_(command);
}

namespace {

// A dialog's answer from the pad: A presses its default button, B is its Escape (Cancel
// where it has one; the dialog decides, as for the key).
void AnswerDialog(PadCommand command, QDialog& dialog) {
    if (command == PadCommand::Turn) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->isDefault() && button->isEnabled() && button->isVisible()) {
                button->click();
                return;
            }
    } else if (command == PadCommand::TurnBack) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &release);
    }
}

void DeliverPadCommand(PadCommand command, TMainForm& form) {
    // An open menu has the keys, as it would have the keyboard's.
    if (QApplication::activePopupWidget() != nullptr) return;
    // Only this program's windows: with another program's window active there is none.
    QWidget* active = QApplication::activeWindow();
    if (active == nullptr) return;
    if (active == &form) {
        if (command == PadCommand::Pause) {
            // Start pauses and resumes a game, and with none running begins one in the
            // current mode, as F2 does.
            const GameState& state = form.game().state;
            (state.Running || state.Paused ? form.Pause1 : form.New)->trigger();
            return;
        }
        const PadKey key = KeyOf(command);
        form.view().KeyDown(key.code, key.modifiers);
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(active)) AnswerDialog(command, *dialog);
}

}  // namespace

Gamepads::Deliver PadCommandsTo(TMainForm& form) {
    return [&form](PadCommand command) { DeliverPadCommand(command, form); };
}

}  // namespace zonky
