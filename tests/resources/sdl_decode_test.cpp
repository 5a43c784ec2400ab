// Decodes "LevelFin" the way the game does: SDL's WAV loader over the embedded bytes, with the
// partial last block kept and the fact chunk honoured. No SDL subsystem is started.
#include <SDL.h>
#include <gtest/gtest.h>

#include <QResource>
#include <cmath>

#include "tools/make-assets/sounds.h"

namespace {

struct Decoded {
    SDL_AudioSpec spec{};
    std::vector<std::int16_t> samples;
};

Decoded LoadWithSdl(const char* resource) {
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "dropframe");
    SDL_SetHint(SDL_HINT_WAVE_FACT_CHUNK, "truncate");
    QResource r(QString::fromLatin1(resource));
    EXPECT_TRUE(r.isValid()) << resource;
    EXPECT_EQ(r.compressionAlgorithm(), QResource::NoCompression) << resource;
    const QByteArray bytes = r.uncompressedData();
    Decoded d;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(r.data(), static_cast<int>(r.size()));
    EXPECT_TRUE(rw);
    if (!SDL_LoadWAV_RW(rw, 1, &d.spec, &buffer, &length)) {
        ADD_FAILURE() << "SDL_LoadWAV_RW: " << SDL_GetError();
        return d;
    }
    EXPECT_EQ(bytes.size(), r.size());
    d.samples.assign(reinterpret_cast<std::int16_t*>(buffer),
                     reinterpret_cast<std::int16_t*>(buffer + length));
    SDL_FreeWAV(buffer);
    return d;
}

}  // namespace

TEST(SdlDecode, LevelFinGivesAllFramesCloseToTheSynthesisedSignal) {
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    const Decoded d = LoadWithSdl(":/sounds/LEVELFIN");
    EXPECT_EQ(d.spec.freq, 22050);
    EXPECT_EQ(d.spec.channels, 2);
    EXPECT_EQ(d.spec.format, AUDIO_S16SYS);
    ASSERT_EQ(d.samples.size(), 51623u * 2);
    const std::vector<std::int16_t> reference = assets::SynthLevelFin();
    ASSERT_EQ(reference.size(), d.samples.size());
    double signal = 0, noise = 0, peak = 0;
    for (size_t i = 0; i < reference.size(); ++i) {
        const double e = static_cast<double>(d.samples[i]) - reference[i];
        signal += static_cast<double>(reference[i]) * reference[i];
        noise += e * e;
        peak = std::max(peak, std::abs(static_cast<double>(d.samples[i])));
    }
    const double snr = 10 * std::log10(signal / noise);
    RecordProperty("snr_db", std::to_string(snr));
    EXPECT_GT(snr, 20.0);
    EXPECT_NEAR(20 * std::log10(peak / 32768.0), -3.0, 0.6);
    // The last frames, from the partial block, follow the signal too, and end in silence.
    for (size_t i = reference.size() - 22; i < reference.size(); ++i)
        EXPECT_LT(std::abs(d.samples[i] - reference[i]), 400) << i;
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

TEST(SdlDecode, ThePcmSoundsLoadToo) {
    for (const char* name : {":/sounds/UPAL", ":/sounds/FIRE", ":/sounds/SPACE"}) {
        const Decoded d = LoadWithSdl(name);
        EXPECT_EQ(d.spec.channels, 1) << name;
        EXPECT_FALSE(d.samples.empty()) << name;
    }
}
