// Game pads through SDL's game-controller layer (Qt keeps the window). Any number of pads
// may come and go while the program runs; every one of them plays. SDL is asked for news
// only while a pad is connected, so without one nothing runs at all.
#pragma once

#include <SDL.h>

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>

#include "shell/pad_keys.h"

namespace zonky {

class TMainForm;

class Gamepads : public QObject {
  public:
    using Ms = std::chrono::milliseconds;
    using Deliver = std::function<void(PadCommand)>;

    // How often a connected pad is read: well under the repeat interval of a held key.
    static constexpr Ms kPollInterval{10};
    // After a change among the system's input devices, how long to look for a new pad: the
    // device appears before it may be opened.
    static constexpr Ms kSettleTime{3000};
    // A held direction repeats like a held key with the old platform's usual settings.
    static constexpr Ms kRepeatDelay{500};
    static constexpr Ms kRepeatInterval{33};

    // `inputDevices` is the folder where the system shows input devices coming and going.
    explicit Gamepads(Deliver deliver, QString inputDevices = QStringLiteral("/dev/input"));
    ~Gamepads() override;
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Starts SDL's controller subsystem on a thread of its own (it may take long with some
    // pads) and looks for pads once it is up; returns at once.
    void Open();
    // Opens once a window of the program is first on screen: SDL's controller start is
    // work that the first window need not wait for.
    void OpenAfterFirstWindow();
    bool IsOpen() const { return open_; }

    // Takes in what SDL has seen since the last call and hands on the commands, the
    // repeats of a held direction included. The timer calls it; tests call it with their
    // own time.
    void Poll(Ms now);

    int Connected() const { return static_cast<int>(pads_.size()); }
    // Whether the timer reads the pads (only while one is connected, or shortly after a
    // device came or went).
    bool Polling() const { return timer_.isActive(); }

    static Ms Now();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Opened(bool ok);
    // Watches the devices' folder, or its parent until the folder is there; whether the
    // folder is there.
    bool WatchInputDevices();
    void Added(int deviceIndex);
    void Removed(int instance);

    Deliver deliver_;
    PadKeys keys_;
    QTimer timer_;
    QString inputDevices_;
    std::unique_ptr<QFileSystemWatcher> devices_;
    Ms settleUntil_{0};
    bool open_ = false;
    bool polling_ = false;
    std::map<int, SDL_GameController*> pads_;  // by joystick instance id
    // Shared with the opening thread, which tells only a Gamepads that still exists.
    struct Life;
    std::shared_ptr<Life> life_;
};

// Where the program's pads play: the main window's keys, and Start as its Pause or New,
// while that window is active; while one of the program's dialogs is active, A presses its
// default button and B is its Escape. Anywhere else a pad does nothing.
Gamepads::Deliver PadCommandsTo(TMainForm& form);

}  // namespace zonky
