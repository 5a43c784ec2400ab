// Sound output: the four embedded WAVE sounds through SDL's audio subsystem (Qt keeps the
// window). One sound plays at a time; a new one cuts the one still playing.
//
// An open SDL device wakes its audio thread at every buffer, even while it plays nothing, so
// the device is held only while a sound may come: it is opened ahead of need when a game
// runs and given back a few seconds after the last sound once none can come. Opening and
// closing run on a thread of the player's own; the window never waits for them.
#pragma once

#include <SDL.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/ports.h"

namespace zonky {

class SoundPlayer {
  public:
    // How long a sound that must be heard to its end may wait for a device to open; a
    // device that takes longer is given up and the game stays silent until it opens.
    static constexpr std::chrono::milliseconds kOpenTimeout{3000};
    // How long the device is kept after the last sound once no sound can come.
    static constexpr std::chrono::milliseconds kReleaseAfter{3000};

    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Says whether a sound may come soon (a game runs with sound on). Opens the device
    // ahead of need, or gives it back once it has been silent for `kReleaseAfter` and no
    // sound can come. Cheap: meant to be called after every command and timer tick.
    void Keep(bool soundMayCome,
              std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());

    // Whether a device is open to play on.
    bool HasDevice() const;

    // Starts a sound; with `wait`, returns only when it has been heard, handling no events.
    // Without a device the sound starts, from its beginning, as soon as one has opened.
    void Play(SoundEffect sound, bool wait);

    // Bytes of the current sound not yet handed to the device (0 without one).
    std::uint32_t Queued() const;

    // The output format every sound is converted to, once, before the first device opens.
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

    struct Shared;

  private:
    std::shared_ptr<Shared> shared_;
    std::chrono::steady_clock::time_point silentSince_{};
};

}  // namespace zonky
