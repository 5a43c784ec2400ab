// Sound output: the four embedded WAVE sounds through SDL's audio subsystem (Qt keeps the
// window). One sound plays at a time; a new one cuts the one still playing.
#pragma once

#include <SDL.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <vector>

#include "game/ports.h"

namespace zonky {

class SoundPlayer {
  public:
    // How long start-up may wait for an audio device before the game goes on silent.
    static constexpr std::chrono::milliseconds kOpenTimeout{3000};

    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Starts opening the device on a thread of its own; the window never waits for it. A
    // device that has not opened within `timeout` is given up: the game stays silent.
    void Open(std::chrono::milliseconds timeout = kOpenTimeout);
    // Whether a device is there to play on (taking it over once the opening has finished).
    bool HasDevice();

    // Starts a sound; with `wait`, returns only when it has been heard, handling no events.
    void Play(SoundEffect sound, bool wait);

    // Pauses the device once the last sound has been heard. SDL 2 still wakes its audio
    // thread while paused; closing the device after a silence would save that too. Cheap:
    // meant to be called on every timer tick.
    void PauseWhenSilent();

    // Bytes still queued for the device (0 without one).
    std::uint32_t Queued() const { return device_ != 0 ? SDL_GetQueuedAudioSize(device_) : 0; }

    // The output format every sound is converted to, once, at its first play.
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

  private:
    const std::vector<Uint8>* Converted(SoundEffect sound);

    struct Opened {
        SDL_AudioDeviceID device = 0;
        SDL_AudioSpec spec{};
    };
    static Opened OpenAnyDevice();
    // SDL's audio is one per process: the device is opened once, by whichever player asks
    // first, and kept until the program ends.
    static std::shared_future<Opened> SharedDevice();

    std::shared_future<Opened> opening_;
    std::chrono::steady_clock::time_point giveUpAt_{};
    SDL_AudioDeviceID device_ = 0;
    bool playing_ = false;
    SDL_AudioSpec spec_{};
    std::array<std::unique_ptr<std::vector<Uint8>>, 4> converted_;
};

}  // namespace zonky
