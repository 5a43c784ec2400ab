#include "shell/sound_player.h"

#include <QFile>
#include <QString>
#include <future>
#include <string>
#include <thread>

namespace zonky {
namespace {

constexpr int kBufferFrames = 1024;
constexpr std::chrono::milliseconds kDeviceLatency{40};
constexpr std::chrono::milliseconds kPollStep{5};

// The sounds are stored under their names in capitals.
QString ResourcePath(SoundEffect sound) {
    return QString(":/sounds/%1")
        .arg(QString::fromLatin1(SoundName(sound).data(), static_cast<int>(SoundName(sound).size()))
                 .toUpper());
}

}  // namespace

// Tries the default driver, then every other real one. Runs on its own thread: opening can
// hang on some sound servers.
SoundPlayer::Opened SoundPlayer::OpenAnyDevice() {
    SDL_AudioSpec want{};
    want.freq = SoundPlayer::kRate;
    want.format = AUDIO_S16SYS;
    want.channels = SoundPlayer::kChannels;
    want.samples = kBufferFrames;
    auto tryOpen = [&want]() -> Opened {
        Opened opened;
        // Opened paused: it plays only while a sound is queued.
        opened.device = SDL_OpenAudioDevice(nullptr, 0, &want, &opened.spec, 0);
        return opened;
    };
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        if (Opened opened = tryOpen(); opened.device != 0) return opened;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    for (int k = 0; k < SDL_GetNumAudioDrivers(); ++k) {
        const std::string driver = SDL_GetAudioDriver(k);
        if (driver == "disk" || driver == "dummy") continue;
        if (SDL_AudioInit(driver.c_str()) != 0) continue;
        if (Opened opened = tryOpen(); opened.device != 0) return opened;
        SDL_AudioQuit();
    }
    return {};
}

SoundPlayer::SoundPlayer() {
    // SDL must not take the signals the program relies on, must keep the partial last block
    // of an ADPCM sound and must honour a WAVE's frame count.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "dropframe");
    SDL_SetHint(SDL_HINT_WAVE_FACT_CHUNK, "truncate");
}

SoundPlayer::~SoundPlayer() {
    if (device_ != 0) SDL_ClearQueuedAudio(device_);
}

std::shared_future<SoundPlayer::Opened> SoundPlayer::SharedDevice() {
    // The opening thread keeps its promise even if nobody waits any more; a device it opens
    // too late is simply never used.
    static const std::shared_future<Opened> device = [] {
        auto promise = std::make_shared<std::promise<Opened>>();
        std::shared_future<Opened> future = promise->get_future().share();
        std::thread([promise] { promise->set_value(OpenAnyDevice()); }).detach();
        return future;
    }();
    return device;
}

void SoundPlayer::Open(std::chrono::milliseconds timeout) {
    if (opening_.valid() || device_ != 0) return;
    opening_ = SharedDevice();
    giveUpAt_ = std::chrono::steady_clock::now() + timeout;
}

bool SoundPlayer::HasDevice() {
    if (device_ != 0) return true;
    if (!opening_.valid()) return false;
    if (opening_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        if (std::chrono::steady_clock::now() > giveUpAt_) opening_ = {};
        return false;
    }
    const Opened opened = opening_.get();
    opening_ = {};
    device_ = opened.device;
    spec_ = opened.spec;
    // Every sound is converted now, once, so that a play only queues bytes.
    for (SoundEffect sound :
         {SoundEffect::Upal, SoundEffect::Fire, SoundEffect::Space, SoundEffect::LevelFin})
        if (device_ != 0) Converted(sound);
    return device_ != 0;
}

const std::vector<Uint8>* SoundPlayer::Converted(SoundEffect sound) {
    auto& slot = converted_[static_cast<std::size_t>(sound)];
    if (slot) return slot.get();
    slot = std::make_unique<std::vector<Uint8>>();

    QFile file(ResourcePath(sound));
    if (!file.open(QIODevice::ReadOnly)) return slot.get();
    const QByteArray wave = file.readAll();
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(wave.constData(), static_cast<int>(wave.size()));
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &samples, &length)) return slot.get();

    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, spec_.format, spec_.channels,
                          spec_.freq) >= 0) {
        std::vector<Uint8> buffer(static_cast<std::size_t>(length) *
                                  static_cast<std::size_t>(cvt.len_mult));
        std::copy(samples, samples + length, buffer.begin());
        cvt.buf = buffer.data();
        cvt.len = static_cast<int>(length);
        if (cvt.needed == 0 || SDL_ConvertAudio(&cvt) == 0) {
            buffer.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len));
            *slot = std::move(buffer);
        }
    }
    SDL_FreeWAV(samples);
    return slot.get();
}

void SoundPlayer::Play(SoundEffect sound, bool wait) {
    if (!HasDevice()) return;
    const std::vector<Uint8>* data = Converted(sound);
    if (data == nullptr || data->empty()) return;
    SDL_LockAudioDevice(device_);
    SDL_ClearQueuedAudio(device_);
    SDL_QueueAudio(device_, data->data(), static_cast<Uint32>(data->size()));
    SDL_UnlockAudioDevice(device_);
    SDL_PauseAudioDevice(device_, 0);
    playing_ = true;
    if (!wait) return;
    while (SDL_GetQueuedAudioSize(device_) > 0) SDL_Delay(static_cast<Uint32>(kPollStep.count()));
    SDL_Delay(static_cast<Uint32>(kDeviceLatency.count()));
    PauseWhenSilent();
}

void SoundPlayer::PauseWhenSilent() {
    if (!playing_ || SDL_GetQueuedAudioSize(device_) > 0) return;
    SDL_PauseAudioDevice(device_, 1);
    playing_ = false;
}

}  // namespace zonky
