#include "shell/sound_player.h"

#include <dlfcn.h>

#include <QFile>
#include <QString>
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "shell/sdl_start.h"

namespace zonky {

namespace {

// Small buffers keep a key's sound close to the key: the device takes a new sound at its
// next buffer, behind what the server already holds (about one buffer more).
constexpr int kBufferFrames = 512;
// What a device still holds once the last byte has been handed over.
constexpr std::chrono::milliseconds kDeviceLatency{40};
constexpr std::chrono::milliseconds kPollStep{5};
// How much longer than the sound itself a sound that must be heard to its end may hold the
// window: a stalled sound server takes no more bytes, and the window must not wait for ever.
constexpr std::chrono::milliseconds kStallMargin{500};
// How long the player's end waits for its thread to give the device back.
constexpr std::chrono::milliseconds kCloseTimeout{2000};

constexpr SoundEffect kAllSounds[] = {SoundEffect::Upal, SoundEffect::Fire, SoundEffect::Space,
                                      SoundEffect::LevelFin};

// Said once, on the terminal, when no sound device opens.
constexpr char kNoSoundMessage[] =
    "zonkymosaro: no sound device found: the game runs without sound";

void Silent(const char*, int, const char*, int, const char*, ...) {}

// ALSA's library writes its own complaints to the terminal (a dozen lines when the machine
// has no sound card) while SDL opens a device through it: the player gets the one line above
// instead. Only a library SDL has already loaded is touched, and it then stays loaded, with
// the quiet handler, for the rest of the run.
void QuietAlsa() {
    static bool quiet = false;
    if (quiet) return;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (alsa == nullptr) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    const auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    quiet = set != nullptr && set(&Silent) == 0;
}

// The sounds are stored under their names in capitals.
QString ResourcePath(SoundEffect sound) {
    return QString(":/sounds/%1")
        .arg(QString::fromLatin1(SoundName(sound).data(), static_cast<int>(SoundName(sound).size()))
                 .toUpper());
}

// One embedded sound in the output format; empty when it cannot be read.
std::vector<Uint8> Converted(SoundEffect sound) {
    QFile file(ResourcePath(sound));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray wave = file.readAll();
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(wave.constData(), static_cast<int>(wave.size()));
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &samples, &length)) return {};

    std::vector<Uint8> converted;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS,
                          SoundPlayer::kChannels, SoundPlayer::kRate) >= 0) {
        std::vector<Uint8> buffer(static_cast<std::size_t>(length) *
                                  static_cast<std::size_t>(cvt.len_mult));
        std::copy(samples, samples + length, buffer.begin());
        cvt.buf = buffer.data();
        cvt.len = static_cast<int>(length);
        if (cvt.needed == 0 || SDL_ConvertAudio(&cvt) == 0) {
            buffer.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len));
            converted = std::move(buffer);
        }
    }
    SDL_FreeWAV(samples);
    return converted;
}

}  // namespace

