// Sound output on SDL's dummy driver, which plays queued bytes at the real rate.
#include "shell/sound_player.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

namespace zonky {
namespace {

// Bytes of a sound of this length in the device's format (16-bit stereo).
std::uint32_t BytesFor(double seconds) {
    return static_cast<std::uint32_t>(seconds * SoundPlayer::kRate) * SoundPlayer::kChannels * 2;
}

bool WaitForDevice(SoundPlayer& player) {
    QElapsedTimer clock;
    clock.start();
    while (!player.HasDevice()) {
        if (clock.elapsed() > 5000) return false;
        QTest::qWait(10);
    }
    return true;
}

TEST(SoundPlayer, ANewSoundCutsTheOneStillPlaying) {
    SoundPlayer player;
    player.Open();
    ASSERT_TRUE(WaitForDevice(player));
    player.Play(SoundEffect::Upal, false);
    const std::uint32_t upal = player.Queued();
    EXPECT_GT(upal, BytesFor(0.06));
    EXPECT_LT(upal, BytesFor(0.12));
    player.Play(SoundEffect::Fire, false);  // in the same moment: only Fire is left
    const std::uint32_t fire = player.Queued();
    EXPECT_GT(fire, BytesFor(0.6));
    EXPECT_LT(fire, BytesFor(0.75));
    player.Play(SoundEffect::Space, false);
    EXPECT_LT(player.Queued(), BytesFor(0.2));
}

TEST(SoundPlayer, TheLevelSoundIsHeardToItsEndBeforePlayReturns) {
    SoundPlayer player;
    player.Open();
    ASSERT_TRUE(WaitForDevice(player));
    QElapsedTimer clock;
    clock.start();
    player.Play(SoundEffect::LevelFin, true);
    EXPECT_GE(clock.elapsed(), 2200);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_EQ(player.Queued(), 0u);
    clock.restart();
    player.Play(SoundEffect::Upal, false);
    EXPECT_LT(clock.elapsed(), 200);
}

TEST(SoundPlayer, WithoutADeviceNothingWaits) {
    SoundPlayer silent;  // no device asked for: as when none opened in time
    EXPECT_FALSE(silent.HasDevice());
    QElapsedTimer clock;
    clock.start();
    silent.Play(SoundEffect::LevelFin, true);
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_EQ(silent.Queued(), 0u);
}

}  // namespace
}  // namespace zonky