// What the window thread, the player's own thread and SDL's audio thread share. The player's
// thread keeps it alive on its own, should opening hang past the player's end.
struct SoundPlayer::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool wanted = false;    // the window wants a device
    bool held = false;      // the player's thread has opened one, or tried to
    bool quit = false;      // the player is ending
    bool finished = false;  // the player's thread has ended
    SDL_AudioDeviceID device = 0;
    bool ownDriver = false;              // opened on a driver of its own rather than the subsystem
    std::optional<SoundEffect> pending;  // asked for while no device was open
    std::array<std::vector<Uint8>, 4> sounds;
    bool converted = false;
    bool toldNoDevice = false;

    // The sound being played and how far; SDL's audio thread reads them under the device lock.
    const std::vector<Uint8>* current = nullptr;
    std::size_t position = 0;

    // Starts a sound from its beginning; the mutex is held and a device is open.
    void Start(SoundEffect sound) {
        const std::vector<Uint8>& data = sounds[static_cast<std::size_t>(sound)];
        SDL_LockAudioDevice(device);
        current = data.empty() ? nullptr : &data;
        position = 0;
        SDL_UnlockAudioDevice(device);
    }

    // Bytes of the current sound not yet given to the device; the mutex is held.
    std::uint32_t Remaining() {
        if (device == 0) return 0;
        SDL_LockAudioDevice(device);
        const std::size_t left = current != nullptr ? current->size() - position : 0;
        SDL_UnlockAudioDevice(device);
        return static_cast<std::uint32_t>(left);
    }

    // SDL's audio thread: the sound's bytes go straight into the device's buffer.
    static void Fill(void* self, Uint8* stream, int length) {
        Shared& s = *static_cast<Shared*>(self);
        std::size_t copied = 0;
        if (s.current != nullptr) {
            copied = std::min(static_cast<std::size_t>(length), s.current->size() - s.position);
            std::memcpy(stream, s.current->data() + s.position, copied);
            s.position += copied;
            if (s.position == s.current->size()) s.current = nullptr;
        }
        std::memset(stream + copied, 0, static_cast<std::size_t>(length) - copied);
    }

    // Tries the default driver, then every other real one. Opening can hang on some sound
    // servers, hence its own thread.
    void Open() {
        SDL_AudioSpec want{};
        want.freq = SoundPlayer::kRate;
        want.format = AUDIO_S16SYS;
        want.channels = SoundPlayer::kChannels;
        want.samples = kBufferFrames;
        want.callback = &Shared::Fill;
        want.userdata = this;
        // No changes allowed: SDL converts to the hardware's format, so the sounds converted
        // beforehand always fit.
        auto tryOpen = [&want] {
            QuietAlsa();
            return SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        };
        SDL_AudioDeviceID opened = 0;
        bool own = false;
        {
            const std::lock_guard start(SdlStartLock());
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
                opened = tryOpen();
                if (opened == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
            }
            for (int k = 0; opened == 0 && k < SDL_GetNumAudioDrivers(); ++k) {
                const std::string driver = SDL_GetAudioDriver(k);
                // sndio reaches the same ALSA devices through libasound on Linux, and prints
                // its failure to the terminal itself.
                if (driver == "disk" || driver == "dummy" || driver == "sndio") continue;
                if (SDL_AudioInit(driver.c_str()) != 0) continue;
                opened = tryOpen();
                own = opened != 0;
                if (opened == 0) SDL_AudioQuit();
            }
        }
        // It plays silence until a sound is started.
        if (opened != 0) SDL_PauseAudioDevice(opened, 0);
        if (opened == 0 && !toldNoDevice) {
            std::fprintf(stderr, "%s\n", kNoSoundMessage);
            toldNoDevice = true;
        }
        std::lock_guard lock(mutex);
        device = opened;
        ownDriver = own;
        held = true;
        if (pending && device != 0) Start(*pending);
        pending.reset();
    }

    void Close() {
        SDL_AudioDeviceID closing = 0;
        bool own = false;
        {
            std::lock_guard lock(mutex);
            if (wanted && !quit) return;  // a sound came in the meantime
            std::swap(closing, device);
            own = ownDriver;
        }
        if (closing != 0) {
            const std::lock_guard start(SdlStartLock());
            SDL_CloseAudioDevice(closing);
            // Only the audio subsystem is let go: others (a game controller) may still be in use.
            if (own)
                SDL_AudioQuit();
            else
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        std::lock_guard lock(mutex);
        current = nullptr;
        held = false;
    }

    // The player's thread: opens and closes the device as the window asks, until the end.
    static void Run(std::shared_ptr<Shared> s) {
        std::unique_lock lock(s->mutex);
        for (;;) {
            s->changed.wait(lock, [&s] { return s->quit || s->wanted != s->held; });
            const bool open = s->wanted && !s->quit;
            if (open == s->held) break;  // ending, with nothing held
            lock.unlock();
            if (open) {
                if (!s->converted) {
                    // Converted once, before the first device: a play only points at bytes.
                    for (SoundEffect sound : kAllSounds)
                        s->sounds[static_cast<std::size_t>(sound)] = Converted(sound);
                    s->converted = true;
                }
                s->Open();
            } else {
                s->Close();
            }
            lock.lock();
            s->changed.notify_all();
        }
        s->finished = true;
        s->changed.notify_all();
    }
};

SoundPlayer::SoundPlayer() : shared_(std::make_shared<Shared>()) {
    // SDL must not take the signals the program relies on, must keep the partial last block
    // of an ADPCM sound and must honour a WAVE's frame count.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "dropframe");
    SDL_SetHint(SDL_HINT_WAVE_FACT_CHUNK, "truncate");
    std::thread(&Shared::Run, shared_).detach();
}

SoundPlayer::~SoundPlayer() {
    std::unique_lock lock(shared_->mutex);
    shared_->quit = true;
    shared_->changed.notify_all();
    // A thread stuck in opening is left behind; it ends with the program.
    shared_->changed.wait_for(lock, kCloseTimeout, [this] { return shared_->finished; });
}

void SoundPlayer::Keep(bool soundMayCome, std::chrono::steady_clock::time_point now) {
    std::lock_guard lock(shared_->mutex);
    if (soundMayCome || shared_->Remaining() > 0) silentSince_ = now;
    const bool want = soundMayCome || now - silentSince_ < kReleaseAfter;
    if (want == shared_->wanted) return;
    shared_->wanted = want;
    shared_->changed.notify_all();
}

bool SoundPlayer::HasDevice() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->device != 0;
}

std::uint32_t SoundPlayer::Queued() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->Remaining();
}

void SoundPlayer::Play(SoundEffect sound, bool wait) {
    Shared& s = *shared_;
    std::unique_lock lock(s.mutex);
    silentSince_ = std::chrono::steady_clock::now();
    if (s.device != 0) {
        s.Start(sound);
    } else if (!(s.held && s.wanted)) {
        // Unless a device was tried and none opened, the sound waits for the next one.
        s.pending = sound;
    }
    if (!s.wanted) {
        s.wanted = true;
        s.changed.notify_all();
    }
    if (!wait) return;
    if (!s.changed.wait_for(lock, kOpenTimeout, [&s] { return !s.pending; })) s.pending.reset();
    constexpr int kBytesPerSecond = kRate * kChannels * 2;
    const auto deadline =
        std::chrono::steady_clock::now() + kStallMargin +
        std::chrono::milliseconds(std::int64_t{s.Remaining()} * 1000 / kBytesPerSecond);
    while (s.Remaining() > 0 && std::chrono::steady_clock::now() < deadline) {
        lock.unlock();
        SDL_Delay(static_cast<Uint32>(kPollStep.count()));
        lock.lock();
    }
    if (s.device == 0) return;
    lock.unlock();
    SDL_Delay(static_cast<Uint32>(kDeviceLatency.count()));
}

}  // namespace zonky
